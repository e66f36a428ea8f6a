#include "platform/messagebox.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QAbstractButton>
#include <QTranslator>

namespace tervolin::platform {
namespace {

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

void QtMessageBoxService::show(QWidget* parent, const QString& text, const QString& title, MessageBoxIcon icon)
{
    QMessageBox box(qtIcon(icon), title, text, QMessageBox::Ok, parent);
    // Without Qt's Chinese translation (qt6-translations-l10n absent) the button would read "OK".
    if (QAbstractButton* ok = box.button(QMessageBox::Ok); ok && ok->text().remove(QLatin1Char('&')) == QLatin1String("OK"))
        ok->setText(QStringLiteral("确定"));
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
