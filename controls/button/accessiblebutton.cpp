#include "controls/button/accessiblebutton.h"

#include "controls/accessiblefactory.h"
#include "controls/button/accesskey.h"
#include "controls/button/vantlebutton.h"

#include <QKeySequence>

namespace tervolin::controls {

namespace {

void sendStateChange(vantlebutton* button, bool checkable)
{
    QAccessible::State changed;
    changed.checked = true;
    changed.checkable = checkable;
    QAccessibleStateChangeEvent event(button, changed);
    QAccessible::updateAccessibility(&event);
}

}  // namespace

AccessibleButton::AccessibleButton(vantlebutton* button) : QAccessibleWidget(button, QAccessible::Button) {}

vantlebutton* AccessibleButton::button() const { return static_cast<vantlebutton*>(widget()); }

QAccessible::Role AccessibleButton::role() const
{
    return button()->CheckBoxMode() ? QAccessible::CheckBox : QAccessible::Button;
}

QAccessible::State AccessibleButton::state() const
{
    QAccessible::State s = QAccessibleWidget::state();  // focusable, focused, disabled, invisible
    const vantlebutton* b = button();
    if (b->CheckBoxMode()) {
        s.checkable = true;
        s.checked = b->Value();
    }
    s.pressed = b->ButtonState == ButtonStates::StateDown;
    s.hotTracked = b->PointerOver;
    s.defaultButton = b->DisplayAsDefault;
    return s;
}

QString AccessibleButton::text(QAccessible::Text t) const
{
    switch (t) {
    case QAccessible::Name:
        if (const QString name = widget()->accessibleName(); !name.isEmpty())
            return name;
        return platform::Surface::stripPrefix(button()->Caption());
    case QAccessible::Accelerator:
        return accessKeySequence(button()->accessKey()).toString(QKeySequence::NativeText);
    default:
        return QAccessibleWidget::text(t);
    }
}

QStringList AccessibleButton::actionNames() const
{
    QStringList names;
    if (widget()->isEnabled()) {
        names << pressAction();
        if (button()->CheckBoxMode())
            names << toggleAction();
    }
    return names + QAccessibleWidget::actionNames();
}

void AccessibleButton::doAction(const QString& actionName)
{
    if (actionName == pressAction() || actionName == toggleAction())
        button()->click();
    else
        QAccessibleWidget::doAction(actionName);
}

QStringList AccessibleButton::keyBindingsForAction(const QString& actionName) const
{
    if (actionName == pressAction() || actionName == toggleAction()) {
        const QKeySequence key = accessKeySequence(button()->accessKey());
        return key.isEmpty() ? QStringList() : QStringList{key.toString(QKeySequence::NativeText)};
    }
    return QAccessibleWidget::keyBindingsForAction(actionName);
}

void connectAccessibility(vantlebutton& button)
{
    installAccessibleFactory<vantlebutton, AccessibleButton>();

    vantlebutton* b = &button;
    QObject::connect(b, &vantlebutton::CaptionChanged, b, [b] {
        QAccessibleEvent event(b, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    });
    QObject::connect(b, &vantlebutton::ValueChanged, b, [b] {
        if (b->CheckBoxMode())
            sendStateChange(b, false);
    });
    QObject::connect(b, &vantlebutton::CheckBoxModeChanged, b, [b] { sendStateChange(b, true); });
}

}  // namespace tervolin::controls
