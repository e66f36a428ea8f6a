#pragma once
// Start-up: the main window is loaded on the data file before it is shown; a file that cannot be used
// is reported and no window opens.

#include <memory>

namespace tervolin::platform {
class MessageBoxService;
}

namespace tervolin::app {

class Form1;

/// Creates Form1 and runs its load. On a data failure shows a message box with the engine's error text and
/// the file path and returns null; the caller then ends with a non-zero status.
std::unique_ptr<Form1> loadMainWindow(platform::MessageBoxService& messageBox);

}  // namespace tervolin::app
