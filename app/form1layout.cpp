#include "app/form1layout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include <initializer_list>
#include <tuple>

#include "app/appresources.h"
#include "controls/button/vantlebutton.h"
#include "platform/font.h"
#include "platform/listbox.h"
#include "platform/twips.h"
#include "platform/usercontrol.h"

namespace tervolin::app {
namespace {

using platform::twipsToPixels;

const QString FormDescriptionPath = QStringLiteral(":/forms/form1.json");

constexpr platform::ColorRef StripColour = platform::rgb(173, 193, 220);
constexpr platform::ColorRef ActiveBorder = platform::systemColour(10);

QColor colourOf(platform::ColorRef colour) { return platform::toQColor(platform::translateColour(colour)); }

template <typename Widget>
Widget* named(Widget* widget, const char* name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLabel* makeLabel(QWidget& window, const char* name, const QString& text, QRect geometry)
{
    auto* label = named(new QLabel(text, &window), name);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

controls::vantlebutton* makeButton(QWidget& window, const platform::ControlDescription& stored, platform::ControlContainer& container)
{
    auto* button = new controls::vantlebutton(&window);
    button->setObjectName(stored.name);
    button->setGeometry(twipsToPixels(*stored.extent));
    button->setSite(&container, stored.name);
    button->readProperties(stored.properties);
    return button;
}

// Light-weight controls: the labels draw no background; Shape1, Shape2, Line1 and Image1 are painted by the
// window. Every label but Label4, Label5 and Label7 has the button-text colour.
void buildLabels(QWidget& window, Form1Controls& c)
{
    c.Label1 = makeLabel(window, "Label1", QStringLiteral("输入代码："), twipsToPixels(720, 600, 975, 375));
    c.Label2 = makeLabel(window, "Label2", QStringLiteral("问题分析："), twipsToPixels(3600, 1680, 1215, 255));
    c.Label3 = makeLabel(window, "Label3", QStringLiteral("解决方法："), twipsToPixels(3600, 3600, 1335, 375));
    c.Label4 = makeLabel(window, "Label4", QStringLiteral("查询不能为空"), twipsToPixels(5760, 600, 3015, 375));
    Form1Layout::setTextColour(*c.Label4, platform::rgb(255, 0, 0));
    c.Label4->hide();
    c.Label5 = makeLabel(window, "Label5", QStringLiteral("Tervolin1.0"), twipsToPixels(480, 75, 3975, 375));
    platform::FontDescription titleFont;
    titleFont.name = QStringLiteral("楷体_GB2312");
    titleFont.size = 12;
    titleFont.weight = 700;
    c.Label5->setFont(titleFont.toQFont());
    Form1Layout::setTextColour(*c.Label5, platform::rgb(64, 64, 64));
    c.Label6 = makeLabel(window, "Label6", QStringLiteral("关于软件"), twipsToPixels(7800, 600, 1095, 255));
    c.Label7 = makeLabel(window, "Label7", QString(), twipsToPixels(3600, 1320, 4935, 375));
    Form1Layout::setTextColour(*c.Label7, platform::rgb(128, 128, 255));
    c.Label8 = makeLabel(window, "Label8", QString(), twipsToPixels(840, 5640, 8295, 375));
    for (QLabel* label : {c.Label1, c.Label2, c.Label3, c.Label6, c.Label8})
        Form1Layout::setTextColour(*label, Form1Layout::ButtonText);
    // Stacking among the labels, bottom to top.
    for (QLabel* label : {c.Label1, c.Label4, c.Label2, c.Label3, c.Label5, c.Label6, c.Label7, c.Label8})
        label->raise();
}

// Windowed controls lie above every light-weight one; created bottom to top.
void buildBoxes(QWidget& window, Form1Controls& c)
{
    c.Text1 = named(new QLineEdit(&window), "Text1");
    c.Text1->setGeometry(twipsToPixels(1800, 480, 2175, 375));
    Form1Layout::setBaseColour(*c.Text1, Form1Layout::WindowBackground);
    c.List1 = named(new platform::ListBox(&window), "List1");
    c.List1->setGeometry(twipsToPixels(720, 1320, 2415, 4200));
    // A standard list box clips long entries: no horizontal scroll bar, no ellipsis.
    c.List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    c.List1->setTextElideMode(Qt::ElideNone);
    c.Text2 = named(new QPlainTextEdit(&window), "Text2");
    c.Text2->setGeometry(twipsToPixels(3720, 1920, 5295, 1575));
    c.Text3 = named(new QPlainTextEdit(&window), "Text3");
    c.Text3->setGeometry(twipsToPixels(3720, 3840, 5295, 1575));
    // Text and list boxes have the window background colour, whatever the desktop's style makes of them.
    for (QWidget* box : std::initializer_list<QWidget*>{c.List1, c.Text2, c.Text3})
        Form1Layout::setBaseColour(*box, Form1Layout::WindowBackground);
    // Screen readers name each box by the label beside it.
    for (auto [box, label, name] : {std::tuple<QWidget*, QLabel*, QString>{c.Text1, c.Label1, QStringLiteral("输入代码")},
                                    {c.List1, nullptr, QStringLiteral("代码列表")},
                                    {c.Text2, c.Label2, QStringLiteral("问题分析")},
                                    {c.Text3, c.Label3, QStringLiteral("解决方法")}}) {
        box->setAccessibleName(name);
        if (label)
            label->setBuddy(box);
    }
    for (QPlainTextEdit* box : {c.Text2, c.Text3}) {
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setTabChangesFocus(true);  // Tab moves on through the tab order, as in every other control
    }
}

}  // namespace

std::variant<Form1Design, QString> Form1Design::from(const platform::FormDescription& description)
{
    Form1Design design;
    for (auto [slot, name] : {std::pair{&design.Command1, u"Command1"}, std::pair{&design.vantlebutton2, u"vantlebutton2"},
                              std::pair{&design.vantlebutton3, u"vantlebutton3"}}) {
        const platform::ControlDescription* stored = description.control(name);
        if (!stored || !stored->extent)
            return FormDescriptionPath + QStringLiteral(": no placement for ") + QStringView(name).toString();
        *slot = *stored;
    }
    return design;
}

std::variant<Form1Design, QString> Form1Design::load()
{
    initAppResources();
    auto loaded = platform::FormDescription::load(FormDescriptionPath);
    if (const auto* error = std::get_if<platform::FormDescriptionError>(&loaded))
        return error->toString();
    return from(std::get<platform::FormDescription>(loaded));
}

namespace Form1Layout {

Form1Controls build(QWidget& window, const Form1Design& design, platform::ControlContainer& container)
{
    window.setWindowTitle(QStringLiteral("Tervolin1.0"));
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(twipsToPixels(9405), twipsToPixels(6315));
    window.setFont(QFont(QStringLiteral("宋体"), 9));
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, colourOf(FormBackColor));
    window.setPalette(palette);
    window.setAutoFillBackground(true);

    Form1Controls c;
    buildLabels(window, c);
    buildBoxes(window, c);
    c.Command1 = makeButton(window, design.Command1, container);
    c.vantlebutton3 = makeButton(window, design.vantlebutton3, container);
    c.vantlebutton2 = makeButton(window, design.vantlebutton2, container);

    QWidget* const tabOrder[] = {c.Text1, c.List1, c.Text2, c.Text3, c.Command1, c.vantlebutton3, c.vantlebutton2};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    return c;
}

QRect shape1Rect() { return twipsToPixels(0, 0, 9375, 400); }
QRect shape2Rect() { return twipsToPixels(0, 0, 9390, 6240); }
QRect line1Rect()
{
    // A two-pixel line from (600, 960) to (9120, 960) twips: the pixel rows on either side of the line.
    return {twipsToPixels(600), twipsToPixels(960) - 1, twipsToPixels(9120) - twipsToPixels(600), 2};
}
QRect image1Rect() { return twipsToPixels(120, 0, 360, 360); }

void paintShapes(QPainter& painter, const QImage& icon)
{
    painter.fillRect(line1Rect(), colourOf(ActiveBorder));
    painter.fillRect(shape1Rect(), colourOf(StripColour));
    painter.setPen(QPen(colourOf(StripColour), 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(shape2Rect().adjusted(0, 0, -1, -1));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(image1Rect(), icon);
}

void setTextColour(QWidget& widget, platform::ColorRef colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colourOf(colour));
    widget.setPalette(palette);
}

void setBaseColour(QWidget& widget, platform::ColorRef colour)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, colourOf(colour));
    widget.setPalette(palette);
}

}  // namespace Form1Layout

}  // namespace tervolin::app
