#pragma once
// Completion on the code input box: as the user types, a popup offers the stored codes that the text may mean;
// choosing one puts that code into the box. Nothing is looked up until the search button is clicked.

#include <QObject>
#include <QStringList>

#include "app/codecompleter.h"

class QCompleter;
class QLineEdit;
class QStringListModel;

namespace tervolin::app {

class CodeCompletion : public QObject
{
    Q_OBJECT
public:
    /// Indexes the codes and attaches the completion to the box, replacing one attached before. The box owns it.
    static CodeCompletion* attach(QLineEdit* box, const QStringList& codes);

    QCompleter* completer() const { return completer_; }
    const CodeCompleter& model() const { return model_; }

private:
    CodeCompletion(QLineEdit* box, const QStringList& codes);
    void offer(const QString& typed);

    QLineEdit* box_;
    CodeCompleter model_;
    QStringListModel* offers_;
    QCompleter* completer_;
};

}  // namespace tervolin::app
