#include "tools/render/buttongallery.h"

#include "controls/button/buttontypes.h"
#include "controls/button/vantlebutton.h"
#include "platform/propertystore.h"
#include "platform/usercontrol.h"
#include "tools/render/buttonrender.h"

#include <QFont>
#include <QPainter>
#include <QTextStream>
#include <QWidget>

#include <array>
#include <cstdio>

namespace tervolin::tools {

namespace {

constexpr std::array<const char*, 16> StyleNames = {
    "Standard", "Flat",          "RoundedBlue",   "Silver",       "Glossy",     "Shadow",      "Shaded",      "ToolbarOrange",
    "PaleBlue", "ToolbarBlue",   "RoundedShaded", "FlatHover",    "FlatHoverThin", "WarmGradient", "RoundGlass", "SideGradient"};

constexpr int CellW = 97;
constexpr int CellH = 25;
constexpr int Gap = 10;
constexpr int LabelW = 150;
constexpr int HeaderH = 24;

/// The properties a designer stores for a new button switched to this style: its colours and focus-rectangle
/// flag come from the style's defaults.
std::vector<std::pair<QString, QVariant>> storedFor(std::int32_t style)
{
    platform::ControlContainer form;
    QWidget window;
    controls::vantlebutton button(&window);
    button.setSite(&form, QStringLiteral("vantlebutton1"));
    button.resize(CellW, CellH);
    button.initialize();
    button.initProperties();
    button.setButtonStyle(style);
    button.setCaption(QStringLiteral("&Search"));
    platform::PropertyStore store;
    button.writeProperties(store);
    std::vector<std::pair<QString, QVariant>> out;
    for (const QString& key : store.keys())
        out.emplace_back(key, store.ReadProperty(key));
    return out;
}

ButtonRenderOptions optionsFor(std::int32_t style, int column)
{
    ButtonRenderOptions o;
    o.size = QSize(CellW, CellH);
    o.properties = storedFor(style);
    o.parentActive = true;
    switch (column) {
    case 1:  // hot
        o.state = controls::ButtonStates::StateHot;
        o.pointerOver = true;
        break;
    case 2:  // down
        o.state = controls::ButtonStates::StateDown;
        o.pointerOver = true;
        break;
    case 3:  // checked, pointer elsewhere
        o.properties.emplace_back(QStringLiteral("CheckBoxMode"), true);
        o.properties.emplace_back(QStringLiteral("Value"), true);
        break;
    case 4:
        o.properties.emplace_back(QStringLiteral("Enabled"), false);
        break;
    case 5:  // focused in an active window, with the focus rectangle on
        o.properties.emplace_back(QStringLiteral("ShowFocusRect"), true);
        o.focus = true;
        break;
    default:
        break;
    }
    return o;
}

}  // namespace

QStringList galleryColumns()
{
    return {QStringLiteral("normal"),  QStringLiteral("hot"),      QStringLiteral("down"),
            QStringLiteral("checked"), QStringLiteral("disabled"), QStringLiteral("focused")};
}

QRect galleryCell(int style, int column)
{
    return {LabelW + column * (CellW + Gap), HeaderH + style * (CellH + Gap), CellW, CellH};
}

std::variant<QImage, QString> renderButtonGallery()
{
    const QStringList columns = galleryColumns();
    const int rows = static_cast<int>(StyleNames.size());
    QImage sheet(LabelW + static_cast<int>(columns.size()) * (CellW + Gap) + Gap, HeaderH + rows * (CellH + Gap) + Gap,
                 QImage::Format_ARGB32);
    sheet.fill(QColor(0xF0, 0xF0, 0xF0));  // the button face of a form

    QPainter p(&sheet);
    QFont label(QStringLiteral("DejaVu Sans"));
    label.setPixelSize(12);
    p.setFont(label);
    p.setPen(QColor(0x20, 0x20, 0x20));
    for (int c = 0; c < columns.size(); ++c)
        p.drawText(QRect(LabelW + c * (CellW + Gap), 0, CellW, HeaderH), Qt::AlignCenter, columns.at(c));
    for (int r = 0; r < rows; ++r) {
        const int y = HeaderH + r * (CellH + Gap);
        p.drawText(QRect(Gap, y, LabelW - Gap, CellH), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("%1  %2").arg(r).arg(QLatin1String(StyleNames[static_cast<std::size_t>(r)])));
        for (int c = 0; c < columns.size(); ++c) {
            const auto image = renderButton(optionsFor(r, c));
            if (const QString* e = std::get_if<QString>(&image))
                return *e;
            p.drawImage(galleryCell(r, c).topLeft(), std::get<QImage>(image));
        }
    }
    p.end();
    return sheet;
}

int runButtonGallery(const QStringList& args)
{
    QTextStream err(stderr);
    const QString usage = QStringLiteral("usage: tervolin-render button-gallery --out FILE.png\n");
    if (args.size() != 2 || args.at(0) != QLatin1String("--out")) {
        err << usage;
        return 2;
    }
    const auto sheet = renderButtonGallery();
    if (const QString* e = std::get_if<QString>(&sheet)) {
        err << "tervolin-render: " << *e << "\n";
        return 1;
    }
    if (!std::get<QImage>(sheet).save(args.at(1), "PNG")) {
        err << "tervolin-render: cannot write \"" << args.at(1) << "\"\n";
        return 1;
    }
    return 0;
}

}  // namespace tervolin::tools
