#pragma once
// The pointer on the main window: the hover effects on Text1 and Label6 that only the bare surface undoes,
// dragging the window by its surface or its title (left button only), and the click of the About link. It
// watches the window and those three controls; every other control keeps its presses and moves to itself.

#include <QObject>
#include <QPoint>
#include <QPointF>

class QEvent;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QWidget;

namespace tervolin::app {

class Form1Pointer : public QObject
{
    Q_OBJECT
public:
    /// Starts watching; the window owns the result.
    Form1Pointer(QWidget& window, QLineEdit& text1, QLabel& label5, QLabel& label6);

    /// Ends Text1's hover colour (a search does so too).
    void resetText1();

Q_SIGNALS:
    /// The window asked to be moved with the pointer: by the window system's own move (true) or, where the
    /// platform refuses that, by following the pointer itself until the button is released (false).
    void moveRequested(bool systemMove);
    /// Label6 was clicked: pressed and released inside it with the left button.
    void linkClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void windowEvent(const QMouseEvent& event);
    void label5Event(const QMouseEvent& event);
    void label6Event(const QMouseEvent& event);

    void Form_MouseDown(Qt::MouseButton button, QPointF globalPos);
    void Form_MouseMove();
    void Label5_MouseDown(Qt::MouseButton button, QPointF globalPos);
    void Label6_MouseMove();
    void Text1_MouseMove();

    /// Moves the window with the pointer while the left button is held.
    void dragWindow(Qt::MouseButton button, QPointF globalPos);
    void followPointer(QPointF globalPos);
    void stopFollowing(const QMouseEvent& event);

    QWidget& window_;
    QLineEdit& text1_;
    QLabel& label5_;
    QLabel& label6_;
    bool followingPointer_ = false;
    QPoint pointerOffset_;  // from the window's top-left corner to the pointer, while following it
    bool label6Pressed_ = false;
};

}  // namespace tervolin::app
