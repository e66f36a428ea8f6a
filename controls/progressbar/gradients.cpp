#include "controls/progressbar/gradients.h"

#include <algorithm>

#include "controls/progressbar/colours.h"

namespace tervolin::controls::progressbar {

namespace {

std::uint16_t channelField(int channel)
{
    return static_cast<std::uint16_t>(ToColour16(channel * 256));
}

platform::GradientVertex vertex(int x, int y, ColorRef colour)
{
    platform::GradientVertex v;
    v.x = x;
    v.y = y;
    v.red = channelField(colour & 0xFF);
    v.green = channelField((colour >> 8) & 0xFF);
    v.blue = channelField((colour >> 16) & 0xFF);
    v.alpha = 0;
    return v;
}

}  // namespace

void GradientTwoColour(platform::Surface& surface, platform::GradientDirection direction, ColorRef startColor,
                       ColorRef endColor, int left, int top, int right, int bottom)
{
    using platform::GradientDirection;
    if (direction != GradientDirection::Horizontal && direction != GradientDirection::Vertical)
        return;
    surface.gradientFill(vertex(left, top, startColor), vertex(right, bottom, endColor), direction);
}

std::optional<DrawError> DrawGradientFourColour(platform::Surface& surface, int left, int top, int width, int height,
                                                ColorRef topLeft, ColorRef topRight, ColorRef bottomLeft,
                                                ColorRef bottomRight)
{
    if (height < 0 || width < 1)
        return DrawError{9, QStringLiteral("Subscript out of range")};
    const PixelRamp leftColumn(height, pixelOf(topLeft), pixelOf(bottomLeft));
    const PixelRamp rightColumn(height, pixelOf(topRight), pixelOf(bottomRight));

    // Only the rows and columns that land on the surface are computed; the others could not change a pixel, and
    // skipping them keeps a huge width or height from costing memory or time.
    const long long x0 = std::max<long long>(0, -static_cast<long long>(left));
    const long long x1 = std::min<long long>(width, static_cast<long long>(surface.width()) - left);
    const long long y0 = std::max<long long>(0, -static_cast<long long>(top));
    const long long y1 = std::min<long long>(height, static_cast<long long>(surface.height()) - top);
    if (x0 >= x1 || y0 >= y1)
        return std::nullopt;

    const int visible = static_cast<int>(x1 - x0);
    platform::Dib row(visible, 1, 24);
    std::uint8_t* line = row.scanLine(0);
    for (long long y = y0; y < y1; ++y) {
        const PixelRamp across(width, leftColumn.at(y), rightColumn.at(y));
        for (long long x = x0; x < x1; ++x) {
            const Pixel p = across.at(x);
            std::uint8_t* out = line + (x - x0) * 3;
            out[0] = p.blue;
            out[1] = p.green;
            out[2] = p.red;
        }
        surface.copyDib(static_cast<int>(left + x0), static_cast<int>(top + y), visible, 1, row);
    }
    return std::nullopt;
}

}  // namespace tervolin::controls::progressbar
