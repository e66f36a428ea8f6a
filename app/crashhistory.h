#pragma once
// The crash history ("崩溃记录"): a window listing crash dumps, newest crash first, read from files, folders,
// archives or the Windows partitions mounted on this machine. Selecting a row asks the main window to search its
// code and shows the crash's details here; the list can be exported as CSV or HTML. Only reads.

#include <QFutureWatcher>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

#include "app/crashhistorymodel.h"
#include "app/dumpexplainer.h"
#include "app/windowsvolumes.h"
#include "platform/usercontrol.h"

class QLabel;
class QPushButton;
class QTableView;
class QTextBrowser;

namespace tervolin::controls {
class ProgressBar;
}

namespace tervolin::app {

class CrashHistoryScan;

class CrashHistory : public QWidget
{
    Q_OBJECT
public:
    /// `knowledge` (the main window's, on this thread) gives the parameter meanings of the row shown; scans open
    /// their own knowledge base on its file.
    explicit CrashHistory(KnowledgeBase& knowledge, QWidget* parent = nullptr);
    ~CrashHistory() override;

    /// Reads dump files, folders and archives into the list (on a worker; the progress bar shows how far).
    void openPaths(const QStringList& paths);
    /// 查找 Windows 分区: lists the Windows installations on the mounted volumes and reads their dumps; says how
    /// to mount one when there is none or its dumps cannot be read.
    void findWindowsPartitions();
    /// Writes the listed rows; the error text, or empty on success.
    QString exportCsv(const QString& path);
    QString exportHtml(const QString& path);

    const CrashHistoryModel& model() const { return *model_; }
    CrashHistoryScan& scan() { return *scan_; }
    bool scanning() const;

    /// Seams for the dialogs and the volumes, replaceable so that the window can be driven without them.
    std::function<QStringList()> chooseFiles;
    std::function<QString()> chooseFolder;
    std::function<QString(const QString& suggestedName, const QString& filter)> chooseSaveFile;
    std::function<std::vector<MountedVolume>()> listVolumes = mountedVolumes;

Q_SIGNALS:
    /// A row with a stop code was selected: the key to search in the main window.
    void codeSelected(const QString& key);
    /// A scan is over (also when cancelled).
    void scanFinished();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildControls();
    void showRow(int row);
    void showDetails(const HistoryEntry& entry, const platform::crashdump::DumpInfo& dump, bool listPending);
    void onScanStarted();
    void onProgress(qint64 done, qint64 total);
    void onScanFinished(bool cancelled, const QString& problem);
    void exportAs(bool html);
    void setStatus(const QString& text, bool problem = false);
    void setProgressCaption(const QString& text);

    KnowledgeBase& knowledge_;
    DumpExplainer explainer_;
    CrashHistoryModel* model_;
    CrashHistoryScan* scan_;
    platform::ControlContainer container_;
    controls::ProgressBar* progress_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QLabel* status_ = nullptr;
    QTableView* table_ = nullptr;
    QTextBrowser* details_ = nullptr;
    QString windowsReport_;  // what the last search for Windows partitions found, shown until a row is selected
    QFutureWatcher<std::optional<platform::crashdump::DumpInfo>> reread_;
    QString shownFile_;  // the file whose details are shown
};

/// The paths of the local files among dropped or opened URLs.
QStringList localPaths(const QList<QUrl>& urls);

}  // namespace tervolin::app
