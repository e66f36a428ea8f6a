#pragma once
// Completion on the code input box: as the user types, a list under the box offers the stored codes that the text
// may mean; choosing one (a click, or the arrow keys and Enter) puts that code into the box. Nothing is looked up
// until the search button is clicked.
//
// The list is a window of its own that never takes the focus and never grabs the mouse: the box keeps the keyboard,
// and a click anywhere else closes the list and still reaches what was clicked, so that typing a code and clicking
// the search button searches at once.

#include <QListView>
#include <QObject>
#include <QPointer>
#include <QString>

#include <future>
#include <memory>
#include <optional>

#include "app/codecompleter.h"

class QKeyEvent;
class QLineEdit;
class QModelIndex;
class QStringListModel;

namespace tervolin::app {

class CodeCompletion : public QObject
{
    Q_OBJECT
public:
    /// Attaches the completion to the box, replacing one attached before; the box owns it. The codes are indexed
    /// on a worker thread, so a long list does not hold up the window; what is typed meanwhile is answered as
    /// soon as the index is ready.
    static CodeCompletion* attach(QLineEdit* box, const platform::TextList& codes);
    ~CodeCompletion() override;
    /// Removes the box's completion, if any, with its index.
    static void detach(QLineEdit* box);

    /// The list of offers shown under the box.
    QListView* popup() const { return popup_; }
    /// Whether the index has been built.
    bool isReady() const;
    /// The index, once built (waits for it).
    const CodeCompleter& model() const;

Q_SIGNALS:
    /// The index has been built (and a text typed meanwhile has been answered).
    void ready();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CodeCompletion(QLineEdit* box, const platform::TextList& codes);
    void offer(const QString& typed);
    void indexBuilt();
    void choose(const QModelIndex& index);
    void showPopup();
    void hidePopup();
    bool boxKey(QKeyEvent& key);
    bool isPartOfPopup(const QObject* object) const;

    QLineEdit* box_;
    std::shared_future<std::shared_ptr<const CodeCompleter>> model_;
    std::optional<QString> typedEarly_;  // typed before the index was ready
    QStringListModel* offers_;
    QPointer<QWidget> window_;  // the box's window, which holds the list and whose moves close it
    QPointer<QListView> popup_;
};

}  // namespace tervolin::app
