#pragma once
// The platform's message box behind a seam: tests hand a MessageBoxService of their own to the window that
// shows it instead of the modal dialog.

#include <QString>

class QCoreApplication;
class QWidget;

namespace tervolin::platform {

enum class MessageBoxIcon { None, Critical, Question, Exclamation, Information };

class MessageBoxService
{
public:
    virtual ~MessageBoxService() = default;
    /// Shows a modal message box with one OK button and returns when it has been closed.
    virtual void show(QWidget* parent, const QString& text, const QString& title, MessageBoxIcon icon) = 0;
};

/// The platform's modal message box.
class QtMessageBoxService final : public MessageBoxService
{
public:
    void show(QWidget* parent, const QString& text, const QString& title, MessageBoxIcon icon) override;
};

/// Loads Qt's Simplified Chinese texts for the standard dialogs (the OK button reads 确定).
/// Returns false when the translation is not installed; the dialogs then keep their English texts.
bool installStandardDialogTranslations(QCoreApplication& app);

}  // namespace tervolin::platform
