#include "tools/render/buttonrender.h"

#include "controls/button/vantlebutton.h"
#include "platform/picture.h"
#include "platform/propertystore.h"
#include "platform/storedobjects.h"
#include "platform/usercontrol.h"

#include <QFileInfo>
#include <QVariantMap>
#include <QWidget>

#include <limits>

namespace tervolin::tools {

QString buttonUsage()
{
    return QStringLiteral(
        "usage: tervolin-render button --size WxH [--set Key=Value]... [--state 0|1|2] [--focus] [--default]\n"
        "       [--parent-active|--parent-inactive] [--pointer-over] [--user-mode|--design-mode]\n"
        "       [--picture FILE] [--picture-hover FILE] --out FILE.png\n"
        "Key is any stored property of the button (letter case does not matter); values are decimal or 0x\n"
        "hexadecimal integers, true/false, or text. Picture, PictureHover and MouseIcon take a file name.\n");
}

QVariant parseValue(const QString& text)
{
    bool ok = false;
    const QString t = text.trimmed();
    qlonglong v = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = t.mid(2).toLongLong(&ok, 16);
    else if (t.startsWith(QLatin1String("-0x"), Qt::CaseInsensitive)) {
        v = -t.mid(3).toLongLong(&ok, 16);
    } else
        v = t.toLongLong(&ok, 10);
    if (ok && v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::uint32_t>::max())
        return platform::PropertyStore::normalise(v);
    if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return platform::PropertyStore::normalise(true);
    if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return platform::PropertyStore::normalise(false);
    return text;
}

std::variant<ButtonRenderOptions, QString> parseButtonArguments(const QStringList& args)
{
    ButtonRenderOptions o;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const auto next = [&](QString& into) -> bool {
            if (i + 1 >= args.size())
                return false;
            into = args.at(++i);
            return true;
        };
        QString v;
        if (a == QLatin1String("--size")) {
            if (!next(v))
                return QStringLiteral("--size needs WxH");
            const QStringList wh = v.split(QLatin1Char('x'));
            bool okW = false, okH = false;
            const int w = wh.size() == 2 ? wh[0].toInt(&okW) : 0;
            const int h = wh.size() == 2 ? wh[1].toInt(&okH) : 0;
            if (!okW || !okH || w <= 0 || h <= 0 || w > 4096 || h > 4096)
                return QStringLiteral("--size needs WxH with each side from 1 to 4096, not \"%1\"").arg(v);
            o.size = QSize(w, h);
        } else if (a == QLatin1String("--set")) {
            if (!next(v) || !v.contains(QLatin1Char('=')))
                return QStringLiteral("--set needs Key=Value");
            const qsizetype eq = v.indexOf(QLatin1Char('='));
            const QString key = v.left(eq).trimmed();
            if (key.isEmpty())
                return QStringLiteral("--set needs a key before \"=\"");
            o.properties.emplace_back(key, parseValue(v.mid(eq + 1)));
        } else if (a == QLatin1String("--state")) {
            bool ok = false;
            const int s = next(v) ? v.toInt(&ok) : -1;
            if (!ok || s < 0 || s > 2)
                return QStringLiteral("--state needs 0, 1 or 2");
            o.state = s;
        } else if (a == QLatin1String("--focus")) {
            o.focus = true;
        } else if (a == QLatin1String("--default")) {
            o.displayAsDefault = true;
        } else if (a == QLatin1String("--parent-active")) {
            o.parentActive = true;
        } else if (a == QLatin1String("--parent-inactive")) {
            o.parentActive = false;
        } else if (a == QLatin1String("--pointer-over")) {
            o.pointerOver = true;
        } else if (a == QLatin1String("--user-mode")) {
            o.userMode = true;
        } else if (a == QLatin1String("--design-mode")) {
            o.userMode = false;
        } else if (a == QLatin1String("--picture")) {
            if (!next(o.picture))
                return QStringLiteral("--picture needs a file");
        } else if (a == QLatin1String("--picture-hover")) {
            if (!next(o.pictureHover))
                return QStringLiteral("--picture-hover needs a file");
        } else if (a == QLatin1String("--out")) {
            if (!next(o.out))
                return QStringLiteral("--out needs a file");
        } else {
            return QStringLiteral("unknown argument \"%1\"").arg(a);
        }
    }
    if (!o.size.isValid())
        return QStringLiteral("--size is required");
    if (o.out.isEmpty())
        return QStringLiteral("--out is required");
    return o;
}

namespace {

bool isPictureKey(const QString& key)
{
    return key.compare(QLatin1String("Picture"), Qt::CaseInsensitive) == 0
           || key.compare(QLatin1String("PictureHover"), Qt::CaseInsensitive) == 0
           || key.compare(QLatin1String("MouseIcon"), Qt::CaseInsensitive) == 0;
}

std::optional<QString> pictureEntry(platform::PropertyStore& store, const QString& key, const QString& file)
{
    if (platform::Picture::load(file).isNone())
        return QStringLiteral("cannot read the picture \"%1\"").arg(file);
    store.set(key, QVariantMap{{QStringLiteral("file"), QFileInfo(file).absoluteFilePath()}});
    return std::nullopt;
}

}  // namespace

std::variant<QImage, QString> renderButton(const ButtonRenderOptions& o)
{
    platform::PropertyStore store;
    for (const auto& [key, value] : o.properties) {
        if (isPictureKey(key)) {
            if (auto err = pictureEntry(store, key, value.toString()))
                return *err;
        } else {
            store.set(key, value);
        }
    }
    if (!o.picture.isEmpty())
        if (auto err = pictureEntry(store, QStringLiteral("Picture"), o.picture))
            return *err;
    if (!o.pictureHover.isEmpty())
        if (auto err = pictureEntry(store, QStringLiteral("PictureHover"), o.pictureHover))
            return *err;

    platform::ControlContainer form;
    form.setUserMode(o.userMode);
    QWidget window;
    controls::vantlebutton button(&window);
    button.setSite(&form, QStringLiteral("vantlebutton1"));
    button.resize(o.size);
    button.readProperties(store);
    button.setDisplayAsDefault(o.displayAsDefault);
    button.ButtonState = o.state;
    button.HasFocus = o.focus;
    button.ParentActive = o.parentActive;
    button.PointerOver = o.pointerOver;
    // Twice, so that looks drawn from the previous redraw (a caption focus rectangle) are in place.
    button.Redraw();
    button.Redraw();

    const platform::Surface& surface = button.surface();
    QImage out = surface.image().convertToFormat(QImage::Format_ARGB32);
    const platform::Region& region = button.region();
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (!region.contains(x, y))
                line[x] = qRgba(0, 0, 0, 0);
    }
    return out;
}

}  // namespace tervolin::tools
