#pragma once
// Window handles: small stable integers naming the windows of the program, so that code written against
// handles (hooks, the parent window kept by a control) never holds a dangling widget pointer.

#include <QWidget>

#include <cstdint>

namespace tervolin::platform {

using WindowHandle = std::int32_t;  // 0 is no window

/// The handle of a widget, assigned on first use and kept for the widget's lifetime; 0 for nullptr.
WindowHandle handleOf(const QWidget* widget);
/// The live widget with that handle, or nullptr once it is destroyed (or for an unknown handle).
QWidget* widgetOf(WindowHandle handle);

}  // namespace tervolin::platform
