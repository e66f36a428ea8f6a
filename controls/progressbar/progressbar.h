#pragma once
// ProgressBar: a themed progress bar showing Value between Min and Max as a two-band gradient bar with
// rounded corners and an optional caption. It raises no events of its own and takes no input; every property
// change stores the value, tells the container and redraws.

#include <memory>
#include <optional>
#include <type_traits>

#include <QString>

#include "controls/progressbar/gradients.h"
#include "controls/progressbar/painter.h"
#include "controls/progressbar/progressbartypes.h"
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

    Q_PROPERTY(int Value READ Value WRITE setValue NOTIFY ValueChanged)
    Q_PROPERTY(int Max READ Max WRITE setMax NOTIFY MaxChanged)
    Q_PROPERTY(int Min READ Min WRITE setMin NOTIFY MinChanged)
    Q_PROPERTY(int RoundedValue READ RoundedValue WRITE setRoundedValue NOTIFY RoundedValueChanged)
    // Written through QWidget::setEnabled: the property is the widget's own enabled state.
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled NOTIFY EnabledChanged)
    Q_PROPERTY(tervolin::controls::progressbar::ThemeValue Theme READ Theme WRITE setTheme NOTIFY ThemeChanged)
    Q_PROPERTY(tervolin::controls::progressbar::TextStyleValue TextStyle READ TextStyle WRITE setTextStyle NOTIFY TextStyleChanged)
    Q_PROPERTY(tervolin::controls::progressbar::OrientationValue Orientations READ Orientations WRITE setOrientations NOTIFY
                   OrientationsChanged)
    Q_PROPERTY(tervolin::controls::progressbar::TextAlignmentValue TextAlignment READ TextAlignment WRITE setTextAlignment NOTIFY
                   TextAlignmentChanged)
    Q_PROPERTY(QString Text READ Text WRITE setText NOTIFY TextChanged)
    Q_PROPERTY(int TextEffectColor READ TextEffectColor WRITE setTextEffectColor NOTIFY TextEffectColorChanged)
    Q_PROPERTY(tervolin::controls::progressbar::TextEffectValue TextEffect READ TextEffect WRITE setTextEffect NOTIFY TextEffectChanged)
    Q_PROPERTY(int TextForeColor READ TextForeColor WRITE setTextForeColor NOTIFY TextForeColorChanged)
    Q_PROPERTY(std::shared_ptr<tervolin::platform::Font> TextFont READ TextFont WRITE setTextFont NOTIFY TextFontChanged)
    Q_PROPERTY(int PBSCustomeColor1 READ PBSCustomeColor1 WRITE setPBSCustomeColor1 NOTIFY PBSCustomeColor1Changed)
    Q_PROPERTY(int PBSCustomeColor2 READ PBSCustomeColor2 WRITE setPBSCustomeColor2 NOTIFY PBSCustomeColor2Changed)

public:
    using ThemeValue = progressbar::ThemeValue;
    using TextStyleValue = progressbar::TextStyleValue;
    using OrientationValue = progressbar::OrientationValue;
    using TextAlignmentValue = progressbar::TextAlignmentValue;
    using TextEffectValue = progressbar::TextEffectValue;

    explicit ProgressBar(QWidget* parent = nullptr);
    ~ProgressBar() override;

    /// The property browser's description of a property, or an empty text when it has none.
    static QString helpString(const char* property);

    int Value() const { return m_f.Value; }
    int Max() const { return m_f.Max; }
    int Min() const { return m_f.Min; }
    int RoundedValue() const { return m_f.RoundedValue; }
    /// The bar's own enabled state, set with QWidget::setEnabled. The bar draws grey also while an ancestor is
    /// disabled; a change of the own state is announced, and the stored property is the own state.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }
    ThemeValue Theme() const { return m_f.Theme; }
    TextStyleValue TextStyle() const { return m_f.TextStyle; }
    OrientationValue Orientations() const { return m_f.Orientations; }
    TextAlignmentValue TextAlignment() const { return m_f.TextAlignment; }
    QString Text() const { return m_f.Text; }
    ColorRef TextEffectColor() const { return m_f.TextEffectColor; }
    TextEffectValue TextEffect() const { return m_f.TextEffect; }
    ColorRef TextForeColor() const { return m_f.TextForeColor; }
    /// The caption font, shared with whoever supplied it.
    std::shared_ptr<platform::Font> TextFont() const { return m_textFont; }
    ColorRef PBSCustomeColor1() const { return m_f.PBSCustomeColor1; }
    ColorRef PBSCustomeColor2() const { return m_f.PBSCustomeColor2; }

    // Every setter stores (Value, Min and Max clamped), announces the property through its change signal and the
    // container's property-changed notification, then redraws; also when the value is the same.
    /// Clamped to Min..Max (Max first, then Min).
    void setValue(int v);
    /// At least 1 and above Min; a Value above the new Max follows through setValue (so "Value" is told first).
    void setMax(int v);
    /// Below Max and not negative; a Value below the new Min follows through setValue.
    void setMin(int v);
    void setRoundedValue(int v);
    void setTheme(ThemeValue v);
    void setTextStyle(TextStyleValue v);
    void setOrientations(OrientationValue v);
    void setTextAlignment(TextAlignmentValue v);
    void setText(const QString& text);
    void setTextEffectColor(ColorRef c);
    void setTextEffect(TextEffectValue v);
    void setTextForeColor(ColorRef c);
    /// Keeps the reference (no copy); the font's later changes show at the next redraw.
    void setTextFont(std::shared_ptr<platform::Font> font);
    void setPBSCustomeColor1(ColorRef c);
    void setPBSCustomeColor2(ColorRef c);

    /// Draws a gradient between two colours on a surface: Direction 0 left to right, 1 top to bottom, any other
    /// value nothing; right and bottom are edges, not extents.
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

Q_SIGNALS:
    void ValueChanged(int value);
    void MaxChanged(int value);
    void MinChanged(int value);
    void RoundedValueChanged(int value);
    void EnabledChanged(bool on);
    void ThemeChanged(tervolin::controls::progressbar::ThemeValue theme);
    void TextStyleChanged(tervolin::controls::progressbar::TextStyleValue style);
    void OrientationsChanged(tervolin::controls::progressbar::OrientationValue orientation);
    void TextAlignmentChanged(tervolin::controls::progressbar::TextAlignmentValue alignment);
    void TextChanged(const QString& text);
    void TextEffectColorChanged(int colour);
    void TextEffectChanged(tervolin::controls::progressbar::TextEffectValue effect);
    void TextForeColorChanged(int colour);
    void TextFontChanged(std::shared_ptr<tervolin::platform::Font> font);
    void PBSCustomeColor1Changed(int colour);
    void PBSCustomeColor2Changed(int colour);

protected:
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(const platform::PropertyStore& store) override;
    void UserControl_WriteProperties(platform::PropertyStore& store) override;
    void UserControl_Resize() override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    /// The tail of every let: announce, then redraw.
    template <typename... Args>
    void changed(void (ProgressBar::*signal)(Args...), std::type_identity_t<Args>... values);
    /// The lets that store a field unchanged.
    template <typename T>
    void let(T progressbar::ProgressBarFields::*field, T value, void (ProgressBar::*signal)(T));
    /// The Enabled let of initialising and loading: sets the own state and, like every let, notifies and redraws
    /// also when it is the same.
    void letEnabled(bool on);
    void DrawProgressBar();

    progressbar::ProgressBarFields m_f;
    std::shared_ptr<platform::Font> m_textFont;
    progressbar::ThemeColours m_themeColours{};
    platform::Surface m_surface;
    platform::Region m_region;
    progressbar::RedrawResult m_lastRedraw;
    /// The own enabled state last announced, to tell an own change from an ancestor's.
    bool m_announcedEnabled = true;
    /// Set while letEnabled runs, which announces the change itself.
    bool m_inEnabledLet = false;
};

}  // namespace tervolin::controls
