#include "app/keyboardlink.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>

namespace tervolin::app {
namespace {

class AccessibleLink : public QAccessibleWidget
{
public:
    explicit AccessibleLink(QLabel* label) : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<const QLabel*>(widget())->text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.linked = true;
        return s;
    }
    QStringList actionNames() const override { return QStringList{pressAction()} + QAccessibleWidget::actionNames(); }
    void doAction(const QString& actionName) override
    {
        if (actionName != pressAction()) {
            QAccessibleWidget::doAction(actionName);
            return;
        }
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QCoreApplication::sendEvent(widget(), &key);
        }
    }
    QStringList keyBindingsForAction(const QString& actionName) const override
    {
        return actionName == pressAction() ? QStringList{QStringLiteral("Space")} : QAccessibleWidget::keyBindingsForAction(actionName);
    }
};

}  // namespace

void markAsLink(QLabel& label)
{
    // Registered for this label alone: the widgets' own factory, asked before any installed one, would describe
    // every QLabel as static text. The cache drops the interface with the label.
    // One made before (an accessibility event on the label makes one) goes first.
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(QAccessible::queryAccessibleInterface(&label)));
    QAccessible::registerAccessibleInterface(new AccessibleLink(&label));
}

KeyboardLink* KeyboardLink::attach(QLabel& label) { return new KeyboardLink(label); }

KeyboardLink::KeyboardLink(QLabel& label) : QObject(&label), label_(label)
{
    markAsLink(label);
    label.setFocusPolicy(Qt::TabFocus);
    label.installEventFilter(this);
}

bool KeyboardLink::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &label_)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
        // The focus shows as an underline: the label draws no focus frame, and its colour belongs to the hover.
        QFont font = label_.font();
        font.setUnderline(event->type() == QEvent::FocusIn);
        label_.setFont(font);
        break;
    }
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (key.modifiers() & ~Qt::KeypadModifier)
            break;
        if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space) {
            Q_EMIT activated();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return false;
}

}  // namespace tervolin::app
