#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/font.h"
#include "platform/messagebox.h"

using namespace tervolin::platform;

TEST(MessageBox, TheRealBoxIsModalWithTitleTextIconAndOneChineseOkButton)
{
    if (!installStandardDialogTranslations(*QCoreApplication::instance()))
        GTEST_SKIP() << "qtbase_zh_CN.qm (qt6-translations-l10n) is not installed";
    QString title, text, buttonText;
    int buttons = -1;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        modal = box->isModal();
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = static_cast<int>(box->buttons().size());
        buttonText = box->buttons().value(0)->text();
        box->accept();
    });
    QtMessageBoxService service;
    service.show(nullptr, QStringLiteral("找不到"), QStringLiteral("标题"), MessageBoxIcon::Critical);
    EXPECT_TRUE(modal);
    EXPECT_EQ(title, QStringLiteral("标题"));
    EXPECT_EQ(text, QStringLiteral("找不到"));
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(buttonText.remove(QLatin1Char('&')), QStringLiteral("确定"));
}

// Run alone (as ctest runs it) no translation is loaded, so this checks the box's own fallback text; after the
// test above it checks Qt's translated text. Either way the button must read 确定, never OK.
TEST(MessageBox, OkButtonReadsChineseWithOrWithoutQtTranslation)
{
    QString buttonText;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        buttonText = box->buttons().value(0)->text();
        box->accept();
    });
    QtMessageBoxService().show(nullptr, QStringLiteral("找不到记录"), QStringLiteral("Tervolin1.0"), MessageBoxIcon::Information);
    EXPECT_EQ(buttonText.remove(QLatin1Char('&')), QStringLiteral("确定"));
}

TEST(Fonts, WindowsFaceNamesMapToInstalledFamilies)
{
    installFontSubstitutions();
    struct Case { const char* face; const char* family; };
    for (const Case& c : {Case{"宋体", "AR PL UMing CN"}, Case{"SimSun", "AR PL UMing CN"}, Case{"楷体_GB2312", "AR PL UKai CN"}, Case{"KaiTi", "AR PL UKai CN"}})
        EXPECT_EQ(QFont::substitute(QString::fromUtf8(c.face)).compare(QString::fromUtf8(c.family), Qt::CaseInsensitive), 0) << c.face;
}
