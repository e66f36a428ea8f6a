#pragma once
// Start-up: everything that can fail is read before any widget is built: the main window's design, the data file
// and its code list. A failure is reported and no window opens.

#include <QString>

#include <memory>
#include <variant>

namespace tervolin::platform {
class MessageBoxService;
}

namespace tervolin::app {

class Form1;
struct Form1Start;

/// Reads the main window's design and opens the knowledge base on the data file (UserData) with its code list.
/// The error is the text to show: what failed, the file and the engine's own words.
std::variant<Form1Start, QString> prepareMainWindow();

/// Prepares, builds and loads Form1. On a failure shows the error in a message box and returns null; the caller
/// then ends with a non-zero status.
std::unique_ptr<Form1> loadMainWindow(platform::MessageBoxService& messageBox);

}  // namespace tervolin::app
