#include <gtest/gtest.h>

#include "controls/button/buttontypes.h"
#include "controls/button/primitives.h"
#include "controls/button/vantlebutton.h"
#include "tests/button/buttontestsupport.h"
#include "tests/button/painttestsupport.h"

using namespace tervolin;
using namespace tervolin::controls;
using namespace tervolin::test;
using platform::ColorRef;
using platform::rgb;

namespace {

constexpr int W = 40;
constexpr int H = 20;

// --- RoundedBlue --------------------------------------------------------------------------------------------------

constexpr ColorRef Pale = 0xE7EBEC;  // the style's default BackColor, stored form
const ColorRef DarkBlue = hex(0x003C74);
const ColorRef Corner = ShiftColor(hex(0x003C74), 0.3f);

std::vector<Px> withFrame(std::vector<Px> pixels)
{
    for (const Px p : {Px{0, 0, DarkBlue}, Px{39, 19, DarkBlue}, Px{20, 0, DarkBlue}, Px{0, 10, DarkBlue},
                       Px{1, 1, Corner}, Px{38, 1, Corner}, Px{1, 18, Corner}, Px{38, 18, Corner}})
        pixels.push_back(p);
    return pixels;
}

const std::vector<Px> restLook = withFrame({
    {20, 1, rampAt(ShiftColor(Pale, 0.2f), ShiftColor(Pale, 0.08f), 1, 5)},  // bright top band
    {20, 4, ShiftColor(Pale, 0.08f)},
    {20, 10, rampAt(ShiftColor(Pale, 0.07f), Pale, 10, H)},                 // main gradient
    {20, 16, ShiftColor(Pale, -0.01f)}, {20, 17, ShiftColor(Pale, -0.05f)}, {20, 18, ShiftColor(Pale, -0.09f)},
    {38, 10, ShiftColor(Pale, -0.08f)}, {1, 10, BlendColors(hex(0xFFFFFF), Pale)}});

const std::vector<Px> hotRim = withFrame({{20, 1, hex(0xFFF0CF)}, {20, 2, hex(0xFDD889)}, {1, 10, hex(0xF9BD49)},
                                          {38, 10, hex(0xF9BD49)}, {2, 10, hex(0xFCD27A)}, {37, 10, hex(0xFCD27A)},
                                          {20, 17, hex(0xF8B330)}, {20, 18, hex(0xE59700)},
                                          {20, 10, rampAt(ShiftColor(Pale, 0.07f), Pale, 10, H)}});

const std::vector<Px> focusRim = withFrame({{20, 1, hex(0xCEE7FF)}, {20, 2, hex(0xBCD4F6)}, {1, 10, hex(0x8EAFE6)},
                                            {38, 10, hex(0x8EAFE6)}, {2, 10, hex(0xB8D1F4)}, {37, 10, hex(0xB8D1F4)},
                                            {20, 17, hex(0x89ADE4)}, {20, 18, hex(0x6982EE)}});

const std::vector<Px> downLook = withFrame({{20, 10, ShiftColor(Pale, -0.05f)}, {20, 1, ShiftColor(Pale, -0.16f)},
                                            {20, 2, ShiftColor(Pale, -0.1f)}, {20, 18, ShiftColor(Pale, 0.07f)},
                                            {1, 10, ShiftColor(Pale, -0.16f)}, {2, 10, ShiftColor(Pale, -0.1f)},
                                            {38, 10, ShiftColor(Pale, 0.04f)}});

// Disabled: a flat face 0.03 lighter, a frame 0.1 darker, no blue frame.
const std::vector<Px> disabledLook{{20, 10, ShiftColor(Pale, 0.03f)}, {20, 18, ShiftColor(Pale, 0.03f)},
                                   {0, 0, ShiftColor(Pale, -0.1f)}, {39, 19, ShiftColor(Pale, -0.1f)},
                                   {1, 1, ShiftColor(Pale, 0.2f)}, {38, 18, ShiftColor(Pale, 0.2f)}};

std::function<void(ButtonLook&)> blue(ButtonStates state, bool focus = false, bool asDefault = false, bool active = true,
                                      bool enabled = true)
{
    return [=](ButtonLook& l) {
        l.BackColor = Pale;
        l.state = state;
        l.HasFocus = focus;
        l.DisplayAsDefault = asDefault;
        l.ParentActive = active;
        l.Enabled = enabled;
    };
}

class RoundedBluePixels : public ::testing::TestWithParam<PaintCase>
{
};

TEST_P(RoundedBluePixels, MatchTheLookOfTheState)
{
    expectPainted(GetParam());
}

constexpr auto RB = ButtonStyles::RoundedBlue;

INSTANTIATE_TEST_SUITE_P(
    Styles, RoundedBluePixels,
    ::testing::Values(PaintCase{"Rest", RB, W, H, blue(Normal), restLook},
                      PaintCase{"Hot", RB, W, H, blue(Hot), hotRim},
                      PaintCase{"Down", RB, W, H, blue(Down), downLook},
                      PaintCase{"FocusedAtRestBlueRim", RB, W, H, blue(Normal, true), focusRim},
                      PaintCase{"DefaultAtRestBlueRim", RB, W, H, blue(Normal, false, true), focusRim},
                      PaintCase{"FocusedHotOrangeRim", RB, W, H, blue(Hot, true), hotRim},
                      PaintCase{"FocusedDownNoRim", RB, W, H, blue(Down, true), downLook},
                      PaintCase{"FocusedInactiveParentNoRim", RB, W, H, blue(Normal, true, false, false), restLook},
                      PaintCase{"DisabledFlat", RB, W, H, blue(Normal, true, false, true, false), disabledLook},
                      PaintCase{"DisabledHotFlat", RB, W, H, blue(Hot, false, false, true, false), disabledLook}),
    caseName<PaintCase>);

TEST(RoundedBlueStyle, DottedRectangleInsetByTwoWhenFocusedInAnActiveWindow)
{
    ButtonLook l = lookOf(RB, W, H);
    l.BackColor = Pale;
    l.HasFocus = true;
    for (const ButtonStates state : {ButtonStates::StateNormal, ButtonStates::StateHot, ButtonStates::StateDown}) {
        l.state = state;
        l.ShowFocusRect = false;
        const platform::Surface plain = paint(l).surface;
        l.ShowFocusRect = true;
        const platform::Surface s = paint(l).surface;
        EXPECT_TRUE(dotsOver(s, plain, 2, 2, W - 2)) << state;
        EXPECT_TRUE(dotsOver(s, plain, H - 3, 2, W - 2)) << state;
        EXPECT_FALSE(dotsOver(s, plain, 1, 0, W)) << state;
        l.ParentActive = false;
        const platform::Surface inactive = paint(l).surface;
        l.ShowFocusRect = false;
        EXPECT_EQ(inactive.image(), paint(l).surface.image()) << state;
        l.ParentActive = true;
    }
}

TEST(RoundedBlueStyle, OutlineRequestedAtRestAndWhenDisabled)
{
    for (const bool enabled : {true, false}) {
        for (const ButtonStates state : {ButtonStates::StateNormal, ButtonStates::StateHot, ButtonStates::StateDown}) {
            ButtonLook l = lookOf(RB, W, H);
            l.Enabled = enabled;
            l.state = state;
            EXPECT_EQ(paint(l).requests.updateRegion, state == Normal || !enabled) << enabled << " " << state;
        }
    }
}

// --- Silver -----------------------------------------------------------------------------------------------------

constexpr ColorRef Back = rgb(200, 210, 220);
constexpr ColorRef Ambient = rgb(10, 20, 30);
const ColorRef ButtonText = 0x000000;  // system colour 18 in the pinned table, stored as RGB

struct SilverCase
{
    std::string name;
    ButtonStates state;
    bool checked;
    bool leftHeld;
    int H;
    std::vector<Px> pixels;
    ColorRef foreColor;
};
void PrintTo(const SilverCase& c, std::ostream* os) { *os << c.name; }

const std::vector<Px> silverDown{{20, 10, hex(0xE5E4DD)}, {20, 1, ShiftColor(hex(0xDCDAD1), -0.02f)},
                                 {20, 2, ShiftColor(hex(0xE3E1DA), -0.02f)}, {20, 17, ShiftColor(hex(0xE6E5DE), 0.02f)},
                                 {20, 18, ShiftColor(hex(0xEBEAE5), 0.02f)}, {0, 0, hex(0x9D9D92)},
                                 {39, 19, hex(0x9D9D92)}, {1, 1, ShiftColor(hex(0xB5B4AB), -0.2f)},
                                 {38, 18, ShiftColor(hex(0xB5B4AB), -0.2f)}};

const std::vector<Px> silverChecked{{20, 10, hex(0xFEFEFE)}, {38, 10, hex(0xFEFEFE)}, {20, 17, hex(0xFEFEFE)},
                                    {0, 0, hex(0x7A98AF)}, {39, 19, hex(0x7A98AF)},
                                    {1, 1, ShiftColor(hex(0xA0B3C1), -0.2f)}, {38, 18, ShiftColor(hex(0xA0B3C1), -0.2f)}};

class SilverPixels : public ::testing::TestWithParam<SilverCase>
{
};

TEST_P(SilverPixels, FaceAndCaptionColour)
{
    const SilverCase& c = GetParam();
    ButtonLook l = lookOf(ButtonStyles::Silver, W, c.H);
    l.BackColor = Back;
    l.AmbientBackColor = Ambient;
    l.ForeColor = hex(0x00FF00);
    l.state = c.state;
    l.CheckBoxMode = l.Value = c.checked;
    l.LeftButtonHeld = c.leftHeld;
    l.HasFocus = true;  // the style draws no focus cue
    l.ShowFocusRect = true;
    const Painted p = paint(l);
    expectPixels(p.surface, c.pixels);
    ASSERT_TRUE(p.requests.foreColor.has_value());
    EXPECT_EQ(*p.requests.foreColor, c.foreColor);
    ASSERT_TRUE(p.requests.surfaceBackground.has_value());
    EXPECT_EQ(*p.requests.surfaceBackground, Ambient);
    EXPECT_EQ(p.requests.updateRegion, c.state == Normal && !c.checked);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, SilverPixels,
    ::testing::Values(
        SilverCase{"RestIsAPlainFace", Normal, false, false, H, {{0, 0, Back}, {39, 19, Back}, {1, 1, Back}, {20, 10, Back}}, ButtonText},
        SilverCase{"Hot",
                   Hot,
                   false,
                   false,
                   H,
                   {{20, 1, rampAt(hex(0xFEFEFD), hex(0xF4F4EE), 1, 10)}, {20, 9, hex(0xF4F4EE)}, {20, 10, hex(0xF4F4EE)},
                    {20, 11, rampAt(hex(0xF4F4EE), hex(0xF1F1EA), 1, 10)}, {38, 10, hex(0xEAE7E0)},
                    {37, 10, hex(0xF0F0EA)}, {20, 16, hex(0xEEEDE5)}, {20, 17, hex(0xE4E1D6)}, {20, 18, hex(0xD7D2C6)},
                    {0, 0, hex(0xCECEC3)}, {39, 10, hex(0xCECEC3)}, {1, 1, ShiftColor(hex(0xD4D4C9), -0.05f)},
                    {38, 18, ShiftColor(hex(0xD4D4C9), -0.05f)}},
                   ButtonText},
        // H = 25: the halves split at round(12.5) = 12, so row 11 already ends the upper ramp.
        SilverCase{"HotOddHeight", Hot, false, false, 25,
                   {{20, 11, hex(0xF4F4EE)}, {20, 12, hex(0xF4F4EE)}, {20, 13, rampAt(hex(0xF4F4EE), hex(0xF1F1EA), 1, 12)}},
                   ButtonText},
        SilverCase{"DownTurnsTheCaptionWhite", Down, false, false, H, silverDown, hex(0xFFFFFF)},
        SilverCase{"CheckedAtRest", Normal, true, false, H, silverChecked, ButtonText},
        SilverCase{"CheckedHot",
                   Hot,
                   true,
                   false,
                   H,
                   {{38, 10, hex(0xF2F0ED)}, {20, 18, hex(0xE4DED8)}, {20, 17, hex(0xEFECE8)}, {20, 16, hex(0xFAF9F8)},
                    {38, 17, hex(0xEFECE8)}, {20, 10, hex(0xFEFEFE)}, {0, 0, hex(0x7A98AF)}},
                   ButtonText},
        SilverCase{"CheckedPressedShowsTheDownPanel", Hot, true, true, H, silverDown, hex(0xFFFFFF)},
        SilverCase{"CheckedDownShowsTheDownPanel", Down, true, false, H, silverDown, hex(0xFFFFFF)}),
    caseName<SilverCase>);

TEST(SilverStyle, ButtonCaptionColourFollowsThePress)
{
    ButtonForm form;
    auto b = form.place();
    b->initProperties();
    b->setButtonStyle(ButtonStyles::Silver);
    b->setForeColor(hex(0xFF0000));
    b->Redraw();
    // The program's colour is replaced at the next redraw.
    EXPECT_EQ(b->ForeColor(), ButtonText);
    b->ButtonState = ButtonStates::StateDown;
    b->Redraw();
    EXPECT_EQ(b->ForeColor(), hex(0xFFFFFF));
    EXPECT_EQ(b->surface().pixel(0, 0), hex(0x9D9D92));
    b->ButtonState = ButtonStates::StateNormal;
    b->Redraw();
    EXPECT_EQ(b->ForeColor(), ButtonText);
    // At rest the face is the plain BackColor (the button face by default).
    EXPECT_EQ(b->surface().pixel(1, 1), grey(240));
    EXPECT_EQ(b->surface().pixel(96, 24), grey(240));
}

}  // namespace
