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
    Q_PROPERTY(tervolin::controls::ButtonStyles ButtonStyle READ ButtonStyle WRITE setButtonStyle NOTIFY ButtonStyleChanged)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE setShowFocusRect NOTIFY ShowFocusRectChanged)
    Q_PROPERTY(std::shared_ptr<tervolin::platform::Font> Font READ Font WRITE setFont NOTIFY FontChanged)
    Q_PROPERTY(std::int32_t BackColor READ BackColor WRITE setBackColor NOTIFY BackColorChanged)
    // Written through QWidget::setEnabled: the property is the widget's own enabled state.
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled NOTIFY EnabledChanged)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption NOTIFY CaptionChanged)
    Q_PROPERTY(bool Value READ Value WRITE setValue NOTIFY ValueChanged)
    Q_PROPERTY(std::int32_t MousePointer READ MousePointer WRITE setMousePointer NOTIFY MousePointerChanged)
    Q_PROPERTY(bool HandPointer READ HandPointer WRITE setHandPointer NOTIFY HandPointerChanged)
    Q_PROPERTY(tervolin::platform::Picture MouseIcon READ MouseIcon WRITE setMouseIcon NOTIFY MouseIconChanged)
    Q_PROPERTY(tervolin::platform::Picture Picture READ picture WRITE setPicture NOTIFY PictureChanged)
    Q_PROPERTY(tervolin::platform::Picture PictureHover READ PictureHover WRITE setPictureHover NOTIFY PictureHoverChanged)
    Q_PROPERTY(tervolin::controls::PictureSizes PictureSize READ PictureSize WRITE setPictureSize NOTIFY PictureSizeChanged)
    Q_PROPERTY(std::int32_t MaskColor READ MaskColor WRITE setMaskColor NOTIFY MaskColorChanged)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE setUseMaskColor NOTIFY UseMaskColorChanged)
    Q_PROPERTY(bool CheckBoxMode READ CheckBoxMode WRITE setCheckBoxMode NOTIFY CheckBoxModeChanged)
    Q_PROPERTY(tervolin::controls::PictureAlignments PictureAlign READ PictureAlign WRITE setPictureAlign NOTIFY PictureAlignChanged)
    Q_PROPERTY(tervolin::controls::CaptionAlignments CaptionAlign READ CaptionAlign WRITE setCaptionAlign NOTIFY CaptionAlignChanged)
    Q_PROPERTY(std::int32_t ForeColor READ ForeColor WRITE setForeColor NOTIFY ForeColorChanged)
    Q_PROPERTY(std::int32_t hWnd READ hWnd CONSTANT)

public:
    using ColorRef = platform::ColorRef;
    using Picture = platform::Picture;

    /// Smallest outer size in either direction, in twips.
    static constexpr int MinimumExtentTwips = 220;

    explicit vantlebutton(QWidget* parent = nullptr);
    ~vantlebutton() override;

    // --- Properties -------------------------------------------------------------------------------------------
    // Each setter announces its property through the change signal and the container's property-changed
    // notification, in the order of side effects documented for it, also when the value is the same.
    ButtonStyles ButtonStyle() const { return m_ButtonStyle; }
    void setButtonStyle(ButtonStyles style);
    bool ShowFocusRect() const { return m_ShowFocusRect; }
    void setShowFocusRect(bool on);
    /// The font object (shared with whoever set it); empty until a font is set or the button is loaded.
    std::shared_ptr<platform::Font> Font() const { return m_Font; }
    void setFont(std::shared_ptr<platform::Font> font);
    ColorRef BackColor() const { return m_BackColor; }
    void setBackColor(ColorRef colour);
    /// The button's own enabled state, set with QWidget::setEnabled. The button draws disabled also while an
    /// ancestor is disabled; a change of the own state is announced, and the stored property is the own state.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    QString Caption() const { return m_Caption; }
    void setCaption(const QString& caption);
    bool Value() const { return m_Value; }
    void setValue(bool on);
    /// The surface's pointer shape code. Setting a value outside 16 bits throws RuntimeError 6 (overflow).
    std::int32_t MousePointer() const { return m_surfaceMousePointer; }
    void setMousePointer(std::int32_t code);
    bool HandPointer() const { return m_HandPointer; }
    void setHandPointer(bool on);
    /// The surface's custom pointer picture.
    Picture MouseIcon() const { return m_surfaceMouseIcon; }
    void setMouseIcon(const Picture& picture);
    Picture picture() const { return m_Picture; }
    void setPicture(const Picture& picture);
    Picture PictureHover() const { return m_PictureHover; }
    void setPictureHover(const Picture& picture);
    PictureSizes PictureSize() const { return m_PictureSize; }
    void setPictureSize(PictureSizes size);
    ColorRef MaskColor() const { return m_MaskColor; }
    void setMaskColor(ColorRef colour);
    bool UseMaskColor() const { return m_UseMaskColor; }
    void setUseMaskColor(bool on);
    bool CheckBoxMode() const { return m_CheckBoxMode; }
    void setCheckBoxMode(bool on);
    PictureAlignments PictureAlign() const { return m_PictureAlign; }
    void setPictureAlign(PictureAlignments align);
    CaptionAlignments CaptionAlign() const { return m_CaptionAlign; }
    void setCaptionAlign(CaptionAlignments align);
    ColorRef ForeColor() const { return m_ForeColor; }
    void setForeColor(ColorRef colour);
    /// The window handle of the control's surface.
    std::int32_t hWnd() const { return hWndOf(); }

    /// Shows the About box (information icon, title "About").
    void About();
    /// The message box About uses (the real dialog unless replaced; the service must outlive the button).
    void setMessageBoxService(platform::MessageBoxService* service) { m_messageBox = service; }

    // --- Instance state shared with input, hook and drawing ---------------------------------------------------
    ButtonStates ButtonState = ButtonStates::StateNormal;
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
    /// A click as the left mouse button gives one: the focus, then a press and a release at the centre (so in
    /// check-box mode Value toggles, and Click is raised between MouseDown and MouseUp). A disabled button
    /// ignores it. Assistive tools press the button through this.
    void click();

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
    QChar accessKey() const { return m_accessKey; }
    /// The image of the last Redraw.
    const platform::Surface& surface() const { return m_surface; }
    platform::Surface& surface() { return m_surface; }
    /// The outline applied by the last UpdateRegion.
    const platform::Region& region() const { return m_region; }
    /// Derived values kept by the pipeline.
    int clientWidth() const { return m_clientWidth; }
    int clientHeight() const { return m_clientHeight; }
    platform::Rect clientRect() const { return m_clientRect; }
    platform::Rect captionRect() const { return m_captionRect; }
    platform::Rect captionFocusRect() const { return m_captionFocusRect; }
    int pictureX() const { return m_pictureX; }
    int pictureY() const { return m_pictureY; }
    int pictureWidth() const { return m_pictureWidth; }
    int pictureHeight() const { return m_pictureHeight; }
    /// The font the surface draws with.
    const platform::FontDescription& surfaceFont() const { return m_surfaceFont; }
    ColorRef surfaceForeColor() const { return m_surfaceForeColor; }

    /// Font changes reported by the font object (named, as the other handlers, after its source).
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

    // Change signals of the properties, declared after the events so that those keep their numbers. Besides the
    // setters, input toggling Value, a style replacing BackColor, ForeColor and ShowFocusRect, and a painter
    // setting the caption colour emit them (without telling the container, as before).
    void ButtonStyleChanged(tervolin::controls::ButtonStyles style);
    void ShowFocusRectChanged(bool on);
    void FontChanged(std::shared_ptr<tervolin::platform::Font> font);
    void BackColorChanged(std::int32_t colour);
    void EnabledChanged(bool on);
    void CaptionChanged(const QString& caption);
    void ValueChanged(bool on);
    void MousePointerChanged(std::int32_t code);
    void HandPointerChanged(bool on);
    void MouseIconChanged(const tervolin::platform::Picture& picture);
    void PictureChanged(const tervolin::platform::Picture& picture);
    void PictureHoverChanged(const tervolin::platform::Picture& picture);
    void PictureSizeChanged(tervolin::controls::PictureSizes size);
    void MaskColorChanged(std::int32_t colour);
    void UseMaskColorChanged(bool on);
    void CheckBoxModeChanged(bool on);
    void PictureAlignChanged(tervolin::controls::PictureAlignments align);
    void CaptionAlignChanged(tervolin::controls::CaptionAlignments align);
    void ForeColorChanged(std::int32_t colour);

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
    void changeEvent(QEvent* event) override;
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
    /// Inverts Value as input does: no notice to the container.
    void toggleValue();
    /// Redraws for a change of the drawn enabled state and announces a change of the own one.
    void enabledStateChanged();
    /// When a setter of one shape redraws.
    enum class Redraws { Always, WithPicture, Never };
    /// The setters of one shape: store, redraw, announce.
    template <typename T>
    void let(T vantlebutton::*member, T value, Redraws redraw, void (vantlebutton::*changed)(T));

    // Property values.
    ButtonStyles m_ButtonStyle = ButtonStyles::Standard;
    bool m_ShowFocusRect = false;
    std::shared_ptr<platform::Font> m_Font;
    QMetaObject::Connection m_fontConnection;
    ColorRef m_BackColor = 0;
    QString m_Caption;
    bool m_Value = false;
    bool m_HandPointer = false;
    Picture m_Picture;
    Picture m_PictureHover;
    PictureSizes m_PictureSize = PictureSizes::SizeOriginal;
    ColorRef m_MaskColor = 0;
    bool m_UseMaskColor = false;
    bool m_CheckBoxMode = false;
    PictureAlignments m_PictureAlign = PictureAlignments::PictureLeftEdge;
    CaptionAlignments m_CaptionAlign = CaptionAlignments::AlignLeft;
    ColorRef m_ForeColor = 0;
    /// The own enabled state last announced, to tell an own change from an ancestor's.
    bool m_announcedEnabled = true;
    /// Set while ReadProperties applies the stored Enabled: the load draws once at its end.
    bool m_loading = false;

    // The surface's own state.
    platform::Surface m_surface;
    platform::FontDescription m_surfaceFont;
    ColorRef m_surfaceForeColor = 0;
    std::int16_t m_surfaceMousePointer = 0;
    Picture m_surfaceMouseIcon;
    platform::Region m_region;

    // Pipeline state.
    QChar m_accessKey;
    int m_clientWidth = 0;
    int m_clientHeight = 0;
    platform::Rect m_clientRect;
    platform::Rect m_captionRect;
    platform::Rect m_captionFocusRect;
    int m_pictureX = 0;
    int m_pictureY = 0;
    int m_pictureWidth = 0;
    int m_pictureHeight = 0;
    bool m_painting = false;
    platform::MessageBoxService* m_messageBox = nullptr;
    bool m_hasImage = false;
    int m_accessKeyShortcut = 0;
    bool m_captured = false;
};

}  // namespace tervolin::controls
