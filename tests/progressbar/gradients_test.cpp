#include <gtest/gtest.h>

#include <limits>

#include "controls/progressbar/gradients.h"
#include "tests/button/testnames.h"

using namespace tervolin::controls::progressbar;
using tervolin::platform::rgb;
using tervolin::platform::Surface;

namespace {

constexpr ColorRef kPaper = rgb(1, 2, 3);

struct SizeCase
{
    int width;
    int height;
    bool fails;
    int pixelsDrawn;
};

class FourColourSize : public ::testing::TestWithParam<SizeCase>
{
};

TEST_P(FourColourSize, InvalidSizesReportAnErrorAndDrawNothing)
{
    const SizeCase& c = GetParam();
    Surface s(8, 8, kPaper);
    const std::optional<DrawError> error = DrawGradientFourColour(s, 2, 2, c.width, c.height, 0, 0, 0, 0);
    EXPECT_EQ(error.has_value(), c.fails);
    if (error) {
        EXPECT_EQ(error->number, 9);
    }
    int drawn = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            drawn += s.pixel(x, y) != kPaper;
    EXPECT_EQ(drawn, c.pixelsDrawn);
}

INSTANTIATE_TEST_SUITE_P(Table, FourColourSize,
                         ::testing::Values(SizeCase{0, 3, true, 0}, SizeCase{-4, 3, true, 0}, SizeCase{3, -1, true, 0},
                                           SizeCase{0, -1, true, 0}, SizeCase{3, 0, false, 0}, SizeCase{1, 1, false, 1},
                                           SizeCase{3, 2, false, 6},
                                           SizeCase{std::numeric_limits<int>::max(), 2, false, 12}),  // clipped to the surface
                         [](const ::testing::TestParamInfo<SizeCase>& row) {
                             return tervolin::test::numberName(row.param.width) + "_by_" + tervolin::test::numberName(row.param.height);
                         });

TEST(DrawGradientFourColour, EqualCornersDrawASolidRectangle)
{
    Surface s(10, 10, kPaper);
    const ColorRef c = rgb(37, 180, 93);
    ASSERT_FALSE(DrawGradientFourColour(s, 1, 2, 7, 5, c, c, c, c));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(s.pixel(x, y), (x >= 1 && x < 8 && y >= 2 && y < 7) ? c : kPaper) << x << "," << y;
}

TEST(DrawGradientFourColour, RampsStopOneStepShortOfTheFarCorners)
{
    Surface s(4, 4, kPaper);
    ASSERT_FALSE(DrawGradientFourColour(s, 0, 0, 4, 4, rgb(0, 0, 0), rgb(100, 0, 0), rgb(0, 200, 0), rgb(100, 200, 40)));
    EXPECT_EQ(s.pixel(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(s.pixel(1, 0), rgb(25, 0, 0));
    EXPECT_EQ(s.pixel(3, 0), rgb(75, 0, 0));   // not 100
    EXPECT_EQ(s.pixel(0, 3), rgb(0, 150, 0));  // not 200
    // Row 2: left column (0, 100, 0), right column (100, 100, 20); entry 2 of 4 is half way.
    EXPECT_EQ(s.pixel(2, 2), rgb(50, 100, 10));
}

TEST(DrawGradientFourColour, PartlyOffTheSurfaceKeepsTheRampOfTheWholeRectangle)
{
    Surface whole(8, 1, kPaper);
    ASSERT_FALSE(DrawGradientFourColour(whole, 0, 0, 8, 1, rgb(0, 0, 0), rgb(160, 80, 240), 0, 0));
    Surface shifted(5, 1, kPaper);
    ASSERT_FALSE(DrawGradientFourColour(shifted, -3, 0, 8, 1, rgb(0, 0, 0), rgb(160, 80, 240), 0, 0));
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(shifted.pixel(x, 0), whole.pixel(x + 3, 0)) << x;
}

struct TwoColourCase
{
    int direction;
    int left, top, right, bottom;
    QPoint probe;
    ColorRef expected;
};

class TwoColour : public ::testing::TestWithParam<TwoColourCase>
{
};

TEST_P(TwoColour, RunsAlongTheDirectionWithRightAndBottomAsEdges)
{
    const TwoColourCase& c = GetParam();
    Surface s(10, 10, kPaper);
    GradientTwoColour(s, tervolin::platform::GradientDirection{c.direction}, rgb(0, 0, 0), rgb(200, 100, 40), c.left, c.top, c.right, c.bottom);
    EXPECT_EQ(s.pixel(c.probe.x(), c.probe.y()), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TwoColour,
    ::testing::Values(TwoColourCase{1, 2, 2, 6, 6, {3, 2}, rgb(0, 0, 0)},     // first row: start colour
                      TwoColourCase{1, 2, 2, 6, 6, {3, 5}, rgb(150, 75, 30)},  // last row: one step short of the end
                      TwoColourCase{1, 2, 2, 6, 6, {3, 6}, kPaper},            // bottom edge exclusive
                      TwoColourCase{1, 2, 2, 6, 6, {6, 3}, kPaper},            // right edge exclusive
                      TwoColourCase{0, 2, 2, 6, 6, {5, 2}, rgb(150, 75, 30)},  // direction 0: left to right
                      TwoColourCase{0, 2, 2, 6, 6, {2, 5}, rgb(0, 0, 0)},
                      TwoColourCase{0, 0, 0, 0, 5, {0, 0}, kPaper},            // empty rectangle
                      TwoColourCase{2, 2, 2, 6, 6, {3, 3}, kPaper}),           // unknown direction draws nothing
    [](const ::testing::TestParamInfo<TwoColourCase>& row) {
        const TwoColourCase& c = row.param;
        const std::string direction =
            c.direction == 0 ? "Horizontal" : c.direction == 1 ? "Vertical" : "Direction" + std::to_string(c.direction);
        return direction + "_at_" + std::to_string(c.probe.x()) + "_" + std::to_string(c.probe.y());
    });

}  // namespace
