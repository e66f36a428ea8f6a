#include <gtest/gtest.h>

#include <functional>

#include <QSignalSpy>

#include "platform/font.h"

using namespace tervolin::platform;

TEST(Font, WindowsNamesMapToInstalledFamilies)
{
    struct Case
    {
        const char* name;
        const char* family;
    };
    const Case cases[] = {
        {"宋体", "AR PL UMing CN"},        {"SimSun", "AR PL UMing CN"}, {"simsun", "AR PL UMing CN"},
        {"楷体_GB2312", "AR PL UKai CN"}, {"KaiTi", "AR PL UKai CN"},   {"Tahoma", "DejaVu Sans"},
        {"DejaVu Serif", "DejaVu Serif"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(installedFamily(QString::fromUtf8(c.name)), QString::fromUtf8(c.family)) << c.name;
    installFontSubstitutions();
    // Qt keeps substitutes in lower case; families match without regard to case.
    EXPECT_EQ(QFont::substitute(QStringLiteral("宋体")).toLower(), QStringLiteral("ar pl uming cn"));
    EXPECT_EQ(QFont::substitute(QStringLiteral("Tahoma")).toLower(), QStringLiteral("dejavu sans"));
}

TEST(Font, DescriptionBecomesAQtFont)
{
    FontDescription d;
    d.name = QStringLiteral("楷体_GB2312");
    d.size = 12;
    d.weight = 700;
    d.italic = true;
    const QFont f = d.toQFont();
    EXPECT_EQ(f.family(), QStringLiteral("AR PL UKai CN"));
    EXPECT_DOUBLE_EQ(f.pointSizeF(), 12.0);
    EXPECT_EQ(f.weight(), QFont::Bold);
    EXPECT_TRUE(f.italic());
    EXPECT_TRUE(d.bold());
    d.weight = 400;
    EXPECT_FALSE(d.bold());
    EXPECT_EQ(d.charset, 134);
}

TEST(Font, EachChangeIsNotifiedOnceWithItsAttribute)
{
    Font font;
    QSignalSpy spy(&font, &Font::FontChanged);
    struct Step
    {
        std::function<void()> apply;
        const char* expected;  // nullptr: no notification
    };
    const std::vector<Step> steps = {
        {[&] { font.setName(QStringLiteral("Tahoma")); }, "Name"},
        {[&] { font.setName(QStringLiteral("Tahoma")); }, nullptr},
        {[&] { font.setSize(10.5); }, "Size"},
        {[&] { font.setBold(true); }, "Bold"},
        {[&] { font.setBold(true); }, nullptr},
        {[&] { font.setWeight(900); }, "Weight"},
        {[&] { font.setItalic(true); }, "Italic"},
        {[&] { font.setUnderline(true); }, "Underline"},
        {[&] { font.setStrikethrough(true); }, "Strikethrough"},
        {[&] { font.setCharset(0); }, "Charset"},
        {[&] { font.setDescription(font.description()); }, nullptr},
        {[&] { font.setDescription({}); }, ""},
    };
    for (const Step& s : steps) {
        spy.clear();
        s.apply();
        if (!s.expected) {
            EXPECT_EQ(spy.count(), 0);
            continue;
        }
        ASSERT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toString(), QString::fromUtf8(s.expected));
    }
    EXPECT_EQ(font.description(), FontDescription{});
    font.setBold(true);
    EXPECT_EQ(font.weight(), 700);
    font.setBold(false);
    EXPECT_EQ(font.weight(), 400);
}
