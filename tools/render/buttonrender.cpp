#include "tools/render/buttonrender.h"

#include "controls/button/vantlebutton.h"
#include "platform/picture.h"
#include "platform/propertystore.h"
#include "platform/storedobjects.h"
#include "platform/usercontrol.h"

#include <QFileInfo>
#include <QVariantMap>
#include <QWidget>


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

std::variant<ButtonRenderOptions, QString> parseButtonArguments(const QStringList& args)
{
    ButtonRenderOptions o;
    const auto option = [&o](const QString& a, const NextArgument& next) -> std::optional<QString> {
        const auto file = [&next](QString& into, const char* error) -> std::optional<QString> {
            const std::optional<QString> v = next();
            if (!v)
                return QString::fromLatin1(error);
            into = *v;
            return std::nullopt;
        };
        if (a == QLatin1String("--state")) {
            bool ok = false;
            const int s = next().value_or(QString()).toInt(&ok);
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
            return file(o.picture, "--picture needs a file");
        } else if (a == QLatin1String("--picture-hover")) {
            return file(o.pictureHover, "--picture-hover needs a file");
        } else {
            return unknownArgument(a);
        }
        return std::nullopt;
    };
    const auto parsed = parseRenderArguments(args, option);
    if (const QString* e = std::get_if<QString>(&parsed))
        return *e;
    const RenderArguments& common = std::get<RenderArguments>(parsed);
    o.size = common.size;
    o.out = common.out;
    for (const auto& [key, value] : common.sets)
        o.properties.emplace_back(key, parseValue(value));
    return o;
}

int runButtonCommand(const QStringList& args)
{
    return runDrawingCommand(args, parseButtonArguments, renderButton, buttonUsage());
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
    button.ButtonState = static_cast<controls::ButtonStates>(o.state);
    button.HasFocus = o.focus;
    button.ParentActive = o.parentActive;
    button.PointerOver = o.pointerOver;
    // Twice, so that looks drawn from the previous redraw (a caption focus rectangle) are in place.
    button.Redraw();
    button.Redraw();

    return imageInside(button.surface(), button.region());
}

}  // namespace tervolin::tools
