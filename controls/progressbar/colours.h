#pragma once
// The progress bar's own colour arithmetic: channel extraction, the lightened and greyed shades of its themes,
// and the per-channel pixel ramps of its four-colour gradient. Colours are 0x00BBGGRR values held in a signed
// 32-bit integer; the functions work on that integer as it is (a system colour is not translated here).

#include <array>
#include <cstdint>
#include <vector>

#include "platform/colour.h"

namespace tervolin::controls::progressbar {

using platform::ColorRef;

/// The integer nearest to x, halves to the even neighbour; saturated to the int range, 0 for not-a-number.
int nearest(double x);

int RedOf(ColorRef x);    ///< x AND 0xFF
int GreenOf(ColorRef x);  ///< (x AND 0xFF00) / 256
int BlueOf(ColorRef x);   ///< (x AND 0xFF0000) / 65536

/// 0 when a or b is 0, else a / b rounded to single precision.
float SafeRatio(double a, double b);

/// The 16-bit gradient channel field holding the bits of v (0 to 65535); 32768 and above read as v − 65536.
std::int16_t ToColour16(int v);

/// Each channel raised by amount and capped at 255. The channels come from truncating remainders, so a colour
/// with the top bit set yields negative channel terms; abs() of the raised term keeps them non-negative.
ColorRef LightenColour(ColorRef x, int amount);

/// The disabled look's grey: all channels l = min(255, nearest((r + g + b) / 3)) with r = x rem 256,
/// g = nearest((x rem 65536) / 256) and b = nearest(x / 65536). g and b keep the lower bytes in the division, so
/// they can come out one above the green and blue bytes (red above 128 lifts g; green·256 + red above 32768
/// lifts b); this is the grey the control draws, not the plain average.
ColorRef GreyColour(ColorRef x);

/// A pixel of a 24-bit bitmap: blue, green, red.
struct Pixel
{
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    friend bool operator==(const Pixel&, const Pixel&) = default;
};

/// A colour split into a pixel with RedOf, GreenOf and BlueOf.
Pixel pixelOf(ColorRef colour);

/// The ramp behind BlendPixels without its array: entry i of the n + 1 entries from s to e. Each channel's step
/// is SafeRatio(e − s, n) in single precision; entry i is nearest(step × i + s) in double precision.
class PixelRamp
{
public:
    PixelRamp(long long n, Pixel start, Pixel end);
    Pixel at(long long i) const;

private:
    std::array<float, 3> m_step{};
    Pixel m_start;
};

/// The n + 1 pixels 0 to n from s to e (an empty array for a negative n).
std::vector<Pixel> BlendPixels(int n, Pixel s, Pixel e);

}  // namespace tervolin::controls::progressbar
