// The main window on tables of growing size, each figure next to a plain baseline of the same run:
//   FirstPaint/EmptyWindow, FirstPaint/Form1/<rows>   constructing a window to its first paint;
//   LookupBaseline/<rows>, Lookup/<rows>               one indexed query against the window's Search;
//   SearchBaseline/<rows>                              that query with its two texts set into two plain text
//                                                      boxes of the window's size: the floor of a Search;
//   FirstSearch/<rows>                                 the first Search after a load, against Lookup;
//   LookupDataControl/<rows>                           Search's part through the data control alone;
//   FillTextBoxes/bundled                              Search's part in the text boxes alone;
//   ListBaseline/<rows>, LoadCodeList/<rows>           reading every daima against filling List1.
// Generated tables live in a temporary folder; the peak resident size is reported with LoadCodeList.

#include "bench/lookup_bench.h"
#include "bench/benchtables.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <map>
#include <memory>

#include "app/codecompletion.h"
#include "app/form1.h"
#include "app/startup.h"
#include "app/knowledgebase.h"
#include "app/userdata.h"
#include "platform/listbox.h"
#include "platform/messagebox.h"

namespace {

using tervolin::app::Form1;
namespace UserData = tervolin::app::UserData;

constexpr int BundledRows = 0;  // stands for the bundled table in the size arguments

class SilentMessageBox final : public tervolin::platform::MessageBoxService
{
public:
    void show(QWidget*, const QString&, const QString&, tervolin::platform::MessageBoxIcon) override {}
};

SilentMessageBox& messageBox()
{
    static SilentMessageBox box;
    return box;
}

QString codeOf(int row) { return tervolin::bench::generatedCode(row); }

// A folder holding db1.mdb with `rows` rows shaped like the bundled table's, made once per run.
QString tableFolder(int rows)
{
    if (rows == BundledRows)
        return QFileInfo(QStringLiteral(TERVOLIN_BUILT_DB)).absolutePath();
    static QTemporaryDir root;
    static std::map<int, QString> made;
    if (auto it = made.find(rows); it != made.end())
        return it->second;
    const QString folder = root.path() + QStringLiteral("/rows-%1").arg(rows);
    QDir().mkpath(folder);
    tervolin::bench::writeGeneratedTable(folder + QStringLiteral("/db1.mdb"), rows);
    made[rows] = folder;
    return folder;
}

// Codes spread over the table, so that consecutive lookups change the list's selection as a user's would.
std::vector<QString> probeCodes(int rows)
{
    std::vector<QString> codes;
    for (int k = 1; k <= 16; ++k)
        codes.push_back(codeOf(static_cast<int>(static_cast<long long>(rows) * k / 17)));
    return codes;
}

// Processes events until `widget` has been painted once; false when that does not happen within 30 s.
bool waitForFirstPaint(QWidget& widget)
{
    struct Watch : QObject
    {
        bool painted = false;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                painted = true;
            return false;
        }
    } watch;
    widget.installEventFilter(&watch);
    widget.show();
    QElapsedTimer timer;
    timer.start();
    while (!watch.painted && timer.elapsed() < 30'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    widget.removeEventFilter(&watch);
    return watch.painted;
}

// Closing and destroying a window is not part of its start; both window benchmarks do it untimed.
void FirstPaintEmptyWindow(benchmark::State& state)
{
    for (auto _ : state) {
        auto window = std::make_unique<QWidget>(nullptr, Qt::Window | Qt::FramelessWindowHint);
        window->setFixedSize(627, 421);
        if (!waitForFirstPaint(*window))
            state.SkipWithError("no paint within 30 s");
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}

void FirstPaintForm1(benchmark::State& state, int rows)
{
    UserData::setApplicationDirectory(tableFolder(rows));
    for (auto _ : state) {
        auto form = tervolin::app::loadMainWindow(messageBox());
        if (!waitForFirstPaint(*form))
            state.SkipWithError("no paint within 30 s");
        state.PauseTiming();
        form->hide();
        form.reset();  // also waits for the completion index still being built
        state.ResumeTiming();
    }
}

// A control of the window by its designer name.
template <typename Widget>
Widget* control(Form1& form, const char* name)
{
    return form.findChild<Widget*>(QLatin1String(name));
}

// One loaded, hidden window per table size, kept while that size's benchmarks run.
int loadedRows = -1;
std::unique_ptr<Form1> loadedForm;

// The code list fills from a worker thread after the window is built: runs the event loop until it is complete,
// sleeping between events as the program's own loop does (a busy wait would take a core from the worker).
void waitForCodeList(Form1& form)
{
    QEventLoop loop;
    QObject::connect(&form, &Form1::codeListLoaded, &loop, &QEventLoop::quit);
    while (!form.isCodeListLoaded())
        loop.exec();
}

Form1& loadedWindow(int rows)
{
    if (loadedRows != rows) {
        loadedForm.reset();
        UserData::setApplicationDirectory(tableFolder(rows));
        loadedForm = tervolin::app::loadMainWindow(messageBox());
        loadedRows = rows;
        waitForCodeList(*loadedForm);
    }
    return *loadedForm;
}

sqlite3* openReadOnly(int rows)
{
    const QByteArray uri = "file:" + QFile::encodeName(tableFolder(rows) + QStringLiteral("/db1.mdb")) + "?immutable=1";
    sqlite3* db = nullptr;
    sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
    return db;
}

// The indexed query a lookup needs at the least, straight on SQLite: the probe codes in turn, each answer's two
// texts as UTF-8.
class IndexedLookup
{
public:
    explicit IndexedLookup(int rows) : db_(openReadOnly(rows))
    {
        for (const QString& code : probeCodes(rows))
            codes_.push_back(code.toUtf8());
        sqlite3_prepare_v2(db_, "select fenxi,jiejue from lanping where daima=?", -1, &query_, nullptr);
    }
    ~IndexedLookup()
    {
        sqlite3_finalize(query_);
        sqlite3_close(db_);
    }
    IndexedLookup(const IndexedLookup&) = delete;
    IndexedLookup& operator=(const IndexedLookup&) = delete;

    /// Looks the next probe code up and hands its analysis and solution to `use`; false when it is not found.
    template <typename Use>
    bool next(Use use)
    {
        const QByteArray& code = codes_[next_++ % codes_.size()];
        sqlite3_bind_text(query_, 1, code.constData(), static_cast<int>(code.size()), SQLITE_STATIC);
        const bool found = sqlite3_step(query_) == SQLITE_ROW;
        if (found)
            use(reinterpret_cast<const char*>(sqlite3_column_text(query_, 0)), reinterpret_cast<const char*>(sqlite3_column_text(query_, 1)));
        sqlite3_reset(query_);
        return found;
    }

private:
    sqlite3* db_;
    sqlite3_stmt* query_ = nullptr;
    std::vector<QByteArray> codes_;
    std::size_t next_ = 0;
};

void LookupBaseline(benchmark::State& state, int rows)
{
    IndexedLookup lookup(rows);
    for (auto _ : state) {
        if (!lookup.next([](const char* fenxi, const char* jiejue) {
                benchmark::DoNotOptimize(fenxi);
                benchmark::DoNotOptimize(jiejue);
            }))
            state.SkipWithError("code not found");
    }
}

// The floor of a Search: the indexed query, and its two texts set into two plain text boxes of the window's boxes'
// size and font (hidden, as the benchmarks' window is), which lays them out.
void SearchBaseline(benchmark::State& state, int rows)
{
    Form1& form = loadedWindow(rows);
    QPlainTextEdit analysis;
    QPlainTextEdit solution;
    analysis.setGeometry(control<QPlainTextEdit>(form, "Text2")->geometry());
    solution.setGeometry(control<QPlainTextEdit>(form, "Text3")->geometry());
    // The window's font: shaping Chinese text in it is part of any window that shows these texts.
    analysis.setFont(control<QPlainTextEdit>(form, "Text2")->font());
    solution.setFont(control<QPlainTextEdit>(form, "Text3")->font());
    IndexedLookup lookup(rows);
    for (auto _ : state) {
        if (!lookup.next([&](const char* fenxi, const char* jiejue) {
                analysis.setPlainText(QString::fromUtf8(fenxi));
                solution.setPlainText(QString::fromUtf8(jiejue));
            }))
            state.SkipWithError("code not found");
    }
}

// The first Search after the list has been (re)loaded: the load and the wait for it go untimed, and so does the
// completion index that a worker builds after the load (counter index_wait_ms: how long after the list it was
// ready), so that the figure is the search's own and not the machine's sharing between the two threads.
void FirstSearch(benchmark::State& state, int rows)
{
    Form1& form = loadedWindow(rows);
    const std::vector<QString> codes = probeCodes(rows);
    std::size_t next = 0;
    double indexWaitMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        form.LoadCodeList();
        waitForCodeList(form);
        QElapsedTimer indexWait;
        indexWait.start();
        if (const auto* completion = control<QLineEdit>(form, "Text1")->findChild<tervolin::app::CodeCompletion*>())
            benchmark::DoNotOptimize(completion->model().size());
        QCoreApplication::processEvents();
        indexWaitMs += static_cast<double>(indexWait.nsecsElapsed()) / 1e6;
        control<QLineEdit>(form, "Text1")->setText(codes[next++ % codes.size()]);
        state.ResumeTiming();
        form.Search();
    }
    state.counters["index_wait_ms"] = indexWaitMs / static_cast<double>(state.iterations());
    if (control<tervolin::platform::ListBox>(form, "List1")->ListIndex() < 0)
        state.SkipWithError("the search found nothing");
}

void Lookup(benchmark::State& state, int rows)
{
    Form1& form = loadedWindow(rows);
    const std::vector<QString> codes = probeCodes(rows);
    std::size_t next = 0;
    for (auto _ : state) {
        control<QLineEdit>(form, "Text1")->setText(codes[next++ % codes.size()]);
        form.Search();
    }
    if (control<tervolin::platform::ListBox>(form, "List1")->ListIndex() < 0)
        state.SkipWithError("the search found nothing");
}

// The part of Search that goes through the data control: the lookup query on the window's own data control,
// the first row's two fields read as text; no widget is touched.
void LookupDataControl(benchmark::State& state, int rows)
{
    Form1& form = loadedWindow(rows);
    const std::vector<QString> codes = probeCodes(rows);
    std::size_t next = 0;
    for (auto _ : state) {
        const tervolin::app::CodeAnswer result = form.knowledgeBase().lookup(codes[next++ % codes.size()]);
        if (!result.found)
            state.SkipWithError("code not found");
        benchmark::DoNotOptimize(result);
    }
}

// What Search spends outside the data: laying out a found row's two texts in the window's text boxes.
void FillTextBoxes(benchmark::State& state)
{
    Form1& form = loadedWindow(BundledRows);
    const std::vector<QString> codes = {QStringLiteral("0x0000007B"), QStringLiteral("0x000000D1")};
    std::vector<tervolin::app::CodeAnswer> rows;
    for (const QString& code : codes)
        rows.push_back(form.knowledgeBase().lookup(code));
    std::size_t next = 0;
    for (auto _ : state) {
        const auto& row = rows[next++ % rows.size()];
        control<QPlainTextEdit>(form, "Text2")->setPlainText(row.fenxi);
        control<QPlainTextEdit>(form, "Text3")->setPlainText(row.jiejue);
    }
}

void ListBaseline(benchmark::State& state, int rows)
{
    sqlite3* db = openReadOnly(rows);
    for (auto _ : state) {
        sqlite3_stmt* query = nullptr;
        sqlite3_prepare_v2(db, "SELECT daima FROM lanping", -1, &query, nullptr);
        while (sqlite3_step(query) == SQLITE_ROW)
            benchmark::DoNotOptimize(sqlite3_column_text(query, 0));
        sqlite3_finalize(query);
    }
    sqlite3_close(db);
}

double peakResidentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

void LoadCodeList(benchmark::State& state, int rows)
{
    Form1& form = loadedWindow(rows);
    for (auto _ : state) {
        // Each iteration fills an empty window, as at start: the previous list and its completion go untimed.
        state.PauseTiming();
        control<tervolin::platform::ListBox>(form, "List1")->Clear();
        tervolin::app::CodeCompletion::detach(control<QLineEdit>(form, "Text1"));
        state.ResumeTiming();
        // From the start of the read until the list holds every code (read and indexed on a worker thread, handed
        // over in parts while events are processed).
        form.LoadCodeList();
        waitForCodeList(form);
        // The completion index is built on a worker thread while the window goes on; it is waited for outside
        // the timing so that one iteration's build does not slow the next (CompleterBuild measures it).
        state.PauseTiming();
        if (const auto* completion = control<QLineEdit>(form, "Text1")->findChild<tervolin::app::CodeCompletion*>())
            benchmark::DoNotOptimize(completion->model().size());
        state.ResumeTiming();
    }
    if (control<tervolin::platform::ListBox>(form, "List1")->ListCount() != rows)
        state.SkipWithError("the list does not hold every row");
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}

}  // namespace

void releaseLookupBenchmarks()
{
    loadedForm.reset();
    loadedRows = -1;
}

void registerLookupBenchmarks()
{
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("FirstPaint/EmptyWindow", FirstPaintEmptyWindow)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("FirstPaint/Form1/bundled", FirstPaintForm1, BundledRows)->Unit(benchmark::kMillisecond);
    for (int rows : {100'000, 1'000'000})
        RegisterBenchmark(("FirstPaint/Form1/" + std::to_string(rows)).c_str(), FirstPaintForm1, rows)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("FillTextBoxes/bundled", FillTextBoxes)->Unit(benchmark::kMicrosecond);
    for (int rows : {1'000, 100'000, 1'000'000}) {
        const std::string n = std::to_string(rows);
        RegisterBenchmark(("LookupBaseline/" + n).c_str(), LookupBaseline, rows)->Unit(benchmark::kMicrosecond);
        RegisterBenchmark(("Lookup/" + n).c_str(), Lookup, rows)->Unit(benchmark::kMicrosecond);
        RegisterBenchmark(("SearchBaseline/" + n).c_str(), SearchBaseline, rows)->Unit(benchmark::kMicrosecond);
        RegisterBenchmark(("FirstSearch/" + n).c_str(), FirstSearch, rows)->Unit(benchmark::kMicrosecond)->Iterations(rows >= 1'000'000 ? 5 : 20);
        RegisterBenchmark(("LookupDataControl/" + n).c_str(), LookupDataControl, rows)->Unit(benchmark::kMicrosecond);
        RegisterBenchmark(("ListBaseline/" + n).c_str(), ListBaseline, rows)->Unit(benchmark::kMillisecond);
        RegisterBenchmark(("LoadCodeList/" + n).c_str(), LoadCodeList, rows)->Unit(benchmark::kMillisecond);
    }
}
