#pragma once
// Records a control's property change signals in the order they are emitted, by property name, next to the
// container's property-changed notifications.

#include "platform/usercontrol.h"

#include <QMetaProperty>
#include <QObject>
#include <QStringList>

namespace tervolin::test {

class ChangeSignals : public QObject
{
    Q_OBJECT
public:
    /// Listens to the NOTIFY signal of every property the control's class declares, and to its notifications.
    explicit ChangeSignals(platform::UserControl& control) : m_control(control)
    {
        const QMetaObject* mo = control.metaObject();
        const int record = staticMetaObject.indexOfSlot("record()");
        for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
            if (const QMetaProperty p = mo->property(i); p.hasNotifySignal())
                QMetaObject::connect(&control, p.notifySignalIndex(), this, record);
        connect(&control, &platform::UserControl::propertyChanged, this, [this](const QString& name) { told << name; });
    }

    QStringList signalled;  ///< property names, one per change signal
    QStringList told;       ///< names passed to the container's notification

    void clear()
    {
        signalled.clear();
        told.clear();
    }

private Q_SLOTS:
    void record()
    {
        const QMetaObject* mo = m_control.metaObject();
        for (int i = mo->propertyOffset(); i < mo->propertyCount(); ++i)
            if (mo->property(i).notifySignalIndex() == senderSignalIndex())
                signalled << QString::fromLatin1(mo->property(i).name());
    }

private:
    platform::UserControl& m_control;
};

}  // namespace tervolin::test
