#pragma once
// Twips, the unit of window layouts: 1/1440 inch, 15 to a pixel at 96 dots per inch (higher densities scale the
// whole window by the device pixel ratio). A twip value becomes the nearest whole pixel; 15 is odd, so no value
// lies halfway. The rounding shows where a value is no multiple of 15: the main window's caption strip, 400 twips
// high, is 27 pixels.

#include <QRect>

namespace tervolin::platform {

inline constexpr int TwipsPerPixel = 15;

/// A non-negative number of twips in whole pixels, to the nearest.
constexpr int twipsToPixels(int twips) { return (twips + TwipsPerPixel / 2) / TwipsPerPixel; }

/// A rectangle given in twips in pixels: left, top, width and height each converted on its own.
constexpr QRect twipsToPixels(const QRect& twips)
{
    return {twipsToPixels(twips.x()), twipsToPixels(twips.y()), twipsToPixels(twips.width()), twipsToPixels(twips.height())};
}
constexpr QRect twipsToPixels(int left, int top, int width, int height) { return twipsToPixels(QRect(left, top, width, height)); }

}  // namespace tervolin::platform
