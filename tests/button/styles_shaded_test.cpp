// Pixel tests of the Shaded, PaleBlue and RoundedShaded faces, painted by their registered painters on a bare
// surface, and the Shaded focus cue through a real button's redraw.
#include <gtest/gtest.h>

#include <cmath>

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

// --- Shaded ---------------------------------------------------------------------------------------------------

constexpr ColorRef ShadedBack = 0xE1D6D5;

struct ShadedCase
{
    ButtonStates state;
    bool enabled;
    bool region;
    ColorRef upperEnd;  // the colour the upper sheen runs to
    ColorRef lower;     // the lower part at its first row
    ColorRef frame;
    ColorRef bottomLine;
};

TEST(ShadedStyle, FaceRimFrameAndBottomLineInEachState)
{
    const ColorRef b = ShadedBack;
    const ShadedCase cases[] = {
        {Normal, true, true, b, b, ShiftColor(b, -0.2f), ShiftColor(b, -0.25f)},
        {Hot, true, false, b, b, ShiftColor(b, -0.2f), ShiftColor(b, -0.25f)},
        {Down, true, false, ShiftColor(b, -0.1f), ShiftColor(b, -0.1f), ShiftColor(b, -0.23f), ShiftColor(b, -0.4f)},
        // Disabled: the resting face whatever the state.
        {Down, false, true, b, b, ShiftColor(b, -0.2f), ShiftColor(b, -0.25f)},
        {Hot, false, true, b, b, ShiftColor(b, -0.2f), ShiftColor(b, -0.25f)},
    };
    const int W = 97, H = 25, Half = 12;
    for (const ShadedCase& c : cases) {
        ButtonLook look = lookOf(ButtonStyles::Shaded, c.state, W, H, ShadedBack);
        look.Enabled = c.enabled;
        const Painted p = paint(look);
        const Surface& s = p.surface;
        SCOPED_TRACE(testing::Message() << "state " << c.state << (c.enabled ? "" : " disabled"));
        EXPECT_EQ(p.requests.updateRegion, c.region);
        // Frame on all four sides, softened corners one pixel in.
        EXPECT_EQ(s.pixel(W / 2, 0), c.frame);
        EXPECT_EQ(s.pixel(0, H / 2), c.frame);
        EXPECT_EQ(s.pixel(W - 1, H / 2), c.frame);
        EXPECT_EQ(s.pixel(1, H - 1), c.frame);
        EXPECT_EQ(s.pixel(1, 1), ShiftColor(b, 0.05f));
        EXPECT_EQ(s.pixel(W - 2, H - 2), ShiftColor(b, 0.05f));
        // White rim on the top and both sides, none along the bottom.
        EXPECT_EQ(s.pixel(W / 2, 1), White);
        EXPECT_EQ(s.pixel(1, H / 2), White);
        EXPECT_EQ(s.pixel(W - 2, H - 3), White);
        EXPECT_NE(s.pixel(W / 2, H - 2), White);
        // The dark line on the bottom row runs from x = 2 to W - 3.
        EXPECT_EQ(s.pixel(2, H - 1), c.bottomLine);
        EXPECT_EQ(s.pixel(W - 3, H - 1), c.bottomLine);
        EXPECT_EQ(s.pixel(W - 2, H - 1), c.frame);
        // The sheen runs from white towards upperEnd over the upper Half rows; the lower part starts at Half.
        EXPECT_EQ(s.pixel(W / 2, 2), rampAt(White, c.upperEnd, 2, Half));
        EXPECT_EQ(s.pixel(W / 2, Half - 1), c.upperEnd);
        EXPECT_EQ(s.pixel(W / 2, Half), c.lower);
    }
}

TEST(ShadedStyle, DownLowerPartDarkensTowardsTheBottom)
{
    const int W = 60, H = 30, Half = 15;
    const Painted p = paint(lookOf(ButtonStyles::Shaded, Down, W, H, ShadedBack));
    // The lower gradient is H rows tall from row Half, so row H - 2 is its entry H - 2 - Half.
    EXPECT_EQ(p.surface.pixel(W / 2, H - 2),
              rampAt(ShiftColor(ShadedBack, -0.1f), ShiftColor(ShadedBack, -0.05f), H - 2 - Half, H));
    // A resting face is flat below the middle.
    const Painted rest = paint(lookOf(ButtonStyles::Shaded, Normal, W, H, ShadedBack));
    EXPECT_EQ(rest.surface.pixel(W / 2, H - 2), ShadedBack);
}

struct FocusCase
{
    bool parentActive, showFocusRect, hasFocus, isDefault, drawn;
};

TEST(ShadedStyle, FocusCueIsTheDottedRectangleOnTheKeptCaptionRectangle)
{
    const FocusCase cases[] = {
        {true, true, true, false, true},   {true, true, false, true, true},   {true, true, false, false, false},
        {false, true, true, true, false},  {true, false, true, true, false},
    };
    const Rect kept{30, 6, 70, 20};
    for (const FocusCase& c : cases) {
        ButtonLook look = lookOf(ButtonStyles::Shaded, Normal, 97, 25, ShadedBack);
        look.captionFocusRect = kept;
        const Painted plain = paint(look);
        look.ParentActive = c.parentActive;
        look.ShowFocusRect = c.showFocusRect;
        look.HasFocus = c.hasFocus;
        look.DisplayAsDefault = c.isDefault;
        const Painted cued = paint(look);
        SCOPED_TRACE(testing::Message() << c.parentActive << c.showFocusRect << c.hasFocus << c.isDefault);
        int changed = 0, outside = 0;
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 97; ++x)
                if (plain.surface.pixel(x, y) != cued.surface.pixel(x, y)) {
                    ++changed;
                    const bool onBorder = kept.contains(x, y) && !kept.adjusted(1, 1, -1, -1).contains(x, y);
                    outside += onBorder ? 0 : 1;
                    EXPECT_EQ(cued.surface.pixel(x, y), plain.surface.pixel(x, y) ^ 0xFFFFFF);
                }
        EXPECT_EQ(changed > 0, c.drawn);
        EXPECT_EQ(outside, 0);
    }
    // Before the first redraw the kept rectangle is empty: nothing visible.
    ButtonLook look = lookOf(ButtonStyles::Shaded, Normal, 97, 25, ShadedBack);
    const Painted plain = paint(look);
    look.ParentActive = look.ShowFocusRect = look.HasFocus = true;
    EXPECT_EQ(paint(look).surface.image(), plain.surface.image());
}

// Through the pipeline: the painter runs before the caption is laid out, so the cue sits where the caption of
// the previous redraw was.
TEST(ShadedStyle, ButtonDrawsItsFocusCueAroundThePreviousCaption)
{
    test::ButtonForm form;
    auto b = form.place();
    b->initProperties();
    b->setButtonStyle(ButtonStyles::Shaded);
    b->setShowFocusRect(true);
    b->setCaption(QStringLiteral("Longer caption"));
    const Rect wide = b->captionFocusRect();
    ASSERT_FALSE(wide.isEmpty());
    ASSERT_GE(wide.left, 0);

    auto unfocused = form.place(QStringLiteral("vantlebutton2"));
    unfocused->initProperties();
    unfocused->setButtonStyle(ButtonStyles::Shaded);
    unfocused->setCaption(QStringLiteral("OK"));

    b->HasFocus = true;
    b->ParentActive = true;
    b->setCaption(QStringLiteral("OK"));
    const Rect narrow = b->captionFocusRect();
    ASSERT_LT(wide.left, narrow.left - 2);

    // The left side of each rectangle lies left of the short caption's glyphs.
    const auto leftSideDiffers = [&](const Rect& r) {
        int n = 0;
        for (int y = r.top + 1; y < r.bottom - 1; ++y)
            n += b->surface().pixel(r.left, y) != unfocused->surface().pixel(r.left, y) ? 1 : 0;
        return n;
    };
    EXPECT_GT(leftSideDiffers(wide), 0);
    EXPECT_EQ(leftSideDiffers(narrow), 0);
    b->Redraw();
    EXPECT_EQ(leftSideDiffers(wide), 0);
    EXPECT_GT(leftSideDiffers(narrow), 0);
}

// --- PaleBlue -------------------------------------------------------------------------------------------------

constexpr ColorRef PaleBack = 0xF0F0F0;
constexpr ColorRef PaleFrame = 0xCA9E61;  // 0x619ECA as a colour value
constexpr ColorRef PaleFlat = 0xF8ECD0;   // 0xD0ECF8

TEST(PaleBlueStyle, RestingAndDisabledFacesAreFlat)
{
    struct Case
    {
        ButtonStates state;
        bool enabled;
        bool region;
        ColorRef corner;
    };
    // At rest the corner pixels keep the face; disabled they are set to it explicitly.
    const Case cases[] = {{Normal, true, true, PaleBack}, {Normal, false, false, PaleBack}, {Hot, false, false, PaleBack},
                          {Down, false, false, PaleBack}};
    for (const Case& c : cases) {
        ButtonLook look = lookOf(ButtonStyles::PaleBlue, c.state, 97, 25, PaleBack);
        look.Enabled = c.enabled;
        const Painted p = paint(look);
        SCOPED_TRACE(testing::Message() << "state " << c.state << " enabled " << c.enabled);
        EXPECT_EQ(p.requests.updateRegion, c.region);
        for (const auto& [x, y] : {std::pair{0, 0}, {48, 12}, {96, 24}, {1, 1}, {95, 23}})
            EXPECT_EQ(p.surface.pixel(x, y), c.corner) << x << "," << y;
    }
    // A state the style does not know draws nothing.
    const Painted none = paint(lookOf(ButtonStyles::PaleBlue, ButtonStates{3}, 97, 25, PaleBack));
    EXPECT_EQ(none.surface.pixel(48, 12), Untouched);
}

TEST(PaleBlueStyle, HotPanelIsFlatFromRowHOver1Point7)
{
    for (const int H : {25, 30, 17, 40}) {
        const int W = 80;
        const int flatFrom = static_cast<int>(std::nearbyint(H / 1.7));
        const Painted p = paint(lookOf(ButtonStyles::PaleBlue, Hot, W, H, PaleBack));
        const Surface& s = p.surface;
        SCOPED_TRACE(testing::Message() << "H " << H);
        EXPECT_FALSE(p.requests.updateRegion);
        // The upper gradient up to the row before the flat part.
        EXPECT_EQ(s.pixel(W / 2, 2), rampAt(0xFDF9F1, PaleFlat, 1, H - 2));
        EXPECT_EQ(s.pixel(W / 2, flatFrom - 1), rampAt(0xFDF9F1, PaleFlat, flatFrom - 2, H - 2));
        EXPECT_NE(s.pixel(W / 2, flatFrom - 1), PaleFlat);
        for (int y = flatFrom; y <= H - 3; ++y)
            EXPECT_EQ(s.pixel(W / 2, y), PaleFlat) << "row " << y;
        // Blue outer frame, white inner frame, corners in the lightened blue.
        EXPECT_EQ(s.pixel(W / 2, 0), PaleFrame);
        EXPECT_EQ(s.pixel(W / 2, H - 1), PaleFrame);
        EXPECT_EQ(s.pixel(W / 2, 1), White);
        EXPECT_EQ(s.pixel(W / 2, H - 2), White);
        EXPECT_EQ(s.pixel(1, 1), ShiftColor(PaleFrame, 0.3f));
        EXPECT_EQ(s.pixel(W - 2, H - 2), ShiftColor(PaleFrame, 0.3f));
    }
}

TEST(PaleBlueStyle, DownPanelIsOneGradient)
{
    const int W = 97, H = 25;
    const Painted p = paint(lookOf(ButtonStyles::PaleBlue, Down, W, H, PaleBack));
    const ColorRef from = 0xF1DEB0, to = 0xF9F1DB;  // 0xB0DEF1, 0xDBF1F9
    for (const int y : {2, 12, 20, H - 3})
        EXPECT_EQ(p.surface.pixel(W / 2, y), rampAt(from, to, y - 1, H - 2)) << "row " << y;
    EXPECT_EQ(p.surface.pixel(0, H / 2), PaleFrame);
    EXPECT_EQ(p.surface.pixel(1, H / 2), White);
    EXPECT_EQ(p.surface.pixel(W - 2, 1), ShiftColor(PaleFrame, 0.3f));
}

// --- RoundedShaded --------------------------------------------------------------------------------------------

constexpr ColorRef RsBack = 0xFFD1AD;

TEST(RoundedShadedStyle, TwentyPixelsHighShowsTheUpperPartOfItsLowerGradient)
{
    struct Case
    {
        ButtonStates state;
        ColorRef fill, band1, band2, lower1, lower2, frame;
    };
    const ColorRef b = RsBack, lit = ShiftColor(b, 0.05f);
    const Case cases[] = {
        {Normal, b, ShiftColor(BlendColors(b, White), 0.1f), b, ShiftColor(b, -0.05f), BlendColors(White, ShiftColor(b, 0.1f)),
         ShiftColor(b, -0.33f)},
        {Hot, lit, ShiftColor(BlendColors(lit, White), 0.15f), lit, b, BlendColors(White, ShiftColor(b, 0.15f)),
         ShiftColor(b, -0.28f)},
        {Down, ShiftColor(b, -0.03f), ShiftColor(BlendColors(b, White), 0.1f), b, ShiftColor(b, -0.08f),
         BlendColors(White, ShiftColor(b, 0.07f)), ShiftColor(b, -0.36f)},
    };
    const int W = 70, H = 20;
    for (const Case& c : cases) {
        ButtonLook look = lookOf(ButtonStyles::RoundedShaded, c.state, W, H, RsBack);
        look.Enabled = false;  // the style does not look at Enabled
        const Painted p = paint(look);
        const Surface& s = p.surface;
        SCOPED_TRACE(testing::Message() << "state " << c.state);
        EXPECT_EQ(p.requests.updateRegion, c.state == Normal);
        // Band over rows 0 to 4 (row 0 under the frame), the fill on row 5.
        EXPECT_EQ(s.pixel(W / 2, 1), rampAt(c.band1, c.band2, 1, 5));
        EXPECT_EQ(s.pixel(W / 2, 4), c.band2);
        EXPECT_EQ(s.pixel(W / 2, 5), c.fill);
        // The lower gradient has H - 1 = 19 steps from row 6; rows 6 to 18 show its first 13 inside the frame.
        for (int y = 6; y <= H - 2; ++y)
            EXPECT_EQ(s.pixel(W / 2, y), rampAt(c.lower1, c.lower2, y - 6, H - 1)) << "row " << y;
        EXPECT_NE(s.pixel(W / 2, H - 2), c.lower2);
        EXPECT_EQ(s.pixel(W / 2, H - 1), c.frame);
        EXPECT_EQ(s.pixel(0, 3), c.frame);
        for (const auto& [x, y] : {std::pair{1, 1}, {1, H - 2}, {W - 2, 1}, {W - 2, H - 2}})
            EXPECT_EQ(s.pixel(x, y), ShiftColor(b, -0.5f));
    }
}

TEST(RoundedShadedStyle, UnknownStateSetsOnlyTheCorners)
{
    const Painted p = paint(lookOf(ButtonStyles::RoundedShaded, ButtonStates{5}, 40, 20, RsBack));
    EXPECT_EQ(p.surface.pixel(1, 1), ShiftColor(RsBack, -0.5f));
    EXPECT_EQ(p.surface.pixel(20, 10), Untouched);
    EXPECT_EQ(p.surface.pixel(0, 0), Untouched);
}

}  // namespace
