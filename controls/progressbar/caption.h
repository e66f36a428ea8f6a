#pragma once
// The progress bar's caption: what it says, where it goes and the passes that give it its effect.

#include <optional>
#include <vector>

#include <QPoint>
#include <QString>

#include "controls/progressbar/progressbartypes.h"
#include "platform/colour.h"
#include "platform/surface.h"

namespace tervolin::controls::progressbar {

using platform::ColorRef;

/// The caption for a text style: 1 the value in decimal, 2 the percentage p with "%", 3 the custom text;
/// nothing for any other style.
std::optional<QString> captionText(TextStyleValue textStyle, int value, double percent, const QString& customText);

/// p as the platform writes a double: at most 15 significant digits, no trailing zeros, no separator for a whole
/// number, the locale's decimal separator, exponent form ("1E-05") for very small values; then "%".
QString PercentText(double percent);

/// Top-left of a caption of size tw × th on a w × h surface for alignment 1 to 9 (rows top/middle/bottom within
/// columns left/centre/right); (0, 0) for any other alignment.
QPoint captionPosition(TextAlignmentValue alignment, double w, double h, double tw, double th);

/// One drawing of the whole caption, offset from its position, in a colour.
struct CaptionPass
{
    int dx = 0;
    int dy = 0;
    ColorRef colour = 0;
    friend bool operator==(const CaptionPass&, const CaptionPass&) = default;
};

/// The passes of an effect in drawing order (1 plain, 2 raised, 3 sunken, 4 outline, 5 drop shadow; none for any
/// other value). fore and effect are the colours already chosen for the enabled or disabled look.
std::vector<CaptionPass> captionPasses(TextEffectValue textEffect, ColorRef fore, ColorRef effect);

/// The colours of the caption passes: fore and effect colours translated to plain colours and, when the control
/// is disabled, greyed. A system colour is translated before greying, so the grey is that of the colour it names.
struct CaptionColours
{
    ColorRef fore = 0;
    ColorRef effect = 0;
};
CaptionColours captionColours(ColorRef textForeColor, ColorRef textEffectColor, bool enabled);

/// The fixed grey of the raised and sunken effects; it stays as it is when the control is disabled.
constexpr ColorRef kEffectGrey = platform::rgb(128, 128, 128);

/// Draws the caption with the surface's current font: position by alignment, passes by effect, the colours
/// greyed when the control is disabled.
void DrawCaptionText(platform::Surface& surface, const QString& text, TextAlignmentValue alignment, TextEffectValue textEffect, ColorRef textForeColor,
                     ColorRef textEffectColor, bool enabled);

}  // namespace tervolin::controls::progressbar
