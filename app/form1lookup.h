#pragma once
// What the user comes for, in the main window's controls: the list of every code with its completion and the
// record count, the search for the typed code and the lookup of the code picked in the list.
//
// The list is read on a worker thread after the window is built (CodeListLoader) and fills in parts while the
// window is shown; the record count and the completion follow when it is complete. A search before then shows its
// answer at once, and the list selects the code when its entry arrives.

#include <QObject>

#include "app/form1layout.h"
#include "app/knowledgebase.h"

namespace tervolin::platform {
class MessageBoxService;
}

namespace tervolin::app {

class CodeListLoader;
class Form1Pointer;

class Form1Lookup : public QObject
{
    Q_OBJECT
public:
    /// Answers in `controls` from `knowledge`; a search ends Text1's hover colour through `pointer`. The window
    /// owns the result and outlives the other three.
    Form1Lookup(QWidget& window, const Form1Controls& controls, KnowledgeBase& knowledge, Form1Pointer& pointer,
                platform::MessageBoxService& messageBox);

    /// Starts filling List1 with the codes (LoadCodeList); the record count is written when the list is complete.
    void StartLookup();
    /// Reads the code list (again) and fills List1 with it in parts, then writes the record count and attaches the
    /// completion on Text1.
    void LoadCodeList();
    /// Whether the list holds every code.
    bool isCodeListLoaded() const { return loaded_; }
    void ShowRecordCount();
    /// The Click of Command1: looks up the text of Text1, shows the warning for an empty one and the message box
    /// for one that is not found.
    void Search();
    /// The Click of List1: looks up the selected entry.
    void ListLookup();

Q_SIGNALS:
    /// List1 holds every code; the record count and the completion are in place.
    void codeListLoaded();
    /// The code list could not be read: what to tell the user (the file and the engine's own words).
    void codeListFailed(const QString& message);

private:
    void codeListComplete();
    void setBoxes(const CodeAnswer& answer);

    QWidget& window_;
    Form1Controls c_;
    KnowledgeBase& knowledge_;
    Form1Pointer& pointer_;
    platform::MessageBoxService& messageBox_;
    CodeListLoader* loader_ = nullptr;
    bool loaded_ = false;
    // Counts ListLookup runs, so that Search knows when the list's own lookup has already filled the boxes.
    quint64 listLookups_ = 0;
};

}  // namespace tervolin::app
