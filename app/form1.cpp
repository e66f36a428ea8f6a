#include "app/form1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "app/appresources.h"
#include "app/form1history.h"
#include "app/form1lookup.h"
#include "app/form1pointer.h"
#include "app/guanyu.h"
#include "app/keyboardlink.h"
#include "app/zuixiaohua.h"
#include "controls/button/vantlebutton.h"
#include "platform/data/dataerror.h"
#include "platform/listbox.h"
#include "platform/messagebox.h"

namespace tervolin::app {

Form1::Form1(Form1Start start, platform::MessageBoxService& messageBox, QWidget* parent)
    : QWidget(parent), showAboutWindow(ShowAboutWindow), messageBox_(messageBox), knowledge_(std::move(start.knowledge))
{
    // Ambient properties the buttons see: the window's back colour, running (not designing).
    container_.setBackColor(Form1Layout::FormBackColor);
    container_.setUserMode(true);
    controls_ = Form1Layout::build(*this, start.design, container_);
    icon_ = programIconPixmap().toImage();
    setWindowIcon(programIcon());

    timer3_ = new QTimer(this);
    timer3_->setInterval(1000);
    connect(timer3_, &QTimer::timeout, this, &Form1::Timer3_Timer);

    pointer_ = new Form1Pointer(*this, *controls_.Text1, *controls_.Label5, *controls_.Label6);
    lookup_ = new Form1Lookup(*this, controls_, *knowledge_, *pointer_, messageBox_);
    connect(lookup_, &Form1Lookup::codeListLoaded, this, &Form1::codeListLoaded);
    connect(lookup_, &Form1Lookup::codeListFailed, this, &Form1::reportDataFailure);
    history_ = new Form1History(*this, controls_, *knowledge_);
    connect(pointer_, &Form1Pointer::moveRequested, this, &Form1::WindowMoveRequested);
    connect(pointer_, &Form1Pointer::linkClicked, this, &Form1::Label6_Click);
    // The link after the buttons in the tab order: Enter or Space opens it as a click does.
    connect(KeyboardLink::attach(*controls_.Label6), &KeyboardLink::activated, this, &Form1::Label6_Click);
    QWidget::setTabOrder(controls_.vantlebutton2, controls_.Label6);
    // The crash-history link after it; it takes Enter and Space itself.
    markAsLink(*history_->link());
    QWidget::setTabOrder(controls_.Label6, history_->link());
    connect(controls_.Command1, &controls::vantlebutton::Click, this, [this] { guarded([this] { Search(); }); });
    connect(controls_.List1, &platform::ListBox::Click, this, [this] { guarded([this] { ListLookup(); }); });
    connect(controls_.vantlebutton2, &controls::vantlebutton::Click, this, &Form1::vantlebutton2_Click);
    connect(controls_.vantlebutton3, &controls::vantlebutton::Click, this, &Form1::vantlebutton3_Click);
}

Form1::~Form1() = default;

void Form1::Form_Load()
{
    controls_.vantlebutton2->setCaption(QStringLiteral("X"));
    controls_.vantlebutton3->setCaption(QStringLiteral("--"));
    controls_.Command1->setCaption(QStringLiteral("查询"));
    lookup_->StartLookup();
    zuixiaohua::InstallHook(this);
    zuixiaohua::AddTrayIcon(this);
    timer3_->start();
}

void Form1::LoadCodeList() { lookup_->LoadCodeList(); }
bool Form1::isCodeListLoaded() const { return lookup_->isCodeListLoaded(); }
void Form1::Search() { lookup_->Search(); }
void Form1::ListLookup() { lookup_->ListLookup(); }

void Form1::Form_Unload() { zuixiaohua::RemoveTrayIcon(this); }

void Form1::Timer3_Timer() { zuixiaohua::HideOnMinimise(this); }

void Form1::paintEvent(QPaintEvent*)
{
    // The labels, as child widgets, lie above what the window paints.
    QPainter painter(this);
    Form1Layout::paintShapes(painter, icon_);
}

void Form1::Label6_Click()
{
    if (showAboutWindow)
        showAboutWindow(this);
}

void Form1::vantlebutton3_Click() { setWindowState((windowState() & ~Qt::WindowActive) | Qt::WindowMinimized); }

void Form1::vantlebutton2_Click() { close(); }

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
    // Unloading the main window ends the program, also while the About window is open.
    QCoreApplication::exit(0);
}

void Form1::showCentred()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    activateWindow();
    controls_.Text1->setFocus();
}

template <typename Handler>
void Form1::guarded(Handler handler)
{
    try {
        handler();
    } catch (const platform::data::DataError& error) {
        reportDataFailure(error.message() + QStringLiteral("\n") + error.filePath());
    }
}

void Form1::reportDataFailure(const QString& message)
{
    messageBox_.show(this, message, windowTitle(), platform::MessageBoxIcon::Critical);
    close();
    QCoreApplication::exit(1);
}

}  // namespace tervolin::app
