#pragma once
// Shared pieces of the button tests: a form to host buttons in, pictures, and a painter that records.

#include "controls/button/stylepainter.h"
#include "tests/button/testnames.h"
#include "controls/button/vantlebutton.h"
#include "platform/picture.h"
#include "platform/usercontrol.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

#include <memory>

namespace tervolin::test {

inline platform::Picture solidBitmap(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(colour);
    return platform::Picture::bitmap(img);
}

inline platform::Picture solidIcon(int w, int h, QRgb colour)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(colour);
    return platform::Picture::icon(img);
}

/// A form with ambient properties and a parent window for buttons.
struct ButtonForm
{
    platform::ControlContainer container;
    QWidget window;

    /// A button placed on the form, initialised, at 97 × 25 pixels; not yet given its properties.
    std::unique_ptr<controls::vantlebutton> place(const QString& name = QStringLiteral("vantlebutton1"))
    {
        auto b = std::make_unique<controls::vantlebutton>(&window);
        b->setSite(&container, name);
        b->resize(97, 25);
        b->initialize();
        return b;
    }
};

/// Records, for the tests, every call of the painter registered for a style.
struct PainterTrace
{
    static QStringList& calls()
    {
        static QStringList list;
        return list;
    }
    static controls::ButtonLook& last()
    {
        static controls::ButtonLook look;
        return look;
    }
    static void paint(platform::Surface&, const controls::ButtonLook& look, controls::PainterRequests&)
    {
        calls() << QStringLiteral("Redraw");
        last() = look;
    }
};

}  // namespace tervolin::test
