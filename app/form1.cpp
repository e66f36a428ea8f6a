#include "app/form1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>

#include "app/appresources.h"
#include "app/guanyu.h"
#include "app/userdata.h"
#include "app/zuixiaohua.h"
#include "platform/colour.h"
#include "platform/data/dataerror.h"
#include "platform/data/lookup.h"
#include "platform/data/recordset.h"
#include "platform/listbox.h"
#include "platform/messagebox.h"

namespace tervolin::app {
namespace {

using platform::data::DataError;
using platform::data::Recordset;

// Layout is given in twips; 15 twips are one pixel at 96 dots per inch.
constexpr int twips(int t) { return t / 15; }
QRect twipRect(int left, int top, int width, int height) { return {twips(left), twips(top), twips(width), twips(height)}; }

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
    palette.setColor(QPalette::WindowText, platform::toQColor(platform::translateColour(colour)));
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

Form1::Form1(platform::MessageBoxService& messageBox, QWidget* parent) : QWidget(parent), messageBox_(messageBox)
{
    setWindowTitle(QStringLiteral("Tervolin1.0"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowIcon(programIcon());
    setFixedSize(twips(9405), twips(6315));
    setFont(QFont(QStringLiteral("宋体"), 9));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, platform::toQColor(platform::rgb(239, 244, 252)));
    setPalette(palette);
    setAutoFillBackground(true);

    Label1 = makeLabel(this, QStringLiteral("输入代码："), twipRect(720, 600, 975, 375));
    Label2 = makeLabel(this, QStringLiteral("问题分析："), twipRect(3600, 1680, 1215, 255));
    Label3 = makeLabel(this, QStringLiteral("解决方法："), twipRect(3600, 3600, 1335, 375));
    Label4 = makeLabel(this, QStringLiteral("查询不能为空"), twipRect(5760, 600, 3015, 375));
    setTextColour(Label4, platform::rgb(255, 0, 0));
    Label4->hide();
    Label5 = makeLabel(this, QStringLiteral("Tervolin1.0"), twipRect(480, 75, 3975, 375));
    QFont titleFont(QStringLiteral("楷体_GB2312"), 12);
    titleFont.setWeight(QFont::Bold);
    Label5->setFont(titleFont);
    setTextColour(Label5, platform::rgb(64, 64, 64));
    Label6 = makeLabel(this, QStringLiteral("关于软件"), twipRect(7800, 600, 1095, 255));
    Label7 = makeLabel(this, QString(), twipRect(3600, 1320, 4935, 375));
    setTextColour(Label7, platform::rgb(128, 128, 255));
    Label8 = makeLabel(this, QString(), twipRect(840, 5640, 8295, 375));
    Label6->installEventFilter(this);  // its click opens the About window

    Timer3 = new QTimer(this);
    Timer3->setInterval(1000);
    connect(Timer3, &QTimer::timeout, this, &Form1::Timer3_Timer);

    Text1 = new QLineEdit(this);
    Text1->setGeometry(twipRect(1800, 480, 2175, 375));
    List1 = new platform::ListBox(this);
    List1->setGeometry(twipRect(720, 1320, 2415, 4200));
    Text2 = new QPlainTextEdit(this);
    Text2->setGeometry(twipRect(3720, 1920, 5295, 1575));
    Text3 = new QPlainTextEdit(this);
    Text3->setGeometry(twipRect(3720, 3840, 5295, 1575));
    for (QPlainTextEdit* box : {Text2, Text3})
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Command1 = new QPushButton(this);
    Command1->setGeometry(twipRect(4200, 480, 1455, 375));

    setTabOrder(Text1, List1);
    setTabOrder(List1, Text2);
    setTabOrder(Text2, Text3);
    setTabOrder(Text3, Command1);

    connect(Command1, &QPushButton::clicked, this, [this] { guarded([this] { Command1_Click(); }); });
    connect(List1, &platform::ListBox::Click, this, [this] { guarded([this] { List1_Click(); }); });
}

void Form1::Form_Load()
{
    Adodc1.setConnectionString(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + UserData::applicationDirectory() +
                               QStringLiteral("/db1.mdb;Persist Security Info=False"));
    Adodc1.setCommandType(platform::data::CommandType::Text);
    Adodc1.setRecordSource(QStringLiteral("select * from lanping"));
    Command1->setText(QStringLiteral("查询"));
    StartLookup();
    zuixiaohua::AddTrayIcon(this);
    Timer3->start();
}

void Form1::Timer3_Timer() { zuixiaohua::HideOnMinimise(this); }

void Form1::closeEvent(QCloseEvent* event)
{
    zuixiaohua::RemoveTrayIcon(this);
    QWidget::closeEvent(event);
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label6 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && Label6->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        ShowAboutWindow(this);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::StartLookup()
{
    UserData::OpenDatabase();
    LoadCodeList();
    ShowRecordCount();
}

void Form1::LoadCodeList()
{
    Recordset recordset;
    recordset.Open(QStringLiteral("SELECT daima FROM lanping"), UserData::DbConnection());
    QStringList codes;
    while (!recordset.isEOF()) {
        codes.append(recordset.text(QStringLiteral("daima")));
        recordset.MoveNext();
    }
    recordset.Close();
    List1->AddItems(codes);
}

void Form1::ShowRecordCount()
{
    Label8->setText(QStringLiteral("当前数据库共有") + QString::number(List1->ListCount()) + QStringLiteral("条记录"));
}

void Form1::Search()
{
    const QString code = Text1->text();
    Label7->setText(QStringLiteral("当前结果：") + code);
    QPalette palette = Text1->palette();
    palette.setColor(QPalette::Base, platform::toQColor(platform::translateColour(platform::systemColour(5))));
    Text1->setPalette(palette);

    if (code.isEmpty()) {
        Label4->setVisible(true);
        Text1->setFocus();
        return;
    }

    Adodc1.setRecordSource(platform::data::lookupQuery(code));
    Adodc1.Refresh();
    if (Adodc1.recordset().isBOF() || Adodc1.recordset().isEOF()) {
        messageBox_.show(this, QStringLiteral("找不到记录"), QStringLiteral("找不到记录"), platform::MessageBoxIcon::Critical);
        Text1->setSelection(0, static_cast<int>(code.size()));
        Text1->setFocus();
        return;
    }

    List1->setText(code);  // runs ListLookup when it changes the selection
    setBoxes(Adodc1.recordset());
}

void Form1::ListLookup()
{
    const QString entry = List1->text();
    Adodc1.setRecordSource(platform::data::lookupQuery(entry));
    Adodc1.Refresh();
    setBoxes(Adodc1.recordset());
    Label7->setText(QStringLiteral("当前结果：") + entry);
}

void Form1::setBoxes(const Recordset& recordset)
{
    // A list entry whose row has gone (only possible with an unusual table) shows empty boxes.
    const bool atRow = !recordset.isBOF() && !recordset.isEOF();
    Text2->setPlainText(atRow ? boxText(recordset.text(QStringLiteral("fenxi"))) : QString());
    Text3->setPlainText(atRow ? boxText(recordset.text(QStringLiteral("jiejue"))) : QString());
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
