#pragma once
// Form1: the main window. A borderless window drawing its own caption strip (icon, title, minimise and close
// buttons), moved by dragging its background or its title; below the strip the code input with the search
// button, the list of every code, the analysis and solution boxes, and the lookup procedures behind them.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

#include <functional>
#include <memory>

#include "app/knowledgebase.h"
#include "platform/usercontrol.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTimer;

namespace tervolin::controls {
class vantlebutton;
}

namespace tervolin::platform {
class FormDescription;
class ListBox;
class MessageBoxService;
}  // namespace tervolin::platform

namespace tervolin::app {

class Form1 : public QWidget
{
    Q_OBJECT
public:
    /// Creates the window and its controls; the buttons read their stored properties from the window's
    /// form description.
    explicit Form1(platform::MessageBoxService& messageBox, QWidget* parent = nullptr);

    /// The load handler: button captions, StartLookup, window hook, notification-area icon.
    /// Throws platform::data::DataError.
    void Form_Load();

    void LoadCodeList();
    void StartLookup();
    void ShowRecordCount();
    void Search();
    void ListLookup();

    /// Shows the window centred on the screen with the focus in Text1.
    void showCentred();

    /// Timer3's tick (every 1000 ms): hides the window once it is minimised.
    void Timer3_Timer();

    /// Rectangles of the light-weight controls drawn by the window itself, in pixels.
    static QRect shape1Rect();
    static QRect shape2Rect();
    static QRect line1Rect();
    static QRect image1Rect();

    // The window's controls, by their designer names.
    QLineEdit* Text1;
    platform::ListBox* List1;
    QPlainTextEdit* Text2;
    QPlainTextEdit* Text3;
    controls::vantlebutton* Command1;
    controls::vantlebutton* vantlebutton2;  // close
    controls::vantlebutton* vantlebutton3;  // minimise
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* Label5;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* Label8;
    QTimer* Timer3;

    /// The knowledge base the window reads (open after StartLookup).
    KnowledgeBase& knowledgeBase() { return *knowledge_; }

    /// Opens the About window; replaceable so that the window can be observed without it.
    std::function<void(QWidget*)> showAboutWindow;

Q_SIGNALS:
    /// The window asked to be moved with the pointer: by the window system's own move (true) or, where the
    /// platform refuses that, by following the pointer itself until the button is released (false).
    void WindowMoveRequested(bool systemMove);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    controls::vantlebutton* loadButton(const platform::FormDescription& form, const QString& name);

    void Form_MouseDown(Qt::MouseButton button, QPointF globalPos);
    void Form_MouseMove();
    void Form_Unload();
    void Label5_MouseDown(Qt::MouseButton button, QPointF globalPos);
    void Label6_Click();
    void Label6_MouseMove();
    void Text1_MouseMove();
    void Command1_Click();
    void List1_Click();
    void vantlebutton2_Click();
    void vantlebutton3_Click();

    /// Moves the window with the pointer while the left button is held (left button only).
    void dragWindow(Qt::MouseButton button, QPointF globalPos);
    void followPointer(QPointF globalPos);
    void setText1Back(platform::ColorRef colour);
    void setLabel6Colour(platform::ColorRef colour);

    /// Runs an event handler; a data failure inside it is reported and ends the program.
    template <typename Handler>
    void guarded(Handler handler);
    void setBoxes(const CodeAnswer& answer);

    platform::MessageBoxService& messageBox_;
    std::unique_ptr<KnowledgeBase> knowledge_;
    platform::ControlContainer container_;
    QImage icon_;
    bool followingPointer_ = false;
    // Counts ListLookup runs, so that Search knows when the list's own lookup has already filled the boxes.
    quint64 listLookups_ = 0;
    QPoint pointerOffset_;  // from the window's top-left corner to the pointer, while following it
    bool label6Pressed_ = false;
};

}  // namespace tervolin::app
