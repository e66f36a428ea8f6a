#pragma once
// The drawing surface of the owner-drawn controls: a 32-bit pixel image with GDI's pixel rules.
//
// Coordinates are pixels, origin top left. Rectangles are left/top inclusive, right/bottom exclusive; an empty or
// inverted rectangle draws nothing. Every operation clips to the surface: no rectangle, line or image can write
// outside it. Colours are 0x00BBGGRR values (platform/colour.h); the top byte is ignored when drawing, so an
// untranslatable colour (-1) draws white. Translate system colours with translateColour() first.
//
// Rules we define ourselves (where the platform leaves the exact pixels open):
// - gradientFill(): each 16-bit channel at pixel offset i of a span of n pixels is (v0 × (n − i) + v1 × i) / n
//   (integer, truncating), and its high byte is the 8-bit channel. The first pixel carries the first vertex's
//   colour exactly; the last is one step short of the second vertex's, as the platform's fill is.
// - stretchDib(): nearest-neighbour sampling, destination pixel d takes source pixel d * sourceSize / destSize.
// - drawEdge(): each border draws its top and left sides in the top-left colour, then its bottom and right
//   sides in the bottom-right colour, so the bottom-left and top-right corner pixels take the bottom-right colour.
// - roundRectOutline(): the boundary pixels (those with a 4-neighbour outside) of Region::roundRect's shape.

#include <cstdint>
#include <vector>

#include <QFont>
#include <QImage>
#include <QString>

#include "platform/colour.h"
#include "platform/geometry.h"

namespace tervolin::platform {

/// Raster operations of the bitmap copies: plain copy, source AND destination, source OR destination.
enum class RasterOp { Copy, And, Or };

/// The 3-D edges drawn in the system colours: raised (outer + inner), sunken (outer + inner), thin raised (inner).
enum class EdgeKind { Raised, Sunken, ThinRaised };

/// Direction of a rectangle-mesh gradient; the values are those of the platform's fill mode.
enum class GradientDirection { Horizontal = 0, Vertical = 1 };

/// One gradient vertex: a pixel position and 16-bit channels (colour × 256 for an 8-bit colour).
struct GradientVertex
{
    int x = 0;
    int y = 0;
    std::uint16_t red = 0;
    std::uint16_t green = 0;
    std::uint16_t blue = 0;
    std::uint16_t alpha = 0;
};

/// A device-independent bitmap: 24 or 32 bits per pixel, rows stored bottom-up, each row padded to 4 bytes.
/// Pixel bytes are blue, green, red (and an unused fourth byte for 32 bits).
class Dib
{
public:
    Dib() = default;
    /// A zero-filled bitmap; width and height below 0 count as 0, bitsPerPixel other than 24 counts as 32.
    Dib(int width, int height, int bitsPerPixel);

    static int strideFor(int width, int bitsPerPixel) { return ((width * bitsPerPixel + 31) / 32) * 4; }

    int width() const { return width_; }
    int height() const { return height_; }
    int bitsPerPixel() const { return bitsPerPixel_; }
    int stride() const { return stride_; }
    std::uint8_t* bits() { return bits_.data(); }
    const std::uint8_t* bits() const { return bits_.data(); }
    std::size_t byteCount() const { return bits_.size(); }

    /// Row y counted from the top of the image (stored at line height - 1 - y).
    std::uint8_t* scanLine(int y) { return bits_.data() + static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(stride_); }
    const std::uint8_t* scanLine(int y) const
    {
        return bits_.data() + static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(stride_);
    }
    /// Pixel (x, y from the top) as 0x00BBGGRR, and its setter; both ignore positions outside the image.
    ColorRef pixel(int x, int y) const;
    void setPixel(int x, int y, ColorRef c);

    /// The bitmap as an RGB32 image (top-down), and an image read into a bitmap of the given depth.
    QImage toImage() const;
    static Dib fromImage(const QImage& image, int bitsPerPixel);

private:
    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 32;
    int stride_ = 0;
    std::vector<std::uint8_t> bits_;
};

/// Flags of drawText().
struct TextOptions
{
    bool prefix = true;  ///< "&x" draws x underlined, "&&" draws "&", a lone trailing "&" is dropped
    bool clip = true;    ///< clip the glyphs to the rectangle
};

class Surface
{
public:
    /// A surface of width × height pixels (negative sizes count as 0), cleared to the background colour.
    explicit Surface(int width = 0, int height = 0, ColorRef background = rgb(255, 255, 255));

    int width() const { return image_.width(); }
    int height() const { return image_.height(); }
    Rect bounds() const { return {0, 0, width(), height()}; }
    /// Changes the size; the new image is cleared to the background colour.
    void resize(int width, int height);

    /// The pixels (RGB32). Widgets paint this image; tests read it.
    const QImage& image() const { return image_; }
    QImage& image() { return image_; }

    /// The colour at (x, y), or -1 outside the surface.
    ColorRef pixel(int x, int y) const;
    /// Sets one pixel; outside the surface nothing happens.
    void setPixel(int x, int y, ColorRef c);

    /// The surface's own background colour, used by clear().
    ColorRef backgroundColour() const { return background_; }
    void setBackgroundColour(ColorRef c) { background_ = c; }
    /// Fills the whole surface with the background colour.
    void clear();

    /// The surface's current font (text measuring and drawing use it).
    const QFont& font() const { return font_; }
    void setFont(const QFont& font) { font_ = font; }

    // --- Shapes -----------------------------------------------------------------------------------------------

    /// Fills the rectangle (right/bottom exclusive).
    void fill(const Rect& r, ColorRef c);
    /// 1-pixel frame on the outermost pixels inside the rectangle; the sides outside the surface are clipped.
    void frame(const Rect& r, ColorRef c);
    /// 1-pixel line from (x1, y1) towards (x2, y2), the end point excluded; a zero-length line draws nothing.
    /// Any direction and slope (Bresenham, the same pixels as the platform's line for axis-aligned and 45° lines).
    void line(int x1, int y1, int x2, int y2, ColorRef c);
    /// The outline of a rounded rectangle with a hollow interior (corner ellipse ellipseW × ellipseH).
    void roundRectOutline(const Rect& r, int ellipseW, int ellipseH, ColorRef c);
    /// Dotted focus rectangle: every other pixel of the 1-pixel border inverted (XOR white) in a checkerboard
    /// pattern aligned to the surface origin; each border pixel is touched once, so drawing it twice restores.
    void focusRect(const Rect& r);
    /// 3-D edge on all four sides of the rectangle in the system colours (see the header comment for corners).
    void drawEdge(const Rect& r, EdgeKind kind);

    // --- Gradients and bitmaps --------------------------------------------------------------------------------

    /// Rectangle-mesh gradient between two vertices: the rectangle they span (normalised), blended from the
    /// first vertex's colour to the second's along the direction. The right/bottom vertex edge is exclusive.
    void gradientFill(const GradientVertex& v0, const GradientVertex& v1, GradientDirection direction);

    /// Copies a whole DIB stretched onto the destination rectangle with a raster operation. A destination with
    /// zero or negative width or height draws nothing.
    void stretchDib(const Rect& dest, const Dib& dib, RasterOp op = RasterOp::Copy);
    /// Copies the DIB's part (srcX, srcY from the top) of size width × height at 1:1 to (x, y).
    void copyDib(int x, int y, int width, int height, const Dib& dib, int srcX = 0, int srcY = 0, RasterOp op = RasterOp::Copy);

    /// Copies the top-left width × height pixels of an image at 1:1 (no scaling) to (x, y); the part of the
    /// rectangle beyond the image is left as it was.
    void drawBitmap(int x, int y, int width, int height, const QImage& source);
    /// As drawBitmap(), skipping the source pixels whose colour is maskColour.
    void drawBitmapTransparent(int x, int y, int width, int height, const QImage& source, ColorRef maskColour);
    /// Draws an icon image (with alpha) scaled to width × height at (x, y), composed over what is there.
    void drawIcon(int x, int y, int width, int height, const QImage& icon);

    // --- Text ---------------------------------------------------------------------------------------------------

    /// Size of a single line of text in the current font, every character counted ("&" included), in pixels.
    /// An empty text is 0 wide and one line high.
    QSizeF measureTextF(const QString& text) const;
    /// measureTextF() rounded to integers.
    QSize measureText(const QString& text) const;
    /// Draws a single line left- and top-aligned in the rectangle, transparent background.
    void drawText(const Rect& r, const QString& text, ColorRef colour, TextOptions options = {});
    /// Draws text with its top-left corner at (x, y), no prefix processing, not clipped but to the surface.
    void drawTextAt(int x, int y, const QString& text, ColorRef colour);

    /// Splits prefix markers off a caption: the text to draw and the index of the underlined character (-1: none).
    static QString stripPrefix(const QString& text, int* underlineIndex = nullptr);

private:
    void fillClipped(const Rect& clipped, QRgb value);
    QImage image_;
    ColorRef background_;
    QFont font_;
};

}  // namespace tervolin::platform
