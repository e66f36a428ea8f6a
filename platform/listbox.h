#pragma once
// The standard list box: single selection, unsorted, with a Click for every change of the selected entry.
// A model-based view with uniform rows, so very long lists load and scroll fast.

#include <QListView>
#include <QStringList>

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
    void Clear();
    int ListCount() const;
    QString List(int index) const;

    /// The selected entry's index, or -1.
    int ListIndex() const;
    /// Selects an entry (-1 clears the selection); raises Click when the selection changes.
    void setListIndex(int index);

    /// The selected entry's text, or empty text.
    QString text() const;
    /// Selects the first entry equal to the text without regard to case; nothing changes when none is.
    void setText(const QString& text);

Q_SIGNALS:
    /// Raised for every change of the selected entry: mouse, keyboard or program.
    void Click();

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    ListBoxModel* model_;
    int clickedRow_ = -1;  // the selected row that the last Click announced
};

}  // namespace tervolin::platform
