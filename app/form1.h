#pragma once
// Form1: the main window and the program's start object. A borderless window that draws its own caption strip
// (icon, title, minimise and close buttons) and is moved by dragging its background or its title. Its parts read
// on their own: the design (form1layout), the pointer (form1pointer) and the lookups with the code list
// (form1lookup); this class builds and wires them and handles the load, the caption-strip buttons, the tray timer
// and the close.

#include <QImage>
#include <QWidget>

#include <functional>
#include <memory>

#include "app/form1layout.h"
#include "app/knowledgebase.h"
#include "platform/usercontrol.h"

class QTimer;

namespace tervolin::platform {
class MessageBoxService;
}

namespace tervolin::app {

class Form1History;
class Form1Lookup;
class Form1Pointer;

/// What the window is built on, read and checked before any widget exists (see loadMainWindow): the design and the
/// open knowledge base (its table checked to have the columns the window reads).
struct Form1Start
{
    Form1Design design;
    std::unique_ptr<KnowledgeBase> knowledge;
};

class Form1 : public QWidget
{
    Q_OBJECT
public:
    /// Builds the window and its controls; the buttons read their stored properties from the design.
    Form1(Form1Start start, platform::MessageBoxService& messageBox, QWidget* parent = nullptr);
    ~Form1() override;

    /// The load handler: button captions, StartLookup (the code list starts loading), window hook,
    /// notification-area icon.
    void Form_Load();

    /// The lookup procedures (Form1Lookup); a data failure in them throws platform::data::DataError.
    void LoadCodeList();
    void Search();
    void ListLookup();

    /// Shows the window centred on the screen with the focus in Text1.
    void showCentred();

    /// Timer3's tick (every 1000 ms): hides the window once it is minimised.
    void Timer3_Timer();

    /// The knowledge base the window reads.
    KnowledgeBase& knowledgeBase() { return *knowledge_; }
    /// Whether List1 holds every code (it fills after the window shows).
    bool isCodeListLoaded() const;

    /// The crash history: its link label, dropped files and the paths given on the command line.
    Form1History& crashHistory() { return *history_; }

    /// Opens the About window; replaceable so that the window can be observed without it.
    std::function<void(QWidget*)> showAboutWindow;

Q_SIGNALS:
    /// The window asked to be moved with the pointer: by the window system's own move (true) or, where the
    /// platform refuses that, by following the pointer itself until the button is released (false).
    void WindowMoveRequested(bool systemMove);
    /// List1 holds every code, the record count is written and the completion is in place.
    void codeListLoaded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Unload();
    void Label6_Click();
    void vantlebutton2_Click();
    void vantlebutton3_Click();

    /// Runs an event handler; a data failure inside it is reported and ends the program.
    template <typename Handler>
    void guarded(Handler handler);
    /// Shows a data failure and ends the program.
    void reportDataFailure(const QString& message);

    platform::MessageBoxService& messageBox_;
    std::unique_ptr<KnowledgeBase> knowledge_;
    platform::ControlContainer container_;
    QImage icon_;
    Form1Controls controls_;
    Form1Pointer* pointer_;
    Form1Lookup* lookup_;
    Form1History* history_;
    QTimer* timer3_;
};

}  // namespace tervolin::app
