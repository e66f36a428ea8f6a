#pragma once
// ProgressBar: a themed progress bar showing Value between Min and Max as a two-band gradient bar with
// rounded corners and an optional caption. It raises no events and takes no input; every property change
// stores the value, tells the container and redraws.

#include <memory>
#include <optional>

#include <QString>

#include "controls/progressbar/gradients.h"
#include "controls/progressbar/painter.h"
#include "controls/progressbar/themes.h"
#include "platform/font.h"
#include "platform/region.h"
#include "platform/surface.h"
#include "platform/usercontrol.h"

namespace tervolin::controls {

using platform::ColorRef;

class ProgressBar : public platform::UserControl
{
    Q_OBJECT
    // Help strings for a property browser, under "help:<property>"; Orientations has none.
    Q_CLASSINFO("help:Value", "Progressbar Value.")
    Q_CLASSINFO("help:Max", "Progressbar Max Value.")
    Q_CLASSINFO("help:Min", "Progressbar Min Value.")
    Q_CLASSINFO("help:RoundedValue", "Progressbar Rounded Corner Value.")
    Q_CLASSINFO("help:Enabled", "Progressbar Enabled/Disabled.")
    Q_CLASSINFO("help:Theme", "Progressbar Styles.")
    Q_CLASSINFO("help:TextStyle", "Progressbar Text Style.")
    Q_CLASSINFO("help:TextAlignment", "Progressbar Text Alignment.")
    Q_CLASSINFO("help:Text", "Progressbar Text.")
    Q_CLASSINFO("help:TextEffectColor", "Progressbar Text Effect Color.")
    Q_CLASSINFO("help:TextEffect", "Progressbar Text Effect.")
    Q_CLASSINFO("help:TextForeColor", "Progressbar Text Color.")
    Q_CLASSINFO("help:TextFont", "Progressbar Text Font.")
    Q_CLASSINFO("help:PBSCustomeColor1", "Progressbar Style Custome Color 1.")
    Q_CLASSINFO("help:PBSCustomeColor2", "Progressbar Style Custome Color 2.")

    Q_PROPERTY(int Value READ Value WRITE setValue)
    Q_PROPERTY(int Max READ Max WRITE setMax)
    Q_PROPERTY(int Min READ Min WRITE setMin)
    Q_PROPERTY(int RoundedValue READ RoundedValue WRITE setRoundedValue)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int Theme READ Theme WRITE setTheme)
    Q_PROPERTY(int TextStyle READ TextStyle WRITE setTextStyle)
    Q_PROPERTY(int Orientations READ Orientations WRITE setOrientations)
    Q_PROPERTY(int TextAlignment READ TextAlignment WRITE setTextAlignment)
    Q_PROPERTY(QString Text READ Text WRITE setText)
    Q_PROPERTY(int TextEffectColor READ TextEffectColor WRITE setTextEffectColor)
    Q_PROPERTY(int TextEffect READ TextEffect WRITE setTextEffect)
    Q_PROPERTY(int TextForeColor READ TextForeColor WRITE setTextForeColor)
    Q_PROPERTY(tervolin::platform::Font* TextFont READ textFontObject STORED false)
    Q_PROPERTY(int PBSCustomeColor1 READ PBSCustomeColor1 WRITE setPBSCustomeColor1)
    Q_PROPERTY(int PBSCustomeColor2 READ PBSCustomeColor2 WRITE setPBSCustomeColor2)

public:
    enum ThemeValue { Gold = 1, Olive, Green, Teal, Indigo, Magenta, Red, Sky, Lime, Custom };
    enum TextStyleValue { ValueText = 1, PercentText, CustomText };
    enum OrientationValue { Horizontal = 1, Vertical };
    enum TextAlignmentValue { TopLeft = 1, MiddleLeft, BottomLeft, TopCenter, MiddleCenter, BottomCenter, TopRight, MiddleRight, BottomRight };
    enum TextEffectValue { Plain = 1, Raised, Sunken, Outline, DropShadow };

    explicit ProgressBar(QWidget* parent = nullptr);
    ~ProgressBar() override;

    /// The property browser's description of a property, or an empty text when it has none.
    static QString helpString(const char* property);

    int Value() const { return m_f.Value; }
    int Max() const { return m_f.Max; }
    int Min() const { return m_f.Min; }
    int RoundedValue() const { return m_f.RoundedValue; }
    /// Only the drawn look: the window itself stays enabled.
    bool Enabled() const { return m_f.Enabled; }
    int Theme() const { return m_f.Theme; }
    int TextStyle() const { return m_f.TextStyle; }
    int Orientations() const { return m_f.Orientations; }
    int TextAlignment() const { return m_f.TextAlignment; }
    QString Text() const { return m_f.Text; }
    ColorRef TextEffectColor() const { return m_f.TextEffectColor; }
    int TextEffect() const { return m_f.TextEffect; }
    ColorRef TextForeColor() const { return m_f.TextForeColor; }
    /// The caption font, shared with whoever supplied it.
    std::shared_ptr<platform::Font> TextFont() const { return m_textFont; }
    ColorRef PBSCustomeColor1() const { return m_f.PBSCustomeColor1; }
    ColorRef PBSCustomeColor2() const { return m_f.PBSCustomeColor2; }

    /// Clamped to Min..Max (Max first, then Min).
    void setValue(int v);
    /// At least 1 and above Min; a Value above the new Max follows through setValue (so "Value" is told first).
    void setMax(int v);
    /// Below Max and not negative; a Value below the new Min follows through setValue.
    void setMin(int v);
    void setRoundedValue(int v);
    /// Hides QWidget::setEnabled on purpose: the property greys the drawing and never disables the window.
    void setEnabled(bool on);
    void setTheme(int v);
    void setTextStyle(int v);
    void setOrientations(int v);
    void setTextAlignment(int v);
    void setText(const QString& text);
    void setTextEffectColor(ColorRef c);
    void setTextEffect(int v);
    void setTextForeColor(ColorRef c);
    /// Keeps the reference (no copy); the font's later changes show at the next redraw.
    void setTextFont(std::shared_ptr<platform::Font> font);
    void setPBSCustomeColor1(ColorRef c);
    void setPBSCustomeColor2(ColorRef c);

    /// Draws a gradient between two colours on a surface; right and bottom are edges, not extents.
    void GradientTwoColour(platform::Surface& hDC, int Direction, ColorRef StartColor, ColorRef EndColor, int Left, int Top,
                           int Width, int Height);
    /// Draws a four-corner gradient; an invalid size is reported, nothing is drawn then.
    std::optional<progressbar::DrawError> DrawGradientFourColour(platform::Surface& ObjectHDC, int Left, int Top, int Width,
                                                                 int Height, ColorRef TopLeftColour, ColorRef TopRightColour,
                                                                 ColorRef BottomLeftColour, ColorRef BottomRightColour);

    /// The image of the last redraw, the window shape it set and the colour table it left.
    const platform::Surface& surface() const { return m_surface; }
    const platform::Region& windowRegion() const { return m_region; }
    const progressbar::ThemeColours& themeColours() const { return m_themeColours; }
    /// Ratio, fill length and caption of the last redraw.
    const progressbar::RedrawResult& lastRedraw() const { return m_lastRedraw; }

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const platform::PropertyStore& store) override;
    void UserControl_WriteProperties(platform::PropertyStore& store) override;
    void UserControl_Resize() override;
    void paintEvent(QPaintEvent* event) override;

private:
    platform::Font* textFontObject() const { return m_textFont.get(); }
    /// Tells the container and redraws, the tail of every let.
    void changed(const QString& key);
    void DrawProgressBar();

    progressbar::ProgressBarFields m_f;
    std::shared_ptr<platform::Font> m_textFont;
    progressbar::ThemeColours m_themeColours{};
    platform::Surface m_surface;
    platform::Region m_region;
    progressbar::RedrawResult m_lastRedraw;
};

}  // namespace tervolin::controls
