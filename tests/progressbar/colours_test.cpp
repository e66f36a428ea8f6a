#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "controls/progressbar/colours.h"
#include "tests/button/testnames.h"

using namespace tervolin::controls::progressbar;
using tervolin::platform::rgb;

namespace {

struct NearestCase
{
    double x;
    int expected;
};

class Nearest : public ::testing::TestWithParam<NearestCase>
{
};

TEST_P(Nearest, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(nearest(GetParam().x), GetParam().expected) << GetParam().x;
}

INSTANTIATE_TEST_SUITE_P(Table, Nearest,
                         ::testing::Values(NearestCase{0.5, 0}, NearestCase{1.5, 2}, NearestCase{2.5, 2}, NearestCase{147.5, 148},
                                           NearestCase{96.5, 96}, NearestCase{-0.5, 0}, NearestCase{-1.5, -2},
                                           NearestCase{2.4999, 2}, NearestCase{2.5001, 3}, NearestCase{std::nan(""), 0},
                                           NearestCase{1e20, std::numeric_limits<int>::max()},
                                           NearestCase{-1e20, std::numeric_limits<int>::min()}),
                         [](const ::testing::TestParamInfo<NearestCase>& row) { return tervolin::test::numberName(row.param.x); });

struct GreyCase
{
    ColorRef colour;
    int level;
};

class Grey : public ::testing::TestWithParam<GreyCase>
{
};

TEST_P(Grey, KeepsLowerBytesInTheGreenAndBlueTerms)
{
    const int l = GetParam().level;
    EXPECT_EQ(GreyColour(GetParam().colour), rgb(l, l, l)) << std::hex << GetParam().colour;
}

INSTANTIATE_TEST_SUITE_P(Table, Grey,
                         ::testing::Values(GreyCase{0xFFFFFF, 255},  // level 256 capped
                                           GreyCase{0x808080, 128}, GreyCase{0x000000, 0},
                                           GreyCase{rgb(255, 0, 0), 85}, GreyCase{rgb(0, 255, 0), 85},
                                           GreyCase{rgb(0, 0, 255), 85},
                                           GreyCase{rgb(130, 0, 0), 44},  // red above 128 lifts green by one: not 43
                                           GreyCase{rgb(0, 0, 120), 40}, GreyCase{rgb(204, 168, 62), 145}),
                         [](const ::testing::TestParamInfo<GreyCase>& row) { return tervolin::test::colourName(row.param.colour); });

struct LightenCase
{
    ColorRef colour;
    int amount;
    ColorRef expected;
};

class Lighten : public ::testing::TestWithParam<LightenCase>
{
};

TEST_P(Lighten, RaisesEachChannelAndCapsAt255)
{
    EXPECT_EQ(LightenColour(GetParam().colour, GetParam().amount), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, Lighten,
                         ::testing::Values(LightenCase{0, 180, rgb(180, 180, 180)}, LightenCase{0, 50, rgb(50, 50, 50)},
                                           LightenCase{rgb(100, 200, 250), 50, rgb(150, 250, 255)},
                                           LightenCase{rgb(255, 255, 255), 80, rgb(255, 255, 255)},
                                           // top bit set: the truncating remainder of red is negative, abs() folds it
                                           LightenCase{static_cast<ColorRef>(0x80000005u), 0, rgb(251, 0, 0)}),
                         [](const ::testing::TestParamInfo<LightenCase>& row) {
                             return tervolin::test::colourName(row.param.colour) + "_by_" + std::to_string(row.param.amount);
                         });

TEST(ColourFunctions, ChannelsRatiosAndSixteenBitFields)
{
    EXPECT_EQ(RedOf(rgb(1, 2, 3)), 1);
    EXPECT_EQ(GreenOf(rgb(1, 2, 3)), 2);
    EXPECT_EQ(BlueOf(rgb(1, 2, 3)), 3);
    EXPECT_EQ(BlueOf(static_cast<ColorRef>(0x80FF0000u)), 255);

    EXPECT_EQ(SafeRatio(0, 5), 0.0f);
    EXPECT_EQ(SafeRatio(5, 0), 0.0f);
    EXPECT_EQ(SafeRatio(1, 3), static_cast<float>(1.0 / 3.0));

    EXPECT_EQ(ToColour16(0), 0);
    EXPECT_EQ(ToColour16(127 * 256), 32512);
    EXPECT_EQ(ToColour16(128 * 256), -32768);
    EXPECT_EQ(ToColour16(255 * 256), -256);
}

struct BlendCase
{
    int n;
    int from;
    int to;
    std::vector<int> channel;  // the expected value of each entry, every channel alike
};

class Blend : public ::testing::TestWithParam<BlendCase>
{
};

TEST_P(Blend, SpreadsOverNPlusOneEntries)
{
    const BlendCase& c = GetParam();
    const auto s = static_cast<std::uint8_t>(c.from);
    const auto e = static_cast<std::uint8_t>(c.to);
    const std::vector<Pixel> ramp = BlendPixels(c.n, Pixel{s, s, s}, Pixel{e, e, e});
    ASSERT_EQ(ramp.size(), c.channel.size());
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        const auto v = static_cast<std::uint8_t>(c.channel[i]);
        EXPECT_EQ(ramp[i], (Pixel{v, v, v})) << "entry " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Blend,
                         ::testing::Values(BlendCase{4, 0, 100, {0, 25, 50, 75, 100}}, BlendCase{3, 0, 255, {0, 85, 170, 255}},
                                           BlendCase{4, 100, 0, {100, 75, 50, 25, 0}},
                                           BlendCase{4, 0, 10, {0, 2, 5, 8, 10}},  // 2.5 → 2, 7.5 → 8
                                           BlendCase{0, 7, 200, {7}}, BlendCase{-1, 0, 9, {}}),
                         [](const ::testing::TestParamInfo<BlendCase>& row) {
                             return tervolin::test::numberName(row.param.n) + "_steps_" + std::to_string(row.param.from) + "_to_"
                                    + std::to_string(row.param.to);
                         });

TEST(ColourFunctions, PixelRampMatchesBlendPixelsAndSplitsChannels)
{
    const Pixel s = pixelOf(rgb(10, 20, 30));
    EXPECT_EQ(s, (Pixel{30, 20, 10}));
    const Pixel e = pixelOf(rgb(250, 0, 99));
    const std::vector<Pixel> ramp = BlendPixels(37, s, e);
    const PixelRamp lazy(37, s, e);
    for (int i = 0; i <= 37; ++i)
        EXPECT_EQ(lazy.at(i), ramp[static_cast<std::size_t>(i)]) << i;
    EXPECT_EQ(ramp.back(), e);
}

}  // namespace
