#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>

#include "platform/picture.h"
#include "tests/support/testsupport.h"

using namespace tervolin::platform;

namespace {

QImage pattern(int w, int h, bool alpha)
{
    QImage img(w, h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgba(x * 10, y * 10, 50, (alpha && x == 0) ? 0 : 255));
    return img;
}

}  // namespace

TEST(Picture, LoadsFilesByKind)
{
    const QString dir = tervolin::test::scratchDir();
    ASSERT_TRUE(pattern(16, 12, false).save(dir + QStringLiteral("/p.png")));
    ASSERT_TRUE(pattern(5, 3, false).save(dir + QStringLiteral("/p.bmp")));
    ASSERT_TRUE(pattern(32, 32, true).save(dir + QStringLiteral("/p.ico")));
    struct Case
    {
        const char* file;
        Picture::Kind kind;
        QSize size;
    };
    const Case cases[] = {
        {"/p.png", Picture::Kind::Bitmap, {16, 12}},
        {"/p.bmp", Picture::Kind::Bitmap, {5, 3}},
        {"/p.ico", Picture::Kind::Icon, {32, 32}},
        {"/missing.png", Picture::Kind::None, {}},
    };
    for (const Case& c : cases) {
        const Picture p = Picture::load(dir + QLatin1String(c.file));
        EXPECT_EQ(p.kind(), c.kind) << c.file;
        EXPECT_EQ(p.pixelSize(), c.size) << c.file;
    }
    const Picture bmp = Picture::load(dir + QStringLiteral("/p.bmp"));
    EXPECT_EQ(bmp.image().pixel(4, 2), qRgb(40, 20, 50));
}

TEST(Picture, LoadsFromQtResources)
{
    QString resource;
    QDirIterator it(QStringLiteral(":/"), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
    if (it.hasNext())
        resource = it.next();
    if (resource.isEmpty())
        GTEST_SKIP() << "no PNG resource is linked into this test";
    const Picture p = Picture::load(resource);
    EXPECT_EQ(p.kind(), Picture::Kind::Bitmap) << resource.toStdString();
    EXPECT_FALSE(p.pixelSize().isEmpty());
}

TEST(Picture, MetafilesAreOtherPictures)
{
    // A placeable metafile header: bounding box 0,0 – 1440,720 at 1440 units per inch is 96 × 48 pixels.
    QByteArray wmf(64, '\0');
    const unsigned char head[] = {0xD7, 0xCD, 0xC6, 0x9A, 0, 0, 0, 0, 0, 0, 0xA0, 0x05, 0xD0, 0x02, 0xA0, 0x05};
    for (int i = 0; i < 16; ++i)
        wmf[i] = static_cast<char>(head[i]);
    const QString path = tervolin::test::scratchDir() + QStringLiteral("/p.wmf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(wmf);
    f.close();
    const Picture p = Picture::load(path);
    EXPECT_EQ(p.kind(), Picture::Kind::Other);
    EXPECT_EQ(p.pixelSize(), QSize(96, 48));
    EXPECT_TRUE(p.image().isNull());
}

TEST(Picture, HimetricSizesRoundTrip)
{
    struct Case
    {
        int pixels;
        int himetric;
    };
    for (const Case c : {Case{0, 0}, Case{1, 26}, Case{16, 423}, Case{24, 635}, Case{32, 847}, Case{48, 1270}}) {
        EXPECT_EQ(Picture::pixelsToHimetric(c.pixels), c.himetric);
        EXPECT_EQ(Picture::himetricToPixels(c.himetric), c.pixels);
    }
    const Picture p = Picture::bitmap(pattern(16, 32, false));
    EXPECT_EQ(p.himetricWidth(), 423);
    EXPECT_EQ(p.himetricHeight(), 847);
}

TEST(Picture, IconsGiveColourAndMaskBitmaps)
{
    const Picture icon = Picture::icon(pattern(4, 2, true));
    ASSERT_EQ(icon.kind(), Picture::Kind::Icon);
    const QImage colour = icon.iconColour();
    const QImage mask = icon.iconMask();
    EXPECT_EQ(colour.pixel(0, 1), qRgb(0, 0, 0));        // transparent column: black colour, white mask
    EXPECT_EQ(mask.pixel(0, 1), qRgb(255, 255, 255));
    EXPECT_EQ(colour.pixel(3, 1), qRgb(30, 10, 50));
    EXPECT_EQ(mask.pixel(3, 1), qRgb(0, 0, 0));
    const Picture bitmap = Picture::bitmap(pattern(4, 2, false));
    EXPECT_TRUE(bitmap.iconColour().isNull());
    EXPECT_TRUE(bitmap.iconMask().isNull());
    EXPECT_TRUE(Picture::bitmap(QImage()).isNone());
    EXPECT_EQ(Picture(), Picture());
    EXPECT_FALSE(Picture::bitmap(pattern(4, 2, false)) == Picture::icon(pattern(4, 2, false)));
}
