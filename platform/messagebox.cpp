#include "platform/messagebox.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace tervolin::platform {

void QtMessageBoxService::show(QWidget* parent, const QString& text, const QString& title, MessageBoxIcon icon)
{
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageBoxIcon::None: qtIcon = QMessageBox::NoIcon; break;
    case MessageBoxIcon::Critical: qtIcon = QMessageBox::Critical; break;
    case MessageBoxIcon::Question: qtIcon = QMessageBox::Question; break;
    case MessageBoxIcon::Exclamation: qtIcon = QMessageBox::Warning; break;
    case MessageBoxIcon::Information: qtIcon = QMessageBox::Information; break;
    }
    QMessageBox box(qtIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
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
