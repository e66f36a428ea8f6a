#pragma once
// zuixiaohua: minimise to the notification area. Holds the main window's previous window procedure, installs
// the replacement that answers the notification-area icon, and adds and removes that icon.

namespace tervolin::app {

class Form1;

namespace zuixiaohua {

/// Installs the main window's replacement window procedure (run by the window's load, after StartLookup).
void Install(Form1& form);
/// Adds the notification-area icon (run by the window's load, last).
void AddTrayIcon(Form1& form);
/// Removes the notification-area icon (run by the window's unload).
void RemoveTrayIcon(Form1& form);

}  // namespace zuixiaohua
}  // namespace tervolin::app
