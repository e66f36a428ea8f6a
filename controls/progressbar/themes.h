#pragma once
// The colour table of the progress bar's themes: track, fill and outline colours by index.

#include <array>

#include "controls/progressbar/progressbartypes.h"
#include "platform/colour.h"

namespace tervolin::controls::progressbar {

using platform::ColorRef;

/// Entries 0 to 16. Even indices draw: 0/2 and 4/6 the track's first and second band (start/end), 8/10 and
/// 12/14 the fill's bands, 16 the outline. Each odd index is a copy of the even index below it.
using ThemeColours = std::array<ColorRef, 17>;

namespace ThemeIndex {
constexpr int TrackFirstStart = 0;
constexpr int TrackFirstEnd = 2;
constexpr int TrackSecondStart = 4;
constexpr int TrackSecondEnd = 6;
constexpr int FillFirstStart = 8;
constexpr int FillFirstEnd = 10;
constexpr int FillSecondStart = 12;
constexpr int FillSecondEnd = 14;
constexpr int Outline = 16;
}  // namespace ThemeIndex

/// Fills the table for a theme: 1 to 9 from the fixed tables, 10 (custom) from the two custom colours
/// (custom1: fill and outline, custom2: track). Any other theme leaves the table exactly as it is.
/// The custom colours are used as plain colours; a system colour is translated first.
void LoadThemeColours(ThemeColours& colours, ThemeValue theme, ColorRef custom1, ColorRef custom2);

/// Replaces every entry by its GreyColour (the disabled look).
void greyThemeColours(ThemeColours& colours);

}  // namespace tervolin::controls::progressbar
