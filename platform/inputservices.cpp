#include "platform/inputservices.h"

#include "platform/windowproc.h"

#include <QApplication>
#include <QCursor>
#include <QHash>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <optional>

namespace tervolin::platform {

namespace {

// Follows the pointer through the mouse events the program receives, so the position is right whichever
// way the event came (real input, a synthetic move while a button is held).
class PointerRecorder : public QObject
{
public:
    std::optional<QPoint> last;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            if (watched->isWidgetType())
                last = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
            break;
        default:
            break;
        }
        return false;
    }
};

PointerRecorder& recorder()
{
    static PointerRecorder* r = [] {
        auto* created = new PointerRecorder;
        qApp->installEventFilter(created);
        return created;
    }();
    return *r;
}


QHash<WindowHandle, Qt::CursorShape>& setCursors()
{
    static QHash<WindowHandle, Qt::CursorShape> map;
    return map;
}

struct Library
{
    LibraryExports exports;
    ModuleHandle handle = 0;
    int loads = 0;
};

struct Libraries
{
    std::vector<Library> list;
    ModuleHandle next = 0x70000000;
    int outstanding = 0;
};

Libraries& libraries()
{
    static Libraries libs = [] {
        Libraries l;
        for (LibraryExports& e : defaultEntryPoints())
            l.list.push_back({std::move(e), l.next += 0x10000, 0});
        return l;
    }();
    return libs;
}

Library* findLibrary(const QString& name)
{
    for (Library& lib : libraries().list)
        if (lib.exports.library.compare(name, Qt::CaseInsensitive) == 0)
            return &lib;
    return nullptr;
}

Library* findLibrary(ModuleHandle handle)
{
    for (Library& lib : libraries().list)
        if (handle != 0 && lib.handle == handle)
            return &lib;
    return nullptr;
}

}  // namespace

void followPointer()
{
    if (QCoreApplication::instance())
        recorder();
}

QPoint cursorPos()
{
    const PointerRecorder& r = recorder();
    return r.last ? *r.last : QCursor::pos();
}

WindowHandle windowFromPoint(QPoint screenPos)
{
    return handleOf(QApplication::widgetAt(screenPos));
}

WindowHandle setCapture(WindowHandle window)
{
    const WindowHandle before = getCapture();
    if (QWidget* w = widgetOf(window))
        w->grabMouse();
    return before;
}

WindowHandle getCapture()
{
    return handleOf(QWidget::mouseGrabber());
}

bool releaseCapture()
{
    if (QWidget* w = QWidget::mouseGrabber())
        w->releaseMouse();
    return true;
}

CursorHandle loadCursor(std::int32_t id)
{
    switch (id) {
    case 32512: case 32513: case 32514: case 32515: case 32649: return id;
    default: return 0;
    }
}

void setCursor(WindowHandle window, CursorHandle cursor)
{
    QWidget* w = widgetOf(window);
    if (!w)
        return;
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (cursor) {
    case 32513: shape = Qt::IBeamCursor; break;
    case 32514: shape = Qt::WaitCursor; break;
    case 32515: shape = Qt::CrossCursor; break;
    case 32649: shape = Qt::PointingHandCursor; break;
    default: break;
    }
    if (cursor == 0) {
        setCursors().remove(window);
        return;
    }
    setCursors().insert(window, shape);
    w->setCursor(shape);
}

Qt::CursorShape currentCursorShape(WindowHandle window)
{
    return setCursors().value(window, Qt::ArrowCursor);
}

std::vector<LibraryExports> defaultEntryPoints()
{
    return {{QStringLiteral("User32"), {QStringLiteral("TrackMouseEvent")}, true},
            {QStringLiteral("Comctl32"), {QStringLiteral("_TrackMouseEvent")}, false}};
}

std::vector<LibraryExports> setAvailableEntryPoints(std::vector<LibraryExports> table)
{
    Libraries& libs = libraries();
    std::vector<LibraryExports> previous;
    for (const Library& lib : libs.list)
        previous.push_back(lib.exports);
    libs.list.clear();
    for (LibraryExports& e : table)
        libs.list.push_back({std::move(e), libs.next += 0x10000, 0});
    return previous;
}

ModuleHandle getModuleHandle(const QString& library)
{
    const Library* lib = findLibrary(library);
    return lib && (lib->exports.loaded || lib->loads > 0) ? lib->handle : 0;
}

ModuleHandle loadLibrary(const QString& library)
{
    Library* lib = findLibrary(library);
    if (!lib)
        return 0;
    ++lib->loads;
    ++libraries().outstanding;
    return lib->handle;
}

bool freeLibrary(ModuleHandle module)
{
    Library* lib = findLibrary(module);
    if (!lib || lib->loads == 0)
        return false;
    --lib->loads;
    --libraries().outstanding;
    return true;
}

bool getProcAddress(ModuleHandle module, const QString& function)
{
    const Library* lib = findLibrary(module);
    if (!lib || (!lib->exports.loaded && lib->loads == 0))
        return false;
    for (const QString& f : lib->exports.functions)
        if (f == function)  // entry-point names are case-sensitive
            return true;
    return false;
}

int outstandingLibraryLoads() { return libraries().outstanding; }

bool trackMouseEvent(const TrackMouseEventRecord& record)
{
    if (record.cbSize != sizeof(TrackMouseEventRecord) || (record.dwFlags & TME_LEAVE) == 0)
        return false;
    return trackMouseLeave(record.hwndTrack);
}

void sendKeys(const QString& keys)
{
    Qt::KeyboardModifiers pending;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QChar c = keys.at(i);
        if (c == QLatin1Char('+')) { pending |= Qt::ShiftModifier; continue; }
        if (c == QLatin1Char('^')) { pending |= Qt::ControlModifier; continue; }
        if (c == QLatin1Char('%')) { pending |= Qt::AltModifier; continue; }
        int key = 0;
        QString text;
        if (c == QLatin1Char('{')) {
            const qsizetype end = keys.indexOf(QLatin1Char('}'), i + 1);
            if (end < 0)
                return;
            const QString name = keys.mid(i + 1, end - i - 1).toUpper();
            i = end;
            if (name == QLatin1String("TAB")) {
                key = pending & Qt::ShiftModifier ? Qt::Key_Backtab : Qt::Key_Tab;
                text = QStringLiteral("\t");
            } else if (name == QLatin1String("ENTER")) {
                key = Qt::Key_Return;
                text = QStringLiteral("\r");
            } else if (name == QLatin1String("ESC")) {
                key = Qt::Key_Escape;
            } else {
                pending = {};
                continue;
            }
        } else {
            key = QKeySequence(QString(c.toUpper()))[0].key();
            text = QString(c);
        }
        if (QWidget* target = QApplication::focusWidget()) {
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, pending, text));
            QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, pending, text));
        }
        pending = {};
    }
}

void doEvents() { QCoreApplication::processEvents(); }

}  // namespace tervolin::platform
