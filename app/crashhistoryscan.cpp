#include "app/crashhistoryscan.h"

#include <QFileInfo>
#include <QtConcurrent/QtConcurrentRun>

#include "app/dumpexplainer.h"
#include "app/knowledgebase.h"
#include "platform/crashdump/dumpscanner.h"
#include "platform/data/dataerror.h"

namespace tervolin::app {

namespace {

// How often the worker hands rows and progress to the window at most: often enough to look live, rarely enough
// that a folder of thousands of dumps does not flood the window's event queue.
constexpr qint64 HandOverMilliseconds = 100;
constexpr std::size_t HandOverRows = 256;

}  // namespace

CrashHistoryScan::CrashHistoryScan(QString knowledgeBasePath, QObject* parent)
    : QObject(parent), knowledgeBasePath_(std::move(knowledgeBasePath))
{
}

CrashHistoryScan::~CrashHistoryScan()
{
    cancel_ = true;
    future_.waitForFinished();
}

void CrashHistoryScan::start(const QStringList& paths)
{
    if (paths.isEmpty())
        return;
    waiting_ += paths;
    if (busy_)
        return;
    busy_ = true;
    cancelled_ = false;
    problem_.clear();
    Q_EMIT started();
    runNext();
}

void CrashHistoryScan::cancel()
{
    if (!busy_)
        return;
    cancel_ = true;
    cancelled_ = true;
    waiting_.clear();
}

void CrashHistoryScan::runNext()
{
    future_.waitForFinished();
    if (waiting_.isEmpty()) {
        busy_ = false;
        Q_EMIT finished(cancelled_, problem_);
        return;
    }
    cancel_ = false;
    future_ = QtConcurrent::run([this, paths = std::exchange(waiting_, {})] { work(paths); });
}

void CrashHistoryScan::work(QStringList paths)
{
    // Everything this function touches of the object is the cancel flag; the rest reaches the object's thread
    // through queued calls, which Qt drops once the object is gone.
    std::unique_ptr<KnowledgeBase> knowledge;
    QString problem;
    try {
        knowledge = KnowledgeBase::openFile(knowledgeBasePath_);
    } catch (const platform::data::DataError& e) {
        problem = QStringLiteral("无法打开知识库 %1：%2").arg(knowledgeBasePath_, e.message());
    }
    DumpExplainer explainer(knowledge.get());
    DumpExplainer withoutKnowledge(nullptr);
    DumpExplainer* active = &explainer;

    std::vector<HistoryEntry> batch;
    qint64 done = 0;
    qint64 total = 0;
    QElapsedTimer sinceHandOver;
    sinceHandOver.start();
    const auto handOver = [&] {
        sinceHandOver.restart();
        QMetaObject::invokeMethod(this, [this, rows = std::exchange(batch, {}), done, total]() mutable {
            if (!rows.empty())
                Q_EMIT found(rows);
            Q_EMIT progress(done, total);
        }, Qt::QueuedConnection);
    };

    platform::crashdump::ScanCallbacks callbacks;
    callbacks.result = [&](platform::crashdump::DumpInfo&& dump) {
        HistoryEntry entry{std::move(dump), {}};
        try {
            entry.explanation = active->explain(entry.dump);
        } catch (const platform::data::DataError& e) {
            problem = QStringLiteral("知识库 %1 无法读取：%2").arg(knowledgeBasePath_, e.message());
            active = &withoutKnowledge;
            entry.explanation = active->explain(entry.dump);
        }
        entry.explanation.fenxi.clear();
        entry.explanation.jiejue.clear();
        batch.push_back(std::move(entry));
        if (batch.size() >= HandOverRows || sinceHandOver.elapsed() >= HandOverMilliseconds)
            handOver();
    };
    callbacks.progress = [&, hook = workerProgressHook](qint64 d, qint64 t) {
        if (hook)
            hook(d, t);
        done = d;
        total = t;
        if (sinceHandOver.elapsed() >= HandOverMilliseconds || d == t)
            handOver();
    };
    platform::crashdump::ScanOptions options;
    options.read.driverList = false;  // the list is read again for the row the user opens
    platform::crashdump::scanPaths(paths, callbacks, &cancel_, options);
    handOver();
    QMetaObject::invokeMethod(this, [this, problem] {
        if (!problem.isEmpty())
            problem_ = problem;
        runNext();
    }, Qt::QueuedConnection);
}

std::optional<platform::crashdump::DumpInfo> readWithDriverList(const QString& file)
{
    if (QFileInfo(file).isFile())
        return platform::crashdump::readDump(file);
    // An archive entry: the archive is the longest leading part of the name that is a file.
    QString archive = file;
    for (qsizetype slash = archive.lastIndexOf(QLatin1Char('/')); slash > 0; slash = archive.lastIndexOf(QLatin1Char('/'))) {
        archive.truncate(slash);
        if (QFileInfo(archive).isFile())
            break;
    }
    if (!QFileInfo(archive).isFile())
        return std::nullopt;
    std::optional<platform::crashdump::DumpInfo> found;
    std::atomic_bool stop{false};
    platform::crashdump::ScanCallbacks callbacks;
    callbacks.result = [&](platform::crashdump::DumpInfo&& dump) {
        if (dump.file == file) {
            found = std::move(dump);
            stop = true;  // the entries after it need not be read
        }
    };
    platform::crashdump::scanPaths({archive}, callbacks, &stop);
    return found;
}

}  // namespace tervolin::app
