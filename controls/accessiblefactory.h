#pragma once
// The interface factory of a control for QAccessible: it hands out the control's accessible interface for
// objects of exactly that class.

#include <QAccessible>
#include <QObject>
#include <QString>

namespace tervolin::controls {

template <typename Control, typename Interface>
QAccessibleInterface* createAccessible(const QString& className, QObject* object)
{
    if (className != QLatin1String(Control::staticMetaObject.className()))
        return nullptr;
    auto* control = qobject_cast<Control*>(object);
    return control ? new Interface(control) : nullptr;
}

/// Installs the factory once, however many controls of the class are made.
template <typename Control, typename Interface>
void installAccessibleFactory()
{
    static const bool installed = (QAccessible::installFactory(&createAccessible<Control, Interface>), true);
    (void)installed;
}

}  // namespace tervolin::controls
