// Interim definitions so that the main window links and keeps its load and unload order; the tray module
// replaces this file with the window procedure and the notification-area icon.
#include "app/zuixiaohua.h"

namespace tervolin::app::zuixiaohua {

void Install(Form1& form) { (void)form; }
void AddTrayIcon(Form1& form) { (void)form; }
void RemoveTrayIcon(Form1& form) { (void)form; }

}  // namespace tervolin::app::zuixiaohua
