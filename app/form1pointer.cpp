#include "app/form1pointer.h"

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWindow>

#include "app/form1layout.h"

namespace tervolin::app {

Form1Pointer::Form1Pointer(QWidget& window, QLineEdit& text1, QLabel& label5, QLabel& label6)
    : QObject(&window), window_(window), text1_(text1), label5_(label5), label6_(label6)
{
    // A press or move on a control is that control's own: it never reaches the window's surface handlers.
    for (QWidget* child : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setAttribute(Qt::WA_NoMousePropagation);
    for (QWidget* watched : {&window, static_cast<QWidget*>(&text1), static_cast<QWidget*>(&label5), static_cast<QWidget*>(&label6)}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
}

void Form1Pointer::resetText1() { Form1Layout::setBaseColour(text1_, Form1Layout::WindowBackground); }

bool Form1Pointer::eventFilter(QObject* watched, QEvent* event)
{
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse)
        return false;
    if (watched == &window_)
        windowEvent(*mouse);
    else if (watched == &text1_ && event->type() == QEvent::MouseMove)
        Text1_MouseMove();
    else if (watched == &label5_)
        label5Event(*mouse);
    else if (watched == &label6_)
        label6Event(*mouse);
    return false;
}

void Form1Pointer::windowEvent(const QMouseEvent& event)
{
    // Image1 takes its own presses and moves (it has no handler for them).
    const bool onImage1 = Form1Layout::image1Rect().contains(event.position().toPoint());
    switch (event.type()) {
    case QEvent::MouseButtonPress:
        if (!onImage1)
            Form_MouseDown(event.button(), event.globalPosition());
        break;
    case QEvent::MouseMove:
        if (followingPointer_)
            followPointer(event.globalPosition());
        else if (!onImage1)
            Form_MouseMove();
        break;
    case QEvent::MouseButtonRelease:
        stopFollowing(event);
        break;
    default:
        break;
    }
}

void Form1Pointer::label5Event(const QMouseEvent& event)
{
    if (event.type() == QEvent::MouseButtonPress)
        Label5_MouseDown(event.button(), event.globalPosition());
    else if (event.type() == QEvent::MouseMove)
        followPointer(event.globalPosition());
    else if (event.type() == QEvent::MouseButtonRelease)
        stopFollowing(event);
}

void Form1Pointer::label6Event(const QMouseEvent& event)
{
    if (event.type() == QEvent::MouseMove) {
        Label6_MouseMove();
    } else if (event.type() == QEvent::MouseButtonPress && event.button() == Qt::LeftButton) {
        label6Pressed_ = true;
    } else if (event.type() == QEvent::MouseButtonRelease && event.button() == Qt::LeftButton) {
        const bool click = label6Pressed_ && label6_.rect().contains(event.position().toPoint());
        label6Pressed_ = false;
        if (click)
            Q_EMIT linkClicked();
    }
}

void Form1Pointer::Form_MouseDown(Qt::MouseButton button, QPointF globalPos) { dragWindow(button, globalPos); }

void Form1Pointer::Label5_MouseDown(Qt::MouseButton button, QPointF globalPos) { dragWindow(button, globalPos); }

void Form1Pointer::Form_MouseMove()
{
    resetText1();
    Form1Layout::setTextColour(label6_, Form1Layout::ButtonText);
}

void Form1Pointer::Text1_MouseMove() { Form1Layout::setBaseColour(text1_, Form1Layout::Text1HoverBack); }

void Form1Pointer::Label6_MouseMove() { Form1Layout::setTextColour(label6_, Form1Layout::Label6HoverText); }

void Form1Pointer::dragWindow(Qt::MouseButton button, QPointF globalPos)
{
    if (button != Qt::LeftButton)
        return;
    // The window system moves the window as if its caption had been pressed; where it will not, the window
    // follows the pointer itself until the left button is released.
    QWindow* handle = window_.windowHandle();
    const bool systemMove = handle && handle->startSystemMove();
    if (!systemMove) {
        followingPointer_ = true;
        pointerOffset_ = globalPos.toPoint() - window_.pos();
    }
    Q_EMIT moveRequested(systemMove);
}

void Form1Pointer::followPointer(QPointF globalPos)
{
    if (followingPointer_)
        window_.move(globalPos.toPoint() - pointerOffset_);
}

void Form1Pointer::stopFollowing(const QMouseEvent& event)
{
    if (event.button() == Qt::LeftButton)
        followingPointer_ = false;
}

}  // namespace tervolin::app
