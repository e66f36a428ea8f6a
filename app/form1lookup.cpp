#include "app/form1lookup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/codecompletion.h"
#include "app/codelistloader.h"
#include "app/form1pointer.h"
#include "platform/listbox.h"
#include "platform/messagebox.h"

namespace tervolin::app {
namespace {

// Stored texts break lines with CR LF; the text boxes want plain line feeds.
QString boxText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

Form1Lookup::Form1Lookup(QWidget& window, const Form1Controls& controls, KnowledgeBase& knowledge, Form1Pointer& pointer,
                         platform::MessageBoxService& messageBox)
    : QObject(&window), window_(window), c_(controls), knowledge_(knowledge), pointer_(pointer), messageBox_(messageBox)
{
}

void Form1Lookup::StartLookup() { LoadCodeList(); }

void Form1Lookup::LoadCodeList()
{
    delete loader_;  // a load still under way stops here
    loaded_ = false;
    // A reload makes the old completion index stale; dropping it first keeps two indexes from coexisting.
    CodeCompletion::detach(c_.Text1);
    c_.List1->Clear();
    c_.List1->setLoading(true);
    loader_ = new CodeListLoader(knowledge_.filePath(), this);
    connect(loader_, &CodeListLoader::partRead, c_.List1,
            [list = c_.List1](const platform::TextList& codes, const platform::CaseBlindIndex& index) { list->AddItems(codes, index); });
    connect(loader_, &CodeListLoader::finished, this, &Form1Lookup::codeListComplete);
    connect(loader_, &CodeListLoader::failed, this, [this](const QString& file, const QString& message) {
        c_.List1->setLoading(false);
        Q_EMIT codeListFailed(QStringLiteral("无法读取数据库文件中的代码列表：\n%1\n\n%2").arg(file, message));
    });
}

void Form1Lookup::codeListComplete()
{
    loader_->deleteLater();
    loader_ = nullptr;
    c_.List1->setLoading(false);
    ShowRecordCount();
    CodeCompletion::attach(c_.Text1, c_.List1->items());
    loaded_ = true;
    Q_EMIT codeListLoaded();
}

void Form1Lookup::ShowRecordCount()
{
    c_.Label8->setText(QStringLiteral("当前数据库共有") + QString::number(c_.List1->ListCount()) + QStringLiteral("条记录"));
}

void Form1Lookup::Search()
{
    const QString code = c_.Text1->text();
    c_.Label7->setText(QStringLiteral("当前结果：") + code);
    pointer_.resetText1();

    if (code.isEmpty()) {
        c_.Label4->setVisible(true);
        c_.Text1->setFocus();
        return;
    }

    const CodeAnswer answer = knowledge_.lookup(code);
    if (!answer.found) {
        messageBox_.show(&window_, QStringLiteral("找不到记录"), QStringLiteral("找不到记录"), platform::MessageBoxIcon::Critical);
        c_.Text1->setSelection(0, static_cast<int>(code.size()));
        c_.Text1->setFocus();
        return;
    }

    const quint64 lookupsBefore = listLookups_;
    // Runs ListLookup when it changes the selection; while the list is still loading, a code not listed yet is
    // selected (and looked up again) when its entry arrives, and this search shows the answer meanwhile.
    c_.List1->setText(code);
    // ListLookup has looked the same code up and shown it already; filling the boxes again from the same row
    // would only lay the same texts out a second time.
    if (listLookups_ == lookupsBefore)
        setBoxes(answer);
}

void Form1Lookup::ListLookup()
{
    const QString entry = c_.List1->text();
    const CodeAnswer answer = knowledge_.lookup(entry);
    ++listLookups_;
    setBoxes(answer);
    c_.Label7->setText(QStringLiteral("当前结果：") + entry);
}

void Form1Lookup::setBoxes(const CodeAnswer& answer)
{
    // A list entry whose row has gone (only possible with an unusual table) shows empty boxes.
    c_.Text2->setPlainText(boxText(answer.fenxi));
    c_.Text3->setPlainText(boxText(answer.jiejue));
}

}  // namespace tervolin::app
