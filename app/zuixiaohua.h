#pragma once
// zuixiaohua: minimising the main window to the notification area. Holds the main window's previous window
// procedure and the replacement that watches for the icon's callback message, adds and removes the icon,
// and hides the window once it is minimised.

#include "platform/trayicon.h"
#include "platform/windowhandle.h"
#include "platform/windowproc.h"

#include <cstdint>

class QWidget;

namespace tervolin::app::zuixiaohua {

inline constexpr std::uint32_t TrayIconId = 9999;
inline constexpr std::uint32_t TrayCallbackMessage = platform::Messages::WM_USER + 100;  // 1124

/// A window procedure: window, message, first and second parameter; returns the message's result.
using WindowProcedure = std::intptr_t (*)(platform::WindowHandle, std::uint32_t, std::intptr_t, std::intptr_t);

/// The procedure that every message goes on to after TrayWindowProc (none: the window's default processing).
extern WindowProcedure SavedWindowProc;

/// The replacement procedure: a left double click on the icon restores and shows the window; every message,
/// that one included, then goes on to SavedWindowProc, whose result is returned.
std::intptr_t TrayWindowProc(platform::WindowHandle hWnd, std::uint32_t uMsg, std::intptr_t wParam, std::intptr_t lParam);

/// Installs TrayWindowProc into the window's message chain in front of its current procedure, which
/// SavedWindowProc then forwards to; the icon's callback messages travel through that chain.
void InstallHook(QWidget* window);
/// Adds the window's icon: identifier 9999, callback 1124, the window's icon, the window's caption as the tip.
void AddTrayIcon(QWidget* window);
/// Removes the window's icon.
void RemoveTrayIcon(QWidget* window);
/// The main window's timer tick: hides the window when it is minimised. Where the desktop has no
/// notification area the window stays minimised, so that it can still be reached (said once on stderr).
void HideOnMinimise(QWidget* window);

/// The notification area the module uses: the system's unless another one is set (null restores it).
platform::NotificationArea& notificationArea();
void setNotificationArea(platform::NotificationArea* area);
/// Delivers an icon's callback message to its window (the notification area's callback).
void deliverTrayCallback(platform::WindowHandle hWnd, std::uint32_t uMsg, std::intptr_t wParam, std::intptr_t lParam);

}  // namespace tervolin::app::zuixiaohua
