#pragma once
// guanyu: the About window, opened from the main window's "关于软件" link.

class QWidget;

namespace tervolin::app {

/// Shows the About window, not modal, owned by `owner` (created on first use, shown again afterwards).
void ShowAboutWindow(QWidget* owner);

}  // namespace tervolin::app
