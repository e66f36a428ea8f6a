#pragma once
// The standard list box: single selection, unsorted, with a Click for every change of the selected entry.
// A model-based view with uniform rows, so very long lists load and scroll fast. A long list can be filled in
// parts while it is shown (each part with its case-blind index, built where the part was read).

#include <QListView>
#include <QStringList>

#include <optional>

#include "platform/core/caseblindindex.h"
#include "platform/core/textlist.h"

namespace tervolin::platform {

class ListBoxModel;

class ListBox : public QListView
{
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

    void AddItem(const QString& item);
    /// Appends many entries at once (one model insertion instead of one per entry).
    void AddItems(const TextList& items);
    void AddItems(const QStringList& items) { AddItems(TextList(items)); }
    /// Appends entries together with the case-blind index of exactly those entries, built beforehand.
    void AddItems(const TextList& items, CaseBlindIndex index);
    void Clear();
    int ListCount() const;
    QString List(int index) const;

    /// The selected entry's index, or -1.
    int ListIndex() const;
    /// Selects an entry (-1 clears the selection); raises Click when the selection changes.
    void setListIndex(int index);

    /// The selected entry's text, or empty text.
    QString text() const;
    /// Selects the first entry equal to the text without regard to case; nothing changes when none is. While the
    /// list is loading, a text not listed yet waits for its entry: the first one added later is selected then
    /// (with its Click), unless the selection changes before.
    void setText(const QString& text);

    /// Says that more entries are on their way (true) or that the list is complete (false, the default).
    void setLoading(bool loading);
    bool isLoading() const { return loading_; }

    /// Every entry, in order.
    const TextList& items() const;

Q_SIGNALS:
    /// Raised for every change of the selected entry: mouse, keyboard or program.
    void Click();

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    void selectWaitingText(int firstNewRow);

    ListBoxModel* model_;
    int clickedRow_ = -1;  // the selected row that the last Click announced
    bool loading_ = false;
    std::optional<QString> waitingText_;  // set while loading to a text whose entry has not come yet
};

}  // namespace tervolin::platform
