#pragma once
// Input services the controls use beside Qt's events: pointer position and the window under it, mouse
// capture, the current pointer, system pointers by identifier, leave-notification requests, the table of
// available library entry points (tests take leave tracking away by emptying it), keystroke sending and
// one pass of pending-event processing.

#include "platform/windowhandle.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace tervolin::platform {

// --- Pointer and capture ---------------------------------------------------------------------------------------

/// The pointer's screen position as of the last mouse event delivered to the program (the platform's
/// cursor position before any).
QPoint cursorPos();
/// Starts following the pointer through the program's mouse events (needs the application object); every
/// window that will ask for cursorPos calls it when it is made.
void followPointer();
/// The window of ours under a screen point (window shapes respected); 0 for none.
WindowHandle windowFromPoint(QPoint screenPos);
/// Sends every mouse event to the window until released; returns the window that had the mouse before.
WindowHandle setCapture(WindowHandle window);
/// The window that has the mouse captured, or 0.
WindowHandle getCapture();
bool releaseCapture();

using CursorHandle = std::int32_t;  // 0 is no pointer
inline constexpr std::int32_t IDC_HAND = 32649;
/// Loads a standard system pointer by identifier (IDC_ARROW 32512, IDC_IBEAM 32513, IDC_WAIT 32514,
/// IDC_CROSS 32515, IDC_HAND 32649 …); 0 for an unknown identifier.
CursorHandle loadCursor(std::int32_t id);
/// Makes the pointer the one shown over the window; 0 restores the window's own pointer.
void setCursor(WindowHandle window, CursorHandle cursor);
/// The pointer shape last set on the window with setCursor (Qt::ArrowCursor when none).
Qt::CursorShape currentCursorShape(WindowHandle window);

// --- Library entry points ----------------------------------------------------------------------------------------

using ModuleHandle = std::int32_t;  // 0 is no library

/// A library and the entry points it offers. The process starts with User32 (loaded, TrackMouseEvent) and
/// Comctl32 (not loaded, _TrackMouseEvent); names compare without regard to case.
struct LibraryExports
{
    QString library;
    std::vector<QString> functions;
    bool loaded = false;
};
/// Replaces the table of libraries (an empty table: nothing can be found); returns the previous one.
std::vector<LibraryExports> setAvailableEntryPoints(std::vector<LibraryExports> table);
std::vector<LibraryExports> defaultEntryPoints();

ModuleHandle getModuleHandle(const QString& library);
ModuleHandle loadLibrary(const QString& library);
bool freeLibrary(ModuleHandle module);
bool getProcAddress(ModuleHandle module, const QString& function);
/// Number of loadLibrary calls not yet matched by freeLibrary.
int outstandingLibraryLoads();

// --- Leave tracking ------------------------------------------------------------------------------------------------

struct TrackMouseEventRecord
{
    std::uint32_t cbSize = 16;
    std::uint32_t dwFlags = 0;  // TME_LEAVE 2
    WindowHandle hwndTrack = 0;
    std::uint32_t dwHoverTime = 0;
};
inline constexpr std::uint32_t TME_LEAVE = 2;
/// Arms one leave message for the record's window (TME_LEAVE only); false for a bad record or dead window.
bool trackMouseEvent(const TrackMouseEventRecord& record);

// --- Keyboard and events ---------------------------------------------------------------------------------------------

/// Queues keystrokes for the focused widget without waiting: plain characters, {TAB}, {ENTER}, {ESC}, and the
/// prefixes + (Shift), ^ (Ctrl), % (Alt) for the next key. "+{TAB}" moves the focus back, "{TAB}" on.
void sendKeys(const QString& keys);
/// Lets the platform process its pending events once.
void doEvents();

}  // namespace tervolin::platform
