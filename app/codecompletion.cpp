#include "app/codecompletion.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QLineEdit>
#include <QStringListModel>

namespace tervolin::app {

CodeCompletion* CodeCompletion::attach(QLineEdit* box, const platform::TextList& codes)
{
    detach(box);
    return new CodeCompletion(box, codes);
}

void CodeCompletion::detach(QLineEdit* box) { delete box->findChild<CodeCompletion*>(QString(), Qt::FindDirectChildrenOnly); }

CodeCompletion::CodeCompletion(QLineEdit* box, const platform::TextList& codes)
    : QObject(box),
      box_(box),
      // The list is implicitly shared: the worker reads its own copy while the window keeps using the list.
      model_(std::async(std::launch::async, [codes] { return std::make_shared<const CodeCompleter>(codes); }).share()),
      offers_(new QStringListModel(this)), completer_(new QCompleter(offers_, this))
{
    // The offers are already chosen and ranked here; the completer only shows them.
    completer_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    completer_->setWidget(box);
    connect(box, &QLineEdit::textEdited, this, &CodeCompletion::offer);
    connect(completer_, qOverload<const QString&>(&QCompleter::activated), box, &QLineEdit::setText);
}

CodeCompletion::~CodeCompletion()
{
    // The worker reads the codes until it is done; never leave it running past the completion's lifetime.
    model_.wait();
}

const CodeCompleter& CodeCompletion::model() const { return *model_.get(); }

void CodeCompletion::offer(const QString& typed)
{
    const QStringList codes = model().complete(typed);
    offers_->setStringList(codes);
    if (codes.isEmpty())
        completer_->popup()->hide();
    else
        completer_->complete();
}

}  // namespace tervolin::app
