#include <gtest/gtest.h>

#include "controls/button/buttontypes.h"
#include "tests/button/painttestsupport.h"

using namespace tervolin;
using namespace tervolin::controls;
using namespace tervolin::test;
using platform::ColorRef;
using platform::rgb;

namespace {

constexpr int W = 40;
constexpr int H = 20;
constexpr ColorRef Back = rgb(200, 210, 220);
constexpr ColorRef Lighter = rgb(205, 215, 225);  // Back shifted by +0.02
// Pinned system colours of the 3-D edges and the frames.
constexpr ColorRef Light3D = grey(227);
constexpr ColorRef DarkShadow = grey(105);
constexpr ColorRef Highlight = grey(255);
constexpr ColorRef Shadow = grey(160);
constexpr ColorRef Workspace = grey(171);
constexpr ColorRef GreyText = grey(109);
constexpr ColorRef Black = 0;

void back(ButtonLook& l) { l.BackColor = Back; }
std::function<void(ButtonLook&)> inState(ButtonStates state)
{
    return [state](ButtonLook& l) {
        back(l);
        l.state = state;
    };
}
std::function<void(ButtonLook&)> focusedInState(ButtonStates state)
{
    return [state](ButtonLook& l) {
        back(l);
        l.state = state;
        l.HasFocus = true;
    };
}
std::function<void(ButtonLook&)> checkedInState(ButtonStates state, bool focus = false)
{
    return [state, focus](ButtonLook& l) {
        back(l);
        l.state = state;
        l.CheckBoxMode = l.Value = true;
        l.HasFocus = focus;
        l.ShowFocusRect = true;
    };
}

class StandardFamilyPixels : public ::testing::TestWithParam<PaintCase>
{
};

TEST_P(StandardFamilyPixels, MatchTheLookOfTheStyleAndState)
{
    expectPainted(GetParam());
}

constexpr auto S = ButtonStyles::Standard;
constexpr auto F = ButtonStyles::Flat;
constexpr auto FH = ButtonStyles::FlatHover;
constexpr auto FT = ButtonStyles::FlatHoverThin;

INSTANTIATE_TEST_SUITE_P(
    Styles, StandardFamilyPixels,
    ::testing::Values(
        // Resting rims: raised, thin raised, none, none.
        PaintCase{"StandardRaisedAtRest", S, W, H, inState(Normal),
                  {{0, 0, Light3D}, {39, 19, DarkShadow}, {39, 0, DarkShadow}, {1, 1, Highlight}, {38, 18, Shadow},
                   {2, 2, Back}, {20, 10, Back}}},
        PaintCase{"FlatThinRimAtRest", F, W, H, inState(Normal),
                  {{0, 0, Highlight}, {39, 19, Shadow}, {1, 1, Back}, {38, 18, Back}}},
        PaintCase{"FlatHoverOnlyItsFaceAtRest", FH, W, H, inState(Normal),
                  {{0, 0, Back}, {39, 19, Back}, {1, 1, Back}, {20, 10, Back}}},
        PaintCase{"FlatHoverThinOnlyItsFaceAtRest", FT, W, H, inState(Normal), {{0, 0, Back}, {39, 19, Back}, {1, 1, Back}}},
        // Hot: the hover styles raise their rim.
        PaintCase{"StandardHot", S, W, H, inState(Hot), {{0, 0, Light3D}, {1, 1, Highlight}, {38, 18, Shadow}}},
        PaintCase{"FlatHoverRaisedWhenHot", FH, W, H, inState(Hot),
                  {{0, 0, Light3D}, {39, 19, DarkShadow}, {1, 1, Highlight}, {38, 18, Shadow}}},
        PaintCase{"FlatHoverThinThinRimWhenHot", FT, W, H, inState(Hot), {{0, 0, Highlight}, {39, 19, Shadow}, {1, 1, Back}}},
        // Down.
        PaintCase{"StandardDownBlackAndBeigeFrames", S, W, H, inState(Down),
                  {{0, 0, Black}, {39, 19, Black}, {1, 1, hex(0xACA899)}, {38, 18, hex(0xACA899)}, {2, 2, Back}}},
        PaintCase{"FlatDownGreyTopLeftWhiteBottomRight", F, W, H, inState(Down),
                  {{0, 0, GreyText}, {20, 0, GreyText}, {0, 10, GreyText}, {39, 0, GreyText}, {0, 19, GreyText},
                   {39, 10, Highlight}, {20, 19, Highlight}, {39, 19, Highlight}, {1, 1, Back}}},
        PaintCase{"FlatHoverThinDownAsFlat", FT, W, H, inState(Down),
                  {{0, 0, GreyText}, {39, 10, Highlight}, {20, 19, Highlight}, {1, 1, Back}}},
        PaintCase{"FlatHoverSunkenWhenDown", FH, W, H, inState(Down),
                  {{0, 0, Shadow}, {39, 19, Highlight}, {1, 1, DarkShadow}, {38, 18, Light3D}, {2, 2, Back}}},
        // Focus: Standard adds the black default frame in states 0 and 1 only.
        PaintCase{"StandardFocusedAtRestBlackFrame", S, W, H, focusedInState(Normal),
                  {{0, 0, Black}, {39, 19, Black}, {38, 18, Workspace}, {1, 1, Highlight}, {37, 17, Shadow}}},
        PaintCase{"StandardFocusedHotBlackFrame", S, W, H, focusedInState(Hot),
                  {{0, 0, Black}, {39, 19, Black}, {38, 18, Workspace}, {1, 1, Highlight}}},
        PaintCase{"StandardFocusedDownNoDefaultFrame", S, W, H, focusedInState(Down),
                  {{38, 18, hex(0xACA899)}, {1, 1, hex(0xACA899)}, {37, 17, Back}}},
        PaintCase{"FlatFocusedNoDefaultFrame", F, W, H, focusedInState(Normal), {{0, 0, Highlight}, {39, 19, Shadow}}},
        PaintCase{"StandardDefaultWithoutFocusBlackFrame", S, W, H,
                  [](ButtonLook& l) {
                      back(l);
                      l.DisplayAsDefault = true;
                  },
                  {{0, 0, Black}, {39, 19, Black}, {38, 18, Workspace}}},
        // Checked: sunken on a lighter face, whatever the state.
        PaintCase{"StandardCheckedSunken", S, W, H, checkedInState(Normal),
                  {{0, 0, Shadow}, {39, 19, Highlight}, {1, 1, DarkShadow}, {20, 10, Lighter}, {4, 4, Lighter}}},
        PaintCase{"StandardCheckedFocusedInnerFrame", S, W, H, checkedInState(Hot, true),
                  {{0, 0, Shadow}, {4, 4, Workspace}, {36, 16, Workspace}, {37, 17, Lighter}, {5, 5, Lighter}}},
        PaintCase{"FlatCheckedDownStillSunken", F, W, H, checkedInState(Down, true),
                  {{0, 0, Shadow}, {1, 1, DarkShadow}, {4, 4, Lighter}, {20, 10, Lighter}}},
        PaintCase{"FlatHoverThinCheckedPlainLighterFace", FT, W, H, checkedInState(Down),
                  {{0, 0, Lighter}, {39, 19, Lighter}, {1, 1, Lighter}, {20, 10, Lighter}}}),
    caseName<PaintCase>);

struct FocusRectCase
{
    std::string name;
    ButtonStyles style;
    int inset;  // the dotted rectangle's distance from the edges, 0 when none is drawn
    bool focus;
    bool asDefault;
    bool userMode;
    bool parentActive;
    bool showFocusRect;
};
void PrintTo(const FocusRectCase& c, std::ostream* os) { *os << c.name; }

class StandardFamilyFocusRect : public ::testing::TestWithParam<FocusRectCase>
{
};

TEST_P(StandardFamilyFocusRect, DottedRectangleOnlyForTheFocusedButtonInAnActiveRunningWindow)
{
    const FocusRectCase& c = GetParam();
    ButtonLook look = lookOf(c.style, W, H);
    back(look);
    // Hot, so that FlatHover and FlatHoverThin draw their rims and the face inside stays plain.
    look.state = ButtonStates::StateHot;
    look.HasFocus = c.focus;
    look.DisplayAsDefault = c.asDefault;
    look.UserMode = c.userMode;
    look.ParentActive = c.parentActive;
    look.ShowFocusRect = c.showFocusRect;
    const platform::Surface s = paint(look).surface;
    for (const int inset : {3, 4}) {
        const bool expected = inset == c.inset;
        EXPECT_EQ(dotsOnRow(s, inset, inset, W - inset, Back), expected) << "top row at inset " << inset;
        EXPECT_EQ(dotsOnRow(s, H - inset - 1, inset, W - inset, Back), expected) << "bottom row at inset " << inset;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StandardFamilyFocusRect,
    ::testing::Values(FocusRectCase{"Standard", S, 4, true, false, true, true, true},
                      FocusRectCase{"FlatHover", FH, 4, true, false, true, true, true},
                      FocusRectCase{"Flat", F, 3, true, false, true, true, true},
                      FocusRectCase{"FlatHoverThin", FT, 3, true, false, true, true, true},
                      FocusRectCase{"DesignMode", S, 0, true, false, false, true, true},
                      FocusRectCase{"InactiveParent", F, 0, true, false, true, false, true},
                      FocusRectCase{"FocusRectOff", S, 0, true, false, true, true, false},
                      FocusRectCase{"DefaultWithoutFocus", S, 0, false, true, true, true, true},
                      FocusRectCase{"NeitherFocusNorDefault", F, 0, false, false, true, true, true}),
    caseName<FocusRectCase>);

TEST(StandardFamily, RestingLookRequestsTheOutline)
{
    for (const ButtonStyles style : {S, F, FH, FT}) {
        for (const ButtonStates state : {ButtonStates::StateNormal, ButtonStates::StateHot, ButtonStates::StateDown}) {
            ButtonLook look = lookOf(style, W, H);
            look.state = state;
            EXPECT_EQ(paint(look).requests.updateRegion, state == Normal) << "style " << style << " state " << state;
        }
    }
}

}  // namespace
