#pragma once
// A shown form with one run-mode vantlebutton whose events are recorded, for the input and hook tests.

#include "buttontestsupport.h"
#include "platform/inputservices.h"
#include "platform/propertystore.h"

#include <QApplication>
#include <QStringList>
#include <QWindow>

namespace tervolin::test {

struct InputHarness
{
    ButtonForm form;
    std::unique_ptr<controls::vantlebutton> b;
    QStringList events;

    explicit InputHarness(bool userMode = true)
    {
        form.container.setUserMode(userMode);
        form.window.resize(220, 100);
        b = form.place();
        b->move(50, 30);
        platform::PropertyStore store;
        b->readProperties(store);
        record(*b, events);
        form.window.show();
        QApplication::setActiveWindow(&form.window);
        QApplication::processEvents();
    }

    static void record(controls::vantlebutton& button, QStringList& log)
    {
        using controls::vantlebutton;
        QObject::connect(&button, &vantlebutton::Click, [&log] { log << QStringLiteral("Click"); });
        QObject::connect(&button, &vantlebutton::DblClick, [&log] { log << QStringLiteral("DblClick"); });
        QObject::connect(&button, &vantlebutton::MouseEnter, [&log] { log << QStringLiteral("MouseEnter"); });
        QObject::connect(&button, &vantlebutton::MouseLeave, [&log] { log << QStringLiteral("MouseLeave"); });
        QObject::connect(&button, &vantlebutton::MouseMove, [&log](short&, short&, float&, float&) { log << QStringLiteral("MouseMove"); });
        QObject::connect(&button, &vantlebutton::MouseUp, [&log](short& b, short&, float&, float&) {
            log << QStringLiteral("MouseUp(%1)").arg(b);
        });
        QObject::connect(&button, &vantlebutton::MouseDown, [&log](short& b, short&, float&, float&) {
            log << QStringLiteral("MouseDown(%1)").arg(b);
        });
        QObject::connect(&button, &vantlebutton::KeyDown, [&log](short& k, short& s) { log << QStringLiteral("KeyDown(%1,%2)").arg(k).arg(s); });
        QObject::connect(&button, &vantlebutton::KeyUp, [&log](short& k, short&) { log << QStringLiteral("KeyUp(%1)").arg(k); });
    }

    QWindow* win() const { return form.window.windowHandle(); }
    /// A point given in the button's pixels, in the window's.
    QPoint at(int x, int y) const { return b->mapTo(&form.window, QPoint(x, y)); }
    QStringList take()
    {
        QStringList out = events;
        events.clear();
        return out;
    }
};

}  // namespace tervolin::test
