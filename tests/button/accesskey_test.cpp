#include <gtest/gtest.h>

#include "controls/button/accesskey.h"

#include <ostream>
#include <string>

using tervolin::controls::accessKeyOf;

namespace {

struct KeyCase
{
    const char* caption;
    char16_t key;  // 0: none
};

void PrintTo(const KeyCase& c, std::ostream* os) { *os << '"' << c.caption << '"'; }

// The caption spelled for a test name: "&" as "Amp", a space as "Space", other signs by their code ("U0028").
std::string captionName(const char* caption)
{
    std::string name;
    for (const QChar c : QString::fromUtf8(caption)) {
        if (c == QLatin1Char('&'))
            name += "Amp";
        else if (c == QLatin1Char(' '))
            name += "Space";
        else if (c.unicode() < 128 && c.isLetterOrNumber())
            name += static_cast<char>(c.unicode());
        else
            name += QStringLiteral("U%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper().toStdString();
    }
    return name.empty() ? "Empty" : name;
}

class AccessKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(AccessKey, FromCaption)
{
    const KeyCase& c = GetParam();
    const QChar key = accessKeyOf(QString::fromUtf8(c.caption));
    if (c.key == 0)
        EXPECT_TRUE(key.isNull()) << c.caption << " gave " << static_cast<int>(key.unicode());
    else
        EXPECT_EQ(key, QChar(c.key)) << c.caption;
}

INSTANTIATE_TEST_SUITE_P(
    Captions, AccessKey,
    ::testing::Values(
        KeyCase{"", 0}, KeyCase{"&", 0}, KeyCase{"A", 0},
        KeyCase{"&Search", u's'},          // lower case
        KeyCase{"Sea&rch", u'r'},
        KeyCase{"&s", u's'},
        KeyCase{"Save&", 0},               // marker at the end
        KeyCase{"Tom && Jerry", 0},        // only a doubled marker
        KeyCase{"&&", 0},
        KeyCase{"A && &B", u'b'},          // doubled, then a single marker
        KeyCase{"&&&X", u'x'},             // the third "&" starts the second group
        KeyCase{"&& &&X &Y", 0},           // first two groups both doubled
        KeyCase{"A && B&", 0},             // second group at the end
        KeyCase{"&&Q", 0},
        KeyCase{"查询(&Q)", u'q'},
        KeyCase{"&查询", u'查'},
        KeyCase{"&1", u'1'},
        KeyCase{"& x", u' '}),
    [](const ::testing::TestParamInfo<KeyCase>& row) { return captionName(row.param.caption); });

}  // namespace
