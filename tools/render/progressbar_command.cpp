#include "tools/render/progressbar_command.h"

#include <QPainter>

#include <array>

#include "controls/progressbar/progressbar.h"
#include "platform/colour.h"
#include "platform/propertystore.h"
#include "platform/storedobjects.h"
#include "platform/usercontrol.h"
#include "tools/render/renderarguments.h"

namespace tervolin::tools {

namespace {

const QStringList& storedKeys()
{
    static const QStringList keys{QStringLiteral("Max"),          QStringLiteral("Min"),
                                  QStringLiteral("Value"),        QStringLiteral("RoundedValue"),
                                  QStringLiteral("Enabled"),      QStringLiteral("Theme"),
                                  QStringLiteral("TextStyle"),    QStringLiteral("Orientations"),
                                  QStringLiteral("Text"),         QStringLiteral("TextEffectColor"),
                                  QStringLiteral("TextEffect"),   QStringLiteral("TextAlignment"),
                                  QStringLiteral("TextFont"),     QStringLiteral("TextForeColor"),
                                  QStringLiteral("PBSCustomeColor2"), QStringLiteral("PBSCustomeColor1")};
    return keys;
}

std::optional<QString> canonicalKey(const QString& key)
{
    for (const QString& k : storedKeys())
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return k;
    return std::nullopt;
}

// "Name[:points[:bold]]" as a stored font.
std::variant<QVariant, QString> fontValue(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    platform::FontDescription d;
    d.name = parts.value(0).trimmed();
    if (d.name.isEmpty())
        return QStringLiteral("TextFont needs Name[:points[:bold]]");
    if (parts.size() > 1) {
        bool ok = false;
        const double points = parts[1].toDouble(&ok);
        if (!ok || points <= 0 || points >= 1000)
            return QStringLiteral("TextFont size \"%1\" is not a point size").arg(parts[1]);
        d.size = points;
    }
    if (parts.size() > 2) {
        if (parts[2].compare(QLatin1String("bold"), Qt::CaseInsensitive) != 0)
            return QStringLiteral("TextFont style \"%1\" is not \"bold\"").arg(parts[2]);
        d.weight = 700;
    }
    return platform::fontToStored(d);
}

}  // namespace

QString progressBarUsage()
{
    return QStringLiteral(
        "usage: tervolin-render progressbar --size WxH [--set Key=Value]... --out FILE.png\n"
        "       tervolin-render progressbar-gallery --out FILE.png\n"
        "Starts from a newly placed bar. Key is a stored property (letter case does not matter): Max, Min, Value,\n"
        "RoundedValue, Enabled, Theme, TextStyle, Orientations, Text, TextEffectColor, TextEffect, TextAlignment,\n"
        "TextFont, TextForeColor, PBSCustomeColor2, PBSCustomeColor1. Values are decimal or 0x hexadecimal integers\n"
        "(colours 0x00BBGGRR), true/false, or text; TextFont takes Name[:points[:bold]].\n");
}

std::variant<ProgressBarRenderOptions, QString> parseProgressBarArguments(const QStringList& args)
{
    const auto parsed = parseRenderArguments(args);
    if (const QString* e = std::get_if<QString>(&parsed))
        return *e;
    const RenderArguments& common = std::get<RenderArguments>(parsed);
    ProgressBarRenderOptions o;
    o.size = common.size;
    o.out = common.out;
    for (const auto& [given, text] : common.sets) {
        const std::optional<QString> key = canonicalKey(given);
        if (!key)
            return QStringLiteral("\"%1\" is not a stored property of the progress bar").arg(given);
        if (*key == QLatin1String("TextFont")) {
            const auto font = fontValue(text);
            if (const QString* e = std::get_if<QString>(&font))
                return *e;
            o.properties.emplace_back(*key, std::get<QVariant>(font));
        } else if (*key == QLatin1String("Text")) {
            o.properties.emplace_back(*key, text);  // a caption of digits stays text
        } else {
            o.properties.emplace_back(*key, parseValue(text));
        }
    }
    return o;
}

std::variant<QImage, QString> renderProgressBar(const ProgressBarRenderOptions& o)
{
    platform::ControlContainer form;
    platform::PropertyStore store;
    {
        controls::ProgressBar placed;
        placed.setSite(&form, QStringLiteral("ProgressBar1"));
        placed.initProperties();
        placed.writeProperties(store);
    }
    for (const auto& [key, value] : o.properties) {
        if (!canonicalKey(key))
            return QStringLiteral("\"%1\" is not a stored property of the progress bar").arg(key);
        store.set(key, value);
    }
    controls::ProgressBar bar;
    bar.setSite(&form, QStringLiteral("ProgressBar1"));
    bar.resize(o.size);
    bar.readProperties(store);

    return imageInside(bar.surface(), bar.windowRegion());
}

QImage renderProgressBarGallery()
{
    static const std::array<const char*, 10> themes{"Gold", "Olive", "Green", "Teal", "Indigo",
                                                    "Magenta", "Red", "Sky", "Lime", "Custom"};
    static const std::array<const char*, 5> effects{"Plain", "Raised", "Sunken", "Outline", "DropShadow"};
    constexpr int margin = 10, labelWidth = 78, header = 44, rowHeight = 100;
    constexpr QSize horizontal(160, 24), vertical(44, 88);
    constexpr int hCell = 172, vCell = 60, gap = 24;
    const int width = margin + labelWidth + 5 * hCell + gap + 5 * vCell + margin;
    const int height = header + 10 * rowHeight + margin;

    QImage gallery(width, height, QImage::Format_ARGB32);
    gallery.fill(Qt::white);
    QPainter p(&gallery);
    QFont label(QStringLiteral("DejaVu Sans"));
    label.setPixelSize(12);
    p.setFont(label);
    p.setPen(Qt::black);
    const int hLeft = margin + labelWidth;
    const int vLeft = hLeft + 5 * hCell + gap;
    p.drawText(QRect(hLeft, 2, 5 * hCell, 18), Qt::AlignCenter, QStringLiteral("Orientations 1 (Horizontal)"));
    p.drawText(QRect(vLeft, 2, 5 * vCell, 18), Qt::AlignCenter, QStringLiteral("Orientations 2 (Vertical)"));
    // The vertical columns are too narrow for the effect names: the header gives their numbers.
    QFont small = label;
    small.setPixelSize(10);
    p.setFont(small);
    for (int e = 0; e < 5; ++e) {
        p.drawText(QRect(hLeft + e * hCell, 22, hCell, 18), Qt::AlignCenter,
                   QStringLiteral("%1 %2").arg(e + 1).arg(QString::fromLatin1(effects[static_cast<std::size_t>(e)])));
        p.drawText(QRect(vLeft + e * vCell, 22, vCell, 18), Qt::AlignCenter, QString::number(e + 1));
    }
    p.setFont(label);
    for (int t = 0; t < 10; ++t) {
        const int top = header + t * rowHeight;
        p.drawText(QRect(margin, top, labelWidth, rowHeight), Qt::AlignVCenter | Qt::AlignLeft,
                   QStringLiteral("%1 %2").arg(t + 1).arg(QString::fromLatin1(themes[static_cast<std::size_t>(t)])));
        for (int orientation = 1; orientation <= 2; ++orientation) {
            for (int e = 1; e <= 5; ++e) {
                ProgressBarRenderOptions o;
                o.size = orientation == 1 ? horizontal : vertical;
                o.properties = {{QStringLiteral("Theme"), t + 1},
                                {QStringLiteral("Orientations"), orientation},
                                {QStringLiteral("Value"), 60},
                                {QStringLiteral("TextStyle"), 2},
                                {QStringLiteral("TextEffect"), e},
                                // white on a dark effect colour, so that every effect shows on the light tracks
                                {QStringLiteral("TextForeColor"), platform::rgb(255, 255, 255)},
                                {QStringLiteral("TextEffectColor"), platform::rgb(40, 40, 40)},
                                {QStringLiteral("TextFont"), platform::fontToStored(platform::FontDescription{
                                                                 QStringLiteral("Tahoma"), 10, 700, false, false, false, 0})},
                                {QStringLiteral("PBSCustomeColor1"), platform::rgb(226, 96, 38)},
                                {QStringLiteral("PBSCustomeColor2"), platform::rgb(52, 58, 74)}};
                const auto image = renderProgressBar(o);
                const int cellLeft = orientation == 1 ? hLeft + (e - 1) * hCell : vLeft + (e - 1) * vCell;
                const int cellWidth = orientation == 1 ? hCell : vCell;
                const QPoint at(cellLeft + (cellWidth - o.size.width()) / 2, top + (rowHeight - o.size.height()) / 2);
                p.drawImage(at, std::get<QImage>(image));
            }
        }
    }
    return gallery;
}

int runProgressBarCommand(const QStringList& args)
{
    return runDrawingCommand(args, parseProgressBarArguments, renderProgressBar, progressBarUsage());
}

int runProgressBarGallery(const QStringList& args)
{
    if (args.size() != 2 || args[0] != QLatin1String("--out"))
        return usageError(QString(), progressBarUsage());
    return writePng(renderProgressBarGallery(), args[1]);
}

}  // namespace tervolin::tools
