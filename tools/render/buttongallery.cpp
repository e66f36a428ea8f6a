#include "tools/render/buttongallery.h"

#include "controls/button/buttontypes.h"
#include "controls/button/vantlebutton.h"
#include "platform/propertystore.h"
#include "platform/usercontrol.h"
#include "tools/render/buttonrender.h"

#include <QFont>
#include <QMetaEnum>
#include <QPainter>
#include <QWidget>


namespace tervolin::tools {

namespace {

constexpr int CellW = 97;
constexpr int CellH = 25;
constexpr int Gap = 10;
constexpr int LabelW = 150;
constexpr int HeaderH = 24;

/// The properties a designer stores for a new button switched to this style: its colours and focus-rectangle
/// flag come from the style's defaults.
std::vector<std::pair<QString, QVariant>> storedFor(controls::ButtonStyles style)
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

ButtonRenderOptions optionsFor(controls::ButtonStyles style, int column)
{
    ButtonRenderOptions o;
    o.size = QSize(CellW, CellH);
    o.properties = storedFor(style);
    o.parentActive = true;
    switch (column) {
    case 1:  // hot
        o.state = controls::numberOf(controls::ButtonStates::StateHot);
        o.pointerOver = true;
        break;
    case 2:  // down
        o.state = controls::numberOf(controls::ButtonStates::StateDown);
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

QRect galleryCell(controls::ButtonStyles style, int column)
{
    return {LabelW + column * (CellW + Gap), HeaderH + controls::numberOf(style) * (CellH + Gap), CellW, CellH};
}

std::variant<QImage, QString> renderButtonGallery()
{
    const QStringList columns = galleryColumns();
    // One row per named style, 0 to 15.
    const QMetaEnum styles = QMetaEnum::fromType<controls::ButtonStyles>();
    const int rows = styles.keyCount();
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
                   QStringLiteral("%1  %2").arg(r).arg(QLatin1String(styles.valueToKey(r))));
        for (int c = 0; c < columns.size(); ++c) {
            const auto style = static_cast<controls::ButtonStyles>(r);
            const auto image = renderButton(optionsFor(style, c));
            if (const QString* e = std::get_if<QString>(&image))
                return *e;
            p.drawImage(galleryCell(style, c).topLeft(), std::get<QImage>(image));
        }
    }
    p.end();
    return sheet;
}

int runButtonGallery(const QStringList& args)
{
    if (args.size() != 2 || args.at(0) != QLatin1String("--out"))
        return usageError(QString(), QStringLiteral("usage: tervolin-render button-gallery --out FILE.png\n"));
    return writePng(renderButtonGallery(), args.at(1));
}

}  // namespace tervolin::tools
