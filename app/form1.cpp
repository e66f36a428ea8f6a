#include "app/form1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTimer>
#include <QScreen>
#include <QWindow>

#include <stdexcept>
#include <utility>

#include "app/appresources.h"
#include "app/codecompletion.h"
#include "app/guanyu.h"
#include "app/userdata.h"
#include "app/zuixiaohua.h"
#include "controls/button/vantlebutton.h"
#include "platform/colour.h"
#include "platform/data/dataerror.h"
#include "platform/formdescription.h"
#include "platform/listbox.h"
#include "platform/messagebox.h"

namespace tervolin::app {
namespace {

using platform::data::DataError;

// Layout is given in twips; 15 twips are one pixel at 96 dots per inch (rounded to the nearest pixel).
constexpr int twips(int t) { return (t + 7) / 15; }
QRect twipRect(int left, int top, int width, int height) { return {twips(left), twips(top), twips(width), twips(height)}; }
QRect twipRect(const QRect& r) { return twipRect(r.left(), r.top(), r.width(), r.height()); }

const QString FormDescriptionPath = QStringLiteral(":/forms/form1.json");

constexpr platform::ColorRef FormBackColor = platform::rgb(239, 244, 252);
constexpr platform::ColorRef StripColour = platform::rgb(173, 193, 220);
constexpr platform::ColorRef Text1HoverBack = platform::rgb(220, 232, 250);
constexpr platform::ColorRef Label6HoverText = platform::rgb(0, 0, 255);
constexpr platform::ColorRef WindowBackground = platform::systemColour(5);
constexpr platform::ColorRef ButtonText = platform::systemColour(18);
constexpr platform::ColorRef ActiveBorder = platform::systemColour(10);

QColor colourOf(platform::ColorRef colour) { return platform::toQColor(platform::translateColour(colour)); }

QLabel* makeLabel(QWidget* parent, const QString& text, QRect geometry)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

void setTextColour(QWidget* widget, platform::ColorRef colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colourOf(colour));
    widget->setPalette(palette);
}

// Stored texts break lines with CR LF; the text boxes want plain line feeds.
QString boxText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

}  // namespace

Form1::Form1(platform::MessageBoxService& messageBox, QWidget* parent)
    : QWidget(parent), showAboutWindow(ShowAboutWindow), messageBox_(messageBox)
{
    setWindowTitle(QStringLiteral("Tervolin1.0"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setFixedSize(twips(9405), twips(6315));
    setFont(QFont(QStringLiteral("宋体"), 9));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colourOf(FormBackColor));
    setPalette(palette);
    setAutoFillBackground(true);
    setMouseTracking(true);
    initAppResources();
    icon_ = programIconPixmap().toImage();
    setWindowIcon(programIcon());

    // Ambient properties the buttons see: the window's back colour and font, running (not designing).
    container_.setBackColor(FormBackColor);
    container_.setUserMode(true);

    // Light-weight controls: the labels draw no background; Shape1, Shape2, Line1 and Image1 are painted by
    // the window (paintEvent). Every label but Label4, Label5 and Label7 has the button-text colour.
    Label1 = makeLabel(this, QStringLiteral("输入代码："), twipRect(720, 600, 975, 375));
    Label2 = makeLabel(this, QStringLiteral("问题分析："), twipRect(3600, 1680, 1215, 255));
    Label3 = makeLabel(this, QStringLiteral("解决方法："), twipRect(3600, 3600, 1335, 375));
    Label4 = makeLabel(this, QStringLiteral("查询不能为空"), twipRect(5760, 600, 3015, 375));
    setTextColour(Label4, platform::rgb(255, 0, 0));
    Label4->hide();
    Label5 = makeLabel(this, QStringLiteral("Tervolin1.0"), twipRect(480, 75, 3975, 375));
    platform::FontDescription titleFont;
    titleFont.name = QStringLiteral("楷体_GB2312");
    titleFont.size = 12;
    titleFont.weight = 700;
    Label5->setFont(titleFont.toQFont());
    setTextColour(Label5, platform::rgb(64, 64, 64));
    Label6 = makeLabel(this, QStringLiteral("关于软件"), twipRect(7800, 600, 1095, 255));
    Label7 = makeLabel(this, QString(), twipRect(3600, 1320, 4935, 375));
    setTextColour(Label7, platform::rgb(128, 128, 255));
    Label8 = makeLabel(this, QString(), twipRect(840, 5640, 8295, 375));
    for (QLabel* label : {Label1, Label2, Label3, Label6, Label8})
        setTextColour(label, ButtonText);
    // Stacking among the labels, bottom to top.
    for (QLabel* label : {Label1, Label4, Label2, Label3, Label5, Label6, Label7, Label8})
        label->raise();

    // Windowed controls lie above every light-weight one; created bottom to top.
    Timer3 = new QTimer(this);
    Timer3->setInterval(1000);
    connect(Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);

    Text1 = new QLineEdit(this);
    Text1->setGeometry(twipRect(1800, 480, 2175, 375));
    setText1Back(WindowBackground);
    List1 = new platform::ListBox(this);
    List1->setGeometry(twipRect(720, 1320, 2415, 4200));
    // A standard list box clips long entries: no horizontal scroll bar, no ellipsis.
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setTextElideMode(Qt::ElideNone);
    Text2 = new QPlainTextEdit(this);
    Text2->setGeometry(twipRect(3720, 1920, 5295, 1575));
    Text3 = new QPlainTextEdit(this);
    Text3->setGeometry(twipRect(3720, 3840, 5295, 1575));
    // Text and list boxes have the window background colour, whatever the desktop's style makes of them.
    for (QWidget* box : std::initializer_list<QWidget*>{List1, Text2, Text3}) {
        QPalette boxPalette = box->palette();
        boxPalette.setColor(QPalette::Base, colourOf(WindowBackground));
        box->setPalette(boxPalette);
    }
    for (QPlainTextEdit* box : {Text2, Text3}) {
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setTabChangesFocus(true);  // Tab moves on through the tab order, as in every other control
    }

    // The buttons take style, back colour and font from the stored form description.
    auto loaded = platform::FormDescription::load(FormDescriptionPath);
    if (const auto* error = std::get_if<platform::FormDescriptionError>(&loaded))
        throw std::runtime_error(error->toString().toStdString());
    const auto& form = std::get<platform::FormDescription>(loaded);
    Command1 = loadButton(form, QStringLiteral("Command1"));
    vantlebutton3 = loadButton(form, QStringLiteral("vantlebutton3"));
    vantlebutton2 = loadButton(form, QStringLiteral("vantlebutton2"));

    const std::pair<QWidget*, const char*> names[] = {
        {Text1, "Text1"},   {List1, "List1"},   {Text2, "Text2"},   {Text3, "Text3"},   {Label1, "Label1"}, {Label2, "Label2"},
        {Label3, "Label3"}, {Label4, "Label4"}, {Label5, "Label5"}, {Label6, "Label6"}, {Label7, "Label7"}, {Label8, "Label8"},
    };
    for (const auto& [widget, name] : names)
        widget->setObjectName(QLatin1String(name));

    setTabOrder(Text1, List1);
    setTabOrder(List1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Command1);
    setTabOrder(Command1, vantlebutton3);
    setTabOrder(vantlebutton3, vantlebutton2);

    // A press or move on a control is that control's own: it never reaches the window's surface handlers.
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setAttribute(Qt::WA_NoMousePropagation);
    for (QWidget* watched : std::initializer_list<QWidget*>{Text1, Label5, Label6}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }

    connect(Command1, &controls::vantlebutton::Click, this, [this] { guarded([this] { Command1_Click(); }); });
    connect(vantlebutton2, &controls::vantlebutton::Click, this, [this] { vantlebutton2_Click(); });
    connect(vantlebutton3, &controls::vantlebutton::Click, this, [this] { vantlebutton3_Click(); });
    connect(List1, &platform::ListBox::Click, this, [this] { guarded([this] { List1_Click(); }); });
}

controls::vantlebutton* Form1::loadButton(const platform::FormDescription& form, const QString& name)
{
    const platform::ControlDescription* stored = form.control(name);
    if (!stored || !stored->extent)
        throw std::runtime_error((FormDescriptionPath + QStringLiteral(": no placement for ") + name).toStdString());
    auto* button = new controls::vantlebutton(this);
    button->setObjectName(name);
    button->setGeometry(twipRect(*stored->extent));
    button->setSite(&container_, name);
    button->readProperties(stored->properties);
    return button;
}

QRect Form1::shape1Rect() { return twipRect(0, 0, 9375, 400); }
QRect Form1::shape2Rect() { return twipRect(0, 0, 9390, 6240); }
QRect Form1::line1Rect()
{
    // A two-pixel line from (600, 960) to (9120, 960) twips: the pixel rows on either side of the line.
    return {twips(600), twips(960) - 1, twips(9120) - twips(600), 2};
}
QRect Form1::image1Rect() { return twipRect(120, 0, 360, 360); }

void Form1::Form_Load()
{
    vantlebutton2->setCaption(QStringLiteral("X"));
    vantlebutton3->setCaption(QStringLiteral("--"));
    Command1->setCaption(QStringLiteral("查询"));
    StartLookup();
    zuixiaohua::InstallHook(this);
    zuixiaohua::AddTrayIcon(this);
    Timer3->start();
}

void Form1::Form_Unload() { zuixiaohua::RemoveTrayIcon(this); }

void Form1::Timer3_Timer() { zuixiaohua::HideOnMinimise(this); }

void Form1::paintEvent(QPaintEvent* event)
{
    (void)event;
    QPainter painter(this);
    // Bottom to top: Line1, Shape1, Shape2, Image1 (the labels, as child widgets, lie above).
    painter.fillRect(line1Rect(), colourOf(ActiveBorder));
    painter.fillRect(shape1Rect(), colourOf(StripColour));
    painter.setPen(QPen(colourOf(StripColour), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(shape2Rect().adjusted(0, 0, -1, -1));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(image1Rect(), icon_);
}

// --- Pointer: hover effects and dragging -------------------------------------------------------------------------

void Form1::mousePressEvent(QMouseEvent* event)
{
    // Image1 takes its own presses (it has no handler for them).
    if (!image1Rect().contains(event->position().toPoint()))
        Form_MouseDown(event->button(), event->globalPosition());
}

void Form1::mouseMoveEvent(QMouseEvent* event)
{
    if (followingPointer_) {
        followPointer(event->globalPosition());
        return;
    }
    if (!image1Rect().contains(event->position().toPoint()))
        Form_MouseMove();
}

void Form1::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        followingPointer_ = false;
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse)
        return QWidget::eventFilter(watched, event);
    const QEvent::Type type = event->type();
    if (watched == Text1 && type == QEvent::MouseMove) {
        Text1_MouseMove();
    } else if (watched == Label5) {
        if (type == QEvent::MouseButtonPress)
            Label5_MouseDown(mouse->button(), mouse->globalPosition());
        else if (type == QEvent::MouseMove && followingPointer_)
            followPointer(mouse->globalPosition());
        else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton)
            followingPointer_ = false;
    } else if (watched == Label6) {
        if (type == QEvent::MouseMove) {
            Label6_MouseMove();
        } else if (type == QEvent::MouseButtonPress && mouse->button() == Qt::LeftButton) {
            label6Pressed_ = true;
        } else if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
            const bool click = label6Pressed_ && Label6->rect().contains(mouse->position().toPoint());
            label6Pressed_ = false;
            if (click)
                Label6_Click();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Form_MouseDown(Qt::MouseButton button, QPointF globalPos) { dragWindow(button, globalPos); }

void Form1::Label5_MouseDown(Qt::MouseButton button, QPointF globalPos) { dragWindow(button, globalPos); }

void Form1::dragWindow(Qt::MouseButton button, QPointF globalPos)
{
    if (button != Qt::LeftButton)
        return;
    // The window system moves the window as if its caption had been pressed; where it will not, the window
    // follows the pointer itself until the left button is released.
    QWindow* window = windowHandle();
    const bool systemMove = window && window->startSystemMove();
    if (!systemMove) {
        followingPointer_ = true;
        pointerOffset_ = globalPos.toPoint() - pos();
    }
    Q_EMIT WindowMoveRequested(systemMove);
}

void Form1::followPointer(QPointF globalPos)
{
    if (followingPointer_)
        move(globalPos.toPoint() - pointerOffset_);
}

void Form1::Form_MouseMove()
{
    setText1Back(WindowBackground);
    setLabel6Colour(ButtonText);
}

void Form1::Text1_MouseMove() { setText1Back(Text1HoverBack); }

void Form1::Label6_MouseMove() { setLabel6Colour(Label6HoverText); }

void Form1::Label6_Click()
{
    if (showAboutWindow)
        showAboutWindow(this);
}

void Form1::setText1Back(platform::ColorRef colour)
{
    QPalette palette = Text1->palette();
    palette.setColor(QPalette::Base, colourOf(colour));
    Text1->setPalette(palette);
}

void Form1::setLabel6Colour(platform::ColorRef colour) { setTextColour(Label6, colour); }

// --- Caption-strip buttons ----------------------------------------------------------------------------------------

void Form1::vantlebutton3_Click() { setWindowState((windowState() & ~Qt::WindowActive) | Qt::WindowMinimized); }

void Form1::vantlebutton2_Click() { close(); }

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
    // Unloading the main window ends the program, also while the About window is open.
    QCoreApplication::exit(0);
}

void Form1::StartLookup()
{
    knowledge_ = UserData::OpenDatabase();
    LoadCodeList();
    ShowRecordCount();
}

void Form1::LoadCodeList()
{
    // A reload makes the old completion index stale; dropping it first keeps two indexes from coexisting.
    CodeCompletion::detach(Text1);
    const platform::TextList codes = knowledge_->codes();
    List1->AddItems(codes);
    CodeCompletion::attach(Text1, codes);
}

void Form1::ShowRecordCount()
{
    Label8->setText(QStringLiteral("当前数据库共有") + QString::number(List1->ListCount()) + QStringLiteral("条记录"));
}

void Form1::Search()
{
    const QString code = Text1->text();
    Label7->setText(QStringLiteral("当前结果：") + code);
    setText1Back(WindowBackground);

    if (code.isEmpty()) {
        Label4->setVisible(true);
        Text1->setFocus();
        return;
    }

    const CodeAnswer answer = knowledge_->lookup(code);
    if (!answer.found) {
        messageBox_.show(this, QStringLiteral("找不到记录"), QStringLiteral("找不到记录"), platform::MessageBoxIcon::Critical);
        Text1->setSelection(0, static_cast<int>(code.size()));
        Text1->setFocus();
        return;
    }

    const quint64 lookupsBefore = listLookups_;
    List1->setText(code);  // runs ListLookup when it changes the selection
    // ListLookup has looked the same code up and shown it already; filling the boxes again from the same row
    // would only lay the same texts out a second time.
    if (listLookups_ == lookupsBefore)
        setBoxes(answer);
}

void Form1::ListLookup()
{
    const QString entry = List1->text();
    const CodeAnswer answer = knowledge_->lookup(entry);
    ++listLookups_;
    setBoxes(answer);
    Label7->setText(QStringLiteral("当前结果：") + entry);
}

void Form1::setBoxes(const CodeAnswer& answer)
{
    // A list entry whose row has gone (only possible with an unusual table) shows empty boxes.
    Text2->setPlainText(boxText(answer.fenxi));
    Text3->setPlainText(boxText(answer.jiejue));
}

void Form1::showCentred()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    activateWindow();
    Text1->setFocus();
}

void Form1::Command1_Click() { Search(); }

void Form1::List1_Click() { ListLookup(); }

template <typename Handler>
void Form1::guarded(Handler handler)
{
    try {
        handler();
    } catch (const DataError& error) {
        messageBox_.show(this, error.message() + QStringLiteral("\n") + error.filePath(), windowTitle(), platform::MessageBoxIcon::Critical);
        close();
        QCoreApplication::exit(1);
    }
}

}  // namespace tervolin::app
