#pragma once
// Colour arithmetic and drawing primitives shared by the button's painters (and the progress bar's colour code).
// Colours are 0x00BBGGRR; the drawing primitives take plain colours and draw on a Surface in client pixels.

#include "platform/colour.h"
#include "platform/geometry.h"
#include "platform/picture.h"
#include "platform/surface.h"

#include <cmath>
#include <cstdint>

namespace tervolin::controls {

using platform::ColorRef;
using platform::GradientDirection;
using platform::Rect;

/// A drawing constant written 0xRRGGBB, as a colour value.
constexpr ColorRef hex(std::uint32_t rrggbb)
{
    return platform::rgb(static_cast<int>((rrggbb >> 16) & 0xFF), static_cast<int>((rrggbb >> 8) & 0xFF),
                         static_cast<int>(rrggbb & 0xFF));
}

/// Rounds to the nearest integer, ties to even (12.5 gives 12, 13.5 gives 14), as the painters' band heights do.
inline int roundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

/// A plain colour unchanged; a system colour as its current RGB; -1 for what cannot be translated.
ColorRef TranslateColor(ColorRef colour);

/// Adds factor × 255 to each channel (the product formed in single precision, so 0.3 × 255 is 76.5), rounds to
/// nearest with ties to even, and clamps at 255 for a positive factor or at 0 otherwise. A factor that is not a
/// number leaves the colour's channels as they are.
ColorRef ShiftColor(ColorRef colour, float factor);

/// The per-channel mean, rounded to nearest with ties to even (1 and 2 give 2, 2 and 3 give 2).
ColorRef BlendColors(ColorRef colour1, ColorRef colour2);

/// 1-pixel line from (x1, y1) towards (x2, y2); the end point itself is not drawn.
void DrawLine(platform::Surface& surface, int x1, int y1, int x2, int y2, ColorRef colour);

/// 1-pixel frame on the outermost pixels inside (x, y, x + width, y + height).
void DrawFrame(platform::Surface& surface, int x, int y, int width, int height, ColorRef colour);

/// The rectangle filled (right and bottom exclusive).
void FillRectangle(platform::Surface& surface, ColorRef colour, const Rect& rectangle);

/// Linear blend from colour1 to colour2 over (x, y, width, height): Vertical top to bottom, any other value left
/// to right. Entry i of the n-entry ramp is c1 + i × (c2 − c1) / (n − 1) per channel (integer, truncating);
/// a 1-entry ramp is c1 / 2 + c2 / 2. Drawn as a 32-bit bottom-up bitmap copied at 1:1. Nothing is drawn when
/// width or height is 0 or less.
void DrawGradient(platform::Surface& surface, int x, int y, int width, int height, ColorRef colour1, ColorRef colour2,
                  GradientDirection direction);

/// Sets (1, 1), (1, H − 2), (W − 2, 1) and (W − 2, H − 2) to the colour, W and H being the surface's size.
void SetCornerPixels(platform::Surface& surface, ColorRef colour);

/// Draws a bitmap or icon picture in grey, stretched to (x, y, width, height): the mask (an icon's, or all black
/// for a bitmap) is ANDed onto the surface, then the grey image ORed over it. An icon keeps the background where it
/// is transparent; a bitmap comes out opaque. Pictures of other kinds draw nothing.
void DrawDisabledPicture(platform::Surface& surface, const platform::Picture& picture, int x, int y, int width,
                         int height);

/// The grey of step "grey every pixel": (blue + green + red) / 3, truncated, in all three bytes of each pixel of a
/// 24-bit bottom-up bitmap, row by row at the stride so that padding bytes stay untouched.
void GreyDib(platform::Dib& dib);

}  // namespace tervolin::controls
