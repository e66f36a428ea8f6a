#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>

#include <memory>

#include "app/codecompleter.h"
#include "app/codecompletion.h"
#include "app/form1.h"
#include "app/startup.h"
#include "app/userdata.h"
#include "controls/button/vantlebutton.h"
#include "platform/listbox.h"
#include "tests/app/mainwindow.h"
#include "tests/support/recordingmessagebox.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin::app;

namespace {

// The code list of the db1.mdb that the build writes, in the order the window lists it.
QStringList bundledCodes()
{
    QStringList codes;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(TERVOLIN_BUILT_DB, &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, "SELECT daima FROM lanping", -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW)
                codes << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return codes;
}

const CodeCompleter& bundled()
{
    static const CodeCompleter completer(bundledCodes());
    return completer;
}

QString firstTwo(const QStringList& offers) { return offers.mid(0, 2).join(QLatin1Char(' ')); }

}  // namespace

TEST(CodeCompleter, BundledTableIsIndexed) { ASSERT_GT(bundled().size(), 700) << TERVOLIN_BUILT_DB; }

// Each form a code is copied in from a screen, a log or a person: the stored code first, its other row next.
TEST(CodeCompleter, FormsCopiedFromScreensAndLogsFindTheStoredCode)
{
    struct Case { const char* typed; const char* expected; };
    const Case cases[] = {
        {"7b", "0x0000007B INACCESSIBLE_BOOT_DEVICE"},
        {"7B", "0x0000007B INACCESSIBLE_BOOT_DEVICE"},
        {"0x7B", "0x0000007B INACCESSIBLE_BOOT_DEVICE"},
        {"0X7b", "0x0000007B INACCESSIBLE_BOOT_DEVICE"},
        {"0x0000007b", "0x0000007B INACCESSIBLE_BOOT_DEVICE"},
        {"  0x0000007B  ", "0x0000007B INACCESSIBLE_BOOT_DEVICE"},
        {"0x000000000000007B", "0x0000007B INACCESSIBLE_BOOT_DEVICE"},
        {"STOP: 0x0000007E (0xC0000005, 0x8053B4D4, 0xF78D2524, 0xF78D2220)", "0x0000007E SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"},
        {"*** STOP: 0x0000007E (0xC0000005, …)", "0x0000007E SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"},
        {"stop 0x7e", "0x0000007E SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"},
        {"BCCode: 7e", "0x0000007E SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"},
        {"bccode:7E", "0x0000007E SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"},
        {"BCCode: ef", "0x000000EF CRITICAL_PROCESS_DIED"},
        {"错误代码 0x7B", "0x0000007B INACCESSIBLE_BOOT_DEVICE"},
        {"错误代码：0x7b", "0x0000007B INACCESSIBLE_BOOT_DEVICE"},
        {"The bugcheck was: 0x0000009f (0x0000000000000003, 0xffffc80b5f1c4060)", "0x0000009F DRIVER_POWER_STATE_FAILURE"},
        {"STOP: c000021a {Fatal System Error}", "0xC000021A WINLOGON_FATAL_ERROR"},
        {"0xc000021a", "0xC000021A WINLOGON_FATAL_ERROR"},
        {"Stop code: CRITICAL_PROCESS_DIED", "CRITICAL_PROCESS_DIED 0x000000EF"},
        {"终止代码: CRITICAL_PROCESS_DIED", "CRITICAL_PROCESS_DIED 0x000000EF"},
        {"CRITICAL_PROCESS_DIED What failed: ntfs.sys", "CRITICAL_PROCESS_DIED 0x000000EF"},
        {"critical_process_died", "CRITICAL_PROCESS_DIED 0x000000EF"},
        {"Critical Process Died", "CRITICAL_PROCESS_DIED 0x000000EF"},
        {"criticalprocessdied", "CRITICAL_PROCESS_DIED 0x000000EF"},
        {"inaccessible_b", "INACCESSIBLE_BOOT_DEVICE 0x0000007B"},
        {"irql_not_less", "IRQL_NOT_LESS_OR_EQUAL 0x0000000A"},
        {"process_died", "CRITICAL_PROCESS_DIED 0x000000EF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(firstTwo(bundled().complete(QString::fromUtf8(c.typed))), QString::fromUtf8(c.expected)) << c.typed;
}

TEST(CodeCompleter, PartsOfACodeFindEveryCodeThatHoldsThem)
{
    struct Case { const char* typed; std::vector<const char*> among; };
    const Case cases[] = {
        {"21a", {"0xC000021A", "WINLOGON_FATAL_ERROR"}},
        {"0x21A", {"0xC000021A"}},
        {"irql_not", {"IRQL_NOT_LESS_OR_EQUAL", "DRIVER_IRQL_NOT_LESS_OR_EQUAL", "IRQL_NOT_DISPATCH_LEVEL"}},
        {"Not_Less_Or", {"IRQL_NOT_LESS_OR_EQUAL", "DRIVER_IRQL_NOT_LESS_OR_EQUAL", "0x000000D1"}},
        {"boot device", {"INACCESSIBLE_BOOT_DEVICE"}},
        {"0x0000007", {"0x00000070", "0x0000007B", "0x0000007E", "0x0000007F", "SESSION4_INITIALIZATION_FAILED"}},
    };
    for (const Case& c : cases) {
        const QStringList offers = bundled().complete(QString::fromUtf8(c.typed));
        for (const char* code : c.among)
            EXPECT_TRUE(offers.contains(QString::fromUtf8(code))) << c.typed << " lacks " << code;
    }
    // The padded prefix "0x0000007" means 0x70 to 0x7F, in numeric order, and nothing else among the codes.
    QStringList hex;
    for (const QString& code : bundled().complete(QStringLiteral("0x0000007")))
        if (code.startsWith(QStringLiteral("0x")))
            hex << code;
    ASSERT_FALSE(hex.isEmpty());
    EXPECT_EQ(hex.first(), QStringLiteral("0x00000070"));
    for (const QString& code : hex)
        EXPECT_TRUE(code.startsWith(QStringLiteral("0x0000007"))) << code.toStdString();
    EXPECT_TRUE(std::is_sorted(hex.begin(), hex.end()));
}

// Every code of the table, by each of the forms above: its own row first, its other row second.
TEST(CodeCompleter, EveryBundledCodeIsFoundByItsHexFormsAndItsName)
{
    const QStringList codes = bundledCodes();
    ASSERT_FALSE(codes.isEmpty());
    for (qsizetype i = 0; i + 1 < codes.size(); i += 2) {
        const QString& hex = codes[i];
        const QString& name = codes[i + 1];
        ASSERT_TRUE(hex.startsWith(QStringLiteral("0x"))) << hex.toStdString();
        const QString pair = hex + QLatin1Char(' ') + name;
        const QString bare = QString::number(hex.mid(2).toULongLong(nullptr, 16), 16);
        for (const QString& typed : {hex, hex.toLower(), QStringLiteral("0x") + bare, QStringLiteral("STOP: ") + hex + QStringLiteral(" (0x1, 0x2)"),
                                     QStringLiteral("BCCode: ") + bare})
            EXPECT_EQ(firstTwo(bundled().complete(typed)), pair) << typed.toStdString();
        for (const QString& typed : {name, name.toLower(), QString(name).replace(QLatin1Char('_'), QLatin1Char(' '))})
            EXPECT_EQ(firstTwo(bundled().complete(typed)), name + QLatin1Char(' ') + hex) << typed.toStdString();
    }
}

TEST(CodeCompleter, OffersOnlyStoredCodesEachOnceAndWithinTheLimit)
{
    struct Case { QStringList codes; const char* typed; QStringList expected; };
    const Case cases[] = {
        // A code's two rows pair only where they stand next to each other as hex then name.
        {{"0x0000000A", "NAME_A", "0x0000000B", "NAME_B"}, "0xa", {"0x0000000A", "NAME_A"}},
        {{"0x0000000A", "0x0000000B", "NAME_A", "NAME_B"}, "0xa", {"0x0000000A"}},
        {{"0x0000000A", "0x0000000B", "NAME_A", "NAME_B"}, "name_a", {"NAME_A"}},
        // Duplicates are offered once; short and lower-case stored forms keep their own text.
        {{"0x7B", "0x7B", "0x0000007b"}, "7b", {"0x7B", "0x0000007b"}},
        // The stored text goes into the box as stored, blanks included, so that the exact lookup finds it.
        {{"蓝屏代码1", " 0x7B"}, "0x7b", {" 0x7B"}},
        {{"蓝屏代码1", " 0x7B"}, "屏代码", {"蓝屏代码1"}},
        // A letter-only text that is also hexadecimal offers names before codes.
        {{"0x00000BAD", "BAD_POOL_HEADER"}, "bad", {"BAD_POOL_HEADER", "0x00000BAD"}},
        {{"0x00000BAD", "BAD_POOL_HEADER"}, "BCCode: bad", {"0x00000BAD", "BAD_POOL_HEADER"}},
        // Nothing to offer.
        {{"0x0000007B", "NAME"}, "", {}},
        {{"0x0000007B", "NAME"}, "   ", {}},
        {{"0x0000007B", "NAME"}, "zzzz", {}},
        {{"0x0000007B", "NAME"}, "0x7b0", {}},
        {{"0x0000007B", "NAME"}, "0x00000000000000000007B", {}},
        {{}, "7b", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CodeCompleter(c.codes).complete(QString::fromUtf8(c.typed)), c.expected) << c.typed;

    EXPECT_EQ(bundled().complete(QStringLiteral("0x"), 7).size(), 7);
    EXPECT_TRUE(bundled().complete(QStringLiteral("7b"), 0).isEmpty());
    const QStringList codes = bundledCodes();
    for (const char* typed : {"1", "0x", "e", "_", "ERROR", "驱动"})
        for (const QString& offer : bundled().complete(QString::fromUtf8(typed)))
            EXPECT_TRUE(codes.contains(offer)) << offer.toStdString();
}

namespace {

// A million rows like the bundled table's: 500 000 codes, each a hexadecimal row followed by a name row.
QStringList millionCodes()
{
    static const char* const words[] = {"DRIVER", "POWER", "STATE", "MEMORY", "KERNEL", "THREAD", "EXCEPTION", "PAGE",
                                        "FAULT", "IRQL", "DEVICE", "BOOT", "SYSTEM", "PROCESS", "VIDEO", "TIMEOUT"};
    QStringList codes;
    codes.reserve(1'000'000);
    for (int i = 0; i < 500'000; ++i) {
        QString tag;
        for (int v = i, k = 0; k < 5; ++k, v /= 26)
            tag += QChar(u'A' + v % 26);
        codes << QStringLiteral("0x%1").arg(0x00100000 + i * 3, 8, 16, QLatin1Char('0')).toUpper().replace(QStringLiteral("0X"), QStringLiteral("0x"))
              << QStringLiteral("%1_%2_%3").arg(QLatin1String(words[i % 16]), QLatin1String(words[(i / 16) % 16]), tag);
    }
    return codes;
}

}  // namespace

// A million rows: the same forms find the same rows, and no keystroke walks more than a small part of the table.
TEST(CodeCompleter, MillionRowsAreCompletedFromTheIndexes)
{
    const QStringList codes = millionCodes();
    const CodeCompleter completer(codes);
    ASSERT_EQ(completer.size(), 1'000'000);
    const qsizetype i = 2 * 123'457;  // code 0x0015A6C3, name …_JQAHA
    const QString hex = codes[i];
    const QString name = codes[i + 1];
    ASSERT_EQ(hex, QStringLiteral("0x0015A6C3"));
    struct Case { QString typed; QString first; QString second; };
    const Case cases[] = {
        {QStringLiteral("15a6c3"), hex, name},
        {QStringLiteral("0x15A6C3"), hex, name},
        {QStringLiteral("0x0015a6c3"), hex, name},
        {QStringLiteral("STOP: 0x0015A6C3 (0xC0000005, …)"), hex, name},
        {QStringLiteral("BCCode: 15a6c3"), hex, name},
        {QStringLiteral("错误代码 0x15A6C3"), hex, name},
        {name.toLower(), name, hex},
        {QString(name).replace(QLatin1Char('_'), QLatin1Char(' ')), name, hex},
        {name.mid(name.lastIndexOf(QLatin1Char('_')) - 3).toLower(), name, hex},  // a part inside the name
    };
    for (const Case& c : cases) {
        const QStringList offers = completer.complete(c.typed);
        EXPECT_EQ(firstTwo(offers), c.first + QLatin1Char(' ') + c.second) << c.typed.toStdString();
    }
    // Every keystroke of these inputs: a full list of offers where there are that many, from a bounded walk.
    for (const QString& typed : {QStringLiteral("STOP: 0x0015A6C3 (0xC0000005"), name.toLower(), QStringLiteral("power_state"),
                                 QStringLiteral("qqqqq"), QStringLiteral("0x00000000")}) {
        for (qsizetype n = 1; n <= typed.size(); ++n) {
            const QStringList offers = completer.complete(typed.left(n));
            EXPECT_LE(offers.size(), CodeCompleter::DefaultLimit);
            EXPECT_LT(completer.lastExamined(), 20'000u) << typed.left(n).toStdString();
        }
    }
    EXPECT_EQ(completer.complete(QStringLiteral("power_state")).size(), CodeCompleter::DefaultLimit);
    EXPECT_TRUE(completer.complete(QStringLiteral("0x00000000")).isEmpty());
}

// The box: typing offers completions, choosing one fills the box, and only the search button looks a code up.
class CodeCompletionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString dir = tervolin::test::scratchDir();
        tervolin::test::createLanping(dir + QStringLiteral("/db1.mdb"),
                                      {{QStringLiteral("0x0000007B"), QStringLiteral("分析 7B"), QStringLiteral("解决 7B")},
                                       {QStringLiteral("INACCESSIBLE_BOOT_DEVICE"), QStringLiteral("分析 7B"), QStringLiteral("解决 7B")},
                                       {QStringLiteral("0x0000007E"), QStringLiteral("分析 7E"), QStringLiteral("解决 7E")},
                                       {QStringLiteral("SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"), QStringLiteral("分析 7E"), QStringLiteral("解决 7E")}});
        tervolin::test::openMainWindow(dir, box, form, ui);
        completion = ui.Text1->findChild<CodeCompletion*>();
        ASSERT_NE(completion, nullptr);
        // The index is built on a worker thread; the tests type as a user who waits for it. (Events are processed
        // without an event loop of their own: an earlier test's closed windows may have posted a quit.)
        QElapsedTimer timer;
        timer.start();
        while (!completion->isReady() && timer.elapsed() < 60'000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_TRUE(completion->isReady());
    }
    void TearDown() override
    {
        form.reset();
        UserData::setApplicationDirectory({});
    }

    QStringList shown() const
    {
        QStringList rows;
        const QAbstractItemModel* model = completion->popup()->model();
        for (int r = 0; r < model->rowCount(); ++r)
            rows << model->index(r, 0).data().toString();
        return rows;
    }

    tervolin::test::RecordingMessageBox box;
    std::unique_ptr<Form1> form;
    tervolin::app::Form1Controls ui;
    CodeCompletion* completion = nullptr;
};

TEST_F(CodeCompletionTest, ChoosingAnOfferFillsTheBoxWithoutSearching)
{
    ASSERT_NE(completion, nullptr);
    EXPECT_EQ(completion->model().size(), 4);
    QTest::keyClicks(ui.Text1, QStringLiteral("stop: 0x7e"));
    QAbstractItemView* popup = completion->popup();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("0x0000007E"), QStringLiteral("SYSTEM_THREAD_EXCEPTION_NOT_HANDLED")}));

    QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, popup->visualRect(popup->model()->index(1, 0)).center());
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"));
    EXPECT_FALSE(popup->isVisible());
    EXPECT_TRUE(ui.Label7->text().isEmpty());
    EXPECT_TRUE(ui.Text2->toPlainText().isEmpty());
    EXPECT_EQ(ui.List1->ListIndex(), -1);

    QTest::mouseClick(ui.Command1, Qt::LeftButton);
    EXPECT_TRUE(box.calls.empty());
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("分析 7E"));
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"));
}

TEST_F(CodeCompletionTest, KeyboardChoiceAndEmptyInput)
{
    QTest::keyClicks(ui.Text1, QStringLiteral("boot"));
    QAbstractItemView* popup = completion->popup();
    ASSERT_TRUE(popup->isVisible());
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("INACCESSIBLE_BOOT_DEVICE"), QStringLiteral("0x0000007B")}));
    // The box keeps the keyboard: the arrows move through the offers, Enter takes one.
    QTest::keyClick(ui.Text1, Qt::Key_Down);
    QTest::keyClick(ui.Text1, Qt::Key_Down);
    QTest::keyClick(ui.Text1, Qt::Key_Return);
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("0x0000007B"));
    EXPECT_TRUE(ui.Label7->text().isEmpty());

    ui.Text1->clear();
    QTest::keyClicks(ui.Text1, QStringLiteral("zz"));
    EXPECT_FALSE(popup->isVisible());

    // A second load replaces the list and the completion rather than stacking them.
    form->LoadCodeList();
    ASSERT_TRUE(tervolin::test::waitForCodeList(*form));
    EXPECT_EQ(ui.Text1->findChildren<CodeCompletion*>().size(), 1);
    EXPECT_EQ(ui.List1->ListCount(), 4);
}

// Typing a code and clicking the search button is one search: the click closes the offers and reaches the button.
// The same holds for any other control; the keyboard closes the offers with Escape and moves on with Tab.
TEST_F(CodeCompletionTest, OneClickElsewhereClosesTheOffersAndReachesWhatWasClicked)
{
    const auto typeOffered = [&](const QString& text) {
        ui.Text1->setFocus();
        ui.Text1->clear();
        QTest::keyClicks(ui.Text1, text);
        ASSERT_TRUE(completion->popup()->isVisible()) << text.toStdString();
    };
    QSignalSpy searches(ui.Command1, &tervolin::controls::vantlebutton::Click);
    QSignalSpy listClicks(ui.List1, &tervolin::platform::ListBox::Click);

    typeOffered(QStringLiteral("0x0000007b"));
    QTest::mouseClick(ui.Command1, Qt::LeftButton, {}, ui.Command1->rect().center());
    EXPECT_FALSE(completion->popup()->isVisible());
    EXPECT_EQ(searches.count(), 1);
    EXPECT_TRUE(box.calls.empty());
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：0x0000007B"));
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("分析 7B"));
    EXPECT_EQ(ui.List1->ListIndex(), 0);
    EXPECT_EQ(listClicks.count(), 1);

    typeOffered(QStringLiteral("0x7e"));
    const QRect entry = ui.List1->visualRect(ui.List1->model()->index(3, 0));
    QTest::mouseClick(ui.List1->viewport(), Qt::LeftButton, {}, entry.center());
    EXPECT_FALSE(completion->popup()->isVisible());
    EXPECT_EQ(ui.List1->ListIndex(), 3);
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"));
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("0x7e"));  // a click elsewhere chooses nothing
    EXPECT_EQ(searches.count(), 1);

    typeOffered(QStringLiteral("0x7e"));
    QTest::keyClick(ui.Text1, Qt::Key_Escape);
    EXPECT_FALSE(completion->popup()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), ui.Text1);

    typeOffered(QStringLiteral("0x7e"));
    QTest::keyClick(ui.Text1, Qt::Key_Tab);
    EXPECT_FALSE(completion->popup()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), ui.List1);
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("0x7e"));
    EXPECT_EQ(searches.count(), 1);
    EXPECT_TRUE(box.calls.empty());
}

// The index is built on a worker thread: a box closed (or a list reloaded) while it is still being built must wait
// for the worker, which reads the codes, and what is typed before the index is ready is answered once it is.
TEST(CodeCompletionIndexing, BoxGoneOrTypedIntoWhileTheIndexIsStillBeingBuilt)
{
    QStringList codes;
    for (int i = 0; i < 200'000; ++i)
        codes << QStringLiteral("0x%1").arg(0x00100000 + i, 8, 16, QLatin1Char('0'));
    {
        auto box = std::make_unique<QLineEdit>();
        CodeCompletion::attach(box.get(), codes);
        CodeCompletion::attach(box.get(), codes);  // replaces the first while it is being built
        box.reset();
    }
    QLineEdit box;
    box.show();
    QApplication::setActiveWindow(&box);
    box.setFocus();
    CodeCompletion* completion = CodeCompletion::attach(&box, codes);
    codes.clear();  // the window's own list may change; the index keeps the codes it was given
    QTest::keyClicks(&box, QStringLiteral("0x0011"));
    QElapsedTimer timer;
    timer.start();
    while (!completion->popup()->isVisible() && timer.elapsed() < 60'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_TRUE(completion->isReady());
    EXPECT_TRUE(completion->popup()->isVisible()) << "the text typed early was not answered";
    EXPECT_EQ(completion->popup()->model()->index(0, 0).data().toString(), QStringLiteral("0x00110000"));
    EXPECT_EQ(completion->model().size(), 200'000);
    EXPECT_EQ(completion->model().complete(QStringLiteral("0x00100001"), 1), QStringList{QStringLiteral("0x00100001")});
}
