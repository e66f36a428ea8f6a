#include "platform/surface.h"

#include <algorithm>
#include <cstring>

#include <QFontMetricsF>
#include <QPainter>

#include "platform/region.h"

namespace tervolin::platform {

namespace {

__extension__ using Wide = __int128;

constexpr QRgb kOpaque = 0xFF000000u;

QRgb pixelValue(ColorRef c) { return kOpaque | (static_cast<QRgb>(redOf(c)) << 16) | (static_cast<QRgb>(greenOf(c)) << 8) | static_cast<QRgb>(blueOf(c)); }

ColorRef edgeColour(int index)
{
    return translateColour(systemColour(index));
}

// A paint device for font metrics when the surface has no pixels (same resolution as any image).
const QImage& metricsDevice()
{
    static const QImage image(1, 1, QImage::Format_RGB32);
    return image;
}

}  // namespace

// --- Dib ---------------------------------------------------------------------------------------------------------

Dib::Dib(int width, int height, int bitsPerPixel)
    : width_(std::max(width, 0))
    , height_(std::max(height, 0))
    , bitsPerPixel_(bitsPerPixel == 24 ? 24 : 32)
    , stride_(strideFor(width_, bitsPerPixel_))
    , bits_(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_), 0)
{
}

ColorRef Dib::pixel(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return -1;
    const std::uint8_t* p = scanLine(y) + x * (bitsPerPixel_ / 8);
    return rgb(p[2], p[1], p[0]);
}

void Dib::setPixel(int x, int y, ColorRef c)
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return;
    std::uint8_t* p = scanLine(y) + x * (bitsPerPixel_ / 8);
    p[0] = static_cast<std::uint8_t>(blueOf(c));
    p[1] = static_cast<std::uint8_t>(greenOf(c));
    p[2] = static_cast<std::uint8_t>(redOf(c));
}

QImage Dib::toImage() const
{
    QImage out(width_, height_, QImage::Format_RGB32);
    const int bpp = bitsPerPixel_ / 8;
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* src = scanLine(y);
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < width_; ++x, src += bpp)
            dst[x] = qRgb(src[2], src[1], src[0]);
    }
    return out;
}

Dib Dib::fromImage(const QImage& image, int bitsPerPixel)
{
    const QImage rgb32 = image.convertToFormat(QImage::Format_RGB32);
    Dib dib(rgb32.width(), rgb32.height(), bitsPerPixel);
    const int bpp = dib.bitsPerPixel() / 8;
    for (int y = 0; y < dib.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
        std::uint8_t* dst = dib.scanLine(y);
        for (int x = 0; x < dib.width(); ++x, dst += bpp) {
            dst[0] = static_cast<std::uint8_t>(qBlue(src[x]));
            dst[1] = static_cast<std::uint8_t>(qGreen(src[x]));
            dst[2] = static_cast<std::uint8_t>(qRed(src[x]));
        }
    }
    return dib;
}

// --- Surface -----------------------------------------------------------------------------------------------------

Surface::Surface(int width, int height, ColorRef background)
    : image_(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32)
    , background_(background)
{
    clear();
}

void Surface::resize(int width, int height)
{
    image_ = QImage(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
    clear();
}

ColorRef Surface::pixel(int x, int y) const
{
    if (!bounds().contains(x, y))
        return -1;
    return fromQRgb(reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x]);
}

void Surface::setPixel(int x, int y, ColorRef c)
{
    if (!bounds().contains(x, y))
        return;
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = pixelValue(c);
}

void Surface::clear()
{
    fillClipped(bounds(), pixelValue(background_));
}

void Surface::fillClipped(const Rect& clipped, QRgb value)
{
    if (clipped.isEmpty())
        return;
    uchar* base = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    const auto count = static_cast<std::size_t>(clipped.width());
    for (int y = clipped.top; y < clipped.bottom; ++y)
        std::fill_n(reinterpret_cast<QRgb*>(base + y * stride) + clipped.left, count, value);
}

void Surface::fill(const Rect& r, ColorRef c)
{
    if (r.isEmpty())
        return;
    fillClipped(r.intersected(bounds()), pixelValue(c));
}

void Surface::frame(const Rect& r, ColorRef c)
{
    if (r.isEmpty())
        return;
    const QRgb v = pixelValue(c);
    const Rect b = bounds();
    fillClipped(Rect{r.left, r.top, r.right, r.top + 1}.intersected(b), v);
    fillClipped(Rect{r.left, r.bottom - 1, r.right, r.bottom}.intersected(b), v);
    fillClipped(Rect{r.left, r.top, r.left + 1, r.bottom}.intersected(b), v);
    fillClipped(Rect{r.right - 1, r.top, r.right, r.bottom}.intersected(b), v);
}

void Surface::line(int x1, int y1, int x2, int y2, ColorRef c)
{
    if (x1 == x2 && y1 == y2)
        return;
    const QRgb v = pixelValue(c);
    const Rect b = bounds();
    if (y1 == y2) {
        const Rect r = x2 > x1 ? Rect{x1, y1, x2, y1 + 1} : Rect{x2 + 1, y1, x1 + 1, y1 + 1};
        fillClipped(r.intersected(b), v);
        return;
    }
    if (x1 == x2) {
        const Rect r = y2 > y1 ? Rect{x1, y1, x1 + 1, y2} : Rect{x1, y2 + 1, x1 + 1, y1 + 1};
        fillClipped(r.intersected(b), v);
        return;
    }
    // General slope: step along the major axis, the minor coordinate rounded from the exact position (halves
    // toward the end point's side). Only the steps that can land on the surface are visited.
    const long long dx = static_cast<long long>(x2) - x1;
    const long long dy = static_cast<long long>(y2) - y1;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const long long major = xMajor ? dx : dy;
    const long long minor = xMajor ? dy : dx;
    const long long n = major < 0 ? -major : major;
    const long long majorStart = xMajor ? x1 : y1;
    const long long minorStart = xMajor ? y1 : x1;
    const int majorDir = major < 0 ? -1 : 1;
    const long long extent = xMajor ? b.right : b.bottom;
    // Steps i in [0, n) with majorStart + majorDir * i inside [0, extent).
    long long iFrom = 0;
    long long iTo = n;
    if (majorDir > 0) {
        iFrom = std::max(iFrom, -majorStart);
        iTo = std::min(iTo, extent - majorStart);
    } else {
        iFrom = std::max(iFrom, majorStart - (extent - 1));
        iTo = std::min(iTo, majorStart + 1);
    }
    for (long long i = iFrom; i < iTo; ++i) {
        // minor offset = round(i * minor / n), ties away from the start.
        const Wide num = static_cast<Wide>(2) * i * (minor < 0 ? -minor : minor) + n;
        const long long off = static_cast<long long>(num / (static_cast<Wide>(2) * n));
        const long long m = minorStart + (minor < 0 ? -off : off);
        const long long a = majorStart + majorDir * i;
        const long long px = xMajor ? a : m;
        const long long py = xMajor ? m : a;
        if (px >= 0 && py >= 0 && px < b.right && py < b.bottom)
            reinterpret_cast<QRgb*>(image_.scanLine(static_cast<int>(py)))[px] = v;
    }
}

void Surface::roundRectOutline(const Rect& r, int ellipseW, int ellipseH, ColorRef c)
{
    const Region shape = Region::roundRect(r, ellipseW, ellipseH);
    if (shape.isEmpty())
        return;
    const QRgb v = pixelValue(c);
    const Rect b = bounds();
    const int yFrom = std::max(r.top, b.top);
    const int yTo = std::min(r.bottom, b.bottom);
    for (int y = yFrom; y < yTo; ++y) {
        int l = 0, rt = 0;
        if (!shape.rowSpan(y, l, rt))
            continue;
        // Interior: pixels whose four neighbours are all in the shape.
        int il = l + 1, ir = rt - 1;
        int al = 0, ar = 0, bl = 0, br = 0;
        if (y > r.top && shape.rowSpan(y - 1, al, ar) && y + 1 < r.bottom && shape.rowSpan(y + 1, bl, br)) {
            il = std::max({il, al, bl});
            ir = std::min({ir, ar, br});
        } else {
            il = ir = rt;  // first or last row: all boundary
        }
        if (il >= ir) {
            fillClipped(Rect{l, y, rt, y + 1}.intersected(b), v);
        } else {
            fillClipped(Rect{l, y, il, y + 1}.intersected(b), v);
            fillClipped(Rect{ir, y, rt, y + 1}.intersected(b), v);
        }
    }
}

void Surface::focusRect(const Rect& r)
{
    if (r.isEmpty())
        return;
    const Rect b = bounds();
    const auto invertRow = [&](int y, int xFrom, int xTo) {
        if (y < b.top || y >= b.bottom)
            return;
        xFrom = std::max(xFrom, b.left);
        xTo = std::min(xTo, b.right);
        auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = xFrom + ((xFrom + y) & 1); x < xTo; x += 2)
            line[x] ^= 0x00FFFFFFu;
    };
    const auto invertColumn = [&](int x, int yFrom, int yTo) {
        if (x < b.left || x >= b.right)
            return;
        yFrom = std::max(yFrom, b.top);
        yTo = std::min(yTo, b.bottom);
        for (int y = yFrom + ((yFrom + x) & 1); y < yTo; y += 2)
            reinterpret_cast<QRgb*>(image_.scanLine(y))[x] ^= 0x00FFFFFFu;
    };
    invertRow(r.top, r.left, r.right);
    if (r.bottom - 1 > r.top)
        invertRow(r.bottom - 1, r.left, r.right);
    invertColumn(r.left, r.top + 1, r.bottom - 1);
    if (r.right - 1 > r.left)
        invertColumn(r.right - 1, r.top + 1, r.bottom - 1);
}

void Surface::drawEdge(const Rect& r, EdgeKind kind)
{
    const auto border = [this](const Rect& e, ColorRef topLeft, ColorRef bottomRight) {
        if (e.isEmpty())
            return;
        const Rect b = bounds();
        fillClipped(Rect{e.left, e.top, e.right, e.top + 1}.intersected(b), pixelValue(topLeft));
        fillClipped(Rect{e.left, e.top, e.left + 1, e.bottom}.intersected(b), pixelValue(topLeft));
        fillClipped(Rect{e.left, e.bottom - 1, e.right, e.bottom}.intersected(b), pixelValue(bottomRight));
        fillClipped(Rect{e.right - 1, e.top, e.right, e.bottom}.intersected(b), pixelValue(bottomRight));
    };
    if (r.isEmpty())
        return;
    const Rect inner = r.adjusted(1, 1, -1, -1);  // empty (and so not drawn) for a rectangle under 3 pixels
    using namespace SystemColourIndex;
    switch (kind) {
    case EdgeKind::Raised:
        border(r, edgeColour(Light3D), edgeColour(DarkShadow3D));
        border(inner, edgeColour(ButtonHighlight), edgeColour(ButtonShadow));
        break;
    case EdgeKind::Sunken:
        border(r, edgeColour(ButtonShadow), edgeColour(ButtonHighlight));
        border(inner, edgeColour(DarkShadow3D), edgeColour(Light3D));
        break;
    case EdgeKind::ThinRaised:
        border(r, edgeColour(ButtonHighlight), edgeColour(ButtonShadow));
        break;
    }
}

void Surface::gradientFill(const GradientVertex& v0, const GradientVertex& v1, GradientDirection direction)
{
    const bool vertical = direction == GradientDirection::Vertical;
    const GradientVertex& a = (vertical ? v0.y <= v1.y : v0.x <= v1.x) ? v0 : v1;
    const GradientVertex& e = &a == &v0 ? v1 : v0;
    const Rect r{std::min(v0.x, v1.x), std::min(v0.y, v1.y), std::max(v0.x, v1.x), std::max(v0.y, v1.y)};
    if (r.isEmpty())
        return;
    const Rect clip = r.intersected(bounds());
    if (clip.isEmpty())
        return;
    const long long n = vertical ? static_cast<long long>(r.bottom) - r.top : static_cast<long long>(r.right) - r.left;
    const auto channel = [n](std::uint16_t c0, std::uint16_t c1, long long i) {
        return static_cast<QRgb>(((static_cast<long long>(c0) * (n - i) + static_cast<long long>(c1) * i) / n) >> 8);
    };
    const auto colourAt = [&](long long i) {
        return kOpaque | (channel(a.red, e.red, i) << 16) | (channel(a.green, e.green, i) << 8) | channel(a.blue, e.blue, i);
    };
    if (vertical) {
        for (int y = clip.top; y < clip.bottom; ++y)
            fillClipped(Rect{clip.left, y, clip.right, y + 1}, colourAt(static_cast<long long>(y) - r.top));
        return;
    }
    // Horizontal: compute one row, then copy it down.
    uchar* base = image_.bits();
    const qsizetype stride = image_.bytesPerLine();
    auto* first = reinterpret_cast<QRgb*>(base + clip.top * stride);
    for (int x = clip.left; x < clip.right; ++x)
        first[x] = colourAt(static_cast<long long>(x) - r.left);
    const auto bytes = static_cast<std::size_t>(clip.width()) * sizeof(QRgb);
    for (int y = clip.top + 1; y < clip.bottom; ++y)
        std::memcpy(reinterpret_cast<QRgb*>(base + y * stride) + clip.left, first + clip.left, bytes);
}

namespace {

inline QRgb combine(QRgb dst, QRgb src, RasterOp op)
{
    switch (op) {
    case RasterOp::Copy:
        return src;
    case RasterOp::And:
        return (dst & src) | kOpaque;
    case RasterOp::Or:
        return dst | src;
    }
    return src;
}

inline QRgb dibPixel(const std::uint8_t* p) { return kOpaque | (QRgb{p[2]} << 16) | (QRgb{p[1]} << 8) | QRgb{p[0]}; }

}  // namespace

void Surface::stretchDib(const Rect& dest, const Dib& dib, RasterOp op)
{
    if (dest.isEmpty() || dib.width() <= 0 || dib.height() <= 0)
        return;
    const Rect clip = dest.intersected(bounds());
    if (clip.isEmpty())
        return;
    const long long dw = static_cast<long long>(dest.right) - dest.left;
    const long long dh = static_cast<long long>(dest.bottom) - dest.top;
    const int bpp = dib.bitsPerPixel() / 8;
    std::vector<int> sourceX(static_cast<std::size_t>(clip.width()));
    for (int x = clip.left; x < clip.right; ++x)
        sourceX[static_cast<std::size_t>(x - clip.left)] = static_cast<int>((static_cast<long long>(x) - dest.left) * dib.width() / dw) * bpp;
    for (int y = clip.top; y < clip.bottom; ++y) {
        const auto sy = static_cast<int>((static_cast<long long>(y) - dest.top) * dib.height() / dh);
        const std::uint8_t* src = dib.scanLine(sy);
        auto* dst = reinterpret_cast<QRgb*>(image_.scanLine(y));
        for (int x = clip.left; x < clip.right; ++x)
            dst[x] = combine(dst[x], dibPixel(src + sourceX[static_cast<std::size_t>(x - clip.left)]), op);
    }
}

void Surface::copyDib(int x, int y, int width, int height, const Dib& dib, int srcX, int srcY, RasterOp op)
{
    if (width <= 0 || height <= 0)
        return;
    // Destination rectangle limited to the source's extent, then to the surface.
    const long long w = std::min<long long>(width, static_cast<long long>(dib.width()) - srcX);
    const long long h = std::min<long long>(height, static_cast<long long>(dib.height()) - srcY);
    if (w <= 0 || h <= 0)
        return;
    Rect dest = Rect::fromSize(x, y, static_cast<int>(w), static_cast<int>(h));
    // Source pixels before the image's start (negative srcX/srcY) are not there to copy.
    if (srcX < 0)
        dest.left = Rect::saturate(x, -static_cast<long long>(srcX));
    if (srcY < 0)
        dest.top = Rect::saturate(y, -static_cast<long long>(srcY));
    const Rect clip = dest.intersected(bounds());
    if (clip.isEmpty())
        return;
    const int bpp = dib.bitsPerPixel() / 8;
    for (int dy = clip.top; dy < clip.bottom; ++dy) {
        const auto sy = static_cast<int>(static_cast<long long>(dy) - y + srcY);
        const std::uint8_t* src = dib.scanLine(sy);
        auto* dst = reinterpret_cast<QRgb*>(image_.scanLine(dy));
        const long long sx0 = static_cast<long long>(clip.left) - x + srcX;
        if (op == RasterOp::Copy && bpp == 4) {
            for (int dx = clip.left; dx < clip.right; ++dx)
                dst[dx] = dibPixel(src + (sx0 + dx - clip.left) * 4);
            continue;
        }
        for (int dx = clip.left; dx < clip.right; ++dx)
            dst[dx] = combine(dst[dx], dibPixel(src + (sx0 + dx - clip.left) * bpp), op);
    }
}

namespace {

// The part of (x, y, width, height) that the top-left of an image of the given size covers, on the surface.
Rect oneToOneClip(int x, int y, int width, int height, const QImage& source, const Rect& bounds)
{
    if (width <= 0 || height <= 0 || source.isNull())
        return {};
    return Rect::fromSize(x, y, std::min(width, source.width()), std::min(height, source.height())).intersected(bounds);
}

}  // namespace

void Surface::drawBitmap(int x, int y, int width, int height, const QImage& source)
{
    const Rect clip = oneToOneClip(x, y, width, height, source, bounds());
    if (clip.isEmpty())
        return;
    const QImage src = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    const auto bytes = static_cast<std::size_t>(clip.width()) * sizeof(QRgb);
    for (int dy = clip.top; dy < clip.bottom; ++dy) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(dy - y)) + (clip.left - x);
        std::memcpy(reinterpret_cast<QRgb*>(image_.scanLine(dy)) + clip.left, s, bytes);
    }
}

void Surface::drawBitmapTransparent(int x, int y, int width, int height, const QImage& source, ColorRef maskColour)
{
    const Rect clip = oneToOneClip(x, y, width, height, source, bounds());
    if (clip.isEmpty())
        return;
    const QImage src = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    const QRgb mask = pixelValue(maskColour) & 0x00FFFFFFu;
    for (int dy = clip.top; dy < clip.bottom; ++dy) {
        const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(dy - y)) + (clip.left - x);
        auto* d = reinterpret_cast<QRgb*>(image_.scanLine(dy));
        for (int dx = clip.left; dx < clip.right; ++dx, ++s) {
            if ((*s & 0x00FFFFFFu) != mask)
                d[dx] = *s | kOpaque;
        }
    }
}

void Surface::drawIcon(int x, int y, int width, int height, const QImage& icon)
{
    if (width <= 0 || height <= 0 || icon.isNull())
        return;
    const Rect dest = Rect::fromSize(x, y, width, height);
    if (dest.intersected(bounds()).isEmpty())
        return;
    QPainter p(&image_);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(QRectF(dest.left, dest.top, static_cast<double>(dest.right) - dest.left,
                       static_cast<double>(dest.bottom) - dest.top),
                icon);
}

// --- Text --------------------------------------------------------------------------------------------------------

QSizeF Surface::measureTextF(const QString& text) const
{
    const QFontMetricsF fm(font_, image_.isNull() ? &metricsDevice() : &image_);
    return {fm.horizontalAdvance(text), fm.height()};
}

QSize Surface::measureText(const QString& text) const
{
    const QSizeF s = measureTextF(text);
    return {qRound(s.width()), qRound(s.height())};
}

void Surface::drawText(const Rect& r, const QString& text, ColorRef colour, TextOptions options)
{
    if (text.isEmpty() || image_.isNull())
        return;
    if (options.clip && r.intersected(bounds()).isEmpty())
        return;
    QPainter p(&image_);
    p.setFont(font_);
    p.setPen(toQColor(colour));
    const Rect visible = r.intersected(bounds());
    if (options.clip)
        p.setClipRect(QRect(visible.left, visible.top, visible.width(), visible.height()));
    int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
    if (options.prefix)
        flags |= Qt::TextShowMnemonic;
    // An odd run of markers at the end leaves one lone "&", which marks nothing and draws nothing.
    qsizetype trailing = 0;
    while (trailing < text.size() && text[text.size() - 1 - trailing] == QLatin1Char('&'))
        ++trailing;
    const QString shown = options.prefix && (trailing % 2) == 1 ? text.left(text.size() - 1) : text;
    p.drawText(QRectF(r.left, r.top, 1e6, 1e6), flags, shown);
}

void Surface::drawTextAt(int x, int y, const QString& text, ColorRef colour)
{
    if (text.isEmpty() || image_.isNull())
        return;
    QPainter p(&image_);
    p.setFont(font_);
    p.setPen(toQColor(colour));
    const QFontMetricsF fm(font_, &image_);
    p.drawText(QPointF(x, y + fm.ascent()), text);
}

QString Surface::stripPrefix(const QString& text, int* underlineIndex)
{
    QString out;
    out.reserve(text.size());
    int underline = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 >= text.size())
                break;  // a lone trailing marker draws nothing
            ++i;
            if (text[i] != QLatin1Char('&') && underline < 0)
                underline = static_cast<int>(out.size());
        }
        out.append(text[i]);
    }
    if (underlineIndex)
        *underlineIndex = underline;
    return out;
}

}  // namespace tervolin::platform
