// Pixel tests of the Glossy painter at the application's size (97 × 25, BackColor 0xE3E3E3), and of the lower
// band's left line at heights around it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "controls/button/buttontypes.h"
#include "controls/button/stylepainter.h"
#include "platform/surface.h"
#include "tests/button/painttestsupport.h"

using namespace tervolin;
using namespace tervolin::controls;
using platform::ColorRef;
using platform::Surface;
using test::hex;
using test::Painted;
using test::Probe;
using test::expectPixels;

namespace {

constexpr ColorRef Cleared = hex(0x00FF00);  // never drawn by the painter

struct Look
{
    ButtonStates state = ButtonStates::StateNormal;
    bool enabled = true;
    bool focus = false;
    bool isDefault = false;
    bool parentActive = true;
    bool showFocusRect = false;
};

Painted paint(const Look& l, int W = 97, int H = 25)
{
    // BackColor in its stored form; a grey reads the same either way.
    ButtonLook look = test::lookOf(ButtonStyles::Glossy, l.state, W, H, 0xE3E3E3);
    look.Enabled = l.enabled;
    look.HasFocus = l.focus;
    look.DisplayAsDefault = l.isDefault;
    look.ParentActive = l.parentActive;
    look.ShowFocusRect = l.showFocusRect;
    return test::paint(look, Cleared);
}

struct FaceCase
{
    const char* name;
    Look look;
    bool updatesRegion;
    std::vector<Probe> probes;
};

const std::vector<Probe> CornersBlue = {{1, 1, 0x5F96BE}, {1, 23, 0x5F96BE}, {95, 1, 0x5F96BE}, {95, 23, 0x5F96BE}};

std::vector<Probe> withCorners(std::vector<Probe> probes, const std::vector<Probe>& corners = CornersBlue)
{
    probes.insert(probes.end(), corners.begin(), corners.end());
    return probes;
}

class GlossyFace : public ::testing::TestWithParam<FaceCase>
{
};

TEST_P(GlossyFace, Pixels)
{
    const FaceCase& c = GetParam();
    const Painted p = paint(c.look);
    EXPECT_EQ(p.requests.updateRegion, c.updatesRegion);
    EXPECT_FALSE(p.requests.surfaceBackground.has_value());
    expectPixels(p.surface, c.probes, c.name);
}

INSTANTIATE_TEST_SUITE_P(
    States, GlossyFace,
    ::testing::Values(
        // Upper ramp 0xF0F0F0 → 0xE3E3E3 over 25 rows from row 1, lower ramp 0xDEDEDE → 0xBDBDBD over 23 rows
        // from row 12 (row 24, where it would read 0xCCCCCC, is the frame); rows 1 and 23 are the white rim.
        FaceCase{"normal",
                 {},
                 true,
                 withCorners({{48, 2, 0xF0F0F0}, {2, 2, 0xF0F0F0}, {94, 2, 0xF0F0F0}, {48, 6, 0xEEEEEE},
                              {48, 11, 0xEBEBEB}, {48, 12, 0xDEDEDE}, {2, 12, 0xDEDEDE}, {48, 17, 0xD7D7D7},
                              {48, 22, 0xCFCFCF}, {94, 22, 0xCFCFCF}, {0, 0, 0x707070}, {48, 0, 0x707070},
                              {0, 12, 0x707070}, {96, 12, 0x707070}, {48, 24, 0x707070}, {96, 24, 0x707070},
                              {48, 1, 0xFFFFFF}, {1, 12, 0xFFFFFF}, {95, 12, 0xFFFFFF}, {48, 23, 0xFFFFFF}})},
        FaceCase{"hot",
                 {ButtonStates::StateHot},
                 false,
                 withCorners({{48, 2, 0xE4F7FF}, {48, 11, 0xDBF4FF}, {48, 12, 0xC1E9FF}, {48, 22, 0xB9E6FF},
                              {2, 3, 0xD2F0FF}, {5, 11, 0xE4F7FF}, {94, 3, 0xD3F1FF}, {91, 11, 0xE4F7FF},
                              {2, 12, 0x97D9FB}, {5, 22, 0xAFE4FF}, {94, 12, 0x97DAFC}, {91, 22, 0xAFE4FF},
                              {48, 0, 0x3275A7}, {0, 12, 0x3275A7}, {48, 24, 0x3275A7}, {48, 1, 0xFFFFFF},
                              {1, 12, 0xFFFFFF}, {95, 12, 0xFFFFFF}, {48, 23, 0xFFFFFF}})},
        FaceCase{"down",
                 {ButtonStates::StateDown},
                 false,
                 withCorners({{48, 0, 0x1D415C}, {0, 12, 0x1D415C}, {96, 12, 0x1D415C}, {48, 24, 0x1D415C},
                              {48, 1, 0x719CB3}, {94, 1, 0x719CB3}, {48, 2, 0xA9C6D6}, {48, 3, 0xB9D9EC},
                              {48, 4, 0xC2E4F6}, {48, 11, 0xC2E4F6}, {48, 12, 0x9AD2F0}, {48, 23, 0x9AD2F0},
                              {1, 2, 0x73B0CF}, {1, 3, 0x96CDEB}, {2, 3, 0xA0D2ED}, {5, 11, 0xBFE1F3},
                              {91, 3, 0xBFE1F3}, {95, 11, 0x96CDEB}, {1, 12, 0x53B0E1}, {5, 23, 0x97CFED},
                              {95, 12, 0x53B0E1}, {96, 1, 0x1D415C}})},
        // Disabled: fill S(+0.03), frames S(−0.25) and S(+0.25), corners S(−0.03); no focus cue at all.
        FaceCase{"disabled",
                 {ButtonStates::StateNormal, false, true, true, true, true},
                 true,
                 withCorners({{48, 12, 0xEBEBEB}, {48, 2, 0xEBEBEB}, {48, 0, 0xA3A3A3}, {96, 12, 0xA3A3A3},
                              {48, 1, 0xFFFFFF}, {2, 2, 0xEBEBEB}, {3, 2, 0xEBEBEB}},
                             {{1, 1, 0xDBDBDB}, {1, 23, 0xDBDBDB}, {95, 1, 0xDBDBDB}, {95, 23, 0xDBDBDB}})},
        FaceCase{"disabled hot", {ButtonStates::StateHot, false}, true, {{48, 12, 0xEBEBEB}, {1, 1, 0xDBDBDB}}},
        // A state outside 0 to 2 draws no face, only the corners.
        FaceCase{"unknown state", {ButtonStates{7}}, false, withCorners({{48, 12, 0x00FF00}, {0, 0, 0x00FF00}})}),
    [](const ::testing::TestParamInfo<FaceCase>& i) {
        std::string n = i.param.name;
        for (char& ch : n)
            if (ch == ' ')
                ch = '_';
        return n;
    });

// The blue double frame: only the normal state, with the focus or as default, in an active window.
TEST(GlossyFocus, BlueDoubleFrameOnlyInTheNormalStateOfAnActiveWindow)
{
    struct Case
    {
        const char* name;
        Look look;
        std::uint32_t outer;
        std::uint32_t inner;
    };
    const Case cases[] = {
        {"normal, not focused", {}, 0x707070, 0xFFFFFF},
        {"normal, focused", {ButtonStates::StateNormal, true, true}, 0x3275A7, 0x48D8FB},
        {"normal, default", {ButtonStates::StateNormal, true, false, true}, 0x3275A7, 0x48D8FB},
        {"normal, focused, inactive window", {ButtonStates::StateNormal, true, true, false, false}, 0x707070, 0xFFFFFF},
        {"normal, default, inactive window", {ButtonStates::StateNormal, true, false, true, false}, 0x707070, 0xFFFFFF},
        {"hot, focused", {ButtonStates::StateHot, true, true}, 0x3275A7, 0xFFFFFF},
        {"down, focused", {ButtonStates::StateDown, true, true}, 0x1D415C, 0x719CB3},
    };
    for (const Case& c : cases) {
        const Painted p = paint(c.look);
        for (const Probe& frame : {Probe{48, 0, c.outer}, Probe{0, 12, c.outer}, Probe{96, 12, c.outer},
                                   Probe{48, 24, c.outer}, Probe{48, 1, c.inner}, Probe{94, 1, c.inner}})
            EXPECT_EQ(p.surface.pixel(frame.x, frame.y), hex(frame.rrggbb)) << c.name << " at " << frame.x << ", " << frame.y;
        EXPECT_EQ(p.surface.pixel(1, 1), hex(0x5F96BE)) << c.name;
        EXPECT_EQ(p.surface.pixel(48, 12), c.look.state == ButtonStates::StateNormal ? hex(0xDEDEDE)
                                           : c.look.state == ButtonStates::StateHot ? hex(0xC1E9FF)
                                                                                    : hex(0x9AD2F0))
            << c.name;
    }
}

// The dotted focus rectangle is XORed on the border of (2, 2, W − 2, H − 2): only with ShowFocusRect, the
// focus itself (not the default look) and an active window.
TEST(GlossyFocus, DottedRectangleNeedsShowFocusRectFocusAndAnActiveWindow)
{
    struct Case
    {
        const char* name;
        Look look;
        bool dotted;
    };
    const Case cases[] = {
        {"focused, flag on", {ButtonStates::StateNormal, true, true, false, true, true}, true},
        {"hot, focused, flag on", {ButtonStates::StateHot, true, true, false, true, true}, true},
        {"focused, flag off", {ButtonStates::StateNormal, true, true, false, true, false}, false},
        {"default only, flag on", {ButtonStates::StateNormal, true, false, true, true, true}, false},
        {"focused, flag on, inactive", {ButtonStates::StateNormal, true, true, false, false, true}, false},
        {"disabled, focused, flag on", {ButtonStates::StateNormal, false, true, false, true, true}, false},
    };
    for (const Case& c : cases) {
        Look plain = c.look;
        plain.showFocusRect = false;
        const Painted with = paint(c.look);
        const Painted without = paint(plain);
        const platform::Rect border{2, 2, 95, 23};
        int changed = 0;
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 97; ++x) {
                const ColorRef a = with.surface.pixel(x, y);
                const ColorRef b = without.surface.pixel(x, y);
                if (a == b)
                    continue;
                ++changed;
                const bool onBorder = border.contains(x, y) && (x == 2 || y == 2 || x == 94 || y == 22);
                EXPECT_TRUE(onBorder) << c.name << ": changed pixel off the border at " << x << ", " << y;
                EXPECT_EQ(a, b ^ 0xFFFFFF) << c.name << " at " << x << ", " << y;
            }
        if (c.dotted)
            EXPECT_GT(changed, (93 + 21) * 2 / 2 - 4) << c.name;  // every other pixel of the border
        else
            EXPECT_EQ(changed, 0) << c.name;
    }
}

// The down look's lower-band left line runs from row Half up towards row Rest (excluded) in column 1, drawn
// over the side glow: one pixel for an even height, two for H = 4n + 3, none for H = 4n + 1.
TEST(GlossyDown, LowerBandLeftLineByHeight)
{
    struct Case
    {
        int H;
        std::vector<int> lineRows;  // rows of column 1 in 0x2B91C5
        int glowRow;                // a row just below or above that shows the side glow instead
    };
    const Case cases[] = {
        {24, {12}, 11},
        {26, {13}, 12},
        {25, {}, 12},
        {23, {12, 11}, 10},
        {21, {}, 10},
    };
    for (const Case& c : cases) {
        const Painted p = paint({ButtonStates::StateDown}, 97, c.H);
        for (int y = 1; y < c.H - 1; ++y) {
            const bool onLine = std::find(c.lineRows.begin(), c.lineRows.end(), y) != c.lineRows.end();
            EXPECT_EQ(p.surface.pixel(1, y) == hex(0x2B91C5), onLine) << "H " << c.H << " row " << y;
        }
        EXPECT_NE(p.surface.pixel(1, c.glowRow), hex(0x2B91C5)) << "H " << c.H;
    }
}

}  // namespace
