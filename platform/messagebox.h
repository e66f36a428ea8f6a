#pragma once
// The platform's message box behind a seam: tests replace the modal dialog, either by installing a handler
// for the whole process or by handing a MessageBoxService of their own to the window that shows it.

#include <QString>

#include <functional>

class QCoreApplication;
class QWidget;

namespace tervolin::platform {

enum class MessageBoxIcon { None, Critical, Question, Exclamation, Information };
using MessageIcon = MessageBoxIcon;

struct MessageBoxRequest
{
    QWidget* parent = nullptr;
    QString text;
    QString title;
    MessageBoxIcon icon = MessageBoxIcon::None;
};

using MessageBoxHandler = std::function<void(const MessageBoxRequest&)>;

/// Shows a modal message box with one OK button and returns when the user closes it (or calls the installed handler).
void showMessageBox(const MessageBoxRequest& request);
/// Replaces the message box (an empty handler restores the real one); returns the previous handler.
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    /// Shows a modal message box with one OK button and returns when it has been closed.
    virtual void show(QWidget* parent, const QString& text, const QString& title, MessageBoxIcon icon) = 0;
};

/// The process-wide message box (showMessageBox).
class QtMessageBoxService final : public MessageBoxService
{
public:
    void show(QWidget* parent, const QString& text, const QString& title, MessageBoxIcon icon) override;
};

/// Loads Qt's Simplified Chinese texts for the standard dialogs (the OK button reads 确定).
/// Returns false when the translation is not installed; the dialogs then keep their English texts.
bool installStandardDialogTranslations(QCoreApplication& app);

}  // namespace tervolin::platform
