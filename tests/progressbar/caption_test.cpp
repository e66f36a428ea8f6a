#include <gtest/gtest.h>

#include "controls/progressbar/caption.h"
#include "controls/progressbar/colours.h"
#include "tests/button/testnames.h"
#include "tests/support/qtprinters.h"

using namespace tervolin::controls::progressbar;
using tervolin::platform::rgb;
using tervolin::platform::systemColour;

namespace {

struct PercentCase
{
    double p;
    const char* text;
};

class Percent : public ::testing::TestWithParam<PercentCase>
{
};

TEST_P(Percent, FifteenSignificantDigitsWithoutTrailingZeros)
{
    EXPECT_EQ(PercentText(GetParam().p), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Table, Percent,
                         ::testing::Values(PercentCase{100.0 * 1 / 3, "33.3333333333333%"}, PercentCase{100.0 * 50 / 100, "50%"},
                                           PercentCase{100.0 * 15 / 20, "75%"}, PercentCase{0, "0%"}, PercentCase{100, "100%"},
                                           PercentCase{12.5, "12.5%"}, PercentCase{100.0 * 1 / 7, "14.2857142857143%"},
                                           PercentCase{100.0 * 2 / 3, "66.6666666666667%"},
                                           PercentCase{100.0 * 1 / 10000000, "1E-05%"}),
                         [](const ::testing::TestParamInfo<PercentCase>& row) { return tervolin::test::identifier(row.param.text); });

TEST(CaptionText, ChosenByTextStyle)
{
    EXPECT_EQ(captionText(TextStyleValue::ValueText, 0, 0, QStringLiteral("x")), QStringLiteral("0"));
    EXPECT_EQ(captionText(TextStyleValue::ValueText, 2147483647, 0, QString()), QStringLiteral("2147483647"));
    EXPECT_EQ(captionText(TextStyleValue::PercentText, 1, 100.0 / 3, QString()), QStringLiteral("33.3333333333333%"));
    EXPECT_EQ(captionText(TextStyleValue::CustomText, 5, 5, QStringLiteral("Z42K ProgressBar")), QStringLiteral("Z42K ProgressBar"));
    EXPECT_EQ(captionText(TextStyleValue::CustomText, 5, 5, QString()), QString());
    for (int style : {0, 4, -1, 99})
        EXPECT_FALSE(captionText(TextStyleValue{style}, 5, 5, QStringLiteral("x")).has_value()) << style;
}

struct PositionCase
{
    int alignment;
    int x;
    int y;
};

class Position : public ::testing::TestWithParam<PositionCase>
{
};

// A 295 × 20 bar and a caption of 100.5 × 12 pixels: the centre column is nearest(96.25), the right column
// nearest(191.5) (even: 192), the middle row nearest(3) and the bottom row nearest(7).
TEST_P(Position, NinePlacesWithUnevenMargins)
{
    EXPECT_EQ(captionPosition(TextAlignmentValue{GetParam().alignment}, 295, 20, 100.5, 12), QPoint(GetParam().x, GetParam().y));
}

INSTANTIATE_TEST_SUITE_P(Table, Position,
                         ::testing::Values(PositionCase{1, 1, 0}, PositionCase{2, 1, 3}, PositionCase{3, 1, 7},
                                           PositionCase{4, 96, 0}, PositionCase{5, 96, 3}, PositionCase{6, 96, 7},
                                           PositionCase{7, 192, 0}, PositionCase{8, 192, 3}, PositionCase{9, 192, 7},
                                           PositionCase{0, 0, 0}, PositionCase{10, 0, 0}, PositionCase{-5, 0, 0}),
                         [](const ::testing::TestParamInfo<PositionCase>& row) {
                             return tervolin::test::nameOf(TextAlignmentValue{row.param.alignment});
                         });

TEST(CaptionPosition, HalvesRoundToEvenAndWideCaptionsGoNegative)
{
    // 20 / 2 − 13 / 2 − 1 = 2.5 → 2; 21 / 2 − 13 / 2 − 1 = 3 exactly.
    EXPECT_EQ(captionPosition(TextAlignmentValue::MiddleCenter, 50, 20, 10, 13).y(), 2);
    EXPECT_EQ(captionPosition(TextAlignmentValue::MiddleCenter, 50, 21, 10, 13).y(), 3);
    EXPECT_EQ(captionPosition(TextAlignmentValue::BottomRight, 50, 20, 100, 12).x(), -53);
    EXPECT_EQ(captionPosition(TextAlignmentValue::MiddleCenter, 50, 20, 100, 12).x(), -26);
}

constexpr ColorRef kFore = rgb(0, 0, 255);
constexpr ColorRef kEffect = rgb(0, 255, 0);

struct PassCase
{
    int effect;
    std::vector<CaptionPass> passes;
};

class Passes : public ::testing::TestWithParam<PassCase>
{
};

TEST_P(Passes, InDrawingOrderWithTheCaptionLast)
{
    EXPECT_EQ(captionPasses(TextEffectValue{GetParam().effect}, kFore, kEffect), GetParam().passes);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Passes,
    ::testing::Values(PassCase{1, {{0, 0, kFore}}},
                      PassCase{2, {{-1, -1, kEffect}, {1, 1, kEffectGrey}, {0, 0, kFore}}},
                      PassCase{3, {{1, 1, kEffect}, {-1, 0, kEffectGrey}, {0, 0, kFore}}},
                      PassCase{4, {{1, 0, kEffect}, {-1, 0, kEffect}, {0, -1, kEffect}, {0, 1, kEffect}, {0, 0, kFore}}},
                      PassCase{5, {{1, 1, kEffect}, {0, 0, kFore}}}, PassCase{0, {}}, PassCase{6, {}}),
    [](const ::testing::TestParamInfo<PassCase>& row) { return tervolin::test::nameOf(TextEffectValue{row.param.effect}); });

struct ColourCase
{
    ColorRef fore;
    ColorRef effect;
    bool enabled;
    ColorRef expectedFore;
    ColorRef expectedEffect;
};

class Colours : public ::testing::TestWithParam<ColourCase>
{
};

TEST_P(Colours, GreyedWhenDisabled)
{
    const ColourCase& c = GetParam();
    const CaptionColours got = captionColours(c.fore, c.effect, c.enabled);
    EXPECT_EQ(got.fore, c.expectedFore);
    EXPECT_EQ(got.effect, c.expectedEffect);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Colours,
    ::testing::Values(ColourCase{0x0000FF, 0xFFFFFF, true, rgb(255, 0, 0), 0xFFFFFF},
                      ColourCase{0x0000FF, 0xFFFFFF, false, rgb(85, 85, 85), 0xFFFFFF},
                      ColourCase{0, 0xFFFFFF, false, 0, 0xFFFFFF},
                      // system colours are translated before greying: highlight (0, 120, 215) greys to 112
                      ColourCase{systemColour(13), systemColour(14), true, rgb(0, 120, 215), rgb(255, 255, 255)},
                      ColourCase{systemColour(13), systemColour(14), false, rgb(112, 112, 112), rgb(255, 255, 255)}),
    [](const ::testing::TestParamInfo<ColourCase>& row) {
        return tervolin::test::colourName(row.param.fore) + "_on_" + tervolin::test::colourName(row.param.effect) + (row.param.enabled ? "" : "_Disabled");
    });

TEST(DrawCaptionText, DrawsNothingForAnUnknownEffect)
{
    tervolin::platform::Surface s(60, 20, rgb(255, 255, 255));
    const QImage before = s.image().copy();
    DrawCaptionText(s, QStringLiteral("50%"), TextAlignmentValue::MiddleCenter, TextEffectValue{6}, 0, 0, true);
    EXPECT_EQ(s.image(), before);
    DrawCaptionText(s, QStringLiteral("50%"), TextAlignmentValue::MiddleCenter, TextEffectValue::Plain, 0, 0, true);
    EXPECT_NE(s.image(), before);
}

}  // namespace
