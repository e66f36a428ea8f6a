#pragma once
// Completion on the code input box: as the user types, a popup offers the stored codes that the text may mean;
// choosing one puts that code into the box. Nothing is looked up until the search button is clicked.

#include <QObject>
#include <QStringList>

#include <future>
#include <memory>

#include "app/codecompleter.h"

class QCompleter;
class QLineEdit;
class QStringListModel;

namespace tervolin::app {

class CodeCompletion : public QObject
{
    Q_OBJECT
public:
    /// Attaches the completion to the box, replacing one attached before; the box owns it. The codes are indexed
    /// on a worker thread, so a long list does not hold up the window; the first keystroke waits for the index.
    static CodeCompletion* attach(QLineEdit* box, const platform::TextList& codes);
    ~CodeCompletion() override;
    /// Removes the box's completion, if any, with its index.
    static void detach(QLineEdit* box);

    QCompleter* completer() const { return completer_; }
    /// The index, once built (waits for it).
    const CodeCompleter& model() const;

private:
    CodeCompletion(QLineEdit* box, const platform::TextList& codes);
    void offer(const QString& typed);

    QLineEdit* box_;
    std::shared_future<std::shared_ptr<const CodeCompleter>> model_;
    QStringListModel* offers_;
    QCompleter* completer_;
};

}  // namespace tervolin::app
