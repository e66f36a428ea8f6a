#include <gtest/gtest.h>

#include <ostream>

#include "controls/button/buttontypes.h"
#include "controls/button/captionlayout.h"
#include "tests/button/testnames.h"

using namespace tervolin::controls;
using tervolin::platform::Rect;

namespace {

// A 97 × 25 button, caption 40 × 14, picture 16 × 16, a style without offsets (Glossy), state 0.
CaptionLayoutInput base(std::int32_t pictureAlign, std::int32_t captionAlign, bool picture)
{
    CaptionLayoutInput in;
    in.W = 97;
    in.H = 25;
    in.tw = 40;
    in.th = 14;
    in.pw = picture ? 16 : 0;
    in.ph = picture ? 16 : 0;
    in.hasPicture = picture;
    in.pictureAlign = PictureAlignments{pictureAlign};
    in.captionAlign = CaptionAlignments{captionAlign};
    in.style = ButtonStyles::Glossy;
    in.state = ButtonStates::StateNormal;
    return in;
}

struct AlignCase
{
    std::int32_t pictureAlign;
    std::int32_t captionAlign;
    int px, py, cx, cy;
};

class WithPicture : public ::testing::TestWithParam<AlignCase> {};

TEST_P(WithPicture, PlacesPictureAndCaption)
{
    const AlignCase& c = GetParam();
    const CaptionLayout out = layOutCaptionAndPicture(base(c.pictureAlign, c.captionAlign, true));
    EXPECT_EQ(out.px, c.px);
    EXPECT_EQ(out.py, c.py);
    EXPECT_EQ(out.cx, c.cx);
    EXPECT_EQ(out.cy, c.cy);
    EXPECT_EQ(out.pw, 16);
    EXPECT_EQ(out.ph, 16);
    EXPECT_EQ(out.captionRect, (Rect{c.cx, c.cy, c.cx + 40, c.cy + 14}));
    ASSERT_TRUE(out.captionFocusRect.has_value());
    EXPECT_EQ(*out.captionFocusRect, (Rect{c.cx - 2, c.cy, c.cx + 41, c.cy + 15}));
}

// Worked out by hand from the layout and caption alignment tables (W/2 = 48, tw/2 = 20, pw/2 = 8, H/2 = 12,
// th/2 = 7, ph/2 = 8).
INSTANTIATE_TEST_SUITE_P(
    NineByThree, WithPicture,
    ::testing::Values(
        // AlignLeft
        AlignCase{0, 0, 4, 4, 24, 5}, AlignCase{1, 0, 4, 4, 24, 5}, AlignCase{2, 0, 77, 4, 4, 5},
        AlignCase{3, 0, 44, 4, 4, 5}, AlignCase{4, 0, 40, 4, 4, 5}, AlignCase{5, 0, 40, 4, 4, 15},
        AlignCase{6, 0, 40, 4, 4, 15}, AlignCase{7, 0, 40, 5, 4, -5}, AlignCase{8, 0, 40, 5, 4, -5},
        // AlignCenter
        AlignCase{0, 1, 4, 4, 36, 5}, AlignCase{1, 1, 20, 4, 39, 5}, AlignCase{2, 1, 77, 4, 28, 5},
        AlignCase{3, 1, 60, 4, 17, 5}, AlignCase{4, 1, 40, 4, 28, 5}, AlignCase{5, 1, 40, 4, 28, 15},
        AlignCase{6, 1, 40, 4, 28, 15}, AlignCase{7, 1, 40, 5, 28, -5}, AlignCase{8, 1, 40, 5, 28, -5},
        // AlignRight
        AlignCase{0, 2, 4, 4, 53, 5}, AlignCase{1, 2, 33, 4, 53, 5}, AlignCase{2, 2, 77, 4, 37, 5},
        AlignCase{3, 2, 77, 4, 37, 5}, AlignCase{4, 2, 40, 4, 53, 5}, AlignCase{5, 2, 40, 4, 53, 15},
        AlignCase{6, 2, 40, 4, 53, 15}, AlignCase{7, 2, 40, 5, 53, -5}, AlignCase{8, 2, 40, 5, 53, -5},
        // Values outside the tables: everything at 0, then the lower bound of 1 for the picture.
        AlignCase{9, 1, 1, 1, 0, 0}, AlignCase{-1, 7, 1, 1, 0, 0}),
    [](const ::testing::TestParamInfo<AlignCase>& row) {
        return tervolin::test::nameOf(PictureAlignments{row.param.pictureAlign}) + "_"
               + tervolin::test::nameOf(CaptionAlignments{row.param.captionAlign});
    });

TEST(CaptionLayout, WithoutPictureOnlyCaptionAlignCounts)
{
    const int expectedCx[3] = {4, 28, 53};
    for (std::int32_t pa = 0; pa <= 8; ++pa) {
        for (std::int32_t ca = 0; ca <= 2; ++ca) {
            const CaptionLayout out = layOutCaptionAndPicture(base(pa, ca, false));
            EXPECT_EQ(out.cx, expectedCx[ca]) << pa << "/" << ca;
            EXPECT_EQ(out.cy, 5) << pa << "/" << ca;
            EXPECT_EQ(out.px, 0) << pa << "/" << ca;
            EXPECT_EQ(out.py, 0) << pa << "/" << ca;
        }
    }
    // An alignment outside the table keeps the caption where the picture table put it.
    EXPECT_EQ(layOutCaptionAndPicture(base(4, 5, false)).cx, 28);
}

struct GeometryCase
{
    const char* name;
    CaptionLayoutInput in;
    int px, py, pw, ph, cx, cy;
};

class Geometry : public ::testing::TestWithParam<GeometryCase> {};

TEST_P(Geometry, Positions)
{
    const GeometryCase& c = GetParam();
    const CaptionLayout out = layOutCaptionAndPicture(c.in);
    EXPECT_EQ(out.px, c.px);
    EXPECT_EQ(out.py, c.py);
    EXPECT_EQ(out.pw, c.pw);
    EXPECT_EQ(out.ph, c.ph);
    EXPECT_EQ(out.cx, c.cx);
    EXPECT_EQ(out.cy, c.cy);
}

CaptionLayoutInput make(int W, int H, int tw, int th, int pw, int ph, std::int32_t pa, std::int32_t ca, bool key = false)
{
    CaptionLayoutInput in;
    in.W = W;
    in.H = H;
    in.tw = tw;
    in.th = th;
    in.pw = pw;
    in.ph = ph;
    in.hasPicture = pw > 0 || ph > 0;
    in.pictureAlign = PictureAlignments{pa};
    in.captionAlign = CaptionAlignments{ca};
    in.hasAccessKey = key;
    in.style = ButtonStyles::Glossy;
    return in;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Geometry,
    ::testing::Values(
        // Each division applies to its own operand: 33/2 - 40/2 = 16 - 20, not (33 - 40)/2.
        GeometryCase{"caption_wider_than_button", make(33, 25, 40, 14, 0, 0, 1, 1), 0, 0, 0, 0, -4, 5},
        // Odd heights: 15/2 - 17/2 = 7 - 8.
        GeometryCase{"caption_taller_than_button", make(97, 15, 40, 17, 0, 0, 1, 1), 0, 0, 0, 0, 28, -1},
        GeometryCase{"access_key_shifts_caption", make(97, 25, 40, 14, 0, 0, 1, 1, true), 0, 0, 0, 0, 31, 5},
        // 32 × 32 picture in a 20-pixel-high button: py = (20 - 32)/2 = -6, raised to 1, then shrunk to 16
        // high without being centred again.
        GeometryCase{"tall_picture_shrunk", make(97, 20, 40, 14, 32, 32, 4, 1), 32, 1, 32, 16, 28, 3},
        GeometryCase{"wide_picture_shrunk", make(30, 40, 10, 14, 32, 32, 0, 1), 4, 4, 22, 32, 40, 13},
        // Right of a caption that does not fit: the caption goes left of the picture, negative.
        GeometryCase{"right_of_caption_negative", make(40, 25, 30, 14, 16, 16, 3, 1), 20, 4, 16, 16, -10, 5},
        // (W - (pw + tw)) / 2 = (30 - 33) / 2 = -1 (toward zero), raised to the bound of 4.
        GeometryCase{"left_of_caption_bound", make(30, 25, 17, 14, 16, 16, 1, 1), 4, 4, 16, 16, 24, 5},
        GeometryCase{"center_on_right_edge_negative", make(30, 25, 20, 14, 16, 16, 2, 1), 10, 4, 16, 16, -10, 5},
        GeometryCase{"left_on_right_edge_negative", make(30, 25, 20, 14, 16, 16, 2, 0), 10, 4, 16, 16, -10, 5},
        GeometryCase{"right_left_edge_bound", make(30, 25, 20, 14, 16, 16, 0, 2), 4, 4, 16, 16, 20, 5},
        GeometryCase{"align_right_left_of_caption_keyed", make(97, 25, 40, 14, 16, 16, 1, 2, true), 33, 4, 16, 16, 56, 5}),
    [](const ::testing::TestParamInfo<GeometryCase>& row) { return std::string(row.param.name); });

struct StyleCase
{
    ButtonStyles style;
    ButtonStates state;
    int dpx, dpy;  // picture offset
    Rect caption;  // relative to cx = 10, cy = 20, tw = 30, th = 12
    bool focusRect;
};

class StyleOffsets : public ::testing::TestWithParam<StyleCase> {};

TEST_P(StyleOffsets, PictureOffsetAndCaptionRectangle)
{
    const StyleCase& c = GetParam();
    // PictureCenter in 50 × 52: px = (50 - 16)/2 = 17, py = (52 - 16)/2 = 18, cx = 25 - 15 = 10, cy = 26 - 6 = 20.
    CaptionLayoutInput in = make(50, 52, 30, 12, 16, 16, 4, 1);
    in.style = c.style;
    in.state = c.state;
    const CaptionLayout out = layOutCaptionAndPicture(in);
    ASSERT_EQ(out.cx, 10);
    ASSERT_EQ(out.cy, 20);
    EXPECT_EQ(out.px, 17 + c.dpx);
    EXPECT_EQ(out.py, 18 + c.dpy);
    EXPECT_EQ(out.captionRect, c.caption);
    EXPECT_EQ(out.captionFocusRect.has_value(), c.focusRect);
    if (c.focusRect) {
        EXPECT_EQ(*out.captionFocusRect, (Rect{8, 20, 41, 33}));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Styles, StyleOffsets,
    ::testing::Values(
        StyleCase{ButtonStyles::Standard, ButtonStates::StateDown, 1, 1, {11, 21, 41, 33}, false},
        StyleCase{ButtonStyles::Flat, ButtonStates::StateNormal, 0, 0, {10, 20, 40, 32}, true},
        StyleCase{ButtonStyles::Silver, ButtonStates::StateDown, 1, 1, {11, 21, 41, 33}, false},
        StyleCase{ButtonStyles::PaleBlue, ButtonStates::StateHot, 0, 0, {10, 20, 40, 32}, true},
        StyleCase{ButtonStyles::Shadow, ButtonStates::StateDown, 2, 2, {11, 22, 41, 33}, false},
        StyleCase{ButtonStyles::Shadow, ButtonStates::StateNormal, -1, -1, {8, 18, 38, 30}, false},
        StyleCase{ButtonStyles::Shadow, ButtonStates::StateHot, -1, -1, {8, 18, 38, 30}, false},
        StyleCase{ButtonStyles::RoundGlass, ButtonStates::StateDown, 0, 0, {10, 19, 40, 31}, false},
        StyleCase{ButtonStyles::RoundGlass, ButtonStates::StateNormal, 0, 0, {10, 19, 40, 31}, false},
        StyleCase{ButtonStyles::Glossy, ButtonStates::StateDown, 0, 0, {10, 20, 40, 32}, false},
        StyleCase{ButtonStyles::Glossy, ButtonStates::StateHot, 0, 0, {10, 20, 40, 32}, true},
        StyleCase{ButtonStyles{42}, ButtonStates::StateNormal, 0, 0, {10, 20, 40, 32}, true}),
    [](const ::testing::TestParamInfo<StyleCase>& row) {
        return tervolin::test::nameOf(row.param.style) + "_" + tervolin::test::nameOf(row.param.state);
    });

TEST(PictureSize, ByValue)
{
    struct Case { std::int32_t size; int pw, ph; };
    const Case cases[] = {{0, 48, 40}, {1, 16, 16}, {2, 24, 24}, {3, 32, 32}, {4, 7, 9}, {-1, 7, 9}};
    for (const Case& c : cases) {
        int pw = 7, ph = 9;  // the previous size
        pictureSizeFor(PictureSizes{c.size}, 48, 40, pw, ph);
        EXPECT_EQ(pw, c.pw) << c.size;
        EXPECT_EQ(ph, c.ph) << c.size;
    }
}

}  // namespace
