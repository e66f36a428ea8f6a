#pragma once
// The crash history as a table: one row per dump or unreadable file, newest crash first, in the columns the
// window shows and the exports write.

#include <QAbstractTableModel>
#include <QSet>
#include <QString>

#include <vector>

#include "app/dumpexplainer.h"
#include "platform/crashdump/dumpinfo.h"

namespace tervolin::app {

/// One dump as the history keeps it: read without its driver list, with what the knowledge base says about its
/// code (the analysis and solution are left out: the main window shows them).
struct HistoryEntry
{
    platform::crashdump::DumpInfo dump;
    DumpExplanation explanation;

    /// The code to search for in the main window, or empty when the row has no stop code.
    QString searchKey() const { return explanation.key; }
};

class CrashHistoryModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Time, Code, Name, Suspect, Type, File, ColumnCount };

    explicit CrashHistoryModel(QObject* parent = nullptr);

    /// The header of a column: 崩溃时间, 代码, 名称, 可能相关的驱动, 类型, 文件.
    static QString columnTitle(int column);
    /// What a row shows in a column; an unreadable file shows its reason as its name.
    static QString cellText(const HistoryEntry& entry, int column);
    /// True when `a` stands above `b`: a crash time first (newest first), then dumps without one, then unreadable
    /// files; ties by file name.
    static bool before(const HistoryEntry& a, const HistoryEntry& b);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// Adds rows at their places; a file already listed is replaced by its new reading.
    void add(std::vector<HistoryEntry> entries);
    void clear();
    const HistoryEntry& entry(int row) const { return entries_[std::size_t(row)]; }
    const std::vector<HistoryEntry>& entries() const { return entries_; }
    /// The row of a file, or -1.
    int rowOf(const QString& file) const;

private:
    std::vector<HistoryEntry> entries_;
    QSet<QString> files_;  // the files listed, so that adding a new one needs no search for an old row
};

}  // namespace tervolin::app
