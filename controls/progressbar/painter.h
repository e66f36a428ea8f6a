#pragma once
// The progress bar's redraw as a function of its properties: window shape, track, fill, outline and caption.

#include <optional>

#include <QString>

#include "controls/progressbar/progressbartypes.h"
#include "controls/progressbar/themes.h"
#include "platform/colour.h"
#include "platform/region.h"
#include "platform/surface.h"

namespace tervolin::controls::progressbar {

/// The properties the redraw reads, as the control stores them (enumerations keep any assigned integer).
struct ProgressBarFields
{
    TextStyleValue TextStyle{};
    ThemeValue Theme{};
    OrientationValue Orientations{};
    QString Text;
    ColorRef TextForeColor = 0;
    TextAlignmentValue TextAlignment{};
    ColorRef TextEffectColor = 0;
    TextEffectValue TextEffect{};
    int RoundedValue = 0;
    int Min = 0;
    int Value = 0;
    int Max = 0;
    bool Enabled = false;
    ColorRef PBSCustomeColor1 = 0;
    ColorRef PBSCustomeColor2 = 0;
};

/// What a redraw computed besides its pixels.
struct RedrawResult
{
    std::optional<platform::Region> windowRegion;  ///< the new window shape (none if that step failed)
    double percent = 0;                           ///< p = 100 × Value / Max (0 while Max is 0)
    int fillLength = 0;                           ///< F: filled columns (horizontal) or rows (vertical)
    std::optional<QString> caption;               ///< the caption text, none for a text style without one
};

/// The redraw. Order: window region; ratio and fill length; theme colours (kept as they are for a theme outside
/// 1 to 10); greying when disabled; clear; track and fill; outline; caption in the surface's current font.
/// A step that fails is skipped and the next one runs; the caller never sees a failure.
RedrawResult DrawProgressBar(platform::Surface& surface, const ProgressBarFields& fields, ThemeColours& colours);

}  // namespace tervolin::controls::progressbar
