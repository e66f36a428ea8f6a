#include "app/codecompletion.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>

namespace tervolin::app {

CodeCompletion* CodeCompletion::attach(QLineEdit* box, const QStringList& codes)
{
    delete box->findChild<CodeCompletion*>(QString(), Qt::FindDirectChildrenOnly);
    return new CodeCompletion(box, codes);
}

CodeCompletion::CodeCompletion(QLineEdit* box, const QStringList& codes)
    : QObject(box), box_(box), model_(codes), offers_(new QStringListModel(this)), completer_(new QCompleter(offers_, this))
{
    // The offers are already chosen and ranked here; the completer only shows them.
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setWidget(box);
    connect(box, &QLineEdit::textEdited, this, &CodeCompletion::offer);
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), box, &QLineEdit::setText);
}

void CodeCompletion::offer(const QString& typed)
{
    const QStringList codes = model_.complete(typed);
    offers_->setStringList(codes);
    if (codes.isEmpty())
        completer_->popup()->hide();
    else
        completer_->complete();
}

}  // namespace tervolin::app
