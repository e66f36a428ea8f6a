#pragma once
// The progress bar's two gradient services on a drawing surface.

#include <optional>

#include <QString>

#include "platform/colour.h"
#include "platform/surface.h"

namespace tervolin::controls::progressbar {

using platform::ColorRef;

/// An error reported to the caller of a drawing method: the platform's error number and its text.
struct DrawError
{
    int number = 0;
    QString description;
};

/// Rectangle-mesh gradient on (left, top)–(right, bottom), right and bottom exclusive. Horizontal (0) runs from
/// start (left edge) to end (right edge), Vertical (1) from start (top) to end (bottom); any other value draws
/// nothing. An empty rectangle draws nothing.
void GradientTwoColour(platform::Surface& surface, platform::GradientDirection direction, ColorRef startColor, ColorRef endColor, int left, int top,
                       int right, int bottom);

/// Bilinear gradient over width × height pixels at (left, top) from the four corner colours. Each row is a
/// ramp between the left and right columns, each column a ramp between its corners; the ramps reach their end
/// colour one step past the last drawn pixel, so the right column and bottom row stop one step short.
/// A height below 0 or a width below 1 draws nothing and reports error 9 (subscript out of range); a height of
/// 0 draws nothing.
std::optional<DrawError> DrawGradientFourColour(platform::Surface& surface, int left, int top, int width, int height,
                                                ColorRef topLeft, ColorRef topRight, ColorRef bottomLeft,
                                                ColorRef bottomRight);

}  // namespace tervolin::controls::progressbar
