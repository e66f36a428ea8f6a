#include "platform/windowhandle.h"

#include <QHash>
#include <QPointer>

namespace tervolin::platform {

namespace {

struct Registry
{
    QHash<const QWidget*, WindowHandle> byWidget;
    QHash<WindowHandle, QPointer<QWidget>> byHandle;
    WindowHandle next = 0x10000;  // handles look like the platform's: never small, never reused
};

Registry& registry()
{
    static Registry r;
    return r;
}

}  // namespace

WindowHandle handleOf(const QWidget* widget)
{
    if (!widget)
        return 0;
    Registry& r = registry();
    if (auto it = r.byWidget.constFind(widget); it != r.byWidget.cend()) {
        // A new widget may reuse the address of a destroyed one: the stale entry is replaced.
        if (r.byHandle.value(*it).data() == widget)
            return *it;
        r.byHandle.remove(*it);
    }
    const WindowHandle h = r.next;
    r.next += 4;
    auto* w = const_cast<QWidget*>(widget);
    r.byWidget.insert(widget, h);
    r.byHandle.insert(h, QPointer<QWidget>(w));
    QObject::connect(w, &QObject::destroyed, [widget, h] {
        Registry& reg = registry();
        reg.byHandle.remove(h);
        if (reg.byWidget.value(widget) == h)
            reg.byWidget.remove(widget);
    });
    return h;
}

QWidget* widgetOf(WindowHandle handle)
{
    const Registry& r = registry();
    return r.byHandle.value(handle).data();
}

}  // namespace tervolin::platform
