#include "platform/listbox.h"

#include <QAbstractListModel>
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

    void append(const TextList& items, CaseBlindIndex index)
    {
        if (items.isEmpty())
            return;
        const qsizetype first = items_.size();
        beginInsertRows({}, static_cast<int>(first), static_cast<int>(first + items.size() - 1));
        items_.append(items);  // shares the caller's list when this one is empty
        if (index.isBuilt())
            segments_.push_back({first, items.size(), std::move(index)});
        else if (!segments_.empty() && !segments_.back().index.isBuilt())
            segments_.back().count += items.size();
        else
            segments_.push_back({first, items.size(), {}});
        endInsertRows();
    }

    void clear()
    {
        beginResetModel();
        items_.clear();
        segments_.clear();
        endResetModel();
    }

    const TextList& items() const { return items_; }

    /// The first row from `fromRow` on whose text equals the given one without regard to case, or -1. Each part
    /// of the list added at once has its index; a part added without one is indexed on the first search.
    int findFirst(const QString& text, qsizetype fromRow = 0)
    {
        for (Segment& segment : segments_) {
            if (segment.first + segment.count <= fromRow)
                continue;
            if (!segment.index.isBuilt())
                segment.index = CaseBlindIndex::build(items_, segment.first, segment.count);
            const qsizetype row = segment.index.find(items_, segment.first, text);
            if (row >= 0 && segment.first + row >= fromRow)
                return static_cast<int>(segment.first + row);
        }
        return -1;
    }

private:
    struct Segment
    {
        qsizetype first;
        qsizetype count;
        CaseBlindIndex index;
    };

    TextList items_;
    std::vector<Segment> segments_;  // the parts of the list in order, each with its own index
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
        waitingText_.reset();  // another entry was chosen before the awaited one came
        const int row = ListIndex();
        if (row == clickedRow_)
            return;
        clickedRow_ = row;
        if (row >= 0)
            Q_EMIT Click();
    });
}

void ListBox::AddItem(const QString& item) { AddItems(TextList(QStringList{item})); }
void ListBox::AddItems(const TextList& items) { AddItems(items, {}); }

void ListBox::AddItems(const TextList& items, CaseBlindIndex index)
{
    const int firstNewRow = ListCount();
    model_->append(items, std::move(index));
    selectWaitingText(firstNewRow);
}

void ListBox::Clear()
{
    model_->clear();
    clickedRow_ = -1;
    waitingText_.reset();
}

const TextList& ListBox::items() const { return model_->items(); }

void ListBox::setLoading(bool loading)
{
    loading_ = loading;
    if (loading)
        return;
    waitingText_.reset();
    // The view lays every row out again after a change (O(rows) even with uniform rows), on a timer, and only while
    // shown; a hidden list would leave that to its first selection. Laying out now keeps it out of the first search.
    executeDelayedItemsLayout();
}

void ListBox::selectWaitingText(int firstNewRow)
{
    if (!waitingText_)
        return;
    const int row = model_->findFirst(*waitingText_, firstNewRow);
    if (row < 0)
        return;
    waitingText_.reset();
    setListIndex(row);
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
    waitingText_.reset();
    const int row = model_->findFirst(text);
    if (row >= 0)
        setListIndex(row);
    else if (loading_)
        waitingText_ = text;
}

}  // namespace tervolin::platform
