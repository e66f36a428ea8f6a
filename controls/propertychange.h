#pragma once
// How the controls announce a property change: the property's change signal, then the container's
// property-changed notification under the property's name. The name is that of the Q_PROPERTY whose NOTIFY signal
// was emitted, so the declarations are the one list of what is announced under which name.

#include <QMetaMethod>
#include <QMetaObject>
#include <QString>

#include <type_traits>

namespace tervolin::controls {

/// The name of the property of `metaObject` that `signal` notifies; empty when it notifies none.
QString propertyNotifiedBy(const QMetaObject& metaObject, const QMetaMethod& signal);

/// Emits a property's change signal with its value and tells the container that the property changed.
template <typename Control, typename... Args>
void announce(Control& control, void (Control::*signal)(Args...), std::type_identity_t<Args>... values)
{
    Q_EMIT(control.*signal)(values...);
    control.PropertyChanged(propertyNotifiedBy(Control::staticMetaObject, QMetaMethod::fromSignal(signal)));
}

}  // namespace tervolin::controls
