// Pixel tests of the ToolbarOrange and WarmGradient faces, painted by their registered painters on a bare
// surface, and their checked looks through a real button's redraw.
#include <gtest/gtest.h>

#include "controls/button/primitives.h"
#include "controls/button/stylepainter.h"
#include "tests/button/buttontestsupport.h"
#include "tests/button/painttestsupport.h"
#include "tests/support/qtprinters.h"

using namespace tervolin;
using namespace tervolin::controls;
using platform::ColorRef;
using platform::Rect;
using platform::Surface;
using namespace tervolin::test;

namespace {

constexpr ColorRef White = 0xFFFFFF;
constexpr ColorRef Navy = 0x800000;  // 0x000080 as a colour value

// --- ToolbarOrange --------------------------------------------------------------------------------------------

constexpr ColorRef OrangeBack = 0xFFD1AD;

struct OrangeCase
{
    const char* name;
    ButtonStates state;
    bool checked;
    bool pointerOver;
    ColorRef u1, u2, l1, l2;
};

TEST(ToolbarOrangeStyle, TwentySevenPixelsHighSplitsAtRowTenInEveryLook)
{
    const ColorRef b = OrangeBack;
    const ColorRef restU1 = BlendColors(ShiftColor(b, 0.09f), White), restU2 = BlendColors(ShiftColor(b, 0.07f), b);
    const ColorRef deep[] = {hex(0xFFC158), hex(0xFFAF51), hex(0xFF8F46), hex(0xFFD35F)};
    const ColorRef pale[] = {hex(0xFFD9A9), hex(0xFFC06F), hex(0xFFAB3F), hex(0xFFE175)};
    const OrangeCase cases[] = {
        {"rest", Normal, false, false, restU1, restU2, b, ShiftColor(b, 0.03f)},
        {"hot", Hot, false, true, hex(0xFFFFE1), hex(0xFFEAAC), hex(0xFFD767), hex(0xFFE499)},
        {"down", Down, false, true, deep[0], deep[1], deep[2], deep[3]},
        // Checked: the state does not matter, only whether the pointer is over the button.
        {"checked", Normal, true, false, pale[0], pale[1], pale[2], pale[3]},
        {"checked down", Down, true, false, pale[0], pale[1], pale[2], pale[3]},
        {"checked over", Normal, true, true, deep[0], deep[1], deep[2], deep[3]},
        {"checked hot", Hot, true, true, deep[0], deep[1], deep[2], deep[3]},
    };
    const int W = 60, H = 27, Top = 10, Rest = 17;
    for (const OrangeCase& c : cases) {
        ButtonLook look = lookOf(ButtonStyles::ToolbarOrange, c.state, W, H, OrangeBack);
        look.CheckBoxMode = true;
        look.Value = c.checked;
        look.PointerOver = c.pointerOver;
        look.Enabled = false;  // the style does not look at Enabled
        const Painted p = paint(look);
        const Surface& s = p.surface;
        SCOPED_TRACE(c.name);
        EXPECT_EQ(s.pixel(W / 2, 1), rampAt(c.u1, c.u2, 1, Top));
        EXPECT_EQ(s.pixel(W / 2, Top - 1), c.u2);
        EXPECT_EQ(s.pixel(W / 2, Top), c.l1);
        EXPECT_EQ(s.pixel(W / 2, Top + 8), rampAt(c.l1, c.l2, 8, Rest));
        EXPECT_EQ(s.pixel(W / 2, H - 2), rampAt(c.l1, c.l2, Rest - 2, Rest));
        for (const auto& [x, y] : {std::pair{0, 0}, {W / 2, 0}, {W - 1, 5}, {W / 2, H - 1}, {0, H - 1}})
            EXPECT_EQ(s.pixel(x, y), ShiftColor(b, -0.34f)) << x << "," << y;
        EXPECT_FALSE(p.requests.updateRegion);
    }
}

TEST(ToolbarOrangeStyle, BandsFollowTheHeight)
{
    // Top = round(H / 2.7), lower band Rest = round(H - H / 2.7) rows; the two always meet the bottom.
    struct Case
    {
        int H, top;
    };
    for (const Case c : {Case{25, 9}, Case{30, 11}, Case{16, 6}, Case{100, 37}}) {
        const Painted p = paint(lookOf(ButtonStyles::ToolbarOrange, Hot, 40, c.H, OrangeBack));
        EXPECT_EQ(p.surface.pixel(20, c.top - 1), hex(0xFFEAAC)) << c.H;
        EXPECT_EQ(p.surface.pixel(20, c.top), hex(0xFFD767)) << c.H;
        EXPECT_NE(p.surface.pixel(20, c.H - 2), Untouched) << c.H;
    }
}

TEST(ToolbarOrangeStyle, UnknownUncheckedStateDrawsNothing)
{
    const Painted p = paint(lookOf(ButtonStyles::ToolbarOrange, ButtonStates{4}, 40, 27, OrangeBack));
    for (const auto& [x, y] : {std::pair{0, 0}, {20, 5}, {20, 20}})
        EXPECT_EQ(p.surface.pixel(x, y), Untouched);
}

// --- WarmGradient ---------------------------------------------------------------------------------------------

constexpr ColorRef WarmBack = 0xFCE1CA;

struct WarmCase
{
    const char* name;
    ButtonStates state;
    bool checked;
    bool pointerOver;
    bool framed;
    ColorRef top, bottom;  // ends of the whole-face gradient (ignored at rest)
};

TEST(WarmGradientStyle, FramedOnlyWhenNotResting)
{
    const WarmCase cases[] = {
        {"rest", Normal, false, false, false, 0, 0},
        {"hot", Hot, false, true, true, hex(0xFFF4CC), hex(0xFFD091)},
        {"down", Down, false, true, true, hex(0xFE914E), hex(0xFFD38E)},
        {"checked", Normal, true, false, true, hex(0xFFD58C), hex(0xFFAD55)},
        {"checked down", Down, true, false, true, hex(0xFFD58C), hex(0xFFAD55)},
        {"checked over", Hot, true, true, true, hex(0xFE914E), hex(0xFFD38E)},
    };
    const int W = 97, H = 25;
    for (const WarmCase& c : cases) {
        ButtonLook look = lookOf(ButtonStyles::WarmGradient, c.state, W, H, WarmBack);
        look.CheckBoxMode = true;
        look.Value = c.checked;
        look.PointerOver = c.pointerOver;
        const Painted p = paint(look);
        const Surface& s = p.surface;
        SCOPED_TRACE(c.name);
        EXPECT_EQ(p.requests.updateRegion, c.state == Normal && !c.checked);
        for (const auto& [x, y] : {std::pair{0, 0}, {W / 2, 0}, {W - 1, 12}, {W / 2, H - 1}, {0, 12}})
            EXPECT_EQ(s.pixel(x, y) == Navy, c.framed) << x << "," << y;
        if (c.framed) {
            EXPECT_EQ(s.pixel(W / 2, 1), rampAt(c.top, c.bottom, 1, H));
            EXPECT_EQ(s.pixel(W / 2, 12), rampAt(c.top, c.bottom, 12, H));
            EXPECT_EQ(s.pixel(W / 2, H - 2), rampAt(c.top, c.bottom, H - 2, H));
        }
    }
}

TEST(WarmGradientStyle, RestingFaceIsTwoHalves)
{
    // Half = round(H / 2); the lower half is round(H / 2 + 1) rows tall and reaches the bottom row.
    struct Case
    {
        int H, half, lowerRows;
    };
    for (const Case c : {Case{25, 12, 14}, Case{23, 12, 12}, Case{30, 15, 16}}) {
        const int W = 50;
        const Painted p = paint(lookOf(ButtonStyles::WarmGradient, Normal, W, c.H, WarmBack));
        const Surface& s = p.surface;
        SCOPED_TRACE(c.H);
        EXPECT_EQ(s.pixel(W / 2, 0), ShiftColor(WarmBack, 0.05f));
        EXPECT_EQ(s.pixel(W / 2, c.half - 1), WarmBack);
        EXPECT_EQ(s.pixel(W / 2, c.half), ShiftColor(WarmBack, -0.01f));
        const ColorRef l1 = ShiftColor(WarmBack, -0.01f), l2 = ShiftColor(WarmBack, -0.13f);
        EXPECT_EQ(s.pixel(0, c.H - 1), rampAt(l1, l2, c.H - 1 - c.half, c.lowerRows));
    }
}

// Through the pipeline: a checked button is forced down and shows its checked look, framed.
TEST(WarmGradientStyle, CheckedButtonAwayFromThePointerShowsYellowToOrange)
{
    test::ButtonForm form;
    auto b = form.place();
    b->initProperties();
    b->setButtonStyle(ButtonStyles::WarmGradient);
    b->setCheckBoxMode(true);
    b->setValue(true);
    b->Redraw();
    EXPECT_EQ(b->ButtonState, ButtonStates::StateDown);
    const Surface& s = b->surface();
    EXPECT_EQ(s.pixel(0, 0), Navy);
    EXPECT_EQ(s.pixel(2, 1), rampAt(hex(0xFFD58C), hex(0xFFAD55), 1, 25));
    EXPECT_EQ(s.pixel(2, 23), rampAt(hex(0xFFD58C), hex(0xFFAD55), 23, 25));

    b->PointerOver = true;
    b->Redraw();
    EXPECT_EQ(s.pixel(2, 1), rampAt(hex(0xFE914E), hex(0xFFD38E), 1, 25));
}

TEST(ToolbarOrangeStyle, ButtonInDefaultColoursRestsInItsBackColour)
{
    test::ButtonForm form;
    auto b = form.place();
    b->initProperties();
    b->resize(97, 27);
    b->setButtonStyle(ButtonStyles::ToolbarOrange);
    b->Redraw();
    const ColorRef back = TranslateColor(b->BackColor());
    EXPECT_EQ(back, OrangeBack);
    EXPECT_EQ(b->surface().pixel(2, 10), back);
    EXPECT_EQ(b->surface().pixel(2, 0), ShiftColor(back, -0.34f));
}

}  // namespace
