#include <gtest/gtest.h>

#include "controls/progressbar/colours.h"
#include "controls/progressbar/painter.h"
#include "tests/button/testnames.h"

using namespace tervolin::controls::progressbar;
using tervolin::platform::rgb;
using tervolin::platform::Surface;
using tervolin::platform::systemColour;

namespace {

constexpr TextStyleValue kNoCaption{4};

ProgressBarFields bar(int theme, int value, int max = 100)
{
    ProgressBarFields f;
    f.TextStyle = kNoCaption;
    f.Theme = ThemeValue{theme};
    f.Orientations = OrientationValue::Horizontal;
    f.RoundedValue = 5;
    f.Min = 0;
    f.Max = max;
    f.Value = value;
    f.Enabled = true;
    return f;
}

struct Drawn
{
    Surface surface;
    ThemeColours colours{};
    RedrawResult result;
};

Drawn draw(const ProgressBarFields& f, int w, int h)
{
    Drawn d{Surface(w, h), {}, {}};
    d.result = DrawProgressBar(d.surface, f, d.colours);
    return d;
}

// The filled extent along a row: columns whose pixels match a full bar rather than an empty one.
int filledColumns(const ProgressBarFields& f, int w, int h, int row)
{
    ProgressBarFields full = f, empty = f;
    full.Value = full.Max;
    empty.Value = 0;
    const Drawn d = draw(f, w, h), a = draw(full, w, h), b = draw(empty, w, h);
    int n = 0;
    for (int x = 1; x < w - 1; ++x) {
        const ColorRef p = d.surface.pixel(x, row);
        EXPECT_TRUE(p == a.surface.pixel(x, row) || p == b.surface.pixel(x, row)) << "column " << x;
        if (p == a.surface.pixel(x, row) && p != b.surface.pixel(x, row))
            ++n;
    }
    return n;
}

TEST(DrawProgressBar, HalfOf295FillsTheEven148ColumnsInTwoBandsOfTenRows)
{
    const ProgressBarFields f = bar(1, 50);
    const Drawn d = draw(f, 295, 20);
    EXPECT_EQ(d.result.fillLength, 148);
    EXPECT_EQ(filledColumns(f, 295, 20, 5) + 1, 148);  // column 0 is the outline
    EXPECT_EQ(filledColumns(f, 295, 20, 15) + 1, 148);
    // The second band starts at row 10 with its start colour; row 9 ends the first band short of its end.
    EXPECT_EQ(d.surface.pixel(100, 10), d.colours[12]);
    EXPECT_EQ(d.surface.pixel(200, 10), d.colours[4]);
    EXPECT_NE(d.surface.pixel(100, 9), d.colours[12]);
    EXPECT_EQ(d.surface.pixel(147, 10), rgb(203, 166, 57));
    EXPECT_EQ(d.surface.pixel(148, 10), rgb(226, 215, 182));
}

struct FillCase
{
    int min, value, max;
    int width;
    int fillLength;
    double percent;
};

class Fill : public ::testing::TestWithParam<FillCase>
{
};

TEST_P(Fill, LengthIsValueOverMaxOfTheWidth)
{
    const FillCase& c = GetParam();
    ProgressBarFields f = bar(3, c.value, c.max);
    f.Min = c.min;
    const Drawn d = draw(f, c.width, 20);
    EXPECT_EQ(d.result.fillLength, c.fillLength);
    EXPECT_DOUBLE_EQ(d.result.percent, c.percent);
    // Row 10 starts the second band: the fill ends exactly at the fill length (columns 0 and W − 2 are outline).
    for (int x = 1; x < c.width - 2; ++x)
        EXPECT_EQ(d.surface.pixel(x, 10), x < c.fillLength && c.value >= 1 ? d.colours[12] : d.colours[4]) << x;
}

INSTANTIATE_TEST_SUITE_P(Table, Fill,
                         ::testing::Values(FillCase{10, 15, 20, 295, 221, 75},  // Min is not part of the ratio
                                           FillCase{0, 0, 100, 295, 0, 0},      // Value 0: no fill at all
                                           FillCase{0, 1, 1000, 295, 0, 0.1},   // positive Value, empty fill
                                           FillCase{0, 1, 3, 100, 33, 100.0 / 3}, FillCase{0, 100, 100, 50, 50, 100},
                                           FillCase{0, 0, 0, 30, 0, 0}),  // not yet initialised: no ratio
                         [](const ::testing::TestParamInfo<FillCase>& row) {
                             const FillCase& c = row.param;
                             return "Min" + std::to_string(c.min) + "_Value" + std::to_string(c.value) + "_Max" + std::to_string(c.max)
                                    + "_Width" + std::to_string(c.width);
                         });

TEST(DrawProgressBar, VerticalBarFillsDownwardsInLeftAndRightBands)
{
    ProgressBarFields f = bar(8, 30);
    f.Orientations = OrientationValue::Vertical;
    const Drawn d = draw(f, 20, 100);
    EXPECT_EQ(d.result.fillLength, 30);
    EXPECT_EQ(d.surface.pixel(10, 29), d.colours[12]);
    EXPECT_EQ(d.surface.pixel(10, 30), d.colours[4]);
    EXPECT_EQ(d.surface.pixel(10, 80), d.colours[4]);
    EXPECT_NE(d.surface.pixel(9, 80), d.colours[4]);  // left band is the first band
}

TEST(DrawProgressBar, UnknownOrientationDrawsBackgroundOutlineAndCaptionOnly)
{
    ProgressBarFields f = bar(3, 50);
    f.Orientations = OrientationValue{3};
    const Drawn d = draw(f, 60, 20);
    const ColorRef outline = d.colours[16];
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) {
            const ColorRef p = d.surface.pixel(x, y);
            EXPECT_TRUE(p == d.surface.backgroundColour() || p == outline) << x << "," << y;
        }
    EXPECT_EQ(d.surface.pixel(30, 0), outline);
    EXPECT_EQ(d.surface.pixel(30, 10), d.surface.backgroundColour());
}

TEST(DrawProgressBar, OutlineStopsOnePixelInsideTheRightAndBottomEdges)
{
    ProgressBarFields f = bar(7, 100);
    f.RoundedValue = 0;
    const Drawn d = draw(f, 40, 20);
    const ColorRef outline = rgb(204, 62, 62);
    EXPECT_EQ(d.surface.pixel(0, 0), outline);  // square corner
    EXPECT_EQ(d.surface.pixel(38, 18), outline);
    EXPECT_NE(d.surface.pixel(39, 10), outline);
    EXPECT_NE(d.surface.pixel(20, 19), outline);
    ASSERT_TRUE(d.result.windowRegion);
    EXPECT_TRUE(d.result.windowRegion->contains(0, 0));
    EXPECT_TRUE(d.result.windowRegion->contains(39, 19));
    EXPECT_FALSE(d.result.windowRegion->contains(40, 19));
}

TEST(DrawProgressBar, RoundedCornersCutTheRegionAndCurveTheOutline)
{
    ProgressBarFields f = bar(7, 100);
    f.RoundedValue = 9;
    const Drawn d = draw(f, 40, 20);
    ASSERT_TRUE(d.result.windowRegion);
    EXPECT_FALSE(d.result.windowRegion->contains(0, 0));
    EXPECT_FALSE(d.result.windowRegion->contains(39, 19));
    EXPECT_TRUE(d.result.windowRegion->contains(20, 0));
    EXPECT_NE(d.surface.pixel(0, 0), rgb(204, 62, 62));
}

class Disabled : public ::testing::TestWithParam<int>
{
};

TEST_P(Disabled, DrawsOnlyGreys)
{
    ProgressBarFields f = bar(GetParam(), 60);
    f.PBSCustomeColor1 = rgb(200, 30, 90);
    f.PBSCustomeColor2 = rgb(10, 200, 240);
    f.Enabled = false;
    const Drawn d = draw(f, 80, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 80; ++x) {
            const ColorRef p = d.surface.pixel(x, y);
            ASSERT_TRUE(tervolin::platform::redOf(p) == tervolin::platform::greenOf(p) && tervolin::platform::greenOf(p) == tervolin::platform::blueOf(p)) << x << "," << y;
        }
    ThemeColours plain{};
    LoadThemeColours(plain, ThemeValue{GetParam()}, f.PBSCustomeColor1, f.PBSCustomeColor2);
    for (std::size_t i = 0; i < plain.size(); ++i)
        EXPECT_EQ(d.colours[i], GreyColour(plain[i])) << i;
}

INSTANTIATE_TEST_SUITE_P(EveryTheme, Disabled, ::testing::Range(1, 11),
                         [](const ::testing::TestParamInfo<int>& row) { return tervolin::test::nameOf(ThemeValue{row.param}); });

TEST(ThemeColours, UnknownThemeKeepsTheLastTable)
{
    Surface s(60, 20);
    ThemeColours colours{};
    ProgressBarFields f = bar(11, 100);
    DrawProgressBar(s, f, colours);
    EXPECT_EQ(colours, ThemeColours{});  // before any valid theme: all black
    f.Theme = ThemeValue::Green;
    DrawProgressBar(s, f, colours);
    const ThemeColours green = colours;
    f.Theme = ThemeValue{11};
    DrawProgressBar(s, f, colours);
    EXPECT_EQ(colours, green);
    EXPECT_EQ(s.pixel(30, 10), rgb(57, 203, 70));
    // A disabled redraw greys the kept table in place, and the greys stay once enabled again.
    f.Enabled = false;
    DrawProgressBar(s, f, colours);
    const ThemeColours grey = colours;
    EXPECT_EQ(grey[12], GreyColour(rgb(57, 203, 70)));
    f.Enabled = true;
    DrawProgressBar(s, f, colours);
    EXPECT_EQ(colours, grey);
}

TEST(ThemeColours, OddEntriesCopyTheEvenOnesAndThemesDiffer)
{
    for (int theme = 1; theme <= 10; ++theme) {
        ThemeColours c{};
        LoadThemeColours(c, ThemeValue{theme}, rgb(200, 30, 90), rgb(10, 200, 240));
        for (std::size_t i = 1; i < c.size(); i += 2)
            EXPECT_EQ(c[i], c[i - 1]) << "theme " << theme << " entry " << i;
    }
    ThemeColours sky{}, lime{};
    LoadThemeColours(sky, ThemeValue::Sky, 0, 0);
    LoadThemeColours(lime, ThemeValue::Lime, 0, 0);
    EXPECT_EQ(sky[16], rgb(23, 139, 211));
    EXPECT_EQ(lime[16], rgb(188, 184, 188));
    EXPECT_EQ(lime[10], rgb(108, 255, 108));
}

TEST(ThemeColours, CustomThemeWithBlackColoursHidesTheFill)
{
    ThemeColours c{};
    LoadThemeColours(c, ThemeValue::Custom, 0, 0);
    const ThemeColours expected{rgb(180, 180, 180), rgb(180, 180, 180), rgb(50, 50, 50),    rgb(50, 50, 50),    0, 0,
                                rgb(80, 80, 80),    rgb(80, 80, 80),    rgb(180, 180, 180), rgb(180, 180, 180), rgb(50, 50, 50),
                                rgb(50, 50, 50),    0,                  0,                  rgb(80, 80, 80),    rgb(80, 80, 80),
                                0};
    EXPECT_EQ(c, expected);
}

TEST(ThemeColours, CustomSystemColoursAreTranslatedFirst)
{
    ThemeColours c{};
    LoadThemeColours(c, ThemeValue::Custom, systemColour(13), systemColour(15));
    EXPECT_EQ(c[12], rgb(0, 120, 215));
    EXPECT_EQ(c[16], rgb(0, 120, 215));
    EXPECT_EQ(c[4], rgb(240, 240, 240));
    EXPECT_EQ(c[0], rgb(255, 255, 255));
}

TEST(DrawProgressBar, CaptionFollowsTheTextStyle)
{
    ProgressBarFields f = bar(1, 1, 3);
    f.TextEffect = TextEffectValue::Plain;
    f.TextAlignment = TextAlignmentValue::MiddleCenter;
    for (const auto& [style, text] : std::vector<std::pair<int, std::optional<QString>>>{
             {1, QStringLiteral("1")}, {2, QStringLiteral("33.3333333333333%")}, {3, QStringLiteral("abc")}, {4, std::nullopt}}) {
        f.TextStyle = TextStyleValue{style};
        f.Text = QStringLiteral("abc");
        EXPECT_EQ(draw(f, 120, 20).result.caption, text) << style;
    }
}

}  // namespace
