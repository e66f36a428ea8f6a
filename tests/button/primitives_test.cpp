#include <gtest/gtest.h>

#include "controls/button/primitives.h"
#include "tests/button/testnames.h"

using namespace tervolin::controls;
using tervolin::platform::Dib;
using tervolin::platform::Picture;
using tervolin::platform::rgb;
using tervolin::platform::Surface;

namespace {

constexpr ColorRef kFace = 0x00F0F0F0;

ColorRef grey(int v) { return rgb(v, v, v); }

}  // namespace

// --- Colour arithmetic --------------------------------------------------------------------------------------------

struct ShiftCase
{
    ColorRef in;
    float factor;
    ColorRef out;
};

class ShiftColorCases : public ::testing::TestWithParam<ShiftCase> {};

TEST_P(ShiftColorCases, RoundsToEvenAndClampsOnOneSide)
{
    const ShiftCase& c = GetParam();
    EXPECT_EQ(ShiftColor(c.in, c.factor), c.out) << std::hex << c.in << " " << c.factor;
}

INSTANTIATE_TEST_SUITE_P(Colour, ShiftColorCases,
    ::testing::Values(
        ShiftCase{grey(240), 0.1f, grey(255)},                    // 265.5 -> 266 -> clamped
        ShiftCase{grey(16), 0.1f, grey(42)},                      // 41.5 -> 42 (even)
        ShiftCase{rgb(5, 100, 200), -0.02f, rgb(0, 95, 195)},     // -0.1 -> 0; 94.9 -> 95
        ShiftCase{grey(0), 0.3f, grey(76)},                       // 0.3f × 255 is exactly 76.5 in single precision
        ShiftCase{grey(1), 0.3f, grey(78)},                       // 77.5 -> 78 (even)
        ShiftCase{rgb(10, 20, 30), 0.02f, rgb(15, 25, 35)},       // + 5.1
        ShiftCase{grey(255), -0.2f, grey(204)},                   // - 51
        ShiftCase{grey(0), -0.5f, grey(0)},
        ShiftCase{0x00E3E3E3, 0.05f, 0x00F0F0F0},                 // 227 + 12.75 -> 240
        ShiftCase{0x00E3E3E3, -0.15f, 0x00BDBDBD},                // 227 - 38.25 = 188.75 -> 189
        ShiftCase{rgb(1, 2, 3), 0.0f, rgb(1, 2, 3)},
        ShiftCase{rgb(1, 2, 3), std::numeric_limits<float>::quiet_NaN(), rgb(1, 2, 3)},
        ShiftCase{rgb(1, 2, 3), std::numeric_limits<float>::infinity(), grey(255)},
        ShiftCase{rgb(1, 2, 3), -std::numeric_limits<float>::infinity(), grey(0)},
        ShiftCase{-1, 0.1f, grey(255)}),  // an untranslated colour is shifted as its low bytes
    [](const ::testing::TestParamInfo<ShiftCase>& row) {
        return tervolin::test::colourName(row.param.in) + "_by_" + tervolin::test::numberName(row.param.factor);
    });

struct BlendCase
{
    ColorRef a, b, out;
};

class BlendColorsCases : public ::testing::TestWithParam<BlendCase> {};

TEST_P(BlendColorsCases, MeanRoundsToEven)
{
    const BlendCase& c = GetParam();
    EXPECT_EQ(BlendColors(c.a, c.b), c.out);
    EXPECT_EQ(BlendColors(c.b, c.a), c.out);
}

INSTANTIATE_TEST_SUITE_P(Colour, BlendColorsCases,
    ::testing::Values(BlendCase{rgb(1, 0, 0), rgb(2, 0, 0), rgb(2, 0, 0)},       // 1.5 -> 2
                      BlendCase{rgb(2, 0, 0), rgb(3, 0, 0), rgb(2, 0, 0)},       // 2.5 -> 2
                      BlendCase{rgb(0, 0, 0), rgb(255, 255, 255), grey(128)},    // 127.5 -> 128
                      BlendCase{rgb(10, 20, 30), rgb(20, 41, 30), rgb(15, 30, 30)},  // 30.5 -> 30
                      BlendCase{0x00FFFFFF, 0x00E3E3E3, 0x00F1F1F1}),
    [](const ::testing::TestParamInfo<BlendCase>& row) {
        return tervolin::test::colourName(row.param.a) + "_and_" + tervolin::test::colourName(row.param.b);
    });

TEST(Colour, TranslateColorGivesPinnedSystemColoursOrMinusOne)
{
    EXPECT_EQ(TranslateColor(static_cast<ColorRef>(0x8000000Fu)), grey(240));
    EXPECT_EQ(TranslateColor(static_cast<ColorRef>(0x80000012u)), grey(0));
    EXPECT_EQ(TranslateColor(static_cast<ColorRef>(0x80000011u)), grey(109));
    EXPECT_EQ(TranslateColor(static_cast<ColorRef>(0x8000000Cu)), grey(171));
    EXPECT_EQ(TranslateColor(0x00E3E3E3), 0x00E3E3E3);
    EXPECT_EQ(TranslateColor(static_cast<ColorRef>(0x80000019u)), -1);
}

// --- Lines, frames, fills, corners ------------------------------------------------------------------------------

TEST(Primitives, DrawLineExcludesItsEnd)
{
    Surface s(12, 8, kFace);
    DrawLine(s, 0, 5, 10, 5, grey(0));
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(s.pixel(x, 5), grey(0)) << x;
    EXPECT_EQ(s.pixel(10, 5), kFace);
    // A line whose end row lies above its start draws upwards, the start pixel only when it is one step long.
    Surface t(4, 20, kFace);
    DrawLine(t, 1, 12, 1, 11, grey(0));
    EXPECT_EQ(t.pixel(1, 12), grey(0));
    EXPECT_EQ(t.pixel(1, 11), kFace);
}

TEST(Primitives, FrameFillAndCorners)
{
    Surface s(10, 8, kFace);
    FillRectangle(s, grey(10), {2, 2, 6, 5});
    EXPECT_EQ(s.pixel(5, 4), grey(10));
    EXPECT_EQ(s.pixel(6, 4), kFace);
    EXPECT_EQ(s.pixel(5, 5), kFace);
    DrawFrame(s, 0, 0, 11, 9, grey(20));  // (0, 0, W + 1, H + 1): right and bottom sides fall outside
    EXPECT_EQ(s.pixel(0, 0), grey(20));
    EXPECT_EQ(s.pixel(9, 0), grey(20));
    EXPECT_EQ(s.pixel(9, 3), kFace);
    EXPECT_EQ(s.pixel(3, 7), kFace);
    DrawFrame(s, 1, 1, 0, 5, grey(30));  // zero width: nothing
    EXPECT_EQ(s.pixel(1, 1), kFace);
    SetCornerPixels(s, grey(99));
    for (const auto& [x, y] : {std::pair{1, 1}, {1, 6}, {8, 1}, {8, 6}})
        EXPECT_EQ(s.pixel(x, y), grey(99)) << x << "," << y;
    EXPECT_EQ(s.pixel(2, 1), kFace);
    Surface tiny(1, 1, kFace);
    SetCornerPixels(tiny, grey(99));  // all four fall outside a 1 × 1 surface
    EXPECT_EQ(tiny.pixel(0, 0), kFace);
}

// --- Gradient ------------------------------------------------------------------------------------------------

constexpr GradientDirection V = GradientDirection::Vertical;
constexpr GradientDirection Hz = GradientDirection::Horizontal;

struct GradientCase
{
    const char* name;
    int x, y, w, h;
    ColorRef c1, c2;
    GradientDirection direction;
    std::vector<std::tuple<int, int, ColorRef>> pixels;
};

class DrawGradientCases : public ::testing::TestWithParam<GradientCase> {};

TEST_P(DrawGradientCases, FollowsTheIntegerRamp)
{
    const GradientCase& c = GetParam();
    Surface s(12, 10, kFace);
    DrawGradient(s, c.x, c.y, c.w, c.h, c.c1, c.c2, c.direction);
    for (const auto& [x, y, colour] : c.pixels)
        EXPECT_EQ(s.pixel(x, y), colour) << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Primitives, DrawGradientCases,
    ::testing::Values(
        GradientCase{"verticalHeight2", 1, 1, 4, 2, rgb(10, 20, 30), rgb(200, 100, 0), V,
                     {{1, 1, rgb(10, 20, 30)}, {4, 1, rgb(10, 20, 30)}, {1, 2, rgb(200, 100, 0)}, {1, 3, kFace}, {5, 1, kFace}}},
        GradientCase{"widthOneIsTheTruncatedMean", 3, 0, 1, 4, rgb(255, 1, 3), rgb(1, 255, 5), Hz,
                     {{3, 0, rgb(127, 127, 3)}, {3, 3, rgb(127, 127, 3)}, {4, 0, kFace}}},
        // Falling ramp: 10 + (1 × −10) / 3 truncates toward zero to 7, not 6.
        GradientCase{"fallingTruncatesTowardZero", 0, 0, 4, 1, grey(10), grey(0), Hz,
                     {{0, 0, grey(10)}, {1, 0, grey(7)}, {2, 0, grey(4)}, {3, 0, grey(0)}, {0, 1, kFace}}},
        GradientCase{"horizontalEnds", 2, 2, 6, 3, rgb(0, 0, 0), rgb(255, 50, 5), Hz,
                     {{2, 2, rgb(0, 0, 0)}, {7, 4, rgb(255, 50, 5)}, {3, 3, rgb(51, 10, 1)}, {8, 2, kFace}}},
        GradientCase{"heightZero", 0, 0, 5, 0, grey(0), grey(0), V, {{0, 0, kFace}}},
        GradientCase{"negativeWidth", 5, 0, -3, 4, grey(0), grey(0), Hz, {{4, 0, kFace}, {2, 1, kFace}}},
        // Partly off the surface: the visible pixels keep their place in the full ramp.
        GradientCase{"clipped", -2, 8, 5, 4, grey(0), grey(40), Hz, {{0, 8, grey(20)}, {2, 9, grey(40)}, {3, 9, kFace}}},
        GradientCase{"clippedVertical", 0, -3, 2, 5, grey(0), grey(40), V, {{0, 0, grey(30)}, {1, 1, grey(40)}, {0, 2, kFace}}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Primitives, GlossyFaceRampsAsTheButtonExpects)
{
    // 97 × 25 with BackColor 0xE3E3E3: the upper ramp starts at 0xF0F0F0; the lower one, 23 rows from row 12, starts
    // at 0xDEDEDE and shows its entry 12 (0xCCCCCC) on the last row.
    Surface s(97, 25, kFace);
    const ColorRef back = 0x00E3E3E3;
    DrawGradient(s, 1, 1, 96, 25, ShiftColor(back, 0.05f), back, V);
    EXPECT_EQ(s.pixel(1, 1), 0x00F0F0F0);
    DrawGradient(s, 1, 12, 95, 23, ShiftColor(back, -0.02f), ShiftColor(back, -0.15f), V);
    EXPECT_EQ(s.pixel(1, 12), 0x00DEDEDE);
    EXPECT_EQ(s.pixel(95, 12), 0x00DEDEDE);
    EXPECT_EQ(s.pixel(1, 24), 0x00CCCCCC);
    EXPECT_EQ(s.pixel(96, 12), grey(235));  // column 96 keeps the upper ramp: 240 + 11 × (227 − 240) / 24
}

TEST(Primitives, ExtremeGradientIsClippedWithoutAllocatingItAll)
{
    Surface s(8, 8, kFace);
    DrawGradient(s, -1000000000, 0, 2000000000, 100000000, grey(0), grey(255), Hz);
    EXPECT_EQ(s.pixel(0, 0), s.pixel(0, 7));
    EXPECT_NE(s.pixel(0, 0), kFace);
}

// --- Disabled pictures --------------------------------------------------------------------------------------------

TEST(Primitives, GreyingWorksRowByRowAndLeavesThePadding)
{
    Dib dib(5, 2, 24);
    ASSERT_EQ(dib.stride(), 16);
    std::fill_n(dib.bits(), dib.byteCount(), std::uint8_t{0xAB});
    dib.setPixel(4, 0, rgb(10, 20, 31));  // top-right pixel
    dib.setPixel(0, 1, rgb(255, 255, 254));
    GreyDib(dib);
    EXPECT_EQ(dib.pixel(4, 0), grey(20));   // (31 + 20 + 10) / 3 = 20, truncated
    EXPECT_EQ(dib.pixel(0, 1), grey(254));  // 764 / 3 = 254.67 -> 254
    EXPECT_EQ(dib.pixel(2, 1), grey(0xAB));
    for (int line = 0; line < 2; ++line)
        EXPECT_EQ(dib.bits()[line * 16 + 15], 0xAB) << line;  // 5 × 3 bytes of pixels, then one padding byte
}

TEST(Primitives, DisabledBitmapIsOpaqueGrey)
{
    QImage img(5, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            img.setPixel(x, y, qRgb(x * 50, y * 60, 30));
    Surface s(8, 6, kFace);
    DrawDisabledPicture(s, Picture::bitmap(img), 1, 1, 5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(s.pixel(1 + x, 1 + y), grey((x * 50 + y * 60 + 30) / 3)) << x << "," << y;
    EXPECT_EQ(s.pixel(6, 1), kFace);
    EXPECT_EQ(s.pixel(1, 4), kFace);
    // Stretched to twice the size, each source pixel covers a 2 × 2 block.
    Surface t(12, 8, kFace);
    DrawDisabledPicture(t, Picture::bitmap(img), 0, 0, 10, 6);
    EXPECT_EQ(t.pixel(9, 5), grey((4 * 50 + 2 * 60 + 30) / 3));
    EXPECT_EQ(t.pixel(10, 5), kFace);
}

TEST(Primitives, DisabledIconKeepsTheFaceWhereTransparent)
{
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(qRgba(0, 0, 0, 0));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            icon.setPixel(x, y, qRgba(255, 0, 0, 255));
    Surface s(20, 20, kFace);
    DrawDisabledPicture(s, Picture::icon(icon), 2, 2, 16, 16);
    EXPECT_EQ(s.pixel(2, 2), kFace);
    EXPECT_EQ(s.pixel(5, 5), kFace);
    EXPECT_EQ(s.pixel(17, 17), kFace);
    EXPECT_EQ(s.pixel(6, 6), grey(85));
    EXPECT_EQ(s.pixel(13, 13), grey(85));
    EXPECT_EQ(s.pixel(14, 14), kFace);
}

TEST(Primitives, DisabledPicturesOfOtherKindsDrawNothing)
{
    Surface s(8, 8, kFace);
    DrawDisabledPicture(s, Picture::other({8, 8}), 0, 0, 8, 8);
    DrawDisabledPicture(s, Picture(), 0, 0, 8, 8);
    DrawDisabledPicture(s, Picture::bitmap(QImage(4, 4, QImage::Format_RGB32)), 0, 0, 0, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            ASSERT_EQ(s.pixel(x, y), kFace);
}
