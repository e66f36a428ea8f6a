#pragma once
// Window procedures: every window of ours can carry a chain of message procedures in front of its default
// processing. Qt events the controls care about arrive as window messages (mouse move, mouse leave, activate,
// non-client activate); other messages can be sent directly. Procedures are replaced the classic way — read
// the current one, install a new one that forwards to it — but removal unlinks just that one procedure, so
// procedures installed later keep working, and a removed procedure is never called again.
//
//   WindowProcRef saved = getWindowProc(h);               // the procedure in place now
//   WindowProcRef mine = setWindowProc(h, [saved](WindowHandle w, Message m, WParam wp, LParam lp) {
//       ...;                                               // look at the message
//       return callWindowProc(saved, w, m, wp, lp);        // and pass it on
//   });                                                    // setWindowProc returns the new procedure
//   removeWindowProc(h, mine);                            // later, in any order

#include "platform/windowhandle.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace tervolin::platform {

using Message = std::uint32_t;
using WParam = std::int32_t;
using LParam = std::int32_t;
using LResult = std::int32_t;

namespace Messages {
inline constexpr Message WM_ACTIVATE = 0x0006;
inline constexpr Message WM_NCACTIVATE = 0x0086;
inline constexpr Message WM_MOUSEMOVE = 0x0200;
inline constexpr Message WM_LBUTTONDBLCLK = 0x0203;
inline constexpr Message WM_MOUSELEAVE = 0x02A3;
inline constexpr Message WM_USER = 0x0400;
}  // namespace Messages

/// wParam of WM_ACTIVATE: WA_INACTIVE 0, WA_ACTIVE 1. Mouse-move wParam: MK_LBUTTON 1, MK_RBUTTON 2, MK_SHIFT 4,
/// MK_CONTROL 8, MK_MBUTTON 0x10; lParam: x in the low 16 bits, y in the high 16 bits (client pixels).
inline constexpr LParam makeLParam(int low, int high)
{
    return static_cast<LParam>((static_cast<std::uint32_t>(low) & 0xFFFFu) | (static_cast<std::uint32_t>(high) << 16));
}

using WindowProcFn = std::function<LResult(WindowHandle, Message, WParam, LParam)>;

class WindowProcedure;
/// One procedure of one window's chain. Holding a reference keeps calling through it safe after the
/// procedure was removed or its window destroyed: such a call goes on to the procedure that was below it.
using WindowProcRef = std::shared_ptr<WindowProcedure>;

/// The procedure that handles the window's messages now (the default processing when none is installed);
/// null for a handle that names no live window.
WindowProcRef getWindowProc(WindowHandle window);

/// Installs a procedure in front of the window's current one and returns it (null for a dead window, and
/// nothing is installed). Messages reach it from the next one on; it is complete before then.
WindowProcRef setWindowProc(WindowHandle window, WindowProcFn proc);

/// Takes an installed procedure out of its window's chain; procedures installed after it keep theirs. The
/// procedure's function is released and never called again. A window already destroyed is not touched.
/// Returns false when the procedure is not (or no longer) in a chain.
bool removeWindowProc(WindowHandle window, const WindowProcRef& proc);

/// Calls a procedure (typically the one that was in place before yours). A removed procedure forwards to
/// the live one below it; the default processing of a destroyed window does nothing and returns 0.
LResult callWindowProc(const WindowProcRef& proc, WindowHandle window, Message message, WParam wParam, LParam lParam);

/// Sends a message to a window through its whole chain; 0 for a dead window.
LResult sendMessage(WindowHandle window, Message message, WParam wParam, LParam lParam);

/// Number of procedures installed on a window (the default processing not counted).
int installedProcCount(WindowHandle window);

/// Arms one WM_MOUSELEAVE for the window: it is sent when the pointer next leaves the window. Asking again
/// before that changes nothing. False for a dead window.
bool trackMouseLeave(WindowHandle window);
/// Whether a WM_MOUSELEAVE is armed for the window.
bool mouseLeaveArmed(WindowHandle window);

}  // namespace tervolin::platform
