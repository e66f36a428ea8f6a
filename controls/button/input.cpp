// vantlebutton's input: mouse, double click, keys, access key and focus turned into ButtonState, check-box
// toggling, redraws and the events the container receives.

#include "controls/button/accesskey.h"
#include "controls/button/vantlebutton.h"
#include "platform/inputservices.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>

namespace tervolin::controls {

namespace {

short buttonMask(Qt::MouseButtons buttons)
{
    short mask = 0;
    if (buttons & Qt::LeftButton)
        mask |= 1;
    if (buttons & Qt::RightButton)
        mask |= 2;
    if (buttons & Qt::MiddleButton)
        mask |= 4;
    return mask;
}

short shiftMask(Qt::KeyboardModifiers modifiers)
{
    short mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= 1;
    if (modifiers & Qt::ControlModifier)
        mask |= 2;
    if (modifiers & Qt::AltModifier)
        mask |= 4;
    return mask;
}

// The platform's virtual-key code of a Qt key (0 for keys without one).
short virtualKey(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<short>(key);  // 'A'..'Z'
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<short>(key);  // '0'..'9'
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<short>(0x70 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return: case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Pause: return 19;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

}  // namespace

// --- Handlers ---------------------------------------------------------------------------------------------------

void vantlebutton::setHandPointerNow()
{
    if (m_HandPointer && HandCursor != 0)
        platform::setCursor(hWnd(), HandCursor);
}

void vantlebutton::UserControl_MouseDown(short Button, short Shift, float X, float Y)
{
    SavedMouseDown = {Button, Shift, X, Y};
    setHandPointerNow();
    if (Button != 1)
        return;
    HasFocus = true;
    LeftButtonHeld = true;
    if (PointerOver)
        ButtonState = ButtonStates::StateDown;
    Redraw();
    Q_EMIT MouseDown(Button, Shift, X, Y);
}

void vantlebutton::UserControl_MouseMove(short Button, short Shift, float X, float Y)
{
    const platform::WindowHandle under = platform::windowFromPoint(platform::cursorPos());
    if (under != hWnd()) {
        PointerOver = false;
        Q_EMIT MouseLeave();
    }
    RequestLeaveNotification(hWnd());
    if (PointerOver) {
        setHandPointerNow();
        if (LeftButtonHeld)
            ButtonState = ButtonStates::StateDown;
        else if (!SpaceHeld)
            ButtonState = ButtonStates::StateHot;
        Redraw();
    }
    Q_EMIT MouseMove(Button, Shift, X, Y);
}

void vantlebutton::UserControl_MouseUp(short Button, short Shift, float X, float Y)
{
    setHandPointerNow();
    if (Button == 1) {
        LeftButtonHeld = false;
        if (X > 0 && X < static_cast<float>(clientWidth()) && Y > 0 && Y < static_cast<float>(clientHeight())) {
            if (m_CheckBoxMode) {
                toggleValue();
                Redraw();
            }
            Q_EMIT Click();
        }
    }
    // A capture taken by a double click or the space bar ends with the next button release; kept longer it
    // would route every click in the program to this button.
    if (m_captured) {
        m_captured = false;
        if (platform::getCapture() == hWnd())
            platform::releaseCapture();
    }
    Q_EMIT MouseUp(Button, Shift, X, Y);
}

void vantlebutton::UserControl_DblClick()
{
    setHandPointerNow();
    if (SavedMouseDown.Button != 1)
        return;
    platform::setCapture(hWnd());
    m_captured = true;
    ButtonState = ButtonStates::StateDown;
    Redraw();
    const MouseArguments saved = SavedMouseDown;
    UserControl_MouseDown(saved.Button, saved.Shift, saved.X, saved.Y);
    Q_EMIT DblClick();
}

void vantlebutton::UserControl_KeyDown(short KeyCode, short Shift)
{
    switch (KeyCode) {
    case 13:
        Q_EMIT Click();
        break;
    case 32:
        if (!LeftButtonHeld) {
            if (Shift == 4)
                return;  // Alt+Space belongs to the window menu
            SpaceHeld = true;
            if (m_CheckBoxMode) {
                toggleValue();
            } else if (ButtonState != ButtonStates::StateDown) {
                ButtonState = ButtonStates::StateDown;
                Redraw();
            }
        }
        if (platform::getCapture() != hWnd()) {
            platform::releaseCapture();
            platform::setCapture(hWnd());
            m_captured = true;
        }
        break;
    case 37:
    case 38:
        platform::sendKeys(QStringLiteral("+{TAB}"));
        break;
    case 39:
    case 40:
        platform::sendKeys(QStringLiteral("{TAB}"));
        break;
    default:
        break;
    }
    Q_EMIT KeyDown(KeyCode, Shift);
}

void vantlebutton::UserControl_KeyUp(short KeyCode, short Shift)
{
    if (KeyCode != 32)
        return;
    if (PointerOver && LeftButtonHeld) {
        ButtonState = ButtonStates::StateDown;
        Redraw();
    } else if (PointerOver) {
        ButtonState = ButtonStates::StateHot;
        Redraw();
        Q_EMIT Click();
    } else {
        ButtonState = ButtonStates::StateNormal;
        Redraw();
        Q_EMIT Click();
    }
    Q_EMIT KeyUp(KeyCode, Shift);
    SpaceHeld = false;
    LeftButtonHeld = false;
}

void vantlebutton::UserControl_AccessKeyPress(short KeyAscii)
{
    if (!isEnabled())
        return;
    if (SpaceHeld) {
        SpaceHeld = false;
        LeftButtonHeld = false;
    }
    if (m_CheckBoxMode) {
        if (KeyAscii == 27 || KeyAscii == 13)
            return;
        toggleValue();
        if (!m_Value)
            ButtonState = ButtonStates::StateNormal;
        Redraw();
    }
    // Pending events may close the form: Click goes only to a button that still exists.
    const QPointer<vantlebutton> self(this);
    platform::doEvents();
    if (self && !isTerminated())
        Q_EMIT Click();
}

void vantlebutton::click()
{
    if (!isEnabled())
        return;
    // A click with the mouse gives the button the focus before the press reaches it.
    setFocus(Qt::MouseFocusReason);
    const auto x = static_cast<float>(width() / 2), y = static_cast<float>(height() / 2);
    UserControl_MouseDown(1, 0, x, y);
    UserControl_MouseUp(1, 0, x, y);
}

void vantlebutton::UserControl_GotFocus()
{
    HasFocus = true;
    if (PointerOver)
        ButtonState = ButtonStates::StateHot;
    else if (!LeftButtonHeld)
        ButtonState = ButtonStates::StateNormal;
}

void vantlebutton::UserControl_LostFocus()
{
    HasFocus = false;
    LeftButtonHeld = false;
    SpaceHeld = false;
    ButtonState = ParentActive && PointerOver ? ButtonStates::StateHot : ButtonStates::StateNormal;
    if (m_captured) {
        m_captured = false;
        if (platform::getCapture() == hWnd())
            platform::releaseCapture();
    }
    Redraw();
}

// --- Qt events ----------------------------------------------------------------------------------------------------

void vantlebutton::registerAccessKey()
{
    if (m_accessKeyShortcut != 0) {
        releaseShortcut(m_accessKeyShortcut);
        m_accessKeyShortcut = 0;
    }
    if (!m_accessKey.isNull())
        m_accessKeyShortcut = grabShortcut(accessKeySequence(m_accessKey));
}

bool vantlebutton::event(QEvent* event)
{
    if (event->type() == QEvent::Shortcut) {
        const auto* se = static_cast<QShortcutEvent*>(event);
        if (se->shortcutId() == m_accessKeyShortcut && m_accessKeyShortcut != 0) {
            UserControl_AccessKeyPress(static_cast<short>(m_accessKey.unicode()));
            return true;
        }
    }
    return UserControl::event(event);
}

void vantlebutton::mousePressEvent(QMouseEvent* event)
{
    // The press that completes a double click is delivered as the double click alone.
    if (event->flags() & Qt::MouseEventCreatedDoubleClick)
        return;
    const QPointF p = event->position();
    UserControl_MouseDown(buttonMask(event->button()), shiftMask(event->modifiers()), static_cast<float>(p.x()),
                          static_cast<float>(p.y()));
}

void vantlebutton::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    UserControl_MouseMove(buttonMask(event->buttons()), shiftMask(event->modifiers()), static_cast<float>(p.x()),
                          static_cast<float>(p.y()));
}

void vantlebutton::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    UserControl_MouseUp(buttonMask(event->button()), shiftMask(event->modifiers()), static_cast<float>(p.x()),
                        static_cast<float>(p.y()));
}

void vantlebutton::mouseDoubleClickEvent(QMouseEvent* event)
{
    (void)event;
    UserControl_DblClick();
}

void vantlebutton::keyPressEvent(QKeyEvent* event)
{
    UserControl_KeyDown(virtualKey(event->key()), shiftMask(event->modifiers()));
}

void vantlebutton::keyReleaseEvent(QKeyEvent* event)
{
    // Held keys repeat as key downs only.
    if (event->isAutoRepeat())
        return;
    UserControl_KeyUp(virtualKey(event->key()), shiftMask(event->modifiers()));
}

void vantlebutton::focusInEvent(QFocusEvent* event)
{
    UserControl::focusInEvent(event);
    UserControl_GotFocus();
}

void vantlebutton::focusOutEvent(QFocusEvent* event)
{
    UserControl::focusOutEvent(event);
    UserControl_LostFocus();
}

}  // namespace tervolin::controls
