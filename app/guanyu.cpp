#include "app/guanyu.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include <variant>

#include "app/appresources.h"
#include "app/nicecontainer.h"
#include "controls/button/vantlebutton.h"
#include "platform/colour.h"
#include "platform/formdescription.h"
#include "platform/twips.h"

namespace tervolin::app {
namespace {

using platform::twipsToPixels;

const QString AboutText = QStringLiteral("作者：Tervolin 开发组\r\n"
                                         "developers@tervolin.org\r\n"
                                         "© 2026 Tervolin 开发组");

platform::FormDescription loadDescription()
{
    initAppResources();
    const QString path = QStringLiteral(":/forms/guanyu.json");
    auto loaded = platform::FormDescription::load(path);
    if (const auto* error = std::get_if<platform::FormDescriptionError>(&loaded))
        qFatal("%s", qPrintable(error->toString()));  // the description is built into the program
    return std::get<platform::FormDescription>(std::move(loaded));
}

}  // namespace

guanyu::guanyu(QWidget* owner) : QWidget(owner, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("guanyu"));
    setWindowTitle(QStringLiteral("关于软件"));
    // Closing the main window ends the program even while this window is shown.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(twipsToPixels(4680), twipsToPixels(2190));
    setFont(QFont(QStringLiteral("宋体"), 9));

    NiceContainr1 = new NiceContainr(this);
    NiceContainr1->setObjectName(QStringLiteral("NiceContainr1"));
    NiceContainr1->setCaption(QStringLiteral("关于软件"));
    NiceContainr1->setGeometry(rect());

    Label1 = new QLabel(NiceContainr1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsToPixels(1920, 840, 2295, 975));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setTextFormat(Qt::PlainText);

    Picture1 = new QLabel(NiceContainr1);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(twipsToPixels(600, 720, 975, 975));
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setScaledContents(false);
    QPalette palette = Picture1->palette();
    palette.setColor(QPalette::Window, platform::toQColor(platform::rgb(239, 244, 252)));
    Picture1->setPalette(palette);
    Picture1->setAutoFillBackground(true);
    Picture1->setPixmap(programIconPixmap());

    const platform::FormDescription description = loadDescription();
    const platform::ControlDescription* stored = description.control(u"vantlebutton1");
    if (!stored)
        qFatal("guanyu.json describes no vantlebutton1");
    vantlebutton1 = new controls::vantlebutton(NiceContainr1);
    vantlebutton1->setObjectName(QStringLiteral("vantlebutton1"));
    vantlebutton1->setSite(&container_, QStringLiteral("vantlebutton1"));
    vantlebutton1->setGeometry(twipsToPixels(stored->extent.value_or(QRect(1920, 1680, 1095, 375))));
    vantlebutton1->initialize();
    vantlebutton1->readProperties(stored->properties);
    connect(vantlebutton1, &controls::vantlebutton::Click, this, &guanyu::vantlebutton1_Click);
}

guanyu::~guanyu() = default;

void guanyu::Form_Load() { Label1->setText(AboutText); }

void guanyu::showCentred()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void guanyu::vantlebutton1_Click() { hide(); }

guanyu* ShowAboutWindow(QWidget* owner)
{
    // The window is the owner's child: one per owner, gone with the owner.
    guanyu* window = owner->findChild<guanyu*>(QString(), Qt::FindDirectChildrenOnly);
    if (window) {
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }
    window = new guanyu(owner);
    window->Form_Load();
    window->showCentred();
    return window;
}

}  // namespace tervolin::app
