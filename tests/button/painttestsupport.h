#pragma once
// Helpers for the style painter tests: run a registered painter on a fresh surface and read its pixels.

#include "controls/button/primitives.h"
#include "controls/button/stylepainter.h"
#include "tests/button/testnames.h"
#include "platform/colour.h"
#include "platform/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace tervolin::test {

using controls::hex;

constexpr platform::ColorRef grey(int v) { return platform::rgb(v, v, v); }

/// The colour a pixel shows after the dotted focus rectangle's XOR with white.
constexpr platform::ColorRef inverted(platform::ColorRef c) { return (~c) & 0xFFFFFF; }

/// The three interaction states, for the tables.
constexpr controls::ButtonStates Normal = controls::ButtonStates::StateNormal;
constexpr controls::ButtonStates Hot = controls::ButtonStates::StateHot;
constexpr controls::ButtonStates Down = controls::ButtonStates::StateDown;

/// Colour the test surfaces start with, so that pixels a painter leaves alone are told apart.
constexpr platform::ColorRef Untouched = 0x123456;

/// An enabled, resting look of the style at W × H.
inline controls::ButtonLook lookOf(controls::ButtonStyles style, int W, int H)
{
    controls::ButtonLook look;
    look.ButtonStyle = style;
    look.W = W;
    look.H = H;
    look.clientRect = platform::Rect{0, 0, W, H};
    look.ParentActive = true;
    return look;
}

struct Painted
{
    platform::Surface surface;
    controls::PainterRequests requests;
};

/// Runs the painter registered for look.ButtonStyle on a surface of the look's size that starts in `background`.
inline Painted paint(const controls::ButtonLook& look, platform::ColorRef background = Untouched)
{
    Painted p{platform::Surface(look.W, look.H, background), {}};
    const controls::StylePainter painter = controls::StylePainterRegistry::find(look.ButtonStyle);
    EXPECT_NE(painter, nullptr) << "no painter for style " << controls::numberOf(look.ButtonStyle);
    if (painter)
        painter(p.surface, look, p.requests);
    return p;
}

/// An enabled look of the style in a state at W × H with a stored BackColor (parent not active).
inline controls::ButtonLook lookOf(controls::ButtonStyles style, controls::ButtonStates state, int W, int H,
                                   platform::ColorRef back)
{
    controls::ButtonLook look = lookOf(style, W, H);
    look.state = state;
    look.BackColor = back;
    look.ParentActive = false;
    return look;
}

/// One expected pixel.
struct Px
{
    int x;
    int y;
    platform::ColorRef colour;
};

/// One row of a painter table: a look (built from a base by `setUp`) and the pixels it must produce.
struct PaintCase
{
    std::string name;
    controls::ButtonStyles style;
    int W;
    int H;
    std::function<void(controls::ButtonLook&)> setUp;
    std::vector<Px> pixels;
};

inline void PrintTo(const PaintCase& c, std::ostream* os) { *os << c.name; }

/// Names the instances of a table by the `name` member of their rows.
template <class Row>
std::string caseName(const ::testing::TestParamInfo<Row>& row)
{
    return row.param.name;
}

inline void expectPixels(const platform::Surface& s, const std::vector<Px>& pixels)
{
    for (const Px& p : pixels)
        EXPECT_EQ(s.pixel(p.x, p.y), p.colour) << "at (" << p.x << ", " << p.y << ")";
}

/// Paints the row's look (its style at its size, resting and enabled, then set up by the row) and checks its pixels.
inline void expectPainted(const PaintCase& c)
{
    controls::ButtonLook look = lookOf(c.style, c.W, c.H);
    c.setUp(look);
    expectPixels(paint(look).surface, c.pixels);
}

/// One expected pixel with its colour written 0xRRGGBB, as the tables of colour constants have them.
struct Probe
{
    int x;
    int y;
    std::uint32_t rrggbb;
};

inline void expectPixels(const platform::Surface& s, const std::vector<Probe>& probes, const std::string& what)
{
    for (const Probe& p : probes)
        EXPECT_EQ(s.pixel(p.x, p.y), hex(p.rrggbb)) << what << " at (" << p.x << ", " << p.y << ")";
}

/// True when some pixel of row y between x0 and x1 (exclusive) shows the focus rectangle's dots over `under`.
inline bool dotsOnRow(const platform::Surface& s, int y, int x0, int x1, platform::ColorRef under)
{
    for (int x = x0; x < x1; ++x)
        if (s.pixel(x, y) == inverted(under))
            return true;
    return false;
}

/// True when some pixel of row y between x0 and x1 (exclusive) is the focus rectangle's XOR of the same pixel
/// in `plain`, the same look painted without the focus rectangle.
inline bool dotsOver(const platform::Surface& s, const platform::Surface& plain, int y, int x0, int x1)
{
    for (int x = x0; x < x1; ++x)
        if (s.pixel(x, y) == inverted(plain.pixel(x, y)))
            return true;
    return false;
}

/// Entry i of an n-entry gradient ramp from c1 to c2 (per channel c1 + i × (c2 − c1) / (n − 1), truncating).
inline platform::ColorRef rampAt(platform::ColorRef c1, platform::ColorRef c2, int i, int n)
{
    const auto channel = [&](int a, int b) { return a + (i * (b - a)) / (n - 1); };
    return platform::rgb(channel(platform::redOf(c1), platform::redOf(c2)),
                         channel(platform::greenOf(c1), platform::greenOf(c2)),
                         channel(platform::blueOf(c1), platform::blueOf(c2)));
}

}  // namespace tervolin::test
