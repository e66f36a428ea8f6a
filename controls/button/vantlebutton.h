#pragma once
// vantlebutton: the program's owner-drawn push button with sixteen looks, pictures and a check-box mode.
// This class holds the properties and their persistence, the lifecycle handlers and the redraw pipeline;
// the faces of the styles come from the painters registered in stylepainter.h.

#include "controls/button/buttontypes.h"
#include "controls/button/hook.h"
#include "controls/button/stylepainter.h"
#include "platform/colour.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/messagebox.h"
#include "platform/picture.h"
#include "platform/region.h"
#include "platform/surface.h"
#include "platform/usercontrol.h"
#include "platform/windowproc.h"

#include <QChar>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace tervolin::controls {

class vantlebutton : public platform::UserControl
{
    Q_OBJECT
    Q_PROPERTY(std::int32_t ButtonStyle READ ButtonStyle WRITE setButtonStyle)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(std::int32_t BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(bool Value READ Value WRITE setValue)
    Q_PROPERTY(std::int32_t MousePointer READ MousePointer WRITE setMousePointer)
    Q_PROPERTY(bool HandPointer READ HandPointer WRITE setHandPointer)
    Q_PROPERTY(std::int32_t PictureSize READ PictureSize WRITE setPictureSize)
    Q_PROPERTY(std::int32_t MaskColor READ MaskColor WRITE setMaskColor)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE setUseMaskColor)
    Q_PROPERTY(bool CheckBoxMode READ CheckBoxMode WRITE setCheckBoxMode)
    Q_PROPERTY(std::int32_t PictureAlign READ PictureAlign WRITE setPictureAlign)
    Q_PROPERTY(std::int32_t CaptionAlign READ CaptionAlign WRITE setCaptionAlign)
    Q_PROPERTY(std::int32_t ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(std::int32_t hWnd READ hWnd)

public:
    using ColorRef = platform::ColorRef;
    using Picture = platform::Picture;

    /// Smallest outer size in either direction, in twips.
    static constexpr int MinimumExtentTwips = 220;

    explicit vantlebutton(QWidget* parent = nullptr);
    ~vantlebutton() override;

    // --- Properties -------------------------------------------------------------------------------------------
    std::int32_t ButtonStyle() const { return m_ButtonStyle; }
    void setButtonStyle(std::int32_t style);
    bool ShowFocusRect() const { return m_ShowFocusRect; }
    void setShowFocusRect(bool on);
    /// The font object (shared with whoever set it); empty until a font is set or the button is loaded.
    std::shared_ptr<platform::Font> Font() const { return mFont; }
    void setFont(std::shared_ptr<platform::Font> font);
    ColorRef BackColor() const { return m_BackColor; }
    void setBackColor(ColorRef colour);
    bool Enabled() const { return m_Enabled; }
    /// Hides QWidget::setEnabled: the property also redraws and notifies (the widget's state follows).
    void setEnabled(bool on);
    QString Caption() const { return m_Caption; }
    void setCaption(const QString& caption);
    bool Value() const { return m_Value; }
    void setValue(bool on);
    /// The surface's pointer shape code. Setting a value outside 16 bits throws RuntimeError 6 (overflow).
    std::int32_t MousePointer() const { return surfaceMousePointer_; }
    void setMousePointer(std::int32_t code);
    bool HandPointer() const { return m_HandPointer; }
    void setHandPointer(bool on);
    /// The surface's custom pointer picture.
    Picture MouseIcon() const { return surfaceMouseIcon_; }
    void setMouseIcon(const Picture& picture);
    Picture picture() const { return m_Picture; }
    void setPicture(const Picture& picture);
    Picture PictureHover() const { return m_PictureHover; }
    void setPictureHover(const Picture& picture);
    std::int32_t PictureSize() const { return m_PictureSize; }
    void setPictureSize(std::int32_t size);
    ColorRef MaskColor() const { return m_MaskColor; }
    void setMaskColor(ColorRef colour);
    bool UseMaskColor() const { return m_UseMaskColor; }
    void setUseMaskColor(bool on);
    bool CheckBoxMode() const { return m_CheckBoxMode; }
    void setCheckBoxMode(bool on);
    std::int32_t PictureAlign() const { return m_PictureAlign; }
    void setPictureAlign(std::int32_t align);
    std::int32_t CaptionAlign() const { return m_CaptionAlign; }
    void setCaptionAlign(std::int32_t align);
    ColorRef ForeColor() const { return m_ForeColor; }
    void setForeColor(ColorRef colour);
    /// The window handle of the control's surface.
    std::int32_t hWnd() const { return hWndOf(); }

    /// Shows the About box (information icon, title "About").
    void About();
    /// The message box About uses (the real dialog unless replaced; the service must outlive the button).
    void setMessageBoxService(platform::MessageBoxService* service) { messageBox_ = service; }

    // --- Instance state shared with input, hook and drawing ---------------------------------------------------
    std::int32_t ButtonState = ButtonStates::StateNormal;
    bool LeftButtonHeld = false;
    bool PointerOver = false;
    bool HasFocus = false;
    bool SpaceHeld = false;
    bool ParentActive = false;
    bool DisplayAsDefault = false;
    bool IsNT = false;
    platform::WindowHandle ParentWindow = 0;
    std::int32_t HandCursor = 0;
    MouseArguments SavedMouseDown;
    bool LeaveTrackingAvailable = false;
    bool LeaveTrackingUser32 = false;
    std::vector<HookEntry> HookTable;

    // --- Input (input.cpp); the host calls these from Qt's events -------------------------------------------
    void UserControl_MouseDown(short Button, short Shift, float X, float Y);
    void UserControl_MouseMove(short Button, short Shift, float X, float Y);
    void UserControl_MouseUp(short Button, short Shift, float X, float Y);
    void UserControl_DblClick();
    void UserControl_KeyDown(short KeyCode, short Shift);
    void UserControl_KeyUp(short KeyCode, short Shift);
    void UserControl_AccessKeyPress(short KeyAscii);
    void UserControl_GotFocus();
    void UserControl_LostFocus();

    // --- Window hook and hover tracking (hook.cpp) ----------------------------------------------------------
    /// The button's message procedure, called by its hooks before and/or after the window's previous one.
    void zSubclass_Proc(bool bBefore, bool& bHandled, platform::LResult& lReturn, platform::WindowHandle& lng_hWnd,
                        platform::Message& uMsg, platform::WParam& wParam, platform::LParam& lParam);
    static bool IsFunctionExported(const QString& function, const QString& library);
    void RequestLeaveNotification(platform::WindowHandle window);
    /// Hooks a window; returns the index of the HookTable entry used.
    int HookWindow(platform::WindowHandle window);
    /// Adds a message to a hooked window's lists (timing HookAfter 1, HookBefore 2, or both); throws
    /// RuntimeError when the window is not hooked.
    void HookAddMessage(platform::WindowHandle window, std::int32_t message, std::int32_t timing);
    /// Removes a window's hook; throws RuntimeError when the window is not hooked.
    void UnhookWindow(platform::WindowHandle window);
    void UnhookAllWindows();
    /// Highest index of the window's entry, or with forAdding of a free entry; -1 when none.
    int FindHookEntry(platform::WindowHandle window, bool forAdding) const;

    // --- Rendering pipeline -----------------------------------------------------------------------------------
    /// Clears, paints the face of the current style, then the picture and the caption; shows the result.
    void Redraw();
    /// Recomputes and applies the window outline.
    void UpdateRegion();
    /// Derives the access key from Caption.
    void SetAccessKey();
    /// Lays out and draws the picture and the caption (called by Redraw after the painter).
    void DrawCaptionAndPicture();
    /// Sets the button's colours, and the focus-rectangle flag, to those of its style.
    void ApplyStyleDefaults();

    /// The access key derived from the caption (lower case), or a null QChar.
    QChar accessKey() const { return accessKey_; }
    /// The image of the last Redraw.
    const platform::Surface& surface() const { return surface_; }
    platform::Surface& surface() { return surface_; }
    /// The outline applied by the last UpdateRegion.
    const platform::Region& region() const { return region_; }
    /// Derived values kept by the pipeline.
    int clientWidth() const { return W_; }
    int clientHeight() const { return H_; }
    platform::Rect clientRect() const { return clientRect_; }
    platform::Rect captionRect() const { return captionRect_; }
    platform::Rect captionFocusRect() const { return captionFocusRect_; }
    int pictureX() const { return px_; }
    int pictureY() const { return py_; }
    int pictureWidth() const { return pw_; }
    int pictureHeight() const { return ph_; }
    /// The font the surface draws with.
    const platform::FontDescription& surfaceFont() const { return surfaceFont_; }
    ColorRef surfaceForeColor() const { return surfaceForeColor_; }

    /// Font changes reported by mFont.
    void mFont_FontChanged(const QString& PropertyName);

Q_SIGNALS:
    // Events, in declaration order (their numbers 1 to 10).
    void Click();
    void DblClick();
    void MouseEnter();
    void MouseLeave();
    void MouseMove(short& Button, short& Shift, float& X, float& Y);
    void MouseUp(short& Button, short& Shift, float& X, float& Y);
    void MouseDown(short& Button, short& Shift, float& X, float& Y);
    void KeyDown(short& KeyCode, short& Shift);
    void KeyUp(short& KeyCode, short& Shift);
    void KeyPress(short& KeyAcsii);

protected:
    void UserControl_Initialize() override;
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const platform::PropertyStore& store) override;
    void UserControl_WriteProperties(platform::PropertyStore& store) override;
    void UserControl_Resize() override;
    void UserControl_Paint() override;
    void UserControl_AmbientChanged(const QString& name) override;
    void UserControl_Terminate() override;

    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void readClientSize();
    void applySurfaceFont();
    void applyPointer();
    void attachFont(std::shared_ptr<platform::Font> font);
    ButtonLook look() const;
    void drawPicture(const Picture& picture, int x, int y, int w, int h);
    void setHandPointerNow();
    void registerAccessKey();
    void installHooks();
    void removeHooks();

    // Property values.
    std::int32_t m_ButtonStyle = 0;
    bool m_ShowFocusRect = false;
    std::shared_ptr<platform::Font> mFont;
    QMetaObject::Connection fontConnection_;
    ColorRef m_BackColor = 0;
    bool m_Enabled = false;
    QString m_Caption;
    bool m_Value = false;
    bool m_HandPointer = false;
    Picture m_Picture;
    Picture m_PictureHover;
    std::int32_t m_PictureSize = 0;
    ColorRef m_MaskColor = 0;
    bool m_UseMaskColor = false;
    bool m_CheckBoxMode = false;
    std::int32_t m_PictureAlign = 0;
    std::int32_t m_CaptionAlign = 0;
    ColorRef m_ForeColor = 0;

    // The surface's own state.
    platform::Surface surface_;
    platform::FontDescription surfaceFont_;
    ColorRef surfaceForeColor_ = 0;
    std::int16_t surfaceMousePointer_ = 0;
    Picture surfaceMouseIcon_;
    platform::Region region_;

    // Pipeline state.
    QChar accessKey_;
    int W_ = 0;
    int H_ = 0;
    platform::Rect clientRect_;
    platform::Rect captionRect_;
    platform::Rect captionFocusRect_;
    int px_ = 0;
    int py_ = 0;
    int pw_ = 0;
    int ph_ = 0;
    bool painting_ = false;
    platform::MessageBoxService* messageBox_ = nullptr;
    bool hasImage_ = false;
    int accessKeyShortcut_ = 0;
    bool captured_ = false;
};

}  // namespace tervolin::controls
