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

constexpr ColorRef Ambient = rgb(10, 20, 30);
constexpr ColorRef Back = rgb(200, 210, 220);

// --- Shadow -----------------------------------------------------------------------------------------------------

constexpr ColorRef ShadowBlue = 0xAA6D00;  // the style's default face, stored form

ButtonLook shadowLook(ButtonStates state)
{
    ButtonLook l = lookOf(ButtonStyles::Shadow, 60, 30);
    l.BackColor = ShadowBlue;
    l.AmbientBackColor = Ambient;
    l.state = state;
    return l;
}

TEST(ShadowStyle, AtRestFaceRimAndThreeShadowFrames)
{
    const ColorRef face = ShadowBlue;
    const ColorRef rim = ShiftColor(face, 0.3f);
    const Painted p = paint(shadowLook(Normal));
    expectPixels(p.surface,
                 {// face (0, 0)–(54, 24) inside its rim frame (0, 0, 56, 26)
                  {1, 1, face}, {54, 24, face}, {30, 12, face},
                  {0, 0, rim}, {55, 0, rim}, {0, 25, rim}, {55, 25, rim},
                  // the shadow frames end at columns 56, 57, 58 and rows 26, 27, 28
                  {56, 6, hex(0x808080)}, {56, 26, hex(0x808080)}, {6, 26, hex(0x808080)},
                  {57, 5, hex(0xA0A0A0)}, {57, 27, hex(0xA0A0A0)}, {5, 27, hex(0xA0A0A0)},
                  {58, 4, hex(0xC0C0C0)}, {58, 28, hex(0xC0C0C0)}, {4, 28, hex(0xC0C0C0)},
                  // the container shows around them
                  {59, 0, Ambient}, {59, 29, Ambient}, {57, 3, Ambient}, {59, 4, Ambient}, {3, 29, Ambient}, {0, 26, Ambient}});
    EXPECT_TRUE(p.requests.updateRegion);
    ASSERT_TRUE(p.requests.surfaceBackground.has_value());
    EXPECT_EQ(*p.requests.surfaceBackground, Ambient);
}

TEST(ShadowStyle, HotLooksLikeRestButKeepsTheOutline)
{
    const Painted rest = paint(shadowLook(Normal));
    const Painted hot = paint(shadowLook(Hot));
    EXPECT_EQ(hot.surface.image(), rest.surface.image());
    EXPECT_FALSE(hot.requests.updateRegion);
}

TEST(ShadowStyle, PressedFaceSitsWhereTheShadowWas)
{
    const ColorRef face = ShadowBlue;
    const ColorRef rim = ShiftColor(face, 0.3f);
    const Painted p = paint(shadowLook(Down));
    expectPixels(p.surface, {{4, 4, face}, {58, 28, face}, {30, 15, face},
                             {3, 3, rim}, {59, 3, rim}, {3, 29, rim}, {59, 29, rim},
                             {0, 0, Ambient}, {2, 2, Ambient}, {59, 2, Ambient}, {2, 29, Ambient}});
    EXPECT_FALSE(p.requests.updateRegion);
}

TEST(ShadowStyle, DisabledFaceIsLighter)
{
    ButtonLook l = shadowLook(Normal);
    l.Enabled = false;
    const ColorRef face = ShiftColor(ShadowBlue, 0.1f);
    expectPixels(paint(l).surface, {{30, 12, face}, {0, 0, ShiftColor(face, 0.3f)}, {56, 10, hex(0x808080)}});
}

struct ShadowFocusCase
{
    std::string name;
    ButtonStates state;
    bool focus, asDefault, active, showFocusRect;
    platform::Rect expected;  // empty: no dotted rectangle
};
void PrintTo(const ShadowFocusCase& c, std::ostream* os) { *os << c.name; }

class ShadowFocus : public ::testing::TestWithParam<ShadowFocusCase>
{
};

TEST_P(ShadowFocus, DottedRectangleFollowsTheFace)
{
    const ShadowFocusCase& c = GetParam();
    ButtonLook l = shadowLook(c.state);
    const platform::Surface plain = paint(l).surface;
    l.HasFocus = c.focus;
    l.DisplayAsDefault = c.asDefault;
    l.ParentActive = c.active;
    l.ShowFocusRect = c.showFocusRect;
    const platform::Surface s = paint(l).surface;
    if (c.expected.isEmpty()) {
        EXPECT_EQ(s.image(), plain.image());
        return;
    }
    const platform::Rect& r = c.expected;
    EXPECT_TRUE(dotsOver(s, plain, r.top, r.left, r.right));
    EXPECT_TRUE(dotsOver(s, plain, r.bottom - 1, r.left, r.right));
    EXPECT_FALSE(dotsOver(s, plain, r.top - 1, 0, 60));
    EXPECT_FALSE(dotsOver(s, plain, r.bottom, 0, 60));
}

INSTANTIATE_TEST_SUITE_P(
    Styles, ShadowFocus,
    ::testing::Values(ShadowFocusCase{"FocusedAtRest", Normal, true, false, true, true, {3, 3, 54, 24}},
                      ShadowFocusCase{"DefaultHot", Hot, false, true, true, true, {3, 3, 54, 24}},
                      ShadowFocusCase{"FocusedPressed", Down, true, false, true, true, {6, 6, 57, 27}},
                      ShadowFocusCase{"InactiveParent", Normal, true, false, false, true, {}},
                      ShadowFocusCase{"FocusRectOff", Normal, true, false, true, false, {}},
                      ShadowFocusCase{"NoFocus", Normal, false, false, true, true, {}}),
    caseName<ShadowFocusCase>);

TEST(ShadowStyle, ButtonShowsTheContainerBackgroundFromItsFirstRedraw)
{
    ButtonForm form;
    auto b = form.place();
    b->initProperties();
    b->setButtonStyle(ButtonStyles::Shadow);
    b->resize(60, 30);
    form.container.setBackColor(Ambient);
    b->Redraw();
    EXPECT_EQ(b->surface().pixel(59, 0), Ambient);
    EXPECT_EQ(b->surface().pixel(0, 29), Ambient);
    EXPECT_EQ(b->surface().backgroundColour(), Ambient);
    // A system colour as the container's background is translated (button face in the pinned table).
    form.container.setBackColor(platform::systemColour(15));
    b->Redraw();
    EXPECT_EQ(b->surface().pixel(59, 0), grey(240));
}

// --- ToolbarBlue ------------------------------------------------------------------------------------------------

constexpr int TW = 30;
constexpr int TH = 20;

const ColorRef GradientTop = BlendColors(ShiftColor(Back, 0.26f), hex(0xFFFFFF));

std::function<void(ButtonLook&)> toolbar(ButtonStates state, bool checked = false, bool enabled = true)
{
    return [=](ButtonLook& l) {
        l.BackColor = Back;
        l.state = state;
        l.CheckBoxMode = l.Value = checked;
        l.Enabled = enabled;
        l.HasFocus = true;  // the style draws no focus cue
        l.ShowFocusRect = true;
    };
}

const std::vector<Px> restingGradient{{0, 0, GradientTop}, {29, 0, GradientTop}, {15, 19, Back},
                                      {15, 10, rampAt(GradientTop, Back, 10, TH)}, {15, 3, rampAt(GradientTop, Back, 3, TH)}};
const std::vector<Px> hotLook{{0, 0, hex(0x316AC5)}, {29, 19, hex(0x316AC5)}, {15, 10, hex(0xC1D2EE)}, {1, 1, hex(0xC1D2EE)}};
const std::vector<Px> downLook{{0, 0, hex(0x4B4B6F)}, {29, 19, hex(0x4B4B6F)}, {15, 10, hex(0x98B5E2)}};
const std::vector<Px> checkedLook{{0, 0, ShiftColor(hex(0x4B4B6F), 0.05f)}, {29, 19, ShiftColor(hex(0x4B4B6F), 0.05f)},
                                  {15, 10, hex(0xE1E6E8)}, {1, 1, hex(0xE1E6E8)}};
const std::vector<Px> checkedHotLook{{0, 0, hex(0x316AC5)}, {15, 10, hex(0x98B5E2)}, {1, 18, hex(0x98B5E2)}};

class ToolbarBluePixels : public ::testing::TestWithParam<PaintCase>
{
};

TEST_P(ToolbarBluePixels, MatchTheLookOfTheState)
{
    expectPainted(GetParam());
}

constexpr auto TB = ButtonStyles::ToolbarBlue;

INSTANTIATE_TEST_SUITE_P(Styles, ToolbarBluePixels,
                         ::testing::Values(PaintCase{"RestGradientNoFocusCue", TB, TW, TH, toolbar(Normal), restingGradient},
                                           PaintCase{"Hot", TB, TW, TH, toolbar(Hot), hotLook},
                                           PaintCase{"Down", TB, TW, TH, toolbar(Down), downLook},
                                           PaintCase{"CheckedAtRest", TB, TW, TH, toolbar(Normal, true), checkedLook},
                                           PaintCase{"CheckedHot", TB, TW, TH, toolbar(Hot, true), checkedHotLook},
                                           PaintCase{"CheckedDown", TB, TW, TH, toolbar(Down, true), checkedLook},
                                           PaintCase{"DisabledAtRest", TB, TW, TH, toolbar(Normal, false, false), restingGradient},
                                           PaintCase{"DisabledHot", TB, TW, TH, toolbar(Hot, false, false), hotLook},
                                           PaintCase{"DisabledCheckedHot", TB, TW, TH, toolbar(Hot, true, false), checkedHotLook}),
                         caseName<PaintCase>);

TEST(ToolbarBlueStyle, CheckedButtonKeepsItsStateThroughRedraw)
{
    ButtonForm form;
    auto b = form.place();
    b->initProperties();
    b->setButtonStyle(ButtonStyles::ToolbarBlue);
    b->setCheckBoxMode(true);
    b->setValue(true);
    b->ButtonState = ButtonStates::StateHot;
    b->Redraw();
    EXPECT_EQ(b->ButtonState, ButtonStates::StateHot);
    EXPECT_EQ(b->surface().pixel(1, 1), hex(0x98B5E2));
    EXPECT_EQ(b->surface().pixel(0, 0), hex(0x316AC5));
}

// --- SideGradient -----------------------------------------------------------------------------------------------

ButtonLook sideLook(ButtonStates state)
{
    ButtonLook l = lookOf(ButtonStyles::SideGradient, TW, TH);
    l.BackColor = Back;
    l.state = state;
    return l;
}

TEST(SideGradientStyle, RestHotAndDownGradientsInAGreyFrame)
{
    const ColorRef restRight = ShiftColor(Back, 0.08f);
    const ColorRef downLeft = ShiftColor(Back, -0.05f);
    const ColorRef downRight = ShiftColor(Back, 0.03f);
    const ColorRef frame = hex(0x7E807D);

    const Painted rest = paint(sideLook(Normal));
    expectPixels(rest.surface, {{0, 0, frame}, {29, 19, frame}, {0, 10, frame}, {1, 10, rampAt(Back, restRight, 1, TW)},
                                {28, 10, rampAt(Back, restRight, 28, TW)}, {15, 1, rampAt(Back, restRight, 15, TW)}});
    EXPECT_TRUE(rest.requests.updateRegion);

    // Hot is exactly the resting look.
    const Painted hot = paint(sideLook(Hot));
    EXPECT_EQ(hot.surface.image(), rest.surface.image());
    EXPECT_FALSE(hot.requests.updateRegion);

    const std::vector<Px> down{{0, 0, frame}, {1, 10, rampAt(downLeft, downRight, 1, TW)},
                               {28, 10, rampAt(downLeft, downRight, 28, TW)}};
    expectPixels(paint(sideLook(Down)).surface, down);

    // A checked button is drawn down whatever its state.
    ButtonLook checked = sideLook(Normal);
    checked.CheckBoxMode = checked.Value = true;
    const Painted c = paint(checked);
    expectPixels(c.surface, down);
    EXPECT_FALSE(c.requests.updateRegion);
}

struct SideFocusCase
{
    std::string name;
    bool focus, asDefault, userMode, active, showFocusRect, expected;
};
void PrintTo(const SideFocusCase& c, std::ostream* os) { *os << c.name; }

class SideGradientFocus : public ::testing::TestWithParam<SideFocusCase>
{
};

TEST_P(SideGradientFocus, DottedRectangleInsetByThree)
{
    const SideFocusCase& c = GetParam();
    ButtonLook l = sideLook(Normal);
    const platform::Surface plain = paint(l).surface;
    l.HasFocus = c.focus;
    l.DisplayAsDefault = c.asDefault;
    l.UserMode = c.userMode;
    l.ParentActive = c.active;
    l.ShowFocusRect = c.showFocusRect;
    const platform::Surface s = paint(l).surface;
    EXPECT_EQ(dotsOver(s, plain, 3, 3, TW - 3), c.expected);
    EXPECT_EQ(dotsOver(s, plain, TH - 4, 3, TW - 3), c.expected);
    EXPECT_FALSE(dotsOver(s, plain, 2, 0, TW));
}

INSTANTIATE_TEST_SUITE_P(Styles, SideGradientFocus,
                         ::testing::Values(SideFocusCase{"Focused", true, false, true, true, true, true},
                                           SideFocusCase{"Default", false, true, true, true, true, true},
                                           SideFocusCase{"DesignMode", true, false, false, true, true, false},
                                           SideFocusCase{"InactiveParent", true, false, true, false, true, false},
                                           SideFocusCase{"FocusRectOff", true, false, true, true, false, false}),
                         caseName<SideFocusCase>);

}  // namespace
