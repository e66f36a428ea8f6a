#pragma once
// Start-up: what can fail before any widget is built is checked first: the main window's design, the data file
// and its table's columns. A failure is reported and no window opens. The code list is read after the window is
// built, on a worker thread (Form1Lookup); a table found damaged then is reported in the window.

#include <QString>

#include <memory>
#include <variant>

namespace tervolin::platform {
class MessageBoxService;
}

namespace tervolin::app {

class Form1;
struct Form1Start;

/// Reads the main window's design and opens the knowledge base on the data file (UserData).
/// The error is the text to show: what failed, the file and the engine's own words.
std::variant<Form1Start, QString> prepareMainWindow();

/// Prepares, builds and loads Form1. On a failure shows the error in a message box and returns null; the caller
/// then ends with a non-zero status.
std::unique_ptr<Form1> loadMainWindow(platform::MessageBoxService& messageBox);

}  // namespace tervolin::app
