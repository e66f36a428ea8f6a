#pragma once
// The platform's message box behind a seam: tests install a handler that records the call instead of
// showing a modal window.

#include <QString>

#include <functional>

class QWidget;

namespace tervolin::platform {

enum class MessageIcon { None, Information, Warning, Critical, Question };

struct MessageBoxRequest
{
    QWidget* parent = nullptr;
    QString text;
    QString title;
    MessageIcon icon = MessageIcon::None;
};

using MessageBoxHandler = std::function<void(const MessageBoxRequest&)>;

/// Shows a modal message box with an OK button and returns when the user closes it.
void showMessageBox(const MessageBoxRequest& request);
/// Replaces the message box (an empty handler restores the real one); returns the previous handler.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

}  // namespace tervolin::platform
