#pragma once
// Picture values as the controls' picture properties hold them: none, a bitmap, an icon (colour with transparency,
// from which the mask is derived), or another kind that is never drawn. Sizes are kept in pixels and reported in
// HiMetric (hundredths of a millimetre) too, at 96 pixels per inch.

#include <QImage>
#include <QSize>
#include <QString>

namespace tervolin::platform {

class Picture
{
public:
    enum class Kind { None, Bitmap, Icon, Other };

    /// No picture.
    Picture() = default;
    static Picture bitmap(const QImage& image);
    /// An icon from an image with an alpha channel (fully transparent pixels are the icon's transparent area).
    static Picture icon(const QImage& image);
    /// A picture of another kind (for example a metafile), which the controls never draw.
    static Picture other(QSize pixelSize);

    /// Loads a PNG, BMP or ICO file, or a Qt resource (":/…"); ICO files load as icons (the largest image of
    /// the file), other images as bitmaps, a metafile as Other. Nothing (Kind::None) when the file cannot be read.
    static Picture load(const QString& path);

    Kind kind() const { return kind_; }
    bool isNone() const { return kind_ == Kind::None; }
    QSize pixelSize() const { return size_; }
    /// Width and height in HiMetric units, rounded.
    int himetricWidth() const { return pixelsToHimetric(size_.width()); }
    int himetricHeight() const { return pixelsToHimetric(size_.height()); }

    /// The image: RGB32 for a bitmap, ARGB32 (premultiplied) for an icon, null otherwise.
    const QImage& image() const { return image_; }
    /// For an icon: the colour bitmap (black where transparent) and the mask (white where transparent, black
    /// where opaque), both RGB32, as the platform's icon information gives them. Null images otherwise.
    QImage iconColour() const;
    QImage iconMask() const;

    static int pixelsToHimetric(int pixels);
    static int himetricToPixels(int himetric);

    friend bool operator==(const Picture& a, const Picture& b)
    {
        return a.kind_ == b.kind_ && a.size_ == b.size_ && a.image_ == b.image_;
    }

private:
    static Picture fromImage(Kind kind, const QImage& image, QImage::Format format);

    Kind kind_ = Kind::None;
    QSize size_;
    QImage image_;
};

}  // namespace tervolin::platform
