#include "platform/listbox.h"

#include <QAbstractListModel>
#include <QHash>
#include <QItemSelectionModel>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>
#include <vector>

namespace tervolin::platform {

class ListBoxModel final : public QAbstractListModel
{
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : static_cast<int>(items_.size()); }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= items_.size())
            return {};
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return items_.text(index.row());
        return {};
    }

    void append(const TextList& items)
    {
        if (items.isEmpty())
            return;
        const int first = static_cast<int>(items_.size());
        beginInsertRows({}, first, first + static_cast<int>(items.size()) - 1);
        if (items_.isEmpty()) {
            items_ = items;  // shares the caller's list instead of copying each entry
        } else {
            for (qsizetype i = 0; i < items.size(); ++i)
                items_.append(items.at(i));
        }
        byHash_ = {};
        endInsertRows();
    }

    void clear()
    {
        beginResetModel();
        items_.clear();
        byHash_ = {};
        endResetModel();
    }

    const TextList& items() const { return items_; }

    /// The first row whose text equals the given one without regard to case, or -1. An index of the case-folded
    /// entries' hashes with their rows, sorted, is built on first use after a change, so a search does not scan
    /// a long list: a binary search finds the candidates, and the first that really matches is the answer.
    int findFirst(const QString& text)
    {
        if (items_.isEmpty())
            return -1;
        if (byHash_.empty()) {
            byHash_.reserve(static_cast<std::size_t>(items_.size()));
            for (qsizetype i = 0; i < items_.size(); ++i)
                byHash_.emplace_back(foldedHash(items_.at(i)), static_cast<int>(i));
            std::sort(byHash_.begin(), byHash_.end());
        }
        const QString folded = text.toCaseFolded();
        const std::pair<quint64, int> first{foldedHash(text), -1};
        for (auto it = std::lower_bound(byHash_.begin(), byHash_.end(), first); it != byHash_.end() && it->first == first.first; ++it) {
            if (items_.at(it->second).toString().toCaseFolded() == folded)
                return it->second;
        }
        return -1;
    }

private:
    TextList items_;
    /// FNV-1a over the case-folded code points, without building the folded string. QString::toCaseFolded folds
    /// code point by code point in the same way, so texts whose folded forms are equal hash alike.
    static quint64 foldedHash(QStringView text)
    {
        quint64 hash = 0xcbf29ce484222325ull;
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            char32_t c = text[i].unicode();
            if (QChar::isHighSurrogate(c) && i + 1 < n && text[i + 1].isLowSurrogate()) {
                c = QChar::surrogateToUcs4(text[i], text[i + 1]);
                ++i;
            }
            hash ^= QChar::toCaseFolded(c);
            hash *= 0x100000001b3ull;
        }
        return hash;
    }

    std::vector<std::pair<quint64, int>> byHash_;  // (hash of the case-folded entry, row), in order
};

// Rows one font height plus a pixel each side: some CJK faces draw the underscore below their descent, and the
// symbolic names of stop codes are full of underscores.
class ListBoxDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 2);
    }
};

ListBox::ListBox(QWidget* parent) : QListView(parent), model_(new ListBoxModel(this))
{
    setModel(model_);
    setItemDelegate(new ListBoxDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The selection, not the current index, is the list box's entry: the view moves the current index
    // on its own (on focus, and before the selection on a mouse press).
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const int row = ListIndex();
        if (row == clickedRow_)
            return;
        clickedRow_ = row;
        if (row >= 0)
            Q_EMIT Click();
    });
}

void ListBox::AddItem(const QString& item) { model_->append(QStringList{item}); }
void ListBox::AddItems(const TextList& items) { model_->append(items); }
void ListBox::Clear()
{
    model_->clear();
    clickedRow_ = -1;
}
int ListBox::ListCount() const { return model_->rowCount(); }
QString ListBox::List(int index) const { return index >= 0 && index < ListCount() ? model_->items().text(index) : QString(); }

int ListBox::ListIndex() const
{
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void ListBox::setListIndex(int index)
{
    if (index < 0 || index >= ListCount()) {
        selectionModel()->clear();
        return;
    }
    const QModelIndex target = model_->index(index);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

void ListBox::focusInEvent(QFocusEvent* event)
{
    // The view makes the first row current on focus; a list box without a selection has no current
    // entry either, so the first arrow key selects the first entry.
    const bool hadCurrent = selectionModel()->currentIndex().isValid();
    QListView::focusInEvent(event);
    if (!hadCurrent && !selectionModel()->hasSelection())
        selectionModel()->clearCurrentIndex();
}

QString ListBox::text() const { return List(ListIndex()); }

void ListBox::setText(const QString& text)
{
    const int row = model_->findFirst(text);
    if (row >= 0)
        setListIndex(row);
}

}  // namespace tervolin::platform
