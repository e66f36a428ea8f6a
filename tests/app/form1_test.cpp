#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "app/form1.h"
#include "app/userdata.h"
#include "platform/listbox.h"
#include "tests/support/recordingmessagebox.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin::app;
using tervolin::platform::MessageBoxIcon;
using tervolin::test::LanpingRow;

namespace {

std::vector<LanpingRow> rows()
{
    return {
        {QStringLiteral("0x0000000A"), QStringLiteral("分析 0A"), QStringLiteral("解决 0A")},
        {QStringLiteral("0x0000007B"), QStringLiteral("分析 7B\r\n第二行"), QStringLiteral("解决 7B")},
        {QStringLiteral("0x0000007B"), QStringLiteral("second 7B"), QStringLiteral("second")},
        {QStringLiteral("O'Brien"), QStringLiteral("apostrophe"), QStringLiteral("j")},
        {QStringLiteral("nullfields"), std::nullopt, std::nullopt},
        {QStringLiteral("蓝屏"), QStringLiteral("中文代码"), QStringLiteral("j")},
    };
}

class Form1Test : public ::testing::Test
{
protected:
    void SetUp() override { open(rows()); }
    void TearDown() override
    {
        form.reset();
        UserData::setApplicationDirectory({});
    }

    void open(const std::vector<LanpingRow>& data)
    {
        form.reset();
        dir = tervolin::test::scratchDir();
        path = dir + QStringLiteral("/db1.mdb");
        tervolin::test::createLanping(path, data);
        UserData::setApplicationDirectory(dir);
        form = std::make_unique<Form1>(box);
        form->Form_Load();
        form->showCentred();
        QApplication::setActiveWindow(form.get());
        QApplication::processEvents();
    }

    void search(const QString& code)
    {
        form->Text1->setText(code);
        QTest::mouseClick(form->Command1, Qt::LeftButton);
    }

    void clickEntry(int row)
    {
        const QRect r = form->List1->visualRect(form->List1->model()->index(row, 0));
        QTest::mouseClick(form->List1->viewport(), Qt::LeftButton, {}, r.center());
    }

    tervolin::test::RecordingMessageBox box;
    std::unique_ptr<Form1> form;
    QString dir;
    QString path;
};

}  // namespace

TEST_F(Form1Test, OpensWithTheCodeListAndTheRecordCount)
{
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form->size(), QSize(627, 421));
    EXPECT_EQ(form->List1->ListCount(), 6);
    EXPECT_EQ(form->List1->List(2), QStringLiteral("0x0000007B"));
    EXPECT_EQ(form->Label8->text(), QStringLiteral("当前数据库共有6条记录"));
    EXPECT_FALSE(form->Label4->isVisible());
    EXPECT_TRUE(form->Label7->text().isEmpty());
    EXPECT_EQ(form->List1->ListIndex(), -1);
    EXPECT_EQ(form->Command1->text(), QStringLiteral("查询"));
    EXPECT_EQ(QApplication::focusWidget(), form->Text1);
    EXPECT_EQ(form->Adodc1.ConnectionString(),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + dir + QStringLiteral("/db1.mdb;Persist Security Info=False"));
}

TEST_F(Form1Test, ControlsStandAtTheirTwipPositions)
{
    struct Case { QWidget* widget; int left, top, width, height; };
    const Case cases[] = {
        {form->Text1, 1800, 480, 2175, 375},  {form->Command1, 4200, 480, 1455, 375}, {form->List1, 720, 1320, 2415, 4200},
        {form->Text2, 3720, 1920, 5295, 1575}, {form->Text3, 3720, 3840, 5295, 1575}, {form->Label1, 720, 600, 975, 375},
        {form->Label4, 5760, 600, 3015, 375}, {form->Label7, 3600, 1320, 4935, 375}, {form->Label8, 840, 5640, 8295, 375},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.widget->geometry(), QRect(c.left / 15, c.top / 15, c.width / 15, c.height / 15)) << c.widget->metaObject()->className();
}

TEST_F(Form1Test, EmptySearchShowsTheWarningForGoodAndQueriesNothing)
{
    search(QString());
    EXPECT_TRUE(form->Label4->isVisible());
    EXPECT_EQ(form->Label7->text(), QStringLiteral("当前结果："));
    EXPECT_TRUE(box.calls.empty());
    EXPECT_EQ(QApplication::focusWidget(), form->Text1);
    EXPECT_EQ(form->Adodc1.RecordSource(), QStringLiteral("select * from lanping"));

    search(QStringLiteral("0x0000000A"));
    EXPECT_TRUE(form->Label4->isVisible());
}

TEST_F(Form1Test, FoundSelectsTheEntryLooksUpOnceAndFillsBothBoxes)
{
    QSignalSpy clicks(form->List1, &tervolin::platform::ListBox::Click);
    search(QStringLiteral("0x0000007b"));
    EXPECT_TRUE(box.calls.empty());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(form->List1->ListIndex(), 1);  // the first of the two equal entries
    EXPECT_EQ(form->Text2->toPlainText(), QStringLiteral("分析 7B\n第二行"));
    EXPECT_EQ(form->Text2->document()->blockCount(), 2);
    EXPECT_EQ(form->Text3->toPlainText(), QStringLiteral("解决 7B"));
    EXPECT_EQ(form->Label7->text(), QStringLiteral("当前结果：0x0000007B"));

    search(QStringLiteral("0x0000007B"));  // same entry: the selection does not change
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(form->Text3->toPlainText(), QStringLiteral("解决 7B"));
    EXPECT_EQ(form->Label7->text(), QStringLiteral("当前结果：0x0000007B"));

    for (const auto& [typed, index, fenxi] : {std::tuple{QStringLiteral("o'brien"), 3, QStringLiteral("apostrophe")},
                                              std::tuple{QStringLiteral("蓝屏"), 5, QStringLiteral("中文代码")},
                                              std::tuple{QStringLiteral("nullfields"), 4, QString()}}) {
        search(typed);
        EXPECT_EQ(form->List1->ListIndex(), index) << typed.toStdString();
        EXPECT_EQ(form->Text2->toPlainText(), fenxi) << typed.toStdString();
    }
    EXPECT_TRUE(box.calls.empty());
}

TEST_F(Form1Test, NotFoundReportsAndSelectsTheInputButKeepsTheBoxesAndSelection)
{
    search(QStringLiteral("0x0000000A"));
    QString labelWhileOpen;
    box.whileOpen = [&] { labelWhileOpen = form->Label7->text(); };
    for (const QString& typed : {QStringLiteral("0xDEAD"), QStringLiteral("x' OR '1'='1"), QStringLiteral("0x0000000A "), QStringLiteral("   ")}) {
        box.calls.clear();
        search(typed);
        ASSERT_EQ(box.calls.size(), 1u) << typed.toStdString();
        EXPECT_EQ(box.calls[0].text, QStringLiteral("找不到记录"));
        EXPECT_EQ(box.calls[0].title, QStringLiteral("找不到记录"));
        EXPECT_EQ(box.calls[0].icon, MessageBoxIcon::Critical);
        EXPECT_EQ(labelWhileOpen, QStringLiteral("当前结果：") + typed);
        EXPECT_EQ(form->Text1->selectedText(), typed);
        EXPECT_EQ(QApplication::focusWidget(), form->Text1);
        EXPECT_EQ(form->Text2->toPlainText(), QStringLiteral("分析 0A"));
        EXPECT_EQ(form->Text3->toPlainText(), QStringLiteral("解决 0A"));
        EXPECT_EQ(form->List1->ListIndex(), 0);
    }
}

TEST_F(Form1Test, ArrowKeysAndClicksInTheListLookUpEachEntry)
{
    form->List1->setFocus();
    QTest::keyClick(form->List1, Qt::Key_Down);
    EXPECT_EQ(form->List1->ListIndex(), 0);
    EXPECT_EQ(form->Text2->toPlainText(), QStringLiteral("分析 0A"));
    EXPECT_EQ(form->Label7->text(), QStringLiteral("当前结果：0x0000000A"));
    QTest::keyClick(form->List1, Qt::Key_Down);
    QTest::keyClick(form->List1, Qt::Key_Down);
    EXPECT_EQ(form->List1->ListIndex(), 2);
    EXPECT_EQ(form->Text2->toPlainText(), QStringLiteral("分析 7B\n第二行"));  // the first row of the code, as the query returns it
    QTest::keyClick(form->List1, Qt::Key_Up);
    EXPECT_EQ(form->List1->ListIndex(), 1);

    clickEntry(4);
    EXPECT_EQ(form->List1->ListIndex(), 4);
    EXPECT_EQ(form->Text2->toPlainText(), QString());
    EXPECT_EQ(form->Text3->toPlainText(), QString());
    EXPECT_EQ(form->Label7->text(), QStringLiteral("当前结果：nullfields"));
    EXPECT_TRUE(box.calls.empty());
}

TEST_F(Form1Test, EnterInTheInputBoxDoesNothing)
{
    form->Text1->setText(QStringLiteral("0x0000000A"));
    QTest::keyClick(form->Text1, Qt::Key_Return);
    QTest::keyClick(form->Text1, Qt::Key_Enter);
    EXPECT_TRUE(form->Label7->text().isEmpty());
    EXPECT_TRUE(form->Text2->toPlainText().isEmpty());
    EXPECT_TRUE(box.calls.empty());
}

TEST_F(Form1Test, EmptyTableCountsZeroAndFindsNothing)
{
    open({});
    EXPECT_EQ(form->Label8->text(), QStringLiteral("当前数据库共有0条记录"));
    search(QStringLiteral("0x0000007B"));
    ASSERT_EQ(box.calls.size(), 1u);
    EXPECT_EQ(box.calls[0].text, QStringLiteral("找不到记录"));
}

TEST_F(Form1Test, ASessionOfLookupsLeavesTheDataFileByteIdentical)
{
    const QByteArray before = tervolin::test::fileHash(path);
    const QStringList filesBefore = QDir(dir).entryList(QDir::Files | QDir::Hidden);
    for (const QString& code : {QStringLiteral("0x0000007B"), QStringLiteral("nope"), QStringLiteral("'; drop table lanping; --"), QString()})
        search(code);
    form->List1->setFocus();
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(form->List1, Qt::Key_Down);
    form.reset();
    EXPECT_EQ(tervolin::test::fileHash(path), before);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

// A user's Access db1.mdb: the same window, read-only through the Jet engine.
TEST_F(Form1Test, AJetDatabaseOpensCountsAndAnswersSearches)
{
    TERVOLIN_REQUIRE_SHARED();
    form.reset();
    dir = tervolin::test::scratchDir();
    path = dir + QStringLiteral("/db1.mdb");
    ASSERT_TRUE(QFile::copy(tervolin::test::sharedDir() + QStringLiteral("/fixtures/jet/lanping_sample.mdb"), path));
    const QByteArray before = tervolin::test::fileHash(path);
    UserData::setApplicationDirectory(dir);
    form = std::make_unique<Form1>(box);
    form->Form_Load();
    form->showCentred();
    QApplication::processEvents();

    EXPECT_EQ(form->Label8->text(), QStringLiteral("当前数据库共有14条记录"));
    EXPECT_EQ(form->List1->ListCount(), 14);
    search(QStringLiteral("0x0000007b"));
    EXPECT_EQ(form->List1->ListIndex(), 0);
    EXPECT_TRUE(form->Text2->toPlainText().startsWith(QStringLiteral("启动设备不可访问")));
    EXPECT_EQ(form->Text2->document()->blockCount(), 2);
    search(QStringLiteral("o'brien"));
    EXPECT_EQ(form->List1->ListIndex(), 5);
    EXPECT_EQ(form->Text3->toPlainText(), QStringLiteral("撇号代码的解决方法。"));
    search(QStringLiteral("NULLBOTH"));
    EXPECT_EQ(form->Text2->toPlainText(), QString());
    EXPECT_TRUE(box.calls.empty());
    search(QStringLiteral("0x00000050"));
    EXPECT_EQ(box.calls.size(), 1u);
    EXPECT_EQ(tervolin::test::fileHash(path), before);
}
