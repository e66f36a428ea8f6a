#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QImage>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "app/form1.h"
#include "app/startup.h"
#include "app/userdata.h"
#include "controls/button/vantlebutton.h"
#include "platform/colour.h"
#include "platform/listbox.h"
#include "tests/app/mainwindow.h"
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
        tervolin::test::openMainWindow(dir, box, form, ui);
    }

    void search(const QString& code)
    {
        ui.Text1->setText(code);
        QTest::mouseClick(ui.Command1, Qt::LeftButton);
    }

    void clickEntry(int row)
    {
        const QRect r = ui.List1->visualRect(ui.List1->model()->index(row, 0));
        QTest::mouseClick(ui.List1->viewport(), Qt::LeftButton, {}, r.center());
    }

    tervolin::test::RecordingMessageBox box;
    std::unique_ptr<Form1> form;
    tervolin::app::Form1Controls ui;
    QString dir;
    QString path;
};

}  // namespace

TEST_F(Form1Test, OpensWithTheCodeListAndTheRecordCount)
{
    EXPECT_TRUE(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form->size(), QSize(627, 421));
    EXPECT_EQ(ui.List1->ListCount(), 6);
    EXPECT_EQ(ui.List1->List(2), QStringLiteral("0x0000007B"));
    EXPECT_EQ(ui.Label8->text(), QStringLiteral("当前数据库共有6条记录"));
    EXPECT_FALSE(ui.Label4->isVisible());
    EXPECT_TRUE(ui.Label7->text().isEmpty());
    EXPECT_EQ(ui.List1->ListIndex(), -1);
    EXPECT_EQ(ui.Command1->Caption(), QStringLiteral("查询"));
    EXPECT_EQ(QApplication::focusWidget(), ui.Text1);
    EXPECT_EQ(form->knowledgeBase().dataControl().ConnectionString(),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + dir + QStringLiteral("/db1.mdb;Persist Security Info=False"));
}

TEST_F(Form1Test, ControlsStandAtTheirTwipPositions)
{
    // Twips to pixels, rounded to the nearest pixel.
    const auto px = [](int twips) { return (twips + 7) / 15; };
    struct Case { QWidget* widget; int left, top, width, height; };
    const Case cases[] = {
        {ui.Text1, 1800, 480, 2175, 375},    {ui.Command1, 4200, 480, 1455, 375}, {ui.List1, 720, 1320, 2415, 4200},
        {ui.Text2, 3720, 1920, 5295, 1575},  {ui.Text3, 3720, 3840, 5295, 1575}, {ui.Label1, 720, 600, 975, 375},
        {ui.Label4, 5760, 600, 3015, 375},   {ui.Label7, 3600, 1320, 4935, 375}, {ui.Label8, 840, 5640, 8295, 375},
        {ui.vantlebutton2, 9000, 0, 375, 375}, {ui.vantlebutton3, 8640, 0, 375, 375}, {ui.Label2, 3600, 1680, 1215, 255},
        {ui.Label3, 3600, 3600, 1335, 375},  {ui.Label5, 480, 75, 3975, 375},   {ui.Label6, 7800, 600, 1095, 255},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.widget->geometry(), QRect(px(c.left), px(c.top), px(c.width), px(c.height))) << c.widget->objectName().toStdString()
                                                                                             << c.widget->metaObject()->className();
    EXPECT_EQ(Form1Layout::shape1Rect(), QRect(0, 0, 625, 27));
    EXPECT_EQ(Form1Layout::shape2Rect(), QRect(0, 0, 626, 416));
    EXPECT_EQ(Form1Layout::image1Rect(), QRect(8, 0, 24, 24));
    EXPECT_EQ(Form1Layout::line1Rect(), QRect(40, 63, 568, 2));
}

TEST_F(Form1Test, EmptySearchShowsTheWarningForGoodAndQueriesNothing)
{
    search(QString());
    EXPECT_TRUE(ui.Label4->isVisible());
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果："));
    EXPECT_TRUE(box.calls.empty());
    EXPECT_EQ(QApplication::focusWidget(), ui.Text1);
    EXPECT_EQ(form->knowledgeBase().dataControl().RecordSource(), QStringLiteral("select * from lanping"));

    search(QStringLiteral("0x0000000A"));
    EXPECT_TRUE(ui.Label4->isVisible());
}

TEST_F(Form1Test, FoundSelectsTheEntryLooksUpOnceAndFillsBothBoxes)
{
    QSignalSpy clicks(ui.List1, &tervolin::platform::ListBox::Click);
    search(QStringLiteral("0x0000007b"));
    EXPECT_TRUE(box.calls.empty());
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(ui.List1->ListIndex(), 1);  // the first of the two equal entries
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("分析 7B\n第二行"));
    EXPECT_EQ(ui.Text2->document()->blockCount(), 2);
    EXPECT_EQ(ui.Text3->toPlainText(), QStringLiteral("解决 7B"));
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：0x0000007B"));

    ui.Text2->setPlainText(QStringLiteral("edited"));
    search(QStringLiteral("0x0000007B"));  // same entry: the selection does not change, Search fills the boxes itself
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("分析 7B\n第二行"));
    EXPECT_EQ(ui.Text3->toPlainText(), QStringLiteral("解决 7B"));
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：0x0000007B"));

    for (const auto& [typed, index, fenxi] : {std::tuple{QStringLiteral("o'brien"), 3, QStringLiteral("apostrophe")},
                                              std::tuple{QStringLiteral("蓝屏"), 5, QStringLiteral("中文代码")},
                                              std::tuple{QStringLiteral("nullfields"), 4, QString()}}) {
        search(typed);
        EXPECT_EQ(ui.List1->ListIndex(), index) << typed.toStdString();
        EXPECT_EQ(ui.Text2->toPlainText(), fenxi) << typed.toStdString();
    }
    EXPECT_TRUE(box.calls.empty());
}

TEST_F(Form1Test, NotFoundReportsAndSelectsTheInputButKeepsTheBoxesAndSelection)
{
    search(QStringLiteral("0x0000000A"));
    QString labelWhileOpen;
    box.whileOpen = [&] { labelWhileOpen = ui.Label7->text(); };
    for (const QString& typed : {QStringLiteral("0xDEAD"), QStringLiteral("x' OR '1'='1"), QStringLiteral("0x0000000A "), QStringLiteral("   ")}) {
        box.calls.clear();
        search(typed);
        ASSERT_EQ(box.calls.size(), 1u) << typed.toStdString();
        EXPECT_EQ(box.calls[0].text, QStringLiteral("找不到记录"));
        EXPECT_EQ(box.calls[0].title, QStringLiteral("找不到记录"));
        EXPECT_EQ(box.calls[0].icon, MessageBoxIcon::Critical);
        EXPECT_EQ(labelWhileOpen, QStringLiteral("当前结果：") + typed);
        EXPECT_EQ(ui.Text1->selectedText(), typed);
        EXPECT_EQ(QApplication::focusWidget(), ui.Text1);
        EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("分析 0A"));
        EXPECT_EQ(ui.Text3->toPlainText(), QStringLiteral("解决 0A"));
        EXPECT_EQ(ui.List1->ListIndex(), 0);
    }
}

TEST_F(Form1Test, ArrowKeysAndClicksInTheListLookUpEachEntry)
{
    ui.List1->setFocus();
    QTest::keyClick(ui.List1, Qt::Key_Down);
    EXPECT_EQ(ui.List1->ListIndex(), 0);
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("分析 0A"));
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：0x0000000A"));
    QTest::keyClick(ui.List1, Qt::Key_Down);
    QTest::keyClick(ui.List1, Qt::Key_Down);
    EXPECT_EQ(ui.List1->ListIndex(), 2);
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("分析 7B\n第二行"));  // the first row of the code, as the query returns it
    QTest::keyClick(ui.List1, Qt::Key_Up);
    EXPECT_EQ(ui.List1->ListIndex(), 1);

    clickEntry(4);
    EXPECT_EQ(ui.List1->ListIndex(), 4);
    EXPECT_EQ(ui.Text2->toPlainText(), QString());
    EXPECT_EQ(ui.Text3->toPlainText(), QString());
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：nullfields"));
    EXPECT_TRUE(box.calls.empty());
}

TEST_F(Form1Test, EnterInTheInputBoxDoesNothing)
{
    ui.Text1->setText(QStringLiteral("0x0000000A"));
    QTest::keyClick(ui.Text1, Qt::Key_Return);
    QTest::keyClick(ui.Text1, Qt::Key_Enter);
    EXPECT_TRUE(ui.Label7->text().isEmpty());
    EXPECT_TRUE(ui.Text2->toPlainText().isEmpty());
    EXPECT_TRUE(box.calls.empty());
}

TEST_F(Form1Test, EmptyTableCountsZeroAndFindsNothing)
{
    open({});
    EXPECT_EQ(ui.Label8->text(), QStringLiteral("当前数据库共有0条记录"));
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
    ui.List1->setFocus();
    for (int i = 0; i < 6; ++i)
        QTest::keyClick(ui.List1, Qt::Key_Down);
    form.reset();
    EXPECT_EQ(tervolin::test::fileHash(path), before);
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden), filesBefore);
}

// A user's Access db1.mdb: the same window, read-only through the Jet engine.
TEST_F(Form1Test, AJetDatabaseOpensCountsAndAnswersSearches)
{
    form.reset();
    dir = tervolin::test::scratchDir();
    path = dir + QStringLiteral("/db1.mdb");
    ASSERT_TRUE(QFile::copy(tervolin::test::jetFixture("lanping_sample.mdb"), path));
    const QByteArray before = tervolin::test::fileHash(path);
    tervolin::test::openMainWindow(dir, box, form, ui);

    EXPECT_EQ(ui.Label8->text(), QStringLiteral("当前数据库共有14条记录"));
    EXPECT_EQ(ui.List1->ListCount(), 14);
    search(QStringLiteral("0x0000007b"));
    EXPECT_EQ(ui.List1->ListIndex(), 0);
    EXPECT_TRUE(ui.Text2->toPlainText().startsWith(QStringLiteral("启动设备不可访问")));
    EXPECT_EQ(ui.Text2->document()->blockCount(), 2);
    search(QStringLiteral("o'brien"));
    EXPECT_EQ(ui.List1->ListIndex(), 5);
    EXPECT_EQ(ui.Text3->toPlainText(), QStringLiteral("撇号代码的解决方法。"));
    search(QStringLiteral("NULLBOTH"));
    EXPECT_EQ(ui.Text2->toPlainText(), QString());
    EXPECT_TRUE(box.calls.empty());
    search(QStringLiteral("0x00000050"));
    EXPECT_EQ(box.calls.size(), 1u);
    EXPECT_EQ(tervolin::test::fileHash(path), before);
}

// A Chinese Access 97 db1.mdb: its texts are stored in the file's own code page (GBK) and show in Chinese.
TEST_F(Form1Test, AChineseAccess97DatabaseShowsItsTextsInChinese)
{
    form.reset();
    dir = tervolin::test::scratchDir();
    path = dir + QStringLiteral("/db1.mdb");
    ASSERT_TRUE(QFile::copy(tervolin::test::jetFixture("lanping_jet3_gbk.mdb"), path));
    tervolin::test::openMainWindow(dir, box, form, ui);

    ASSERT_EQ(ui.List1->ListCount(), 4);
    EXPECT_EQ(ui.List1->List(1), QStringLiteral("蓝屏"));
    search(QStringLiteral("蓝屏"));
    EXPECT_EQ(ui.List1->ListIndex(), 1);
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("GBK 独有的字：镕、喆、堃。"));
    search(QStringLiteral("0x000000d1"));
    EXPECT_TRUE(ui.Text2->toPlainText().startsWith(QStringLiteral("驱动程序在过高的中断请求级别")));  // a long value
    EXPECT_TRUE(box.calls.empty());
}

// --- The window itself: look, stored button properties, tab order, hover, dragging, caption-strip buttons --------

namespace {

QColor pixelOf(const QImage& image, int x, int y) { return image.pixelColor(x, y); }
QColor colour(tervolin::platform::ColorRef c) { return tervolin::platform::toQColor(tervolin::platform::translateColour(c)); }

const QColor Background(239, 244, 252);
const QColor Strip(173, 193, 220);

}  // namespace

TEST_F(Form1Test, PaintsTheStripOutlineSeparatorAndIconBelowTheControls)
{
    const QImage image = form->grab().toImage();
    ASSERT_EQ(image.size(), QSize(627, 421));
    struct Case { int x, y; QColor expected; const char* what; };
    const Case cases[] = {
        {450, 13, Strip, "caption strip"},        {450, 26, Strip, "last strip row"},      {450, 27, Background, "below the strip"},
        {0, 200, Strip, "outline left"},          {625, 200, Strip, "outline right"},      {300, 415, Strip, "outline bottom"},
        {626, 200, Background, "right of outline"}, {300, 416, Background, "below outline"}, {1, 200, Background, "inside outline"},
        {300, 63, colour(tervolin::platform::systemColour(10)), "separator row 1"},
        {300, 64, colour(tervolin::platform::systemColour(10)), "separator row 2"},
        {300, 62, Background, "above separator"}, {300, 65, Background, "below separator"},
        {39, 64, Background, "before separator"}, {608, 64, Background, "after separator"},
        {10, 200, Background, "bare background"},
        {100, 330, colour(tervolin::platform::systemColour(5)), "list box"},
        {300, 150, colour(tervolin::platform::systemColour(5)), "analysis box"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pixelOf(image, c.x, c.y), c.expected) << c.what << " at " << c.x << "," << c.y;

    // The icon, scaled to 24 x 24, covers part of the strip.
    int iconPixels = 0;
    for (int y = 0; y < 24; ++y)
        for (int x = 8; x < 32; ++x)
            iconPixels += pixelOf(image, x, y) != Strip ? 1 : 0;
    EXPECT_GT(iconPixels, 24 * 24 / 4);
    EXPECT_FALSE(form->windowIcon().isNull());
}

TEST_F(Form1Test, ButtonsTakeStyleBackColourAndFontFromTheFormDescription)
{
    using tervolin::controls::vantlebutton;
    struct Case { vantlebutton* button; std::int32_t style; tervolin::platform::ColorRef back; const char* caption; };
    const Case cases[] = {
        {ui.vantlebutton2, 14, 0xD0D0D0, "X"},
        {ui.vantlebutton3, 14, 0xD0D0D0, "--"},
        {ui.Command1, 4, 0xE3E3E3, "查询"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button->objectName().toStdString());
        EXPECT_EQ(tervolin::controls::numberOf(c.button->ButtonStyle()), c.style);
        EXPECT_EQ(c.button->BackColor(), c.back);
        EXPECT_EQ(c.button->Caption(), QString::fromUtf8(c.caption));
        ASSERT_TRUE(c.button->Font());
        EXPECT_EQ(c.button->Font()->name(), QStringLiteral("宋体"));
        EXPECT_EQ(c.button->Font()->size(), 9.0);
        EXPECT_EQ(c.button->Font()->weight(), 400);
        EXPECT_EQ(c.button->Font()->charset(), 134);
        EXPECT_FALSE(c.button->ShowFocusRect());
        EXPECT_EQ(c.button->Ambient().BackColor, tervolin::platform::rgb(239, 244, 252));
        EXPECT_TRUE(c.button->Ambient().UserMode);
    }
    // The close button lies above the minimise button where they overlap by a pixel.
    EXPECT_EQ(form->childAt(600, 10), ui.vantlebutton2);
}

TEST_F(Form1Test, TabOrderRunsFromTheInputToTheCloseButtonThenTheLink)
{
    const std::vector<QWidget*> order = {ui.Text1, ui.List1, ui.Text2, ui.Text3,
                                         ui.Command1, ui.vantlebutton3, ui.vantlebutton2, ui.Label6,
                                         form->findChild<QWidget*>(QStringLiteral("LabelHistory"))};
    ASSERT_NE(order.back(), nullptr);
    ASSERT_EQ(QApplication::focusWidget(), ui.Text1);
    for (std::size_t i = 1; i <= order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), order[i % order.size()]) << "Tab number " << i;
    }
    for (std::size_t i = order.size(); i > 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), order[i - 1]) << "Shift+Tab number " << i;
    }
}

// What a screen reader is told: every control that takes the focus has a role and a name (the boxes and the list
// by their labels, the buttons by their captions), and the About link is a link that its press action, Enter and
// Space open as a click does.
TEST_F(Form1Test, ScreenReadersSeeARoleAndANameForEveryFocusableControl)
{
    struct Case { QWidget* widget; QAccessible::Role role; QString name; };
    const Case cases[] = {
        {ui.Text1, QAccessible::EditableText, QStringLiteral("输入代码")},
        {ui.List1, QAccessible::List, QStringLiteral("代码列表")},
        {ui.Text2, QAccessible::EditableText, QStringLiteral("问题分析")},
        {ui.Text3, QAccessible::EditableText, QStringLiteral("解决方法")},
        {ui.Command1, QAccessible::Button, QStringLiteral("查询")},
        {ui.vantlebutton3, QAccessible::Button, QStringLiteral("--")},
        {ui.vantlebutton2, QAccessible::Button, QStringLiteral("X")},
        {ui.Label6, QAccessible::Link, QStringLiteral("关于软件")},
        {form->findChild<QWidget*>(QStringLiteral("LabelHistory")), QAccessible::Link, QStringLiteral("崩溃记录")},
    };
    for (const Case& c : cases) {
        ASSERT_NE(c.widget, nullptr) << c.name.toStdString();
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c.widget);
        ASSERT_NE(a, nullptr) << c.widget->objectName().toStdString();
        EXPECT_EQ(a->role(), c.role) << c.widget->objectName().toStdString();
        EXPECT_EQ(a->text(QAccessible::Name), c.name) << c.widget->objectName().toStdString();
        EXPECT_TRUE(a->state().focusable) << c.widget->objectName().toStdString();
        EXPECT_EQ(a->parent()->object(), form.get()) << c.widget->objectName().toStdString();
    }
    // The labels name their boxes for the relations too.
    QAccessibleInterface* text2 = QAccessible::queryAccessibleInterface(ui.Text2);
    const auto labels = text2->relations(QAccessible::Label);
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels.front().first->object(), ui.Label2);

    std::vector<QWidget*> owners;
    form->showAboutWindow = [&](QWidget* owner) { owners.push_back(owner); };
    QAccessibleInterface* link = QAccessible::queryAccessibleInterface(ui.Label6);
    ASSERT_NE(link->actionInterface(), nullptr);
    ASSERT_TRUE(link->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    link->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(owners.size(), 1u);
    ui.Label6->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), ui.Label6);
    EXPECT_TRUE(ui.Label6->font().underline());
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
        QTest::keyClick(ui.Label6, key);
    EXPECT_EQ(owners.size(), 4u);
    QTest::keyClick(ui.Label6, Qt::Key_A);
    QTest::keyClick(ui.Label6, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(owners.size(), 4u);
    ui.Text1->setFocus();
    EXPECT_FALSE(ui.Label6->font().underline());
}

TEST_F(Form1Test, HoverEffectsAreUndoneOnlyByTheBareSurface)
{
    const QColor hoverBack(220, 232, 250);
    const QColor windowBack = colour(tervolin::platform::systemColour(5));
    const QColor linkHover(0, 0, 255);
    const QColor buttonText = colour(tervolin::platform::systemColour(18));
    const auto text1Back = [&] { return ui.Text1->palette().color(QPalette::Base); };
    const auto label6Text = [&] { return ui.Label6->palette().color(QPalette::WindowText); };
    EXPECT_EQ(text1Back(), windowBack);
    EXPECT_EQ(label6Text(), buttonText);

    QTest::mouseMove(ui.Text1, QPoint(20, 10));
    EXPECT_EQ(text1Back(), hoverBack);
    QTest::mouseMove(ui.Label6, QPoint(10, 5));
    EXPECT_EQ(label6Text(), linkHover);
    EXPECT_EQ(text1Back(), hoverBack) << "moving onto another control keeps the effect";

    // Over other controls, the icon, and the light-weight shapes' neighbours that are controls: no reset.
    QTest::mouseMove(ui.List1->viewport(), QPoint(20, 20));
    QTest::mouseMove(ui.Label1, QPoint(5, 5));
    QTest::mouseMove(ui.Command1, QPoint(5, 5));
    QTest::mouseMove(form.get(), Form1Layout::image1Rect().center());
    EXPECT_EQ(text1Back(), hoverBack);
    EXPECT_EQ(label6Text(), linkHover);

    // The bare surface, also where the strip or the separator is painted, undoes both.
    for (const QPoint p : {QPoint(10, 200), QPoint(450, 13), QPoint(300, 64)}) {
        QTest::mouseMove(ui.Text1, QPoint(20, 10));
        QTest::mouseMove(ui.Label6, QPoint(10, 5));
        QTest::mouseMove(form.get(), p);
        EXPECT_EQ(text1Back(), windowBack) << p.x() << "," << p.y();
        EXPECT_EQ(label6Text(), buttonText) << p.x() << "," << p.y();
    }

    // A search also ends the input box's hover colour.
    QTest::mouseMove(ui.Text1, QPoint(30, 10));
    search(QStringLiteral("0x0000000A"));
    EXPECT_EQ(text1Back(), windowBack);
}

TEST_F(Form1Test, OnlyALeftPressOnTheBackgroundOrTheTitleMovesTheWindow)
{
    struct Case { QWidget* target; QPoint at; Qt::MouseButton button; bool moves; const char* what; };
    const Case cases[] = {
        {form.get(), {10, 200}, Qt::LeftButton, true, "background"},
        {form.get(), {450, 13}, Qt::LeftButton, true, "caption strip"},
        {form.get(), {300, 64}, Qt::LeftButton, true, "separator"},
        {ui.Label5, {10, 10}, Qt::LeftButton, true, "title"},
        {form.get(), {10, 200}, Qt::RightButton, false, "background, right button"},
        {form.get(), {10, 200}, Qt::MiddleButton, false, "background, middle button"},
        {ui.Label5, {10, 10}, Qt::RightButton, false, "title, right button"},
        {ui.Label5, {10, 10}, Qt::MiddleButton, false, "title, middle button"},
        {form.get(), Form1Layout::image1Rect().center(), Qt::LeftButton, false, "icon"},
        {ui.Label1, {5, 5}, Qt::LeftButton, false, "Label1"},
        {ui.Label6, {5, 5}, Qt::LeftButton, false, "Label6"},
        {ui.Label8, {5, 5}, Qt::LeftButton, false, "Label8"},
        {ui.Text1, {5, 5}, Qt::LeftButton, false, "Text1"},
        {ui.List1->viewport(), {5, 5}, Qt::LeftButton, false, "List1"},
        {ui.Command1, {5, 5}, Qt::LeftButton, false, "Command1"},
    };
    form->showAboutWindow = [](QWidget*) {};
    for (const Case& c : cases) {
        QSignalSpy requests(form.get(), &Form1::WindowMoveRequested);
        QTest::mousePress(c.target, c.button, {}, c.at);
        QTest::mouseRelease(c.target, c.button, {}, c.at);
        EXPECT_EQ(requests.size(), c.moves ? 1 : 0) << c.what;
    }
}

TEST_F(Form1Test, WithoutTheSystemMoveTheWindowFollowsThePointerUntilRelease)
{
    for (QWidget* handle : {static_cast<QWidget*>(form.get()), static_cast<QWidget*>(ui.Label5)}) {
        const QPoint start = form->pos();
        const QPoint press = handle == form.get() ? QPoint(10, 200) : QPoint(10, 10);
        QSignalSpy requests(form.get(), &Form1::WindowMoveRequested);
        QTest::mousePress(handle, Qt::LeftButton, {}, press);
        ASSERT_EQ(requests.size(), 1);
        if (requests.front().front().toBool())
            GTEST_SKIP() << "this platform moves the window itself";
        QTest::mouseMove(handle, press + QPoint(40, 25));
        EXPECT_EQ(form->pos(), start + QPoint(40, 25));
        QTest::mouseRelease(handle, Qt::LeftButton, {}, press + QPoint(40, 25));
        const QPoint after = form->pos();
        QTest::mouseMove(form.get(), QPoint(200, 300));
        EXPECT_EQ(form->pos(), after) << "released: the window stays";
    }
}

TEST_F(Form1Test, Label6ClickOpensTheAboutWindowOwnedByTheMainWindow)
{
    std::vector<QWidget*> owners;
    form->showAboutWindow = [&](QWidget* owner) { owners.push_back(owner); };
    QTest::mouseClick(ui.Label6, Qt::LeftButton, {}, QPoint(10, 5));
    ASSERT_EQ(owners.size(), 1u);
    EXPECT_EQ(owners.front(), form.get());
    // A press that leaves the link before release is no click; nor is the right button.
    QTest::mousePress(ui.Label6, Qt::LeftButton, {}, QPoint(10, 5));
    QTest::mouseRelease(ui.Label6, Qt::LeftButton, {}, QPoint(200, 5));
    QTest::mouseClick(ui.Label6, Qt::RightButton, {}, QPoint(10, 5));
    EXPECT_EQ(owners.size(), 1u);
}

TEST_F(Form1Test, MinimiseAndCloseButtons)
{
    QTest::mouseClick(ui.vantlebutton3, Qt::LeftButton);
    EXPECT_TRUE(form->windowState().testFlag(Qt::WindowMinimized));
    form->setWindowState(Qt::WindowNoState);
    form->show();
    QTest::mouseClick(ui.vantlebutton2, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Form1Test, SearchRunsOnAPressAndReleaseOfTheRealSearchButton)
{
    ui.Text1->setText(QStringLiteral("0x0000000A"));
    const QPoint centre = ui.Command1->rect().center();
    QTest::mouseMove(ui.Command1, centre);
    QTest::mousePress(ui.Command1, Qt::LeftButton, {}, centre);
    EXPECT_TRUE(ui.Text2->toPlainText().isEmpty()) << "the search runs on release, not on press";
    QTest::mouseRelease(ui.Command1, Qt::LeftButton, {}, centre);
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：0x0000000A"));
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("分析 0A"));
    EXPECT_EQ(ui.List1->text(), QStringLiteral("0x0000000A"));

    // A press that leaves the button before release does not search.
    ui.Text1->setText(QStringLiteral("O'Brien"));
    QTest::mousePress(ui.Command1, Qt::LeftButton, {}, centre);
    QTest::mouseMove(form.get(), QPoint(10, 200));
    QTest::mouseRelease(form.get(), Qt::LeftButton, {}, QPoint(10, 200));
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：0x0000000A"));
}
