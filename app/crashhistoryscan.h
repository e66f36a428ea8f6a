#pragma once
// Reading dumps for the crash history off the window's thread: one worker at a time reads files, folders and
// archives and looks each stop code up in a knowledge base of its own; rows, progress and the end reach the window
// as signals on its thread, rows in batches. Paths given while a scan runs are read after it.

#include <QElapsedTimer>
#include <QFuture>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/crashhistorymodel.h"

namespace tervolin::app {

class CrashHistoryScan : public QObject
{
    Q_OBJECT
public:
    /// Scans look their codes up in the knowledge base at `knowledgeBasePath`.
    explicit CrashHistoryScan(QString knowledgeBasePath, QObject* parent = nullptr);
    /// Cancels a running scan and waits for its worker.
    ~CrashHistoryScan() override;

    /// Reads `paths`: at once, or after the scan that is running.
    void start(const QStringList& paths);
    /// Stops the running scan between two files and drops the paths waiting after it.
    void cancel();
    bool running() const { return future_.isRunning() || busy_; }

    /// Called on the worker after each file; a test holds the worker here to act while a scan runs.
    std::function<void(qint64 done, qint64 total)> workerProgressHook;

Q_SIGNALS:
    void started();
    /// Rows read, in the order found.
    void found(const std::vector<tervolin::app::HistoryEntry>& entries);
    /// Files done of the files found in the running scan.
    void progress(qint64 done, qint64 total);
    /// The scan (with those queued after it) is over; `problem` says what went wrong beside single files
    /// (the knowledge base could not be read), in Chinese.
    void finished(bool cancelled, const QString& problem);

private:
    void runNext();
    void work(QStringList paths);

    QString knowledgeBasePath_;
    QFuture<void> future_;
    std::atomic_bool cancel_{false};
    QStringList waiting_;
    bool busy_ = false;
    bool cancelled_ = false;
    QString problem_;
};

/// Reads one dump of the history again, with its driver list: a file, or an entry of an archive named
/// "…/archive.zip/entry.dmp". Nothing when the file or entry is gone. Blocks: run it on a worker.
std::optional<platform::crashdump::DumpInfo> readWithDriverList(const QString& file);

}  // namespace tervolin::app
