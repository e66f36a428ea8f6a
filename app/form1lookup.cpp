#include "app/form1lookup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/codecompletion.h"
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

void Form1Lookup::StartLookup(const platform::TextList& codes)
{
    showCodes(codes);
    ShowRecordCount();
}

void Form1Lookup::LoadCodeList() { showCodes(knowledge_.codes()); }

void Form1Lookup::showCodes(const platform::TextList& codes)
{
    // A reload makes the old completion index stale; dropping it first keeps two indexes from coexisting.
    CodeCompletion::detach(c_.Text1);
    c_.List1->AddItems(codes);
    CodeCompletion::attach(c_.Text1, codes);
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
    c_.List1->setText(code);  // runs ListLookup when it changes the selection
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
