// The crash history with the main window, driven by real Qt events: files dropped on the main window, the link
// label, rows selected with the mouse and the keyboard searching in the main window as 查询 does, the details
// pane, cancelling a scan, the Windows partitions, and exports read back.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <QXmlStreamReader>

#include <condition_variable>
#include <mutex>

#include "app/crashhistory.h"
#include "app/crashhistoryexport.h"
#include "app/crashhistoryscan.h"
#include "app/form1history.h"
#include "controls/progressbar/progressbar.h"
#include "tests/app/historysamples.h"
#include "tests/app/mainwindow.h"
#include "tests/crashdump/dumpbuilder.h"
#include "tests/support/qtprinters.h"
#include "tests/support/recordingmessagebox.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin::app;
using tervolin::test::SampleTree;

namespace {

// The codes of the samples with their names (as the bundled base pairs them) and a parameter meaning for 0xD1;
// 0x133 is left out, so that one row is not found.
void writeKnowledge(const QString& path)
{
    tervolin::test::createDatabase(path, R"(
        CREATE TABLE lanping(daima TEXT COLLATE NOCASE, fenxi TEXT, jiejue TEXT);
        INSERT INTO lanping VALUES
          ('0x0000000A', '分析 0A', '解决 0A'), ('IRQL_NOT_LESS_OR_EQUAL', '分析 0A', '解决 0A'),
          ('0x00000050', '分析 50', '解决 50'), ('PAGE_FAULT_IN_NONPAGED_AREA', '分析 50', '解决 50'),
          ('0x0000007E', '分析 7E', '解决 7E'), ('SYSTEM_THREAD_EXCEPTION_NOT_HANDLED', '分析 7E', '解决 7E'),
          ('0x0000009F', '分析 9F', '解决 9F'), ('DRIVER_POWER_STATE_FAILURE', '分析 9F', '解决 9F'),
          ('0x00000141', '分析 141', '解决 141'), ('VIDEO_ENGINE_TIMEOUT_DETECTED', '分析 141', '解决 141'),
          ('0x000000D1', '分析 D1', '解决 D1'), ('DRIVER_IRQL_NOT_LESS_OR_EQUAL', '分析 D1', '解决 D1');
        CREATE TABLE canshu(daima TEXT, xuhao INTEGER, hanyi TEXT);
        INSERT INTO canshu VALUES('0x000000D1', 1, '被访问的内存地址'), ('0x000000D1', 4, '访问内存的指令地址');
        CREATE TABLE canshuzhi(daima TEXT, xuhao INTEGER, zhi TEXT, hanyi TEXT);
        INSERT INTO canshuzhi VALUES('0x000000D1', 2, '0x2', 'IRQL 为 DISPATCH_LEVEL');
    )");
}

// Processes events until `done` holds; fails after a generous bound, which a passing run never comes near.
template <typename Condition>
bool waitFor(Condition done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > 60000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// A minimal RFC 4180 reader: fields, quoted fields with doubled quotes and line breaks, CR LF records.
std::vector<QStringList> parseCsv(const QString& text)
{
    std::vector<QStringList> records(1);
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            records.back() << field;
            field.clear();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            records.back() << field;
            field.clear();
            records.emplace_back();
            ++i;
        } else {
            field += c;
        }
    }
    if (records.back().isEmpty() && field.isEmpty())
        records.pop_back();
    return records;
}

// The header and data cells of the HTML page, read as XML.
std::vector<QStringList> parseHtmlTable(const QByteArray& page, QString* error)
{
    std::vector<QStringList> rows;
    QXmlStreamReader xml(page);
    QString cell;
    bool inCell = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("tr"))
            rows.emplace_back();
        if (xml.isStartElement() && (xml.name() == QLatin1String("td") || xml.name() == QLatin1String("th"))) {
            inCell = true;
            cell.clear();
        } else if (xml.isCharacters() && inCell) {
            cell += xml.text();
        } else if (xml.isEndElement() && (xml.name() == QLatin1String("td") || xml.name() == QLatin1String("th"))) {
            inCell = false;
            rows.back() << cell;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return rows;
}

class CrashHistoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dir = tervolin::test::scratchDir();
        writeKnowledge(dir + QStringLiteral("/db1.mdb"));
        samples = tervolin::test::writeSampleTree(tervolin::test::scratchDir());
        tervolin::test::openMainWindow(dir, box, form, ui);
    }
    void TearDown() override
    {
        form.reset();
        UserData::setApplicationDirectory({});
    }

    CrashHistory* history() const { return form->crashHistory().history(); }

    void dropOn(QWidget* target, const QStringList& paths)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        ASSERT_TRUE(enter.isAccepted()) << "the drag was refused by " << target->objectName().toStdString();
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &move);
        EXPECT_TRUE(move.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        EXPECT_TRUE(drop.isAccepted());
    }

    // Opens the whole sample tree by dropping it on the main window and waits for the scan.
    void loadSamples()
    {
        dropOn(form.get(), {samples.windowsFolder, samples.mailFolder});
        ASSERT_NE(history(), nullptr);
        ASSERT_TRUE(waitFor([&] { return !history()->scanning(); }));
        ASSERT_EQ(history()->model().rowCount(), int(samples.dumps.size()));
    }

    QTableView* table() const { return history()->findChild<QTableView*>(QStringLiteral("table")); }
    QTextBrowser* details() const { return history()->findChild<QTextBrowser*>(QStringLiteral("details")); }

    int rowOfFile(const QString& file) const { return history()->model().rowOf(file); }

    void clickRow(int row)
    {
        QTableView* view = table();
        view->scrollTo(view->model()->index(row, 0));
        const QRect r = view->visualRect(view->model()->index(row, 1));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    }

    struct MainState
    {
        QString text1, label7, listEntry, text2, text3;
        friend bool operator==(const MainState&, const MainState&) = default;
    };
    MainState mainState() const
    {
        return {ui.Text1->text(), ui.Label7->text(), ui.List1->text(), ui.Text2->toPlainText(), ui.Text3->toPlainText()};
    }

    tervolin::test::RecordingMessageBox box;
    std::unique_ptr<Form1> form;
    Form1Controls ui;
    QString dir;
    SampleTree samples;
};

}  // namespace

TEST_F(CrashHistoryTest, FilesDroppedOnTheMainWindowAreListedNewestFirst)
{
    loadSamples();
    EXPECT_TRUE(history()->isVisible());
    EXPECT_EQ(history()->windowTitle(), QStringLiteral("崩溃记录"));
    const CrashHistoryModel& model = history()->model();
    for (int c = 0; c < CrashHistoryModel::ColumnCount; ++c)
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), CrashHistoryModel::columnTitle(c));
    EXPECT_EQ(CrashHistoryModel::columnTitle(0), QStringLiteral("崩溃时间"));
    EXPECT_EQ(CrashHistoryModel::columnTitle(3), QStringLiteral("可能相关的驱动"));

    for (std::size_t i = 0; i < samples.dumps.size(); ++i) {
        const tervolin::test::SampleDump& s = samples.dumps[i];
        SCOPED_TRACE(s.path.toStdString());
        const HistoryEntry& e = model.entry(int(i));
        EXPECT_EQ(e.dump.file, s.path);
        EXPECT_EQ(model.data(model.index(int(i), CrashHistoryModel::File)).toString(), s.path);
        if (!s.readable) {
            EXPECT_EQ(model.data(model.index(int(i), CrashHistoryModel::Type)).toString(), QStringLiteral("无法读取"));
            EXPECT_TRUE(model.data(model.index(int(i), CrashHistoryModel::Name)).toString().contains(QStringLiteral("没有写完")));
            continue;
        }
        EXPECT_EQ(model.data(model.index(int(i), CrashHistoryModel::Time)).toString(),
                  s.crashTime.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        EXPECT_EQ(model.data(model.index(int(i), CrashHistoryModel::Code)).toString(), KnowledgeBase::codeKey(s.code));
        EXPECT_EQ(e.searchKey(), s.searchKey);
        EXPECT_TRUE(model.data(model.index(int(i), CrashHistoryModel::Suspect)).toString().startsWith(s.suspect));
    }
    // A few rows in words.
    const int flagged = rowOfFile(samples.withCode(0x1000007E).path);  // 0x1000007E, found as 0x7E
    EXPECT_EQ(model.data(model.index(flagged, CrashHistoryModel::Name)).toString(), QStringLiteral("SYSTEM_THREAD_EXCEPTION_NOT_HANDLED"));
    const int live = rowOfFile(samples.windowsFolder + QStringLiteral("/LiveKernelReports/WATCHDOG/WATCHDOG-20240311-1703.dmp"));
    EXPECT_EQ(model.data(model.index(live, CrashHistoryModel::Type)).toString(), QStringLiteral("实时转储（系统未蓝屏）"));
    const int app = rowOfFile(samples.mailFolder + QStringLiteral("/game.exe.1234.dmp"));
    EXPECT_EQ(model.data(model.index(app, CrashHistoryModel::Type)).toString(), QStringLiteral("应用程序崩溃"));
    EXPECT_EQ(model.data(model.index(app, CrashHistoryModel::Name)).toString(), QStringLiteral("game.exe"));
    const int missing = [&] {
        for (int r = 0; r < model.rowCount(); ++r)
            if (model.entry(r).dump.code == 0x133u)
                return r;
        return -1;
    }();
    EXPECT_EQ(model.data(model.index(missing, CrashHistoryModel::Name)).toString(), QStringLiteral("（知识库中没有此代码）"));

    // The progress bar ends full, with what was read; dropping the same files again lists each once.
    auto* bar = history()->findChild<tervolin::controls::ProgressBar*>(QStringLiteral("progress"));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Value(), bar->Max());
    EXPECT_TRUE(bar->Text().startsWith(QStringLiteral("读取完毕"))) << bar->Text().toStdString();
    dropOn(ui.Text1, {samples.mailFolder});
    ASSERT_TRUE(waitFor([&] { return !history()->scanning(); }));
    EXPECT_EQ(model.rowCount(), int(samples.dumps.size()));
    EXPECT_EQ(ui.Text1->text(), QString()) << "a dropped file went into the input box as text";
}

TEST_F(CrashHistoryTest, TextDraggedOverTheInputBoxStaysTheBoxsOwn)
{
    QMimeData data;
    data.setText(QStringLiteral("0x0000007E"));
    QDragEnterEvent enter(ui.Text1->rect().center(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(ui.Text1, &enter);
    EXPECT_TRUE(enter.isAccepted()) << "the input box no longer takes dragged text";
    EXPECT_EQ(form->crashHistory().history(), nullptr);
}

TEST_F(CrashHistoryTest, SelectingARowSearchesItsCodeAsAClickOnQueryDoes)
{
    loadSamples();
    const int flagged = rowOfFile(samples.withCode(0x1000007E).path);  // 0x1000007E: the base has 0x0000007E
    clickRow(flagged);
    EXPECT_EQ(table()->currentIndex().row(), flagged);
    const MainState fromRow = mainState();
    EXPECT_EQ(fromRow.text1, QStringLiteral("0x0000007E"));
    EXPECT_EQ(fromRow.label7, QStringLiteral("当前结果：0x0000007E"));
    EXPECT_EQ(fromRow.listEntry, QStringLiteral("0x0000007E"));
    EXPECT_EQ(fromRow.text2, QStringLiteral("分析 7E"));
    EXPECT_EQ(fromRow.text3, QStringLiteral("解决 7E"));
    EXPECT_TRUE(box.calls.empty());

    // The same as typing the code and clicking 查询, from another state.
    ui.List1->setListIndex(0);
    ui.Text2->clear();
    ui.Text3->clear();
    ui.Text1->setText(QStringLiteral("0x0000007E"));
    QTest::mouseClick(ui.Command1, Qt::LeftButton);
    EXPECT_EQ(mainState(), fromRow);

    // The details: the parameters, the system and the driver found through a parameter, the drivers once read.
    ASSERT_TRUE(waitFor([&] { return !details()->toPlainText().contains(QStringLiteral("正在读取列表")); }));
    const QString shown = details()->toPlainText();
    for (const char* expected : {"0x1000007E", "SYSTEM_THREAD_EXCEPTION_NOT_HANDLED", "按 0x0000007E 查询", "参数 1", "0xFFFFFFFFC0000005",
                                 "含义未知", "19041", "x64", "8 个", "3 小时 17 分", "iaStorAC.sys +0x", "停止代码参数中的代码地址所在的模块",
                                 "已加载的驱动（16 个）", "Netwtw10.sys", "已卸载的驱动（2 个）", "WUDFRd.sys"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(expected))) << expected << "\n" << shown.toStdString();

    // The arrow keys move on, and each row is searched; a parameter with a stored meaning shows it.
    const int d1 = rowOfFile(samples.withCode(0xD1).path);
    table()->setFocus();
    clickRow(d1 + 1);
    QTest::keyClick(table(), Qt::Key_Up);
    EXPECT_EQ(table()->currentIndex().row(), d1);
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("0x000000D1"));
    EXPECT_EQ(ui.Text2->toPlainText(), QStringLiteral("分析 D1"));
    const QString d1Details = details()->toPlainText();
    EXPECT_TRUE(d1Details.contains(QStringLiteral("访问内存的指令地址"))) << d1Details.toStdString();
    EXPECT_TRUE(d1Details.contains(QStringLiteral("IRQL 为 DISPATCH_LEVEL"))) << d1Details.toStdString();
    EXPECT_TRUE(d1Details.contains(QStringLiteral("Netwtw10.sys +0x"))) << d1Details.toStdString();
}

TEST_F(CrashHistoryTest, ACodeNotInTheKnowledgeBaseGetsTheQueryButtonsMessage)
{
    loadSamples();
    const CrashHistoryModel& model = history()->model();
    int row = -1;
    for (int r = 0; r < model.rowCount(); ++r)
        if (model.entry(r).dump.code == 0x133u)
            row = r;
    ASSERT_GE(row, 0);
    clickRow(row);
    ASSERT_EQ(box.calls.size(), 1u);
    EXPECT_EQ(box.calls[0].text, QStringLiteral("找不到记录"));
    EXPECT_EQ(ui.Text1->text(), QStringLiteral("0x00000133"));
    EXPECT_EQ(ui.Text1->selectedText(), QStringLiteral("0x00000133"));
    EXPECT_EQ(ui.Label7->text(), QStringLiteral("当前结果：0x00000133"));

    // Rows without a stop code search nothing and say what they are.
    const QString before = ui.Text1->text();
    clickRow(rowOfFile(samples.mailFolder + QStringLiteral("/game.exe.1234.dmp")));
    EXPECT_TRUE(details()->toPlainText().contains(QStringLiteral("game.exe")));
    clickRow(model.rowCount() - 1);  // the unfinished dump
    EXPECT_TRUE(details()->toPlainText().contains(QStringLiteral("没有写完")));
    EXPECT_EQ(ui.Text1->text(), before);
    EXPECT_EQ(box.calls.size(), 1u);
}

TEST_F(CrashHistoryTest, TheLinkLiesInAFreePartOfTheMainWindowAndOpensTheHistory)
{
    QLabel* link = form->findChild<QLabel*>(QStringLiteral("LabelHistory"), Qt::FindDirectChildrenOnly);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->text(), QStringLiteral("崩溃记录"));
    EXPECT_TRUE(link->isVisible());
    const QRect r = link->geometry();
    EXPECT_TRUE(form->rect().contains(r));
    EXPECT_LE(link->fontMetrics().horizontalAdvance(link->text()), r.width());
    EXPECT_LE(link->fontMetrics().height(), r.height());
    // No other control, shown or hidden, and none of the shapes the window paints, lies under it.
    for (QWidget* other : form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (other != link && !other->isWindow()) {
            EXPECT_FALSE(other->geometry().intersects(r)) << other->objectName().toStdString();
        }
    }
    for (const QRect& shape : {Form1Layout::line1Rect(), Form1Layout::shape1Rect(), Form1Layout::image1Rect()})
        EXPECT_FALSE(shape.intersects(r));

    // The link comes after the window's own controls in the tab order, which stays as it was.
    std::vector<QWidget*> chain{ui.Text1};
    for (QWidget* w = ui.Text1->nextInFocusChain(); w != ui.Text1 && chain.size() < 500; w = w->nextInFocusChain())
        chain.push_back(w);
    const auto position = [&](QWidget* w) { return std::find(chain.begin(), chain.end(), w) - chain.begin(); };
    const QWidget* order[] = {ui.Text1, ui.List1, ui.Text2, ui.Text3, ui.Command1, ui.vantlebutton3, ui.vantlebutton2, link};
    for (std::size_t i = 1; i < std::size(order); ++i)
        EXPECT_LT(position(const_cast<QWidget*>(order[i - 1])), position(const_cast<QWidget*>(order[i]))) << i;
    EXPECT_NE(link->focusPolicy() & Qt::TabFocus, 0);

    // A click opens the history; so does Enter on the focused link, which then brings the same window back.
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_NE(history(), nullptr);
    EXPECT_TRUE(history()->isVisible());
    CrashHistory* opened = history();
    opened->hide();
    link->setFocus();
    QTest::keyClick(link, Qt::Key_Return);
    EXPECT_EQ(history(), opened);
    EXPECT_TRUE(opened->isVisible());
}

TEST_F(CrashHistoryTest, CancelStopsTheScanBetweenFiles)
{
    const QString folder = tervolin::test::scratchDir();
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(tervolin::test::dumps::writeFile(folder + QStringLiteral("/%1.dmp").arg(i, 3, 10, QLatin1Char('0')),
                                                     tervolin::test::dumps::buildKernelDump(tervolin::test::dumps::typicalSmallDump(i, 3)).bytes));
    CrashHistory& h = form->crashHistory().showHistory();
    // The worker waits after its first file until the user has clicked 取消 (or the test ends).
    struct Gate
    {
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
        std::atomic_bool waiting{false};
        void release()
        {
            {
                std::lock_guard lock(mutex);
                open = true;
            }
            opened.notify_all();
        }
        ~Gate() { release(); }
    };
    auto gate = std::make_shared<Gate>();
    h.scan().workerProgressHook = [gate](qint64 done, qint64) {
        if (done != 1)
            return;
        gate->waiting = true;
        std::unique_lock lock(gate->mutex);
        gate->opened.wait(lock, [&] { return gate->open; });
    };
    // Whatever happens below, the worker is let go before the window goes.
    const std::unique_ptr<Gate, void (*)(Gate*)> releaseAtEnd(gate.get(), [](Gate* g) { g->release(); });
    auto* cancel = h.findChild<QPushButton*>(QStringLiteral("cancel"));
    EXPECT_FALSE(cancel->isEnabled());
    h.openPaths({folder});
    ASSERT_TRUE(waitFor([&] { return gate->waiting.load(); }));
    EXPECT_TRUE(cancel->isEnabled());
    QTest::mouseClick(cancel, Qt::LeftButton);
    gate->release();
    ASSERT_TRUE(waitFor([&] { return !h.scanning(); }));
    EXPECT_LE(h.model().rowCount(), 2);
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_TRUE(h.findChild<tervolin::controls::ProgressBar*>(QStringLiteral("progress"))->Text().startsWith(QStringLiteral("已取消")));

    // The next scan reads everything.
    h.scan().workerProgressHook = nullptr;
    h.openPaths({folder});
    ASSERT_TRUE(waitFor([&] { return !h.scanning(); }));
    EXPECT_EQ(h.model().rowCount(), 40);
}

TEST_F(CrashHistoryTest, FindingWindowsPartitionsReadsTheirDumpsOrSaysHowToMountOne)
{
    CrashHistory& h = form->crashHistory().showHistory();
    auto* find = h.findChild<QPushButton*>(QStringLiteral("findWindows"));
    ASSERT_NE(find, nullptr);

    h.listVolumes = [] { return std::vector<MountedVolume>{{QStringLiteral("/"), "ext4"}}; };
    QTest::mouseClick(find, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return !h.scanning(); }));
    EXPECT_EQ(h.model().rowCount(), 0);
    EXPECT_TRUE(details()->toPlainText().contains(QStringLiteral("没有找到已挂载的 Windows 分区")));
    EXPECT_TRUE(details()->toPlainText().contains(QStringLiteral("sudo mount -o ro /dev/sdXN /mnt/windows")));
    EXPECT_TRUE(details()->toPlainText().contains(QStringLiteral("ntfs-3g -o ro")));

    h.listVolumes = [&] { return std::vector<MountedVolume>{{QStringLiteral("/"), "ext4"}, {samples.root, "ntfs3"}}; };
    QTest::mouseClick(find, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return !h.scanning(); }));
    // The installation's dumps, not the mailed ones beside it.
    int expected = 0;
    for (const auto& s : samples.dumps)
        expected += s.path.startsWith(samples.windowsFolder) ? 1 : 0;
    EXPECT_EQ(h.model().rowCount(), expected);
    EXPECT_TRUE(details()->toPlainText().contains(samples.windowsFolder + QStringLiteral("/Minidump")));
    EXPECT_FALSE(details()->toPlainText().contains(QStringLiteral("sudo mount")));
    EXPECT_EQ(h.findChild<QLabel*>(QStringLiteral("status"))->text(), QStringLiteral("找到 1 个 Windows 分区。"));
}

TEST_F(CrashHistoryTest, ExportsReadBackAsTheShownRows)
{
    loadSamples();
    const CrashHistoryModel& model = history()->model();
    const QString out = tervolin::test::scratchDir();
    QString asked;
    history()->chooseSaveFile = [&](const QString& suggested, const QString&) {
        asked = suggested;
        return out + QLatin1Char('/') + suggested;
    };

    QTest::mouseClick(history()->findChild<QPushButton*>(QStringLiteral("exportCsv")), Qt::LeftButton);
    ASSERT_TRUE(asked.endsWith(QStringLiteral(".csv"))) << asked.toStdString();
    QFile csvFile(out + QLatin1Char('/') + asked);
    ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
    const QByteArray csvBytes = csvFile.readAll();
    ASSERT_TRUE(csvBytes.startsWith("\xEF\xBB\xBF"));
    const std::vector<QStringList> records = parseCsv(QString::fromUtf8(csvBytes.mid(3)));
    ASSERT_EQ(records.size(), std::size_t(model.rowCount()) + 1);
    EXPECT_EQ(records[0], crashexport::headings());
    for (int r = 0; r < model.rowCount(); ++r) {
        for (int c = 0; c < CrashHistoryModel::ColumnCount; ++c)
            EXPECT_EQ(records[std::size_t(r) + 1][c], model.data(model.index(r, c)).toString()) << r << ' ' << c;
        EXPECT_EQ(records[std::size_t(r) + 1].size(), 10);
    }
    const int d1 = rowOfFile(samples.withCode(0xD1).path);
    EXPECT_EQ(records[std::size_t(d1) + 1][CrashHistoryModel::ColumnCount + 1], QStringLiteral("0x0000000000000002"));

    QTest::mouseClick(history()->findChild<QPushButton*>(QStringLiteral("exportHtml")), Qt::LeftButton);
    ASSERT_TRUE(asked.endsWith(QStringLiteral(".html"))) << asked.toStdString();
    QFile htmlFile(out + QLatin1Char('/') + asked);
    ASSERT_TRUE(htmlFile.open(QIODevice::ReadOnly));
    const QByteArray page = htmlFile.readAll();
    EXPECT_TRUE(page.contains("<meta charset=\"utf-8\"/>"));
    EXPECT_FALSE(page.contains("src=")) << "the page must not load anything";
    QString error;
    const std::vector<QStringList> table = parseHtmlTable(page, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(table.size(), std::size_t(model.rowCount()) + 1);
    EXPECT_EQ(table[0], crashexport::headings());
    for (int r = 0; r < model.rowCount(); ++r)
        EXPECT_EQ(table[std::size_t(r) + 1], crashexport::fields(model.entry(r))) << r;

    // A place that cannot be written is reported, and nothing else changes.
    history()->chooseSaveFile = [](const QString&, const QString&) { return QStringLiteral("/nonexistent-folder/x.csv"); };
    QTest::mouseClick(history()->findChild<QPushButton*>(QStringLiteral("exportCsv")), Qt::LeftButton);
    EXPECT_TRUE(history()->findChild<QLabel*>(QStringLiteral("status"))->text().startsWith(QStringLiteral("无法写入")));
}

TEST(Form1HistoryArguments, FileNamesAndFileUrlsBecomePaths)
{
    EXPECT_EQ(Form1History::pathsFromArguments({QStringLiteral("/mnt/w/Windows/Minidump"), QStringLiteral("file:///tmp/a%20b.dmp"),
                                                QStringLiteral("relative.dmp"), QString()}),
              (QStringList{QStringLiteral("/mnt/w/Windows/Minidump"), QStringLiteral("/tmp/a b.dmp"), QStringLiteral("relative.dmp")}));
}
