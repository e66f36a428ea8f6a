#include "platform/picture.h"

#include <cmath>

#include <QFile>
#include <QImageReader>

namespace tervolin::platform {

namespace {

constexpr double kHimetricPerInch = 2540.0;
constexpr double kPixelsPerInch = 96.0;

std::uint16_t le16(const QByteArray& b, int at)
{
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8));
}

std::int16_t les16(const QByteArray& b, int at) { return static_cast<std::int16_t>(le16(b, at)); }

std::int32_t les32(const QByteArray& b, int at)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(le16(b, at)) | (static_cast<std::uint32_t>(le16(b, at + 2)) << 16));
}

// Metafiles are pictures of the "other" kind: recognised by their headers, sized from them, never drawn.
bool metafileSize(const QByteArray& head, QSize& size)
{
    if (head.size() >= 22 && static_cast<std::uint8_t>(head[0]) == 0xD7 && static_cast<std::uint8_t>(head[1]) == 0xCD &&
        static_cast<std::uint8_t>(head[2]) == 0xC6 && static_cast<std::uint8_t>(head[3]) == 0x9A) {
        // Placeable metafile: bounding box in logical units, then units per inch.
        const int inch = le16(head, 14);
        const int w = std::abs(les16(head, 10) - les16(head, 6));
        const int h = std::abs(les16(head, 12) - les16(head, 8));
        size = inch > 0 ? QSize(static_cast<int>(std::lround(w * kPixelsPerInch / inch)),
                                static_cast<int>(std::lround(h * kPixelsPerInch / inch)))
                        : QSize(0, 0);
        return true;
    }
    if (head.size() >= 44 && les32(head, 0) == 1 && head.mid(40, 4) == QByteArrayLiteral(" EMF")) {
        // Enhanced metafile: frame rectangle in hundredths of a millimetre.
        const int w = les32(head, 32) - les32(head, 24);
        const int h = les32(head, 36) - les32(head, 28);
        size = QSize(Picture::himetricToPixels(std::abs(w)), Picture::himetricToPixels(std::abs(h)));
        return true;
    }
    return false;
}

}  // namespace

Picture Picture::fromImage(Kind kind, const QImage& image, QImage::Format format)
{
    Picture p;
    if (image.isNull())
        return p;
    p.kind_ = kind;
    p.image_ = image.convertToFormat(format);
    p.size_ = p.image_.size();
    return p;
}

Picture Picture::bitmap(const QImage& image) { return fromImage(Kind::Bitmap, image, QImage::Format_RGB32); }

Picture Picture::icon(const QImage& image) { return fromImage(Kind::Icon, image, QImage::Format_ARGB32_Premultiplied); }

Picture Picture::other(QSize pixelSize)
{
    Picture p;
    p.kind_ = Kind::Other;
    p.size_ = pixelSize.isValid() ? pixelSize : QSize(0, 0);
    return p;
}

Picture Picture::load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QSize metafile;
    if (metafileSize(file.peek(64), metafile))
        return other(metafile);
    QImageReader reader(&file);
    const bool isIcon = reader.format() == "ico" || reader.format() == "cur";
    if (!isIcon)
        return bitmap(reader.read());
    // An icon file holds several sizes: keep the largest.
    QImage best;
    do {
        const QImage frame = reader.read();
        if (!frame.isNull() && frame.width() * frame.height() > best.width() * best.height())
            best = frame;
    } while (reader.jumpToNextImage());
    return icon(best);
}

namespace {

// An RGB32 image of the icon's pixels, each mapped from its premultiplied ARGB value.
template <typename Map>
QImage mapPixels(const QImage& icon, Map map)
{
    QImage out(icon.size(), QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(icon.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            dst[x] = map(src[x]);
    }
    return out;
}

}  // namespace

QImage Picture::iconColour() const
{
    if (kind_ != Kind::Icon)
        return {};
    // Premultiplied: black where clear.
    return mapPixels(image_, [](QRgb p) { return qAlpha(p) == 0 ? qRgb(0, 0, 0) : (p | 0xFF000000u); });
}

QImage Picture::iconMask() const
{
    if (kind_ != Kind::Icon)
        return {};
    return mapPixels(image_, [](QRgb p) { return qAlpha(p) == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); });
}

int Picture::pixelsToHimetric(int pixels)
{
    return static_cast<int>(std::lround(pixels * kHimetricPerInch / kPixelsPerInch));
}

int Picture::himetricToPixels(int himetric)
{
    return static_cast<int>(std::lround(himetric * kPixelsPerInch / kHimetricPerInch));
}

}  // namespace tervolin::platform
