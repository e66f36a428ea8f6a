#include "controls/progressbar/colours.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tervolin::controls::progressbar {

int nearest(double x)
{
    if (std::isnan(x))
        return 0;
    if (x >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (x <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    // Halves go to the even neighbour, independent of the floating-point environment's rounding mode.
    const double down = std::floor(x);
    const double diff = x - down;
    double r = down;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(down, 2.0) != 0.0))
        r = down + 1.0;
    return static_cast<int>(r);
}

int RedOf(ColorRef x) { return x & 0xFF; }
int GreenOf(ColorRef x) { return (x & 0xFF00) / 256; }
int BlueOf(ColorRef x) { return (x & 0xFF0000) / 65536; }

float SafeRatio(double a, double b)
{
    if (a == 0.0 || b == 0.0)
        return 0.0f;
    return static_cast<float>(a / b);
}

std::int16_t ToColour16(int v)
{
    const auto bits = static_cast<std::uint16_t>(static_cast<unsigned>(v) & 0xFFFFu);
    return static_cast<std::int16_t>(bits >= 32768u ? static_cast<int>(bits) - 65536 : static_cast<int>(bits));
}

namespace {

ColorRef compose(int r, int g, int b)
{
    return static_cast<ColorRef>(r + 256 * g + 65536 * b);
}

}  // namespace

ColorRef LightenColour(ColorRef x, int amount)
{
    const long long r = x % 256;
    const long long g = (static_cast<long long>(x & ~0xFF) / 256) % 256;
    const long long b = (x & 0xFF0000) / 65536;
    const auto lift = [amount](long long c) { return static_cast<int>(std::min<long long>(255, std::llabs(c + amount))); };
    return compose(lift(r), lift(g), lift(b));
}

ColorRef GreyColour(ColorRef x)
{
    const double r = static_cast<double>(x % 256);
    const double g = nearest(static_cast<double>(x % 65536) / 256.0);
    const double b = nearest(static_cast<double>(x) / 65536.0);
    const int l = std::min(255, nearest((r + g + b) / 3.0));
    return compose(l, l, l);
}

Pixel pixelOf(ColorRef colour)
{
    return Pixel{static_cast<std::uint8_t>(BlueOf(colour)), static_cast<std::uint8_t>(GreenOf(colour)),
                 static_cast<std::uint8_t>(RedOf(colour))};
}

PixelRamp::PixelRamp(long long n, Pixel start, Pixel end)
    : m_start(start)
{
    const auto d = static_cast<double>(n);
    m_step[0] = SafeRatio(static_cast<double>(end.blue) - start.blue, d);
    m_step[1] = SafeRatio(static_cast<double>(end.green) - start.green, d);
    m_step[2] = SafeRatio(static_cast<double>(end.red) - start.red, d);
}

Pixel PixelRamp::at(long long i) const
{
    // Single-precision rounding of the step can put the far end a hair outside 0..255; a byte holds the rest.
    const auto channel = [i](float step, std::uint8_t s) {
        return static_cast<std::uint8_t>(std::clamp(nearest(static_cast<double>(step) * static_cast<double>(i) + s), 0, 255));
    };
    return Pixel{channel(m_step[0], m_start.blue), channel(m_step[1], m_start.green), channel(m_step[2], m_start.red)};
}

std::vector<Pixel> BlendPixels(int n, Pixel s, Pixel e)
{
    if (n < 0)
        return {};
    const PixelRamp ramp(n, s, e);
    std::vector<Pixel> out(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i)
        out[static_cast<std::size_t>(i)] = ramp.at(i);
    return out;
}

}  // namespace tervolin::controls::progressbar
