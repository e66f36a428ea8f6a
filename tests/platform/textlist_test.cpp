#include <gtest/gtest.h>

#include <QStringList>

#include "platform/core/textlist.h"

using tervolin::platform::TextList;

// Entries read from UTF-8 must be exactly what QString::fromUtf8 makes of the same bytes, whatever the bytes.
TEST(TextList, Utf8EntriesDecodeAsFromUtf8)
{
    const QByteArray inputs[] = {
        "",
        "0x0000007B",
        "INACCESSIBLE_BOOT_DEVICE",
        "蓝屏代码",
        "0x7B 蓝屏",
        "😀 emoji",
        QByteArray("a\0b", 3),
        "\xEF\xBB\xBF" "bom first",
        "ascii then bom \xEF\xBB\xBF",
        "bad \xFF\xFE bytes",
        "cut \xE8\x93",
        "\xED\xA0\x80 encoded surrogate",
    };
    TextList list;
    for (const QByteArray& bytes : inputs)
        list.appendUtf8(bytes.constData(), bytes.size());
    ASSERT_EQ(list.size(), qsizetype(std::size(inputs)));
    for (qsizetype i = 0; i < list.size(); ++i)
        EXPECT_EQ(list.text(i), QString::fromUtf8(inputs[i])) << inputs[i].toHex().toStdString();
}

TEST(TextList, CopiesAreIndependentAndConvertBothWays)
{
    const QStringList texts = {QStringLiteral("0x0000000A"), QString(), QStringLiteral("IRQL_NOT_LESS_OR_EQUAL"), QStringLiteral("")};
    TextList list(texts);
    EXPECT_EQ(list.toStringList(), (QStringList{texts[0], QString(), texts[2], QString()}));
    TextList copy = list;
    copy.append(u"more");
    copy.appendUtf8("x", 1);
    EXPECT_EQ(list.size(), 4);
    EXPECT_EQ(copy.size(), 6);
    EXPECT_EQ(copy.at(4), u"more");
    EXPECT_EQ(list.at(2), texts[2]);
    EXPECT_FALSE(copy == list);
    copy.clear();
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(list.text(0), texts[0]);
}

TEST(TextList, AppendingAListKeepsEveryEntryAndItsBoundaries)
{
    TextList list(QStringList{QStringLiteral("ab"), QString()});
    const TextList other(QStringList{QStringLiteral("c"), QStringLiteral("蓝屏")});
    list.append(other);
    list.append(TextList());
    list.append(list);  // itself
    EXPECT_EQ(list.toStringList(), (QStringList{"ab", "", "c", "蓝屏", "ab", "", "c", "蓝屏"}));
    TextList empty;
    empty.append(other);
    EXPECT_TRUE(empty == other);
    EXPECT_EQ(other.size(), 2);
}
