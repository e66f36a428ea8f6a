#include "controls/propertychange.h"

#include <QMetaProperty>

namespace tervolin::controls {

QString propertyNotifiedBy(const QMetaObject& metaObject, const QMetaMethod& signal)
{
    for (int i = 0; i < metaObject.propertyCount(); ++i) {
        const QMetaProperty property = metaObject.property(i);
        if (property.hasNotifySignal() && property.notifySignalIndex() == signal.methodIndex())
            return QString::fromLatin1(property.name());
    }
    return {};
}

}  // namespace tervolin::controls
