#pragma once
// What the user comes for, in the main window's controls: the list of every code with its completion and the
// record count, the search for the typed code and the lookup of the code picked in the list.

#include <QObject>

#include "app/form1layout.h"
#include "app/knowledgebase.h"
#include "platform/core/textlist.h"

namespace tervolin::platform {
class MessageBoxService;
}

namespace tervolin::app {

class Form1Pointer;

class Form1Lookup : public QObject
{
    Q_OBJECT
public:
    /// Answers in `controls` from `knowledge`; a search ends Text1's hover colour through `pointer`. The window
    /// owns the result and outlives the other three.
    Form1Lookup(QWidget& window, const Form1Controls& controls, KnowledgeBase& knowledge, Form1Pointer& pointer,
                platform::MessageBoxService& messageBox);

    /// Fills List1 with the codes (with the completion on Text1) and writes the record count.
    void StartLookup(const platform::TextList& codes);
    /// Reads the code list again and fills List1 with it.
    void LoadCodeList();
    void ShowRecordCount();
    /// The Click of Command1: looks up the text of Text1, shows the warning for an empty one and the message box
    /// for one that is not found.
    void Search();
    /// The Click of List1: looks up the selected entry.
    void ListLookup();

private:
    void showCodes(const platform::TextList& codes);
    void setBoxes(const CodeAnswer& answer);

    QWidget& window_;
    Form1Controls c_;
    KnowledgeBase& knowledge_;
    Form1Pointer& pointer_;
    platform::MessageBoxService& messageBox_;
    // Counts ListLookup runs, so that Search knows when the list's own lookup has already filled the boxes.
    quint64 listLookups_ = 0;
};

}  // namespace tervolin::app
