#include <gtest/gtest.h>

#include "platform/colour.h"
#include "tests/button/testnames.h"
#include "tests/support/qtprinters.h"
#include "tools/render/progressbar_command.h"

using namespace tervolin::tools;
using tervolin::platform::rgb;

namespace {

QStringList args(std::initializer_list<const char*> list)
{
    QStringList out;
    for (const char* a : list)
        out << QString::fromUtf8(a);
    return out;
}

struct BadArguments
{
    std::vector<const char*> args;
    const char* errorPart;
};

class ParseErrors : public ::testing::TestWithParam<BadArguments>
{
};

TEST_P(ParseErrors, SayWhatIsWrong)
{
    QStringList a;
    for (const char* s : GetParam().args)
        a << QString::fromUtf8(s);
    const auto parsed = parseProgressBarArguments(a);
    ASSERT_TRUE(std::holds_alternative<QString>(parsed));
    EXPECT_TRUE(std::get<QString>(parsed).contains(QString::fromUtf8(GetParam().errorPart))) << std::get<QString>(parsed).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Table, ParseErrors,
                         ::testing::Values(BadArguments{{"--out", "x.png"}, "--size is required"},
                                           BadArguments{{"--size", "10x10"}, "--out is required"},
                                           BadArguments{{"--size", "0x10", "--out", "x.png"}, "from 1 to 4096"},
                                           BadArguments{{"--size", "10", "--out", "x.png"}, "WxH"},
                                           BadArguments{{"--size", "10x10", "--set", "Colour=1", "--out", "x"}, "not a stored property"},
                                           BadArguments{{"--size", "10x10", "--set", "Theme", "--out", "x"}, "Key=Value"},
                                           BadArguments{{"--size", "10x10", "--set", "TextFont=:9", "--out", "x"}, "Name"},
                                           BadArguments{{"--size", "10x10", "--set", "TextFont=A:big", "--out", "x"}, "point size"},
                                           BadArguments{{"--size", "10x10", "--frobnicate"}, "unknown argument"}),
                         [](const ::testing::TestParamInfo<BadArguments>& row) {
                             std::string args;
                             for (const char* a : row.param.args)
                                 args += std::string(" ") + a;
                             return tervolin::test::identifier(args);
                         });

TEST(RenderProgressBar, SetsStoredPropertiesOverANewInstance)
{
    const auto parsed = parseProgressBarArguments(
        args({"--size", "100x20", "--set", "theme=3", "--set", "VALUE=25", "--set", "TextStyle=4", "--set", "Text=123", "--out", "x.png"}));
    ASSERT_TRUE(std::holds_alternative<ProgressBarRenderOptions>(parsed));
    const auto& o = std::get<ProgressBarRenderOptions>(parsed);
    EXPECT_EQ(o.properties.back().second, QVariant(QStringLiteral("123")));  // a caption stays text
    const auto image = renderProgressBar(o);
    ASSERT_TRUE(std::holds_alternative<QImage>(image));
    const QImage& img = std::get<QImage>(image);
    EXPECT_EQ(img.size(), QSize(100, 20));
    // Green fill to column 24, track from 25; corners outside the rounded outline are transparent.
    EXPECT_EQ(img.pixel(24, 10), qRgb(57, 203, 70));
    EXPECT_EQ(img.pixel(25, 10), qRgb(182, 226, 186));
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(img.pixel(50, 0)), 255);
}

}  // namespace
