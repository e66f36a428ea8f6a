#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <random>

#include <QDir>
#include <QPainter>

#include "platform/surface.h"
#include "tests/support/testsupport.h"

using namespace tervolin::platform;

namespace {

constexpr ColorRef kBack = 0x00102030;
constexpr ColorRef kInk = 0x00C08040;

struct Px
{
    int x;
    int y;
};

// Surfaces equal pixel for pixel; on mismatch the expected, actual and difference images go to the test log folder.
::testing::AssertionResult sameImage(const QImage& expected, const QImage& actual, const QString& name)
{
    if (expected == actual)
        return ::testing::AssertionSuccess();
    QImage diff(actual.size(), QImage::Format_RGB32);
    diff.fill(Qt::black);
    int count = 0;
    for (int y = 0; y < actual.height(); ++y)
        for (int x = 0; x < actual.width(); ++x)
            if (expected.pixel(x, y) != actual.pixel(x, y)) {
                diff.setPixel(x, y, qRgb(255, 0, 0));
                ++count;
            }
    const QString dir = QDir::currentPath();
    expected.save(dir + QLatin1Char('/') + name + QStringLiteral("-expected.png"));
    actual.save(dir + QLatin1Char('/') + name + QStringLiteral("-actual.png"));
    diff.save(dir + QLatin1Char('/') + name + QStringLiteral("-diff.png"));
    return ::testing::AssertionFailure() << count << " pixels differ; images written to " << dir.toStdString() << "/"
                                         << name.toStdString() << "-*.png";
}

int inked(const Surface& s, ColorRef colour)
{
    int n = 0;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x)
            n += s.pixel(x, y) == colour;
    return n;
}

}  // namespace

// --- Fill and frame ----------------------------------------------------------------------------------------------

struct ShapeCase
{
    const char* name;
    Rect rect;
    std::vector<Px> painted;
    std::vector<Px> untouched;
    int count;
};

// The listed pixels are inked or left alone, and `count` pixels in all are inked.
void expectShape(const Surface& s, const ShapeCase& c)
{
    for (const Px& p : c.painted)
        EXPECT_EQ(s.pixel(p.x, p.y), kInk) << p.x << "," << p.y;
    for (const Px& p : c.untouched)
        EXPECT_EQ(s.pixel(p.x, p.y), kBack) << p.x << "," << p.y;
    EXPECT_EQ(inked(s, kInk), c.count);
}

class FillCases : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(FillCases, CoversLeftTopInclusiveRightBottomExclusive)
{
    const ShapeCase& c = GetParam();
    Surface s(10, 10, kBack);
    s.fill(c.rect, kInk);
    expectShape(s, c);
}

INSTANTIATE_TEST_SUITE_P(Surface, FillCases,
    ::testing::Values(
        ShapeCase{"plain", {2, 2, 5, 4}, {{2, 2}, {4, 3}}, {{5, 3}, {4, 4}, {1, 2}}, 6},
        ShapeCase{"inverted", {5, 5, 2, 2}, {}, {{3, 3}}, 0},
        ShapeCase{"zeroWidth", {3, 3, 3, 8}, {}, {{3, 3}}, 0},
        ShapeCase{"partlyOutside", {-5, 8, 3, 20}, {{0, 9}, {2, 8}}, {{3, 9}, {0, 7}}, 6},
        ShapeCase{"allOutside", {10, 0, 20, 10}, {}, {{9, 0}}, 0},
        ShapeCase{"extreme", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {{0, 0}, {9, 9}}, {}, 100}),
    [](const auto& row) { return std::string(row.param.name); });

class FrameCases : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(FrameCases, DrawsTheOutermostPixelsInside)
{
    const ShapeCase& c = GetParam();
    Surface s(10, 10, kBack);
    s.frame(c.rect, kInk);
    expectShape(s, c);
}

INSTANTIATE_TEST_SUITE_P(Surface, FrameCases,
    ::testing::Values(
        ShapeCase{"whole", {0, 0, 10, 10}, {{0, 0}, {9, 0}, {0, 9}, {9, 9}, {5, 0}}, {{1, 1}, {8, 8}}, 36},
        ShapeCase{"partlyOutside", {-3, -3, 5, 5}, {{4, 0}, {0, 4}, {4, 4}}, {{0, 0}, {3, 3}, {5, 4}}, 9},
        // The right and bottom sides of (0, 0, W + 1, H + 1) fall outside the surface.
        ShapeCase{"pastRightBottom", {0, 0, 11, 11}, {{0, 0}, {9, 0}, {0, 9}}, {{9, 9}, {9, 5}, {5, 9}}, 19},
        ShapeCase{"oneColumn", {4, 2, 5, 6}, {{4, 2}, {4, 5}}, {{4, 6}, {5, 2}}, 4},
        ShapeCase{"inverted", {6, 6, 2, 2}, {}, {{6, 6}, {2, 2}}, 0},
        ShapeCase{"extreme", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {}, {{0, 0}, {9, 9}}, 0}),
    [](const auto& row) { return std::string(row.param.name); });

// --- Lines ----------------------------------------------------------------------------------------------------

struct LineCase
{
    const char* name;
    int x1, y1, x2, y2;
    std::vector<Px> painted;
    Px endPoint;
    int count;
};

class LineCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineCases, ExcludesTheEndPoint)
{
    const LineCase& c = GetParam();
    Surface s(12, 12, kBack);
    s.line(c.x1, c.y1, c.x2, c.y2, kInk);
    for (const Px& p : c.painted)
        EXPECT_EQ(s.pixel(p.x, p.y), kInk) << p.x << "," << p.y;
    EXPECT_NE(s.pixel(c.endPoint.x, c.endPoint.y), kInk);
    EXPECT_EQ(inked(s, kInk), c.count);
}

INSTANTIATE_TEST_SUITE_P(Surface, LineCases,
    ::testing::Values(
        LineCase{"right", 0, 5, 10, 5, {{0, 5}, {9, 5}}, {10, 5}, 10},
        LineCase{"left", 10, 5, 0, 5, {{10, 5}, {1, 5}}, {0, 5}, 10},
        LineCase{"down", 3, 1, 3, 4, {{3, 1}, {3, 3}}, {3, 4}, 3},
        LineCase{"up", 3, 4, 3, 1, {{3, 4}, {3, 2}}, {3, 1}, 3},
        LineCase{"diagonal", 0, 0, 5, 5, {{0, 0}, {4, 4}}, {5, 5}, 5},
        LineCase{"reverseDiagonal", 5, 5, 0, 0, {{5, 5}, {1, 1}}, {0, 0}, 5},
        LineCase{"antiDiagonal", 6, 0, 0, 6, {{6, 0}, {1, 5}}, {0, 6}, 6},
        LineCase{"shallow", 0, 0, 8, 2, {{0, 0}, {7, 2}}, {8, 2}, 8},
        LineCase{"zeroLength", 4, 4, 4, 4, {}, {4, 4}, 0},
        LineCase{"clippedLong", -1000000, 3, 2000000000, 3, {{0, 3}, {11, 3}}, {0, 4}, 12},
        LineCase{"extremeDiagonal", INT_MIN, INT_MIN, INT_MAX, INT_MAX, {{0, 0}, {11, 11}}, {0, 1}, 12}),
    [](const auto& row) { return std::string(row.param.name); });

// --- Focus rectangle, edges, set pixel, round-rect outline ------------------------------------------------------

TEST(Surface, FocusRectangleInvertsEveryOtherBorderPixelAndTwiceRestores)
{
    Surface s(12, 10, kBack);
    s.fill({3, 3, 6, 6}, kInk);
    const QImage before = s.image().copy();
    const Rect r{2, 2, 9, 8};
    s.focusRect(r);
    const ColorRef inverted = kBack ^ 0x00FFFFFF;
    EXPECT_EQ(s.pixel(2, 2), inverted);   // (x + y) even
    EXPECT_EQ(s.pixel(3, 2), kBack);      // odd: untouched
    EXPECT_EQ(s.pixel(8, 2), inverted);   // top-right corner pixel is on the pattern
    EXPECT_EQ(s.pixel(2, 7), kBack);
    EXPECT_EQ(s.pixel(3, 7), inverted);
    EXPECT_EQ(s.pixel(4, 4), kInk);       // inside: untouched
    EXPECT_EQ(s.pixel(9, 2), kBack);      // right edge exclusive
    EXPECT_EQ(s.pixel(2, 8), kBack);      // bottom edge exclusive
    s.focusRect(r);
    EXPECT_TRUE(sameImage(before, s.image(), QStringLiteral("focus-twice")));
    // Degenerate rectangles: a single row and a single pixel also restore.
    for (const Rect& d : {Rect{1, 1, 9, 2}, Rect{4, 4, 5, 5}, Rect{-5, -5, 20, 20}, Rect{5, 5, 1, 1}}) {
        s.focusRect(d);
        s.focusRect(d);
        EXPECT_TRUE(sameImage(before, s.image(), QStringLiteral("focus-degenerate")));
    }
}

struct EdgeCase
{
    const char* name;
    EdgeKind kind;
    ColorRef topLeft, bottomRight, innerTopLeft, innerBottomRight;
};

class EdgeCases : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(EdgeCases, UseTheSystemColours)
{
    const EdgeCase& c = GetParam();
    Surface s(10, 8, kBack);
    s.drawEdge({0, 0, 10, 8}, c.kind);
    EXPECT_EQ(s.pixel(0, 0), c.topLeft);
    EXPECT_EQ(s.pixel(5, 0), c.topLeft);
    EXPECT_EQ(s.pixel(0, 4), c.topLeft);
    EXPECT_EQ(s.pixel(9, 7), c.bottomRight);
    EXPECT_EQ(s.pixel(0, 7), c.bottomRight);  // bottom-left and top-right corners take the bottom-right colour
    EXPECT_EQ(s.pixel(9, 0), c.bottomRight);
    EXPECT_EQ(s.pixel(1, 1), c.innerTopLeft);
    EXPECT_EQ(s.pixel(8, 6), c.innerBottomRight);
    EXPECT_EQ(s.pixel(4, 4), kBack);  // no middle fill
}

INSTANTIATE_TEST_SUITE_P(Surface, EdgeCases,
    ::testing::Values(
        EdgeCase{"raised", EdgeKind::Raised, rgb(227, 227, 227), rgb(105, 105, 105), rgb(255, 255, 255), rgb(160, 160, 160)},
        EdgeCase{"sunken", EdgeKind::Sunken, rgb(160, 160, 160), rgb(255, 255, 255), rgb(105, 105, 105), rgb(227, 227, 227)},
        EdgeCase{"thinRaised", EdgeKind::ThinRaised, rgb(255, 255, 255), rgb(160, 160, 160), kBack, kBack}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Surface, SetPixelAndClearStayOnTheSurface)
{
    Surface s(4, 3, kBack);
    s.setPixel(3, 2, kInk);
    s.setPixel(4, 2, kInk);
    s.setPixel(-1, 0, kInk);
    EXPECT_EQ(s.pixel(3, 2), kInk);
    EXPECT_EQ(inked(s, kInk), 1);
    EXPECT_EQ(s.pixel(4, 2), -1);
    s.setBackgroundColour(rgb(255, 0, 0));
    s.clear();
    EXPECT_EQ(inked(s, rgb(255, 0, 0)), 12);
    Surface empty(0, -5);
    empty.clear();
    empty.fill({0, 0, 5, 5}, kInk);
    empty.drawText({0, 0, 5, 5}, QStringLiteral("x"), kInk);
    EXPECT_EQ(empty.width(), 0);
    EXPECT_EQ(empty.height(), 0);
}

TEST(Surface, RoundRectOutlineIsHollowAndFollowsTheCorners)
{
    Surface s(20, 12, kBack);
    s.roundRectOutline({0, 0, 19, 11}, 5, 5, kInk);
    EXPECT_EQ(s.pixel(0, 0), kBack);    // corner cut
    EXPECT_EQ(s.pixel(9, 0), kInk);     // top side
    EXPECT_EQ(s.pixel(9, 10), kInk);    // bottom side: bottom - 1
    EXPECT_EQ(s.pixel(18, 5), kInk);    // right side: right - 1
    EXPECT_EQ(s.pixel(19, 5), kBack);
    EXPECT_EQ(s.pixel(0, 5), kInk);
    EXPECT_EQ(s.pixel(9, 5), kBack);    // hollow
    EXPECT_EQ(s.pixel(1, 0), kInk);     // the curve steps in at the corner
    EXPECT_EQ(s.pixel(0, 1), kInk);
    EXPECT_EQ(s.pixel(1, 1), kBack);
    Surface square(6, 6, kBack);
    square.roundRectOutline({0, 0, 6, 6}, 0, 0, kInk);
    EXPECT_EQ(inked(square, kInk), 20);
}

// --- Gradients ----------------------------------------------------------------------------------------------

TEST(Surface, GradientFillUsesSixteenBitChannelsAndStopsOneStepShort)
{
    Surface s(6, 3, kBack);
    const GradientVertex a{1, 0, 0, 0x2000, 0xFF00, 0};
    const GradientVertex b{5, 2, 0xFF00, 0x2000, 0x0000, 0};
    s.gradientFill(a, b, GradientDirection::Horizontal);
    EXPECT_EQ(s.pixel(1, 0), rgb(0, 0x20, 0xFF));
    EXPECT_EQ(s.pixel(2, 1), rgb(63, 0x20, 191));    // 0xFF00 / 4 = 16320 -> 63; 3 × 0xFF00 / 4 -> 191
    EXPECT_EQ(s.pixel(4, 1), rgb(191, 0x20, 63));    // last column one step short of the second vertex
    EXPECT_EQ(s.pixel(5, 0), kBack);
    EXPECT_EQ(s.pixel(1, 2), kBack);
    // Vertex order does not matter: the leftmost vertex's colour starts the ramp.
    Surface t(6, 3, kBack);
    t.gradientFill(b, a, GradientDirection::Horizontal);
    EXPECT_TRUE(sameImage(s.image(), t.image(), QStringLiteral("gradient-order")));
    Surface v(3, 5, kBack);
    v.gradientFill({0, 0, 0xFF00, 0, 0, 0}, {3, 4, 0, 0, 0, 0}, GradientDirection::Vertical);
    EXPECT_EQ(v.pixel(0, 0), rgb(255, 0, 0));
    EXPECT_EQ(v.pixel(2, 3), rgb(63, 0, 0));
    EXPECT_EQ(v.pixel(0, 4), kBack);
    Surface none(4, 4, kBack);
    none.gradientFill({2, 0, 0, 0, 0, 0}, {2, 4, 0, 0, 0, 0}, GradientDirection::Horizontal);
    EXPECT_EQ(inked(none, kBack), 16);
}

// --- Bitmaps --------------------------------------------------------------------------------------------------

TEST(Surface, DibCopiesReadBottomUpRowsAndApplyRasterOps)
{
    Dib dib(5, 2, 24);
    EXPECT_EQ(dib.stride(), 16);
    dib.setPixel(0, 0, rgb(10, 20, 30));  // top row lives in the last stored line
    dib.setPixel(4, 1, rgb(0xF0, 0x0F, 0x3C));
    EXPECT_EQ(dib.bits()[16], 30);         // blue byte of the top-left pixel at line 1
    EXPECT_EQ(dib.pixel(0, 0), rgb(10, 20, 30));

    Surface s(8, 4, rgb(0xFF, 0xFF, 0xFF));
    s.copyDib(1, 1, 5, 2, dib);
    EXPECT_EQ(s.pixel(1, 1), rgb(10, 20, 30));
    EXPECT_EQ(s.pixel(5, 2), rgb(0xF0, 0x0F, 0x3C));
    EXPECT_EQ(s.pixel(6, 2), rgb(0xFF, 0xFF, 0xFF));
    s.copyDib(1, 1, 5, 2, dib, 0, 0, RasterOp::And);
    EXPECT_EQ(s.pixel(5, 2), rgb(0xF0, 0x0F, 0x3C));
    s.fill({0, 0, 8, 4}, rgb(0x0F, 0x00, 0x01));
    s.copyDib(1, 1, 5, 2, dib, 0, 0, RasterOp::Or);
    EXPECT_EQ(s.pixel(5, 2), rgb(0xFF, 0x0F, 0x3D));
    s.copyDib(1, 1, 5, 2, dib, 0, 0, RasterOp::And);
    EXPECT_EQ(s.pixel(5, 2), rgb(0xF0, 0x0F, 0x3C));
    // A copy larger than the bitmap, and off the surface, touches only the overlap.
    s.fill({0, 0, 8, 4}, kBack);
    s.copyDib(6, -1, 50, 50, dib);
    EXPECT_EQ(s.pixel(6, 0), dib.pixel(0, 1));
    EXPECT_EQ(inked(s, kBack), 30);
}

TEST(Surface, StretchDibScalesByNearestSource)
{
    Dib dib(2, 2, 32);
    dib.setPixel(0, 0, rgb(1, 0, 0));
    dib.setPixel(1, 0, rgb(2, 0, 0));
    dib.setPixel(0, 1, rgb(3, 0, 0));
    dib.setPixel(1, 1, rgb(4, 0, 0));
    Surface s(6, 6, kBack);
    s.stretchDib({1, 1, 5, 5}, dib);
    EXPECT_EQ(s.pixel(1, 1), rgb(1, 0, 0));
    EXPECT_EQ(s.pixel(2, 2), rgb(1, 0, 0));
    EXPECT_EQ(s.pixel(3, 1), rgb(2, 0, 0));
    EXPECT_EQ(s.pixel(1, 3), rgb(3, 0, 0));
    EXPECT_EQ(s.pixel(4, 4), rgb(4, 0, 0));
    EXPECT_EQ(s.pixel(5, 5), kBack);
    Surface t(6, 6, kBack);
    t.stretchDib({5, 5, 1, 1}, dib);        // inverted destination: nothing
    t.stretchDib({0, 0, 0, 6}, dib);
    t.stretchDib({0, 0, 6, 6}, Dib());      // empty bitmap: nothing
    EXPECT_EQ(inked(t, kBack), 36);
    t.stretchDib({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, dib);  // huge: clipped, no overflow
    EXPECT_EQ(t.pixel(0, 0), rgb(4, 0, 0));
}

TEST(Surface, BitmapCopiesAreOneToOneFromTheTopLeft)
{
    QImage src(48, 48, QImage::Format_RGB32);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 48; ++x)
            src.setPixel(x, y, qRgb(x, y, 7));
    src.setPixel(2, 2, qRgb(0xE0, 0xE0, 0xE0));
    Surface s(20, 20, kBack);
    s.drawBitmap(1, 1, 16, 16, src);  // only the top-left 16 × 16 pixels, unscaled
    EXPECT_EQ(s.pixel(1, 1), rgb(0, 0, 7));
    EXPECT_EQ(s.pixel(16, 16), rgb(15, 15, 7));
    EXPECT_EQ(s.pixel(17, 17), kBack);
    EXPECT_EQ(s.pixel(3, 3), rgb(0xE0, 0xE0, 0xE0));

    Surface t(20, 20, kBack);
    t.drawBitmapTransparent(0, 0, 16, 16, src, rgb(0xE0, 0xE0, 0xE0));
    EXPECT_EQ(t.pixel(2, 2), kBack);  // the mask colour is skipped
    EXPECT_EQ(t.pixel(3, 2), rgb(3, 2, 7));

    Surface u(20, 20, kBack);
    u.drawBitmap(15, 15, 10, 10, src.copy(0, 0, 3, 3));  // rectangle larger than the image: the rest untouched
    EXPECT_EQ(u.pixel(16, 17), rgb(1, 2, 7));
    EXPECT_EQ(u.pixel(18, 18), kBack);
}

TEST(Surface, IconsAreScaledAndKeepTheBackgroundWhereTransparent)
{
    QImage icon(2, 2, QImage::Format_ARGB32);
    icon.fill(qRgba(255, 0, 0, 255));
    icon.setPixel(1, 1, qRgba(0, 0, 0, 0));
    Surface s(6, 6, kBack);
    s.drawIcon(1, 1, 4, 4, icon);
    EXPECT_EQ(s.pixel(1, 1), rgb(255, 0, 0));
    EXPECT_EQ(s.pixel(2, 4), rgb(255, 0, 0));
    EXPECT_EQ(s.pixel(4, 4), kBack);
    EXPECT_EQ(s.pixel(5, 5), kBack);
}

// --- Text (geometry only) --------------------------------------------------------------------------------------

TEST(Surface, MeasureCountsEveryMarker)
{
    Surface s(10, 10);
    s.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    const QSize plain = s.measureText(QStringLiteral("Save"));
    const QSize marked = s.measureText(QStringLiteral("&Save"));
    const QSize doubled = s.measureText(QStringLiteral("&&Save"));
    EXPECT_GT(plain.width(), 0);
    EXPECT_GT(marked.width(), plain.width());
    EXPECT_GT(doubled.width(), marked.width());
    EXPECT_EQ(marked.height(), plain.height());
    const QSize empty = s.measureText(QString());
    EXPECT_EQ(empty.width(), 0);
    EXPECT_EQ(empty.height(), plain.height());
}

TEST(Surface, TextIsClippedToItsRectangle)
{
    Surface s(60, 30, kBack);
    s.setFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    const Rect r{10, 8, 25, 20};
    s.drawText(r, QStringLiteral("WWWW&WW"), kInk);
    int inside = 0, outside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x)
            (r.contains(x, y) ? inside : outside) += s.pixel(x, y) != kBack;
    EXPECT_GT(inside, 0);
    EXPECT_EQ(outside, 0);
    Surface t(60, 30, kBack);
    t.setFont(s.font());
    t.drawText({10, 8, 5, 20}, QStringLiteral("W"), kInk);  // inverted rectangle: nothing
    t.drawText({10, 8, 40, 28}, QString(), kInk);
    EXPECT_EQ(inked(t, kBack), 60 * 30);
}

TEST(Surface, TextAtAPositionStartsThere)
{
    Surface s(60, 30, kBack);
    s.setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
    s.drawTextAt(20, 10, QStringLiteral("&Hi"), kInk);
    int minX = 60, minY = 30;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 60; ++x)
            if (s.pixel(x, y) != kBack) {
                minX = std::min(minX, x);
                minY = std::min(minY, y);
            }
    EXPECT_GE(minX, 20);
    EXPECT_GE(minY, 10);
    EXPECT_LT(minX, 30);
}

TEST(Surface, StripPrefixFollowsTheMarkerRules)
{
    struct Case
    {
        const char* in;
        const char* out;
        int underline;
    };
    const Case cases[] = {
        {"&Save", "Save", 0},  {"Sa&ve", "Save", 2}, {"a&&b", "a&b", -1}, {"&&&x", "&x", 1},
        {"abc&", "abc", -1},   {"&", "", -1},        {"", "", -1},        {"&a&b", "ab", 0},
    };
    for (const Case& c : cases) {
        int underline = -2;
        EXPECT_EQ(Surface::stripPrefix(QString::fromUtf8(c.in), &underline), QString::fromUtf8(c.out)) << c.in;
        EXPECT_EQ(underline, c.underline) << c.in;
    }
}

// --- Differential: optimised paths against a per-pixel reference ------------------------------------------------

namespace {

void referenceFill(QImage& img, const Rect& r, ColorRef c)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom)
                img.setPixel(x, y, toQRgb(c));
}

void referenceFrame(QImage& img, const Rect& r, ColorRef c)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const bool inRect = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
            const bool onBorder = x == r.left || x == r.right - 1 || y == r.top || y == r.bottom - 1;
            if (inRect && onBorder)
                img.setPixel(x, y, toQRgb(c));
        }
}

void referenceGradient(QImage& img, const GradientVertex& v0, const GradientVertex& v1, bool vertical)
{
    const GradientVertex& a = (vertical ? v0.y <= v1.y : v0.x <= v1.x) ? v0 : v1;
    const GradientVertex& e = &a == &v0 ? v1 : v0;
    const int l = std::min(v0.x, v1.x), r = std::max(v0.x, v1.x), t = std::min(v0.y, v1.y), b = std::max(v0.y, v1.y);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            if (x < l || x >= r || y < t || y >= b)
                continue;
            const long long n = vertical ? b - t : r - l;
            const long long i = vertical ? y - t : x - l;
            const auto ch = [&](int c0, int c1) { return static_cast<int>((c0 * (n - i) + c1 * i) / n >> 8); };
            img.setPixel(x, y, qRgb(ch(a.red, e.red), ch(a.green, e.green), ch(a.blue, e.blue)));
        }
}

}  // namespace

TEST(SurfaceDifferential, FillFrameAndGradientMatchThePerPixelReference)
{
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> coord(-15, 55);
    std::uniform_int_distribution<int> channel(0, 0xFFFF);
    std::uniform_int_distribution<int> colour(0, 0xFFFFFF);
    for (int round = 0; round < 400; ++round) {
        Surface s(40, 30, kBack);
        QImage ref = s.image().copy();
        const Rect r{coord(rng), coord(rng), coord(rng), coord(rng)};
        const ColorRef c = colour(rng);
        const int op = round % 3;
        if (op == 0) {
            s.fill(r, c);
            referenceFill(ref, r, c);
        } else if (op == 1) {
            s.frame(r, c);
            referenceFrame(ref, r, c);
        } else {
            const auto u16 = [&] { return static_cast<std::uint16_t>(channel(rng)); };
            const GradientVertex a{r.left, r.top, u16(), u16(), u16(), 0};
            const GradientVertex b{r.right, r.bottom, u16(), u16(), u16(), 0};
            const bool vertical = (round / 3) % 2 == 1;
            s.gradientFill(a, b, vertical ? GradientDirection::Vertical : GradientDirection::Horizontal);
            referenceGradient(ref, a, b, vertical);
        }
        ASSERT_TRUE(sameImage(ref, s.image(), QStringLiteral("differential-%1").arg(round)))
            << "round " << round << " op " << op << " rect " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    }
}
