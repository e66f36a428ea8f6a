#include "platform/windowproc.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHash>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace tervolin::platform {

struct Chain;

class WindowProcedure
{
public:
    std::shared_ptr<const WindowProcFn> fn;  // empty for the default processing and once removed
    WindowProcRef inner;                      // the procedure below this one
    std::weak_ptr<Chain> chain;
    bool isDefault = false;
    bool removed = false;
};

struct Chain
{
    WindowHandle window = 0;
    QPointer<QWidget> widget;
    WindowProcRef base;
    WindowProcRef top;
    bool leaveArmed = false;
    int installed = 0;
};

namespace {

// A Qt event being dispatched as a message: the default processing at the bottom of the chain hands the
// event to the widget; if no procedure passes the message on, the event is swallowed.
struct PendingEvent
{
    WindowHandle window;
    Message message;
    QEvent* event;
    bool delivered;
};

std::vector<PendingEvent>& pendingEvents()
{
    static std::vector<PendingEvent> stack;
    return stack;
}

QHash<WindowHandle, std::shared_ptr<Chain>>& chains()
{
    static QHash<WindowHandle, std::shared_ptr<Chain>> all;
    return all;
}

LParam pointLParam(const QPointF& p)
{
    return makeLParam(static_cast<int>(p.x()), static_cast<int>(p.y()));
}

WParam mouseKeys(const QMouseEvent* e)
{
    WParam keys = 0;
    if (e->buttons() & Qt::LeftButton)
        keys |= 0x1;
    if (e->buttons() & Qt::RightButton)
        keys |= 0x2;
    if (e->modifiers() & Qt::ShiftModifier)
        keys |= 0x4;
    if (e->modifiers() & Qt::ControlModifier)
        keys |= 0x8;
    if (e->buttons() & Qt::MiddleButton)
        keys |= 0x10;
    return keys;
}

LResult dispatchEvent(Chain& chain, Message message, WParam wParam, LParam lParam, QEvent* event)
{
    auto& stack = pendingEvents();
    stack.push_back({chain.window, message, event, false});
    const std::size_t slot = stack.size() - 1;
    const WindowProcRef top = chain.top;
    const LResult result = callWindowProc(top, chain.window, message, wParam, lParam);
    stack.resize(slot);
    return result;
}

// Turns the Qt events of chained widgets into messages. One filter serves every window, so a widget being
// destroyed during dispatch never destroys the filter that is running.
class ChainFilter : public QObject
{
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!watched->isWidgetType())
            return false;
        const WindowHandle window = handleOf(static_cast<QWidget*>(watched));
        const std::shared_ptr<Chain> chain = chains().value(window);
        if (!chain)
            return false;
        switch (event->type()) {
        case QEvent::MouseMove: {
            const auto* me = static_cast<QMouseEvent*>(event);
            dispatchEvent(*chain, Messages::WM_MOUSEMOVE, mouseKeys(me), pointLParam(me->position()), event);
            return true;
        }
        case QEvent::Leave:
            if (!chain->leaveArmed)
                return false;
            chain->leaveArmed = false;
            dispatchEvent(*chain, Messages::WM_MOUSELEAVE, 0, 0, event);
            return true;
        case QEvent::WindowActivate:
        case QEvent::WindowDeactivate: {
            if (!static_cast<QWidget*>(watched)->isWindow())
                return false;
            const WParam active = event->type() == QEvent::WindowActivate ? 1 : 0;
            // The frame is told first, then the window, as the platform does.
            dispatchEvent(*chain, Messages::WM_NCACTIVATE, active, 0, nullptr);
            if (!chains().contains(window))
                return true;
            dispatchEvent(*chain, Messages::WM_ACTIVATE, active, 0, event);
            return true;
        }
        default:
            return false;
        }
    }
};

ChainFilter& chainFilter()
{
    static ChainFilter* filter = new ChainFilter;
    return *filter;
}

LResult defaultProcessing(const Chain* chain, WindowHandle window, Message message)
{
    if (!chain || !chain->widget)
        return 0;
    auto& stack = pendingEvents();
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        if (it->window != window || it->message != message || it->delivered || !it->event)
            continue;
        it->delivered = true;
        // QObject::event is public; QWidget narrows it to protected.
        static_cast<QObject*>(chain->widget.data())->event(it->event);
        return 0;
    }
    return 0;
}

void dropChain(WindowHandle window)
{
    const std::shared_ptr<Chain> chain = chains().take(window);
    if (!chain)
        return;
    for (WindowProcRef p = chain->top; p; p = p->inner) {
        p->removed = !p->isDefault;
        p->fn.reset();
    }
}

std::shared_ptr<Chain> chainFor(WindowHandle window)
{
    if (auto existing = chains().value(window))
        return existing;
    QWidget* widget = widgetOf(window);
    if (!widget)
        return nullptr;
    auto chain = std::make_shared<Chain>();
    chain->window = window;
    chain->widget = widget;
    chain->base = std::make_shared<WindowProcedure>();
    chain->base->isDefault = true;
    chain->base->chain = chain;
    chain->top = chain->base;
    chains().insert(window, chain);
    widget->installEventFilter(&chainFilter());
    QObject::connect(widget, &QObject::destroyed, &chainFilter(), [window] { dropChain(window); });
    return chain;
}

}  // namespace

WindowProcRef getWindowProc(WindowHandle window)
{
    const std::shared_ptr<Chain> chain = chainFor(window);
    return chain ? chain->top : nullptr;
}

WindowProcRef setWindowProc(WindowHandle window, WindowProcFn proc)
{
    const std::shared_ptr<Chain> chain = chainFor(window);
    if (!chain || !proc)
        return nullptr;
    auto node = std::make_shared<WindowProcedure>();
    node->fn = std::make_shared<const WindowProcFn>(std::move(proc));
    node->chain = chain;
    node->inner = chain->top;
    chain->top = node;
    ++chain->installed;
    return node;
}

bool removeWindowProc(WindowHandle window, const WindowProcRef& proc)
{
    if (!proc || proc->isDefault || proc->removed)
        return false;
    const std::shared_ptr<Chain> chain = proc->chain.lock();
    if (!chain || chain->window != window || chains().value(window) != chain)
        return false;
    if (chain->top == proc) {
        chain->top = proc->inner;
    } else {
        WindowProcRef above = chain->top;
        while (above && above->inner != proc)
            above = above->inner;
        if (!above)
            return false;
        above->inner = proc->inner;
    }
    // The node keeps its link inward: a procedure above that still calls it by reference is forwarded.
    proc->removed = true;
    proc->fn.reset();
    --chain->installed;
    return true;
}

LResult callWindowProc(const WindowProcRef& proc, WindowHandle window, Message message, WParam wParam, LParam lParam)
{
    WindowProcRef p = proc;
    while (p && p->removed)
        p = p->inner;
    if (!p)
        return 0;
    if (p->isDefault) {
        const std::shared_ptr<Chain> chain = p->chain.lock();
        return defaultProcessing(chain.get(), window, message);
    }
    // Keep the function alive while it runs: it may remove itself.
    const std::shared_ptr<const WindowProcFn> fn = p->fn;
    return fn ? (*fn)(window, message, wParam, lParam) : 0;
}

LResult sendMessage(WindowHandle window, Message message, WParam wParam, LParam lParam)
{
    const std::shared_ptr<Chain> chain = chains().value(window);
    if (!chain)
        return 0;
    const WindowProcRef top = chain->top;
    return callWindowProc(top, window, message, wParam, lParam);
}

int installedProcCount(WindowHandle window)
{
    const std::shared_ptr<Chain> chain = chains().value(window);
    return chain ? chain->installed : 0;
}

bool trackMouseLeave(WindowHandle window)
{
    const std::shared_ptr<Chain> chain = chainFor(window);
    if (!chain)
        return false;
    chain->leaveArmed = true;
    return true;
}

bool mouseLeaveArmed(WindowHandle window)
{
    const std::shared_ptr<Chain> chain = chains().value(window);
    return chain && chain->leaveArmed;
}

}  // namespace tervolin::platform
