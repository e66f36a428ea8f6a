#include "app/crashhistorymodel.h"

#include <QBrush>
#include <QColor>

#include <algorithm>

#include "app/dumptexts.h"

namespace tervolin::app {

using platform::crashdump::DumpFormat;

CrashHistoryModel::CrashHistoryModel(QObject* parent) : QAbstractTableModel(parent) {}

QString CrashHistoryModel::columnTitle(int column)
{
    switch (column) {
    case Time: return QStringLiteral("崩溃时间");
    case Code: return QStringLiteral("代码");
    case Name: return QStringLiteral("名称");
    case Suspect: return QStringLiteral("可能相关的驱动");
    case Type: return QStringLiteral("类型");
    case File: return QStringLiteral("文件");
    default: return {};
    }
}

QString CrashHistoryModel::cellText(const HistoryEntry& entry, int column)
{
    const platform::crashdump::DumpInfo& d = entry.dump;
    const bool user = d.format == DumpFormat::User;
    switch (column) {
    case Time:
        return !d.ok() ? QString() : d.crashTime ? dumptexts::localTimeText(*d.crashTime) : QStringLiteral("未知");
    case Code:
        return d.ok() && d.code ? KnowledgeBase::codeKey(*d.code) : QString();
    case Name:
        if (!d.ok())
            return dumptexts::errorText(d.errorKind);
        if (user)
            return d.program;
        if (!entry.explanation.found)
            return QStringLiteral("（知识库中没有此代码）");
        return entry.explanation.name;
    case Suspect:
        return d.suspect ? dumptexts::suspectText(*d.suspect) : QString();
    case Type:
        return dumptexts::typeText(d);
    case File:
        return d.file;
    default:
        return {};
    }
}

bool CrashHistoryModel::before(const HistoryEntry& a, const HistoryEntry& b)
{
    const auto rank = [](const HistoryEntry& e) { return !e.dump.ok() ? 2 : e.dump.crashTime ? 0 : 1; };
    const int ra = rank(a);
    const int rb = rank(b);
    if (ra != rb)
        return ra < rb;
    if (ra == 0 && *a.dump.crashTime != *b.dump.crashTime)
        return *a.dump.crashTime > *b.dump.crashTime;
    return a.dump.file < b.dump.file;
}

int CrashHistoryModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(entries_.size()); }

int CrashHistoryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant CrashHistoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const HistoryEntry& e = entry(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return cellText(e, index.column());
    case Qt::ToolTipRole:
        if (!e.dump.ok())
            return e.dump.file + QLatin1Char('\n') + dumptexts::errorText(e.dump.errorKind);
        return index.column() == File || index.column() == Name ? cellText(e, index.column()) : QVariant();
    case Qt::ForegroundRole:
        if (!e.dump.ok() || (index.column() == Name && !e.searchKey().isEmpty() && !e.explanation.found))
            return QBrush(QColor(192, 0, 0));
        return {};
    default:
        return {};
    }
}

QVariant CrashHistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return columnTitle(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

int CrashHistoryModel::rowOf(const QString& file) const
{
    const auto it = std::find_if(entries_.begin(), entries_.end(), [&](const HistoryEntry& e) { return e.dump.file == file; });
    return it == entries_.end() ? -1 : int(it - entries_.begin());
}

void CrashHistoryModel::add(std::vector<HistoryEntry> entries)
{
    for (HistoryEntry& e : entries) {
        if (files_.contains(e.dump.file)) {
            const int old = rowOf(e.dump.file);
            beginRemoveRows({}, old, old);
            entries_.erase(entries_.begin() + old);
            endRemoveRows();
        }
        files_.insert(e.dump.file);
        const auto at = std::upper_bound(entries_.begin(), entries_.end(), e, before);
        const int row = int(at - entries_.begin());
        beginInsertRows({}, row, row);
        entries_.insert(at, std::move(e));
        endInsertRows();
    }
}

void CrashHistoryModel::clear()
{
    beginResetModel();
    entries_.clear();
    files_.clear();
    endResetModel();
}

}  // namespace tervolin::app
