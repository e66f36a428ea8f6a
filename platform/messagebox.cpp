#include "platform/messagebox.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QAbstractButton>
#include <QTranslator>

namespace tervolin::platform {
namespace {

MessageBoxHandler& installedHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

QMessageBox::Icon qtIcon(MessageBoxIcon icon)
{
    switch (icon) {
    case MessageBoxIcon::Critical: return QMessageBox::Critical;
    case MessageBoxIcon::Question: return QMessageBox::Question;
    case MessageBoxIcon::Exclamation: return QMessageBox::Warning;
    case MessageBoxIcon::Information: return QMessageBox::Information;
    case MessageBoxIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void showMessageBox(const MessageBoxRequest& request)
{
    if (installedHandler()) {
        installedHandler()(request);
        return;
    }
    QMessageBox box(qtIcon(request.icon), request.title, request.text, QMessageBox::Ok, request.parent);
    // Without Qt's Chinese translation (qt6-translations-l10n absent) the button would read "OK".
    if (QAbstractButton* ok = box.button(QMessageBox::Ok); ok && ok->text().remove(QLatin1Char('&')) == QLatin1String("OK"))
        ok->setText(QStringLiteral("确定"));
    box.exec();
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}

void QtMessageBoxService::show(QWidget* parent, const QString& text, const QString& title, MessageBoxIcon icon)
{
    showMessageBox({parent, text, title, icon});
}

bool installStandardDialogTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace tervolin::platform
