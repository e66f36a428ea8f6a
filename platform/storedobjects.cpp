#include "platform/storedobjects.h"

#include <QBuffer>
#include <QVariantMap>

namespace tervolin::platform {

QVariant fontToStored(const FontDescription& font)
{
    return QVariantMap{
        {QStringLiteral("name"), font.name},
        {QStringLiteral("size"), font.size},
        {QStringLiteral("weight"), font.weight},
        {QStringLiteral("italic"), font.italic},
        {QStringLiteral("underline"), font.underline},
        {QStringLiteral("strikethrough"), font.strikethrough},
        {QStringLiteral("charset"), font.charset},
    };
}

std::optional<FontDescription> fontFromStored(const QVariant& stored)
{
    if (stored.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap m = stored.toMap();
    FontDescription d;
    const auto get = [&m](const char* key) { return m.value(QLatin1String(key)); };
    if (const QVariant v = get("name"); v.typeId() == QMetaType::QString && !v.toString().isEmpty())
        d.name = v.toString();
    else
        return std::nullopt;
    bool ok = false;
    if (const double size = get("size").toDouble(&ok); ok && size > 0 && size < 1000)
        d.size = size;
    if (const int weight = get("weight").toInt(&ok); ok && weight >= 1 && weight <= 1000)
        d.weight = weight;
    if (const int charset = get("charset").toInt(&ok); ok && charset >= 0 && charset <= 255)
        d.charset = charset;
    d.italic = get("italic").toBool();
    d.underline = get("underline").toBool();
    d.strikethrough = get("strikethrough").toBool();
    return d;
}

QVariant pictureToStored(const Picture& picture)
{
    switch (picture.kind()) {
    case Picture::Kind::None:
        return {};
    case Picture::Kind::Other:
        return QVariantMap{{QStringLiteral("kind"), QStringLiteral("other")},
                           {QStringLiteral("width"), picture.pixelSize().width()},
                           {QStringLiteral("height"), picture.pixelSize().height()}};
    case Picture::Kind::Bitmap:
    case Picture::Kind::Icon:
        break;
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.image().save(&buffer, "PNG");
    return QVariantMap{
        {QStringLiteral("kind"), picture.kind() == Picture::Kind::Icon ? QStringLiteral("icon") : QStringLiteral("bitmap")},
        {QStringLiteral("png"), QString::fromLatin1(png.toBase64())}};
}

Picture pictureFromStored(const QVariant& stored)
{
    if (stored.typeId() != QMetaType::QVariantMap)
        return {};
    const QVariantMap m = stored.toMap();
    const QString kind = m.value(QStringLiteral("kind")).toString();
    if (const QString file = m.value(QStringLiteral("file")).toString(); !file.isEmpty())
        return Picture::load(file);
    if (kind == QLatin1String("other")) {
        const int w = m.value(QStringLiteral("width")).toInt();
        const int h = m.value(QStringLiteral("height")).toInt();
        return Picture::other(QSize(qMax(0, w), qMax(0, h)));
    }
    const QByteArray png = QByteArray::fromBase64(m.value(QStringLiteral("png")).toString().toLatin1());
    QImage image;
    if (png.isEmpty() || !image.loadFromData(png, "PNG"))
        return {};
    if (kind == QLatin1String("icon"))
        return Picture::icon(image);
    if (kind == QLatin1String("bitmap"))
        return Picture::bitmap(image);
    return {};
}

}  // namespace tervolin::platform
