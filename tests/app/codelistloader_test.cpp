// The code list is read on a worker thread after the window is built and arrives in parts: the list must end up
// with every code in table order and the record count, a search made before its entry has arrived must still find
// and select it, a table found damaged on the way must be reported, and closing the window mid-load must be safe.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <memory>

#include "app/codecompletion.h"
#include "app/codelistloader.h"
#include "app/form1.h"
#include "app/knowledgebase.h"
#include "app/userdata.h"
#include "platform/listbox.h"
#include "tests/app/mainwindow.h"
#include "tests/support/recordingmessagebox.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin::app;
using tervolin::test::CodeList;

namespace {

constexpr int Rows = 3000;  // three parts: 512, 1024 and the rest

// Row i holds code 0x%08X of 0x10000 + i, except that row 2900 repeats row 170's code in lower case; each row's
// analysis names its row.
void createTable(const QString& path)
{
    tervolin::test::createDatabase(
        path,
        "CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT);"
        "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 2999) "
        "INSERT INTO lanping SELECT CASE i WHEN 2900 THEN printf('0x%08x', 65536 + 170) ELSE printf('0x%08X', 65536 + i) END,"
        " 'row ' || i, substr(hex(zeroblob(150)), 1, 300) FROM n;");
}

QString code(int row) { return QStringLiteral("0x") + QStringLiteral("%1").arg(0x10000 + row, 8, 16, QLatin1Char('0')).toUpper(); }

class CodeListLoading : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = tervolin::test::scratchDir();
        path = dir + QStringLiteral("/db1.mdb");
        createTable(path);
    }
    void TearDown() override
    {
        form.reset();
        UserData::setApplicationDirectory({});
    }

    tervolin::test::RecordingMessageBox box;
    std::unique_ptr<Form1> form;
    Form1Controls ui;
    QString dir;
    QString path;
};

}  // namespace

TEST_F(CodeListLoading, EveryCodeArrivesInTableOrderThenTheCountAndTheCompletion)
{
    tervolin::test::openMainWindow(dir, box, form, ui, false, CodeList::Loading);
    // Nothing has been handed over before the event loop runs.
    EXPECT_EQ(ui.List1->ListCount(), 0);
    EXPECT_TRUE(ui.Label8->text().isEmpty());
    EXPECT_EQ(ui.Text1->findChild<CodeCompletion*>(), nullptr);

    ASSERT_TRUE(tervolin::test::waitForCodeList(*form));
    const tervolin::platform::TextList stored = KnowledgeBase::openFile(path)->codes();
    EXPECT_TRUE(ui.List1->items() == stored);
    EXPECT_EQ(ui.List1->ListCount(), Rows);
    EXPECT_EQ(ui.List1->List(2900), QStringLiteral("0x000100aa"));
    EXPECT_EQ(ui.Label8->text(), QStringLiteral("当前数据库共有3000条记录"));
    EXPECT_NE(ui.Text1->findChild<CodeCompletion*>(), nullptr);
    EXPECT_TRUE(box.calls.empty());

    // The first case-blind match across the parts: row 170, not its repeat in the last part.
    ui.List1->setText(QStringLiteral("0X000100aA"));
    EXPECT_EQ(ui.List1->ListIndex(), 170);
    ui.List1->setText(code(2999).toLower());
    EXPECT_EQ(ui.List1->ListIndex(), 2999);
}

TEST_F(CodeListLoading, ASearchBeforeItsEntryArrivesAnswersAtOnceAndSelectsTheEntryWhenItComes)
{
    tervolin::test::openMainWindow(dir, box, form, ui, false, CodeList::Loading);
    ASSERT_EQ(ui.List1->ListCount(), 0);
    ui.Text1->setText(code(2500).toLower());
    form->Search();
    EXPECT_TRUE(box.calls.empty());
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("row 2500"));
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：") + code(2500).toLower());
    EXPECT_EQ(ui.List1->ListIndex(), -1);

    ASSERT_TRUE(tervolin::test::waitForCodeList(*form));
    EXPECT_EQ(ui.List1->ListIndex(), 2500);
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("row 2500"));
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：") + code(2500));

    // A code the table lacks is reported as ever, also while loading.
    form->LoadCodeList();
    ui.Text1->setText(QStringLiteral("0xDEAD"));
    form->Search();
    ASSERT_EQ(box.calls.size(), 1u);
    EXPECT_EQ(box.calls[0].text, QStringLiteral("找不到记录"));
    ASSERT_TRUE(tervolin::test::waitForCodeList(*form));
}

TEST_F(CodeListLoading, ATableFoundDamagedAfterTheWindowShowsIsReportedWithItsFile)
{
    // The first pages (the schema and the first rows, which the start-up check reads) stay intact; the last table
    // pages become garbage, so only reading the whole list meets the damage.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        ASSERT_GT(size, 40 * 4096);
        file.seek(size - 20 * 4096);
        file.write(QByteArray(20 * 4096, '\xA5'));
    }
    const QByteArray before = tervolin::test::fileHash(path);
    tervolin::test::openMainWindow(dir, box, form, ui, true, CodeList::Loading);
    QElapsedTimer timer;
    timer.start();
    while (box.calls.empty() && timer.elapsed() < 60'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    ASSERT_EQ(box.calls.size(), 1u);
    EXPECT_TRUE(box.calls[0].text.startsWith(QStringLiteral("无法读取数据库文件中的代码列表"))) << box.calls[0].text.toStdString();
    EXPECT_TRUE(box.calls[0].text.contains(path)) << box.calls[0].text.toStdString();
    EXPECT_TRUE(box.calls[0].text.contains(QStringLiteral("malformed"))) << box.calls[0].text.toStdString();
    EXPECT_EQ(box.calls[0].icon, tervolin::platform::MessageBoxIcon::Critical);
    EXPECT_FALSE(form->isVisible()) << "the program ends after the report";
    EXPECT_FALSE(form->isCodeListLoaded());
    EXPECT_EQ(tervolin::test::fileHash(path), before);
}

TEST_F(CodeListLoading, ClosingOrReloadingWhileTheListLoadsStopsTheWorker)
{
    const QString big = tervolin::test::scratchDir();
    tervolin::test::createDatabase(big + QStringLiteral("/db1.mdb"),
                                   "CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT);"
                                   "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 199999) "
                                   "INSERT INTO lanping SELECT printf('0x%08X', i), 'f', 'j' FROM n;");
    for (int round = 0; round < 3; ++round) {
        tervolin::test::openMainWindow(big, box, form, ui, true, CodeList::Loading);
        QCoreApplication::processEvents();
        form->LoadCodeList();  // the first load stops for the second
        QCoreApplication::processEvents();
        form.reset();
    }
    tervolin::test::openMainWindow(big, box, form, ui, false);
    EXPECT_EQ(ui.List1->ListCount(), 200'000);
    EXPECT_TRUE(box.calls.empty());
}
