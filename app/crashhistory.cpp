#include "app/crashhistory.h"

#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "app/appresources.h"
#include "app/crashdetails.h"
#include "app/crashhistoryexport.h"
#include "app/crashhistoryscan.h"
#include "controls/progressbar/progressbar.h"
#include "platform/data/dataerror.h"

namespace tervolin::app {

namespace {

using platform::crashdump::DumpFormat;
using platform::crashdump::DumpInfo;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    return button;
}

// Whether the row's dump can have a driver (or module) list worth reading again.
bool hasList(const DumpInfo& dump)
{
    return dump.ok() && dump.driverCount > 0 && (dump.format == DumpFormat::User || dump.dumpType == 4u);
}

}  // namespace

QStringList localPaths(const QList<QUrl>& urls)
{
    QStringList paths;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

CrashHistory::CrashHistory(KnowledgeBase& knowledge, QWidget* parent)
    : QWidget(parent, Qt::Window), knowledge_(knowledge), explainer_(&knowledge), model_(new CrashHistoryModel(this)),
      scan_(new CrashHistoryScan(knowledge.filePath(), this))
{
    setObjectName(QStringLiteral("CrashHistory"));
    setWindowTitle(QStringLiteral("崩溃记录"));
    setWindowIcon(programIcon());
    setAcceptDrops(true);
    resize(960, 640);

    chooseFiles = [this] {
        return QFileDialog::getOpenFileNames(this, QStringLiteral("打开转储文件"), QString(),
                                             QStringLiteral("转储文件和压缩文件 (*.dmp *.mdmp *.hdmp *.zip *.7z *.cab);;所有文件 (*)"));
    };
    chooseFolder = [this] { return QFileDialog::getExistingDirectory(this, QStringLiteral("打开包含转储文件的文件夹")); };
    chooseSaveFile = [this](const QString& suggested, const QString& filter) {
        return QFileDialog::getSaveFileName(this, QStringLiteral("导出崩溃记录"), QDir::home().filePath(suggested), filter);
    };

    buildControls();
    connect(scan_, &CrashHistoryScan::started, this, &CrashHistory::onScanStarted);
    connect(scan_, &CrashHistoryScan::found, this, [this](const std::vector<HistoryEntry>& entries) { model_->add(entries); });
    connect(scan_, &CrashHistoryScan::progress, this, &CrashHistory::onProgress);
    connect(scan_, &CrashHistoryScan::finished, this, &CrashHistory::onScanFinished);
    connect(&reread_, &QFutureWatcher<std::optional<DumpInfo>>::finished, this, [this] {
        const std::optional<DumpInfo> dump = reread_.result();
        const int row = table_->currentIndex().row();
        if (!dump || row < 0 || model_->entry(row).dump.file != dump->file)
            return;
        showDetails(model_->entry(row), *dump, false);
    });
}

CrashHistory::~CrashHistory() { reread_.waitForFinished(); }

void CrashHistory::buildControls()
{
    auto* openFiles = makeButton(this, "openFiles", QStringLiteral("打开文件…"));
    auto* openFolder = makeButton(this, "openFolder", QStringLiteral("打开文件夹…"));
    auto* findWindows = makeButton(this, "findWindows", QStringLiteral("查找 Windows 分区"));
    auto* exportCsvButton = makeButton(this, "exportCsv", QStringLiteral("导出 CSV…"));
    auto* exportHtmlButton = makeButton(this, "exportHtml", QStringLiteral("导出 HTML…"));
    connect(openFiles, &QPushButton::clicked, this, [this] { openPaths(chooseFiles()); });
    connect(openFolder, &QPushButton::clicked, this, [this] {
        const QString folder = chooseFolder();
        if (!folder.isEmpty())
            openPaths({folder});
    });
    connect(findWindows, &QPushButton::clicked, this, &CrashHistory::findWindowsPartitions);
    connect(exportCsvButton, &QPushButton::clicked, this, [this] { exportAs(false); });
    connect(exportHtmlButton, &QPushButton::clicked, this, [this] { exportAs(true); });

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {openFiles, openFolder, findWindows})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(exportCsvButton);
    buttons->addWidget(exportHtmlButton);

    container_.setUserMode(true);
    platform::FontDescription font;
    font.name = QStringLiteral("宋体");
    font.size = 9;
    container_.setFont(font);
    progress_ = new controls::ProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setSite(&container_, QStringLiteral("ProgressBar1"));
    progress_->initProperties();
    progress_->setTheme(controls::ProgressBar::ThemeValue::Sky);
    progress_->setTextStyle(controls::ProgressBar::TextStyleValue::CustomText);
    progress_->setTextEffect(controls::ProgressBar::TextEffectValue::Plain);
    progress_->setTextForeColor(platform::rgb(0, 0, 0));
    progress_->setMin(0);
    progress_->setValue(0);
    progress_->setFixedHeight(22);
    progress_->setAccessibleName(QStringLiteral("读取进度"));
    setProgressCaption(QStringLiteral("拖入转储文件、文件夹或压缩文件，或单击上面的按钮"));
    cancel_ = makeButton(this, "cancel", QStringLiteral("取消"));
    cancel_->setEnabled(false);
    connect(cancel_, &QPushButton::clicked, scan_, &CrashHistoryScan::cancel);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(cancel_);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    status_->setWordWrap(true);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("table"));
    table_->setAccessibleName(QStringLiteral("崩溃列表"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {140, 90, 240, 170, 110};
    for (int c = 0; c < int(std::size(widths)); ++c)
        table_->setColumnWidth(c, widths[c]);
    connect(table_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { showRow(current.row()); });

    details_ = new QTextBrowser(this);
    details_->setObjectName(QStringLiteral("details"));
    details_->setAccessibleName(QStringLiteral("详细信息"));
    details_->setOpenLinks(false);

    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(table_);
    splitter->addWidget(details_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(progressRow);
    layout->addWidget(status_);
    layout->addWidget(splitter, 1);
}

bool CrashHistory::scanning() const { return scan_->running(); }

void CrashHistory::openPaths(const QStringList& paths)
{
    QStringList absolute;
    for (const QString& path : paths)
        if (!path.isEmpty())
            absolute << QDir::cleanPath(QDir::current().absoluteFilePath(path));
    scan_->start(absolute);
}

void CrashHistory::findWindowsPartitions()
{
    const std::vector<WindowsInstallation> found = findWindowsInstallations(listVolumes());
    QStringList dumpPaths;
    QString report;
    bool problem = found.empty();
    for (const WindowsInstallation& w : found) {
        report += QStringLiteral("<p><b>%1</b>（%2）<br/>").arg(w.root.toHtmlEscaped(), w.windowsFolder.toHtmlEscaped());
        if (w.dumpPaths.isEmpty() && w.unreadable.isEmpty())
            report += QStringLiteral("没有转储文件夹或 MEMORY.DMP。<br/>");
        for (const QString& p : w.dumpPaths)
            report += QStringLiteral("读取 %1<br/>").arg(p.toHtmlEscaped());
        for (const QString& u : w.unreadable)
            report += QStringLiteral("<font color=\"#c00000\">无法读取 %1</font><br/>").arg(u.toHtmlEscaped());
        report += QStringLiteral("</p>");
        dumpPaths += w.dumpPaths;
        problem = problem || !w.unreadable.isEmpty();
    }
    if (found.empty())
        report = QStringLiteral("<p><b>没有找到已挂载的 Windows 分区。</b></p>");
    if (problem) {
        QString advice = mountAdvice().toHtmlEscaped();
        advice.replace(QLatin1Char('\n'), QStringLiteral("<br/>"));
        report += QStringLiteral("<p>%1</p>").arg(advice);
    }
    windowsReport_ = QStringLiteral("<h3>查找 Windows 分区</h3>") + report;
    details_->setHtml(windowsReport_);
    shownFile_.clear();
    // Started first: a new scan clears the status line, which is to say what was found.
    openPaths(dumpPaths);
    if (found.empty())
        setStatus(QStringLiteral("没有找到已挂载的 Windows 分区，挂载方法见下方。"), true);
    else
        setStatus(QStringLiteral("找到 %1 个 Windows 分区。").arg(found.size()), problem);
}

void CrashHistory::showRow(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    const HistoryEntry& entry = model_->entry(row);
    const bool reread = hasList(entry.dump);
    showDetails(entry, entry.dump, reread);
    if (reread)
        reread_.setFuture(QtConcurrent::run(readWithDriverList, entry.dump.file));
    const bool stop = entry.dump.ok() && entry.dump.format != DumpFormat::User;
    if (stop && !entry.searchKey().isEmpty())
        Q_EMIT codeSelected(entry.searchKey());
}

void CrashHistory::showDetails(const HistoryEntry& entry, const DumpInfo& dump, bool listPending)
{
    std::vector<ParameterExplanation> parameters;
    QString problem;
    try {
        parameters = explainer_.parameters(entry.explanation, dump);
    } catch (const platform::data::DataError& e) {
        // The meanings are an addition: without them every parameter reads as unknown.
        DumpExplainer withoutKnowledge(nullptr);
        parameters = withoutKnowledge.parameters(entry.explanation, dump);
        problem = QStringLiteral("<p><font color=\"#c00000\">参数含义无法读取：%1</font></p>").arg(e.message().toHtmlEscaped());
    }
    shownFile_ = dump.file;
    details_->setHtml(crashDetailsHtml(entry, dump, parameters, listPending ? DriverListState::Reading : DriverListState::Read) + problem);
}

void CrashHistory::onScanStarted()
{
    cancel_->setEnabled(true);
    progress_->setMax(1);
    progress_->setValue(0);
    setProgressCaption(QStringLiteral("正在查找文件……"));
    setStatus(QString());
}

void CrashHistory::onProgress(qint64 done, qint64 total)
{
    // The bar counts in int; a count beyond it is shown to scale.
    const qint64 scale = total > 1000000 ? total / 1000000 + 1 : 1;
    progress_->setMax(int(std::max<qint64>(1, total / scale)));
    progress_->setValue(int(done / scale));
    setProgressCaption(QStringLiteral("正在读取：%1 / %2 个文件").arg(done).arg(total));
}

void CrashHistory::onScanFinished(bool cancelled, const QString& problem)
{
    cancel_->setEnabled(false);
    int unreadable = 0;
    for (const HistoryEntry& e : model_->entries())
        unreadable += e.dump.ok() ? 0 : 1;
    const int rows = model_->rowCount();
    QString summary = QStringLiteral("共 %1 项").arg(rows);
    if (unreadable)
        summary += QStringLiteral("，其中 %1 个文件无法读取").arg(unreadable);
    if (cancelled) {
        setProgressCaption(QStringLiteral("已取消：") + summary);
    } else {
        progress_->setValue(progress_->Max());
        setProgressCaption(QStringLiteral("读取完毕：") + summary);
    }
    if (!problem.isEmpty())
        setStatus(problem, true);
    else if (rows == 0 && windowsReport_.isEmpty())
        setStatus(QStringLiteral("没有找到转储文件。"), true);
    Q_EMIT scanFinished();
}

QString CrashHistory::exportCsv(const QString& path) { return crashexport::save(path, crashexport::csv(model_->entries())); }

QString CrashHistory::exportHtml(const QString& path)
{
    return crashexport::save(path, crashexport::html(model_->entries(), QDateTime::currentDateTimeUtc()));
}

void CrashHistory::exportAs(bool html)
{
    const QString suggested = QStringLiteral("崩溃记录-%1.%2")
                                  .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")),
                                       html ? QStringLiteral("html") : QStringLiteral("csv"));
    const QString path = chooseSaveFile(suggested, html ? QStringLiteral("网页 (*.html)") : QStringLiteral("CSV 表格 (*.csv)"));
    if (path.isEmpty())
        return;
    const QString error = html ? exportHtml(path) : exportCsv(path);
    if (error.isEmpty())
        setStatus(QStringLiteral("已导出 %1 项到 %2").arg(model_->rowCount()).arg(path));
    else
        setStatus(error, true);
}

void CrashHistory::setStatus(const QString& text, bool problem)
{
    status_->setText(text);
    status_->setStyleSheet(problem ? QStringLiteral("color: #c00000;") : QString());
}

void CrashHistory::setProgressCaption(const QString& text) { progress_->setText(text); }

void CrashHistory::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && !localPaths(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void CrashHistory::dropEvent(QDropEvent* event)
{
    const QStringList paths = localPaths(event->mimeData()->urls());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    openPaths(paths);
}

}  // namespace tervolin::app
