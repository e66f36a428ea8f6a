#include <gtest/gtest.h>

#include <QImage>

#include "tests/support/qtprinters.h"
#include "tests/support/testsupport.h"
#include "tools/render/buttonrender.h"

using namespace tervolin::tools;

namespace {

TEST(RenderValues, DecimalHexBooleansAndText)
{
    struct Case { const char* in; QVariant out; };
    const Case cases[] = {
        {"14", 14},
        {"0x0E", 14},
        {"0XE3E3E3", 0xE3E3E3},
        {"0x8000000F", static_cast<int>(0x8000000Fu)},
        {"4294967295", -1},
        {"-1", -1},
        {"-0x10", -16},
        {"true", -1},
        {"False", 0},
        {"4294967296", QStringLiteral("4294967296")},  // does not fit 32 bits: kept as text
        {"查询", QStringLiteral("查询")},
        {"&Search", QStringLiteral("&Search")},
        {"", QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(parseValue(QString::fromUtf8(c.in)), c.out) << c.in;
}

TEST(RenderArguments, ParsesTheOptions)
{
    const auto parsed = parseButtonArguments({QStringLiteral("--size"), QStringLiteral("97x25"), QStringLiteral("--set"),
                                              QStringLiteral("buttonstyle=4"), QStringLiteral("--set"),
                                              QStringLiteral("Caption=a=b"), QStringLiteral("--state"), QStringLiteral("2"),
                                              QStringLiteral("--focus"), QStringLiteral("--default"),
                                              QStringLiteral("--parent-inactive"), QStringLiteral("--pointer-over"),
                                              QStringLiteral("--design-mode"), QStringLiteral("--out"), QStringLiteral("x.png")});
    ASSERT_TRUE(std::holds_alternative<ButtonRenderOptions>(parsed)) << std::get<QString>(parsed).toStdString();
    const ButtonRenderOptions& o = std::get<ButtonRenderOptions>(parsed);
    EXPECT_EQ(o.size, QSize(97, 25));
    ASSERT_EQ(o.properties.size(), 2u);
    EXPECT_EQ(o.properties[0].first, QStringLiteral("buttonstyle"));
    EXPECT_EQ(o.properties[0].second, QVariant(4));
    EXPECT_EQ(o.properties[1].second, QVariant(QStringLiteral("a=b")));
    EXPECT_EQ(o.state, 2);
    EXPECT_TRUE(o.focus);
    EXPECT_TRUE(o.displayAsDefault);
    EXPECT_FALSE(o.parentActive);
    EXPECT_TRUE(o.pointerOver);
    EXPECT_FALSE(o.userMode);
    EXPECT_EQ(o.out, QStringLiteral("x.png"));
}

TEST(RenderArguments, RejectsWhatItCannotUse)
{
    const QStringList bad[] = {
        {QStringLiteral("--out"), QStringLiteral("x.png")},
        {QStringLiteral("--size"), QStringLiteral("97x25")},
        {QStringLiteral("--size"), QStringLiteral("97"), QStringLiteral("--out"), QStringLiteral("x.png")},
        {QStringLiteral("--size"), QStringLiteral("0x25"), QStringLiteral("--out"), QStringLiteral("x.png")},
        {QStringLiteral("--size"), QStringLiteral("97x25"), QStringLiteral("--state"), QStringLiteral("3"), QStringLiteral("--out"),
         QStringLiteral("x.png")},
        {QStringLiteral("--size"), QStringLiteral("97x25"), QStringLiteral("--set"), QStringLiteral("Caption"), QStringLiteral("--out"),
         QStringLiteral("x.png")},
        {QStringLiteral("--size"), QStringLiteral("97x25"), QStringLiteral("--bogus"), QStringLiteral("--out"), QStringLiteral("x.png")},
        {QStringLiteral("--size"), QStringLiteral("97x25"), QStringLiteral("--out")},
    };
    for (const QStringList& args : bad)
        EXPECT_TRUE(std::holds_alternative<QString>(parseButtonArguments(args))) << args.join(QLatin1Char(' ')).toStdString();
}

TEST(RenderButton, PixelsOutsideTheOutlineAreTransparent)
{
    struct Case { const char* style; bool rounded; };
    const Case cases[] = {{"14", true}, {"0x0E", true}, {"4", true}, {"0", false}, {"99", false}};
    for (const Case& c : cases) {
        ButtonRenderOptions o;
        o.size = QSize(40, 25);
        o.properties = {{QStringLiteral("BUTTONSTYLE"), parseValue(QString::fromUtf8(c.style))}};
        o.out = QStringLiteral("unused.png");
        const auto rendered = renderButton(o);
        ASSERT_TRUE(std::holds_alternative<QImage>(rendered)) << c.style;
        const QImage& img = std::get<QImage>(rendered);
        EXPECT_EQ(img.size(), QSize(40, 25));
        EXPECT_EQ(qAlpha(img.pixel(0, 0)) == 0, c.rounded) << c.style;
        EXPECT_EQ(qAlpha(img.pixel(20, 12)), 255) << c.style;
    }
}

TEST(RenderButton, UnreadablePictureIsAnError)
{
    ButtonRenderOptions o;
    o.size = QSize(40, 25);
    o.picture = tervolin::test::scratchDir() + QStringLiteral("/missing.png");
    o.out = QStringLiteral("unused.png");
    const auto rendered = renderButton(o);
    ASSERT_TRUE(std::holds_alternative<QString>(rendered));
    EXPECT_TRUE(std::get<QString>(rendered).contains(QStringLiteral("missing.png")));
}

TEST(RenderButton, PictureFileIsDrawn)
{
    const QString file = tervolin::test::scratchDir() + QStringLiteral("/red.png");
    QImage red(8, 8, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    ASSERT_TRUE(red.save(file));
    ButtonRenderOptions o;
    o.size = QSize(40, 25);
    o.properties = {{QStringLiteral("ButtonStyle"), 99}, {QStringLiteral("Caption"), QString()},
                    {QStringLiteral("PictureAlign"), 4}};
    o.picture = file;
    o.out = QStringLiteral("unused.png");
    const auto rendered = renderButton(o);
    ASSERT_TRUE(std::holds_alternative<QImage>(rendered));
    // 8 × 8 centred in 40 × 25: (16, 8).
    EXPECT_EQ(std::get<QImage>(rendered).pixel(16 + 4, 8 + 4), qRgb(255, 0, 0));
}

}  // namespace
