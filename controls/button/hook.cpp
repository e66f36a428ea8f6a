// vantlebutton's window hook and hover tracking: the message procedure that follows the pointer's entering
// and leaving and the parent window's activation, the leave-notification service, and the hook table.

#include "controls/button/vantlebutton.h"
#include "platform/inputservices.h"

#include <QVariant>

namespace tervolin::controls {

using namespace platform::Messages;
using platform::LParam;
using platform::LResult;
using platform::Message;
using platform::WindowHandle;
using platform::WParam;

bool HookMessageList::contains(Message message) const
{
    if (count == AllMessages)
        return true;
    for (std::int32_t i = 1; i <= count && static_cast<std::size_t>(i) < messages.size(); ++i)
        if (static_cast<Message>(messages[static_cast<std::size_t>(i)]) == message)
            return true;
    return false;
}

void HookMessageList::add(std::int32_t message)
{
    if (message == AllMessages) {
        count = AllMessages;
        return;
    }
    if (count == AllMessages)
        return;
    for (std::int32_t i = 1; i <= count; ++i)
        if (messages[static_cast<std::size_t>(i)] == message)
            return;
    ++count;
    messages.resize(static_cast<std::size_t>(count) + 1);
    messages[static_cast<std::size_t>(count)] = message;
}

void HookMessageList::clear()
{
    count = 0;
    messages.assign(1, 0);
}

void vantlebutton::zSubclass_Proc(bool bBefore, bool& bHandled, LResult& lReturn, WindowHandle& lng_hWnd,
                                  Message& uMsg, WParam& wParam, LParam& lParam)
{
    (void)bBefore;
    (void)bHandled;
    (void)lReturn;
    (void)lParam;
    switch (uMsg) {
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
        if (wParam != 0) {
            ParentActive = true;
        } else {
            LeftButtonHeld = false;
            SpaceHeld = false;
            HasFocus = false;
            ParentActive = false;
        }
        ButtonState = ButtonStates::StateNormal;
        Redraw();
        break;
    case WM_MOUSEMOVE:
        if (PointerOver)
            break;
        PointerOver = true;
        RequestLeaveNotification(lng_hWnd);
        if (!SpaceHeld)
            ButtonState = ButtonStates::StateHot;
        Redraw();
        Q_EMIT MouseEnter();
        break;
    case WM_MOUSELEAVE:
        PointerOver = false;
        if (SpaceHeld)
            break;
        if (isEnabled())
            ButtonState = ButtonStates::StateNormal;
        Redraw();
        Q_EMIT MouseLeave();
        break;
    default:
        break;
    }
}

bool vantlebutton::IsFunctionExported(const QString& function, const QString& library)
{
    bool loadedHere = false;
    platform::ModuleHandle module = platform::getModuleHandle(library);
    if (module == 0) {
        module = platform::loadLibrary(library);
        loadedHere = module != 0;
    }
    if (module == 0)
        return false;
    const bool found = platform::getProcAddress(module, function);
    if (loadedHere)
        platform::freeLibrary(module);
    return found;
}

void vantlebutton::RequestLeaveNotification(WindowHandle window)
{
    if (!LeaveTrackingAvailable)
        return;
    platform::TrackMouseEventRecord record;
    record.cbSize = sizeof(record);
    record.dwFlags = platform::TME_LEAVE;
    record.hwndTrack = window;
    record.dwHoverTime = 0;
    // Both entry points arm the same one-shot leave message here.
    platform::trackMouseEvent(record);
}

int vantlebutton::FindHookEntry(WindowHandle window, bool forAdding) const
{
    for (int i = static_cast<int>(HookTable.size()) - 1; i >= 0; --i) {
        const WindowHandle w = HookTable[static_cast<std::size_t>(i)].Window;
        if (forAdding ? w == 0 : w == window)
            return i;
    }
    return -1;
}

int vantlebutton::HookWindow(WindowHandle window)
{
    int index = 0;
    if (HookTable.empty()) {
        HookTable.resize(1);
    } else {
        index = FindHookEntry(window, true);
        if (index < 0) {
            HookTable.emplace_back();
            index = static_cast<int>(HookTable.size()) - 1;
        }
    }
    HookEntry& entry = HookTable[static_cast<std::size_t>(index)];
    entry.Window = window;
    // The routine's state is complete before the routine is installed: no message finds it half made.
    auto state = std::make_shared<HookRoutine>();
    state->owner = this;
    state->previous = platform::getWindowProc(window);
    entry.state = state;
    entry.PreviousProc = state->previous;
    entry.routine = platform::setWindowProc(window, [state](WindowHandle w, Message m, WParam wp, LParam lp) -> LResult {
        LResult lReturn = 0;
        bool bHandled = false;
        if (state->owner && state->before.contains(m))
            state->owner->zSubclass_Proc(true, bHandled, lReturn, w, m, wp, lp);
        if (bHandled)
            return lReturn;
        lReturn = platform::callWindowProc(state->previous, w, m, wp, lp);
        // The previous procedure may have run handlers that unhooked or destroyed the button.
        if (state->owner && state->after.contains(m))
            state->owner->zSubclass_Proc(false, bHandled, lReturn, w, m, wp, lp);
        return lReturn;
    });
    return index;
}

void vantlebutton::HookAddMessage(WindowHandle window, std::int32_t message, std::int32_t timing)
{
    const int index = FindHookEntry(window, false);
    if (index < 0)
        throw platform::RuntimeError(9, "Subscript out of range");
    HookEntry& entry = HookTable[static_cast<std::size_t>(index)];
    if (!entry.state)
        return;
    if (timing & HookBefore)
        entry.state->before.add(message);
    if (timing & HookAfter)
        entry.state->after.add(message);
}

void vantlebutton::UnhookWindow(WindowHandle window)
{
    const int index = FindHookEntry(window, false);
    if (index < 0)
        throw platform::RuntimeError(9, "Subscript out of range");
    HookEntry& entry = HookTable[static_cast<std::size_t>(index)];
    // Takes only this routine out of the window's chain (hooks installed after it stay); a window that is
    // already gone is not touched.
    if (entry.routine)
        platform::removeWindowProc(window, entry.routine);
    if (entry.state) {
        entry.state->before.clear();
        entry.state->after.clear();
        entry.state->owner = nullptr;
    }
    entry.routine.reset();
    entry.state.reset();
    entry.PreviousProc.reset();
    entry.Window = 0;
}

void vantlebutton::UnhookAllWindows()
{
    for (int i = static_cast<int>(HookTable.size()) - 1; i >= 0; --i) {
        const WindowHandle w = HookTable[static_cast<std::size_t>(i)].Window;
        if (w != 0)
            UnhookWindow(w);
    }
}

void vantlebutton::installHooks()
{
    if (HandPointer()) {
        HandCursor = platform::loadCursor(platform::IDC_HAND);
        if (HandCursor == 0)
            m_HandPointer = false;
    }

    LeaveTrackingAvailable = true;
    LeaveTrackingUser32 = IsFunctionExported(QStringLiteral("TrackMouseEvent"), QStringLiteral("User32"));
    if (!LeaveTrackingUser32 && !IsFunctionExported(QStringLiteral("_TrackMouseEvent"), QStringLiteral("Comctl32")))
        LeaveTrackingAvailable = false;
    if (!LeaveTrackingAvailable)
        return;

    const WindowHandle own = hWnd();
    HookWindow(own);
    HookWindow(ParentWindow);
    HookAddMessage(own, static_cast<std::int32_t>(WM_MOUSEMOVE), HookAfter);
    HookAddMessage(own, static_cast<std::int32_t>(WM_MOUSELEAVE), HookAfter);

    // A form says whether it is an MDI child through its "MDIChild" property (false when it has none); a
    // parent that is no form, or a value that is not a boolean, counts as a failed read.
    bool mdiChild = true;
    if (const QWidget* form = platform::widgetOf(ParentWindow); form && form->isWindow()) {
        const QVariant v = form->property("MDIChild");
        if (!v.isValid())
            mdiChild = false;
        else if (v.canConvert<bool>() && (v.typeId() == QMetaType::Bool || v.typeId() == QMetaType::Int))
            mdiChild = v.toBool();
    }
    HookAddMessage(ParentWindow, static_cast<std::int32_t>(mdiChild ? WM_NCACTIVATE : WM_ACTIVATE), HookAfter);
}

void vantlebutton::removeHooks()
{
    try {
        UnhookWindow(ParentWindow);
        UnhookWindow(hWnd());
        UnhookAllWindows();
    } catch (const platform::RuntimeError&) {
        // Termination stops silently at its first failure.
    }
    // Whatever removal was skipped, no routine left behind may call back into this instance.
    for (HookEntry& entry : HookTable)
        if (entry.state)
            entry.state->owner = nullptr;
}

}  // namespace tervolin::controls
