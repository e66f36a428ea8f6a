#include "controls/button/primitives.h"

#include <cmath>

namespace tervolin::controls {

using platform::blueOf;
using platform::Dib;
using platform::greenOf;
using platform::Picture;
using platform::redOf;
using platform::Surface;

namespace {

ColorRef compose(int r, int g, int b) { return r + g * 256 + b * 65536; }

}  // namespace

ColorRef TranslateColor(ColorRef colour) { return platform::translateColour(colour); }

ColorRef ShiftColor(ColorRef colour, float factor)
{
    if (std::isnan(factor))
        return compose(redOf(colour), greenOf(colour), blueOf(colour));
    // The step is formed in single precision (0.3f × 255 rounds to exactly 76.5), then added in double.
    const float step = factor * 255.0f;
    const auto shift = [step, factor](int c) {
        double v = std::nearbyint(static_cast<double>(c) + static_cast<double>(step));  // ties to even
        if (factor > 0)
            v = std::min(v, 255.0);
        else
            v = std::max(v, 0.0);
        return static_cast<int>(v);
    };
    return compose(shift(redOf(colour)), shift(greenOf(colour)), shift(blueOf(colour)));
}

ColorRef BlendColors(ColorRef colour1, ColorRef colour2)
{
    const auto mean = [](int a, int b) { return static_cast<int>(std::nearbyint((a + b) / 2.0)); };
    return compose(mean(redOf(colour1), redOf(colour2)), mean(greenOf(colour1), greenOf(colour2)),
                   mean(blueOf(colour1), blueOf(colour2)));
}

void DrawLine(Surface& surface, int x1, int y1, int x2, int y2, ColorRef colour)
{
    surface.line(x1, y1, x2, y2, colour);
}

void DrawFrame(Surface& surface, int x, int y, int width, int height, ColorRef colour)
{
    surface.frame(Rect::fromSize(x, y, width, height), colour);
}

void FillRectangle(Surface& surface, ColorRef colour, const Rect& rectangle) { surface.fill(rectangle, colour); }

void DrawGradient(Surface& surface, int x, int y, int width, int height, ColorRef colour1, ColorRef colour2,
                  GradientDirection direction)
{
    if (width <= 0 || height <= 0)
        return;
    const bool vertical = direction == GradientDirection::Vertical;
    const long long n = vertical ? height : width;
    const int c1[3] = {redOf(colour1), greenOf(colour1), blueOf(colour1)};
    const int c2[3] = {redOf(colour2), greenOf(colour2), blueOf(colour2)};
    const auto entry = [&](long long i, int k) {
        if (n == 1)
            return c1[k] / 2 + c2[k] / 2;
        return static_cast<int>(c1[k] + (i * (c2[k] - c1[k])) / (n - 1));  // truncates toward zero
    };
    // Only the visible part of the bitmap is built: the pixels are the same, the memory stays bounded.
    const Rect full = Rect::fromSize(x, y, width, height);
    const Rect visible = full.intersected(surface.bounds());
    if (visible.isEmpty())
        return;
    if (vertical) {
        // Each row of a vertical ramp is one colour: filling the rows gives the bitmap copy's pixels without
        // building the bitmap.
        for (int row = visible.top; row < visible.bottom; ++row) {
            const long long i = static_cast<long long>(row) - y;
            const ColorRef colour = platform::rgb(entry(i, 0), entry(i, 1), entry(i, 2));
            surface.fill(Rect{visible.left, row, visible.right, row + 1}, colour);
        }
        return;
    }
    Dib dib(visible.width(), visible.height(), 32);
    const auto pixelOf = [&](long long i) {
        return static_cast<std::uint32_t>(entry(i, 0)) << 16 | static_cast<std::uint32_t>(entry(i, 1)) << 8 |
               static_cast<std::uint32_t>(entry(i, 2));
    };
    for (int row = 0; row < dib.height(); ++row) {
        auto* line = reinterpret_cast<std::uint32_t*>(dib.scanLine(row));
        if (row == 0) {
            for (int col = 0; col < dib.width(); ++col)
                line[col] = pixelOf(static_cast<long long>(visible.left) - x + col);
        } else {
            std::copy_n(reinterpret_cast<const std::uint32_t*>(dib.scanLine(0)), dib.width(), line);
        }
    }
    surface.copyDib(visible.left, visible.top, dib.width(), dib.height(), dib);
}

void SetCornerPixels(Surface& surface, ColorRef colour)
{
    const int w = surface.width();
    const int h = surface.height();
    surface.setPixel(1, 1, colour);
    surface.setPixel(1, h - 2, colour);
    surface.setPixel(w - 2, 1, colour);
    surface.setPixel(w - 2, h - 2, colour);
}

void GreyDib(Dib& dib)
{
    const int bpp = dib.bitsPerPixel() / 8;
    for (int y = 0; y < dib.height(); ++y) {
        std::uint8_t* p = dib.scanLine(y);
        for (int x = 0; x < dib.width(); ++x, p += bpp) {
            const auto grey = static_cast<std::uint8_t>((p[0] + p[1] + p[2]) / 3);
            p[0] = p[1] = p[2] = grey;
        }
    }
}

void DrawDisabledPicture(Surface& surface, const Picture& picture, int x, int y, int width, int height)
{
    const bool isIcon = picture.kind() == Picture::Kind::Icon;
    if (!isIcon && picture.kind() != Picture::Kind::Bitmap)
        return;
    Dib grey = Dib::fromImage(isIcon ? picture.iconColour() : picture.image(), 24);
    GreyDib(grey);
    // A plain bitmap has no mask: the all-zero buffer blackens the rectangle, so the grey image comes out opaque.
    const Dib mask = isIcon ? Dib::fromImage(picture.iconMask(), 24) : Dib(grey.width(), grey.height(), 24);
    const Rect dest = Rect::fromSize(x, y, width, height);
    surface.stretchDib(dest, mask, platform::RasterOp::And);
    surface.stretchDib(dest, grey, platform::RasterOp::Or);
}

}  // namespace tervolin::controls
