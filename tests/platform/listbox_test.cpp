#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include "platform/listbox.h"

using tervolin::platform::ListBox;

TEST(ListBox, SettingTheTextSelectsTheFirstCaseBlindExactMatchAndClicksOncePerChange)
{
    ListBox list;
    list.AddItems({QStringLiteral("0x0000007B"), QStringLiteral("abc"), QStringLiteral("ABC"), QStringLiteral("abcd")});
    list.AddItem(QStringLiteral("蓝屏"));
    QSignalSpy clicks(&list, &ListBox::Click);
    struct Case { const char* text; int index; int clicks; };
    const Case cases[] = {
        {"0x0000007b", 0, 1}, {"ABC", 1, 2}, {"abc", 1, 2},  // already selected: no Click
        {"ab", 1, 2},                                      // no exact match: nothing changes
        {"abcd", 3, 3}, {"蓝屏", 4, 4}, {"", 4, 4},
    };
    for (const Case& c : cases) {
        list.setText(QString::fromUtf8(c.text));
        EXPECT_EQ(list.ListIndex(), c.index) << c.text;
        EXPECT_EQ(clicks.count(), c.clicks) << c.text;
    }
    EXPECT_EQ(list.text(), QStringLiteral("蓝屏"));
    list.setListIndex(-1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.text(), QString());
    EXPECT_EQ(clicks.count(), 4);
}

TEST(ListBox, KeyboardMovesTheSelectionAndClicksForEachEntry)
{
    ListBox list;
    list.AddItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    QSignalSpy clicks(&list, &ListBox::Click);
    list.show();
    QApplication::setActiveWindow(&list);
    list.setFocus();
    EXPECT_EQ(list.ListIndex(), -1);  // taking the focus selects nothing
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_Down);
    QTest::keyClick(&list, Qt::Key_End);
    QTest::keyClick(&list, Qt::Key_Down);  // at the end: no change
    EXPECT_EQ(list.ListIndex(), 2);
    EXPECT_EQ(clicks.count(), 3);
}

TEST(ListBox, AHundredThousandEntriesGoInAtOnce)
{
    QStringList items;
    for (int i = 0; i < 100000; ++i)
        items << QStringLiteral("0x%1").arg(i, 8, 16, QLatin1Char('0'));
    ListBox list;
    list.AddItems(items);
    EXPECT_EQ(list.ListCount(), 100000);
    list.setText(QStringLiteral("0X0001869F"));
    EXPECT_EQ(list.ListIndex(), 99999);
}

// The case-blind match goes through an index of folded entries; letters beyond ASCII and beyond the 16-bit range
// must fold the same way as in a plain comparison, and entries added after a search must be found.
TEST(ListBox, CaseBlindMatchFoldsEveryLetterAndSeesEntriesAddedLater)
{
    ListBox list;
    list.AddItems({QStringLiteral("STRASSE"), QStringLiteral("ΣΊΣΥΦΟΣ"), QString::fromUtf8("\xF0\x90\x90\x80" "X"),  // Deseret 𐐀
                   QStringLiteral("\u212A1"), QStringLiteral("😀")});                                           // Kelvin sign
    struct Case { QString text; int index; };
    const Case cases[] = {
        {QStringLiteral("strasse"), 0},
        {QStringLiteral("σίσυφοσ"), 1},
        {QStringLiteral("σίσυφος"), 1},  // final sigma folds to σ
        {QString::fromUtf8("\xF0\x90\x90\xA8" "x"), 2},
        {QStringLiteral("k1"), 3},
        {QStringLiteral("😀"), 4},
        {QStringLiteral("straße"), 4},   // not equal under simple folding: the selection stays
    };
    for (const Case& c : cases) {
        list.setText(c.text);
        EXPECT_EQ(list.ListIndex(), c.index) << c.text.toStdString();
    }
    list.AddItem(QStringLiteral("later"));
    list.setText(QStringLiteral("LATER"));
    EXPECT_EQ(list.ListIndex(), 5);
}

// A long list filled in parts, each with its index built beforehand (as a worker builds it): the first match in
// table order wins across parts, parts added without an index are indexed on demand, and the entries are kept in
// order.
TEST(ListBox, PartsWithTheirOwnIndexesFindTheFirstMatchInListOrder)
{
    using tervolin::platform::CaseBlindIndex;
    using tervolin::platform::TextList;
    const TextList first(QStringList{QStringLiteral("a"), QStringLiteral("dup"), QStringLiteral("b")});
    const TextList second(QStringList{QStringLiteral("DUP"), QStringLiteral("c")});
    ListBox list;
    list.AddItems(first, CaseBlindIndex::build(first));
    list.AddItems(second, CaseBlindIndex::build(second));
    list.AddItem(QStringLiteral("d"));
    list.AddItems(QStringList{QStringLiteral("Dup"), QStringLiteral("e")});  // joins the unindexed part before it
    EXPECT_EQ(list.ListCount(), 8);
    EXPECT_EQ(list.items().toStringList(), (QStringList{"a", "dup", "b", "DUP", "c", "d", "Dup", "e"}));
    struct Case { const char* text; int index; };
    for (const Case& c : {Case{"dUp", 1}, Case{"C", 4}, Case{"D", 5}, Case{"e", 7}, Case{"A", 0}, Case{"x", 0}}) {
        list.setText(QString::fromUtf8(c.text));
        EXPECT_EQ(list.ListIndex(), c.index) << c.text;
    }
}

// While the list is loading, a text whose entry has not come yet is selected when it comes (with one Click), unless
// the selection changes before or the list is complete without it.
TEST(ListBox, AwaitedTextIsSelectedWhenItsEntryArrives)
{
    ListBox list;
    QSignalSpy clicks(&list, &ListBox::Click);
    list.setLoading(true);
    list.AddItems(QStringList{QStringLiteral("a"), QStringLiteral("b")});
    list.setText(QStringLiteral("LATE"));
    EXPECT_EQ(list.ListIndex(), -1);
    list.AddItems(QStringList{QStringLiteral("c")});
    EXPECT_EQ(list.ListIndex(), -1);
    list.AddItems(QStringList{QStringLiteral("d"), QStringLiteral("late"), QStringLiteral("Late")});
    EXPECT_EQ(list.ListIndex(), 4);
    EXPECT_EQ(clicks.count(), 1);

    // Another choice before the entry comes wins.
    list.setText(QStringLiteral("later"));
    list.setListIndex(0);
    list.AddItems(QStringList{QStringLiteral("later")});
    EXPECT_EQ(list.ListIndex(), 0);
    EXPECT_EQ(clicks.count(), 2);

    // A listed text is selected at once; a complete list stops waiting.
    list.setText(QStringLiteral("b"));
    EXPECT_EQ(list.ListIndex(), 1);
    list.setText(QStringLiteral("never"));
    list.setLoading(false);
    list.AddItems(QStringList{QStringLiteral("never")});
    EXPECT_EQ(list.ListIndex(), 1);
    EXPECT_EQ(clicks.count(), 3);

    // Without loading, a missing text is not awaited.
    list.setText(QStringLiteral("absent"));
    list.AddItems(QStringList{QStringLiteral("absent")});
    EXPECT_EQ(list.ListIndex(), 1);
}
