#include <gtest/gtest.h>

#include <QImage>

#include "platform/formdescription.h"
#include "platform/storedobjects.h"
#include "tests/support/qtprinters.h"
#include "tests/support/testsupport.h"

using namespace tervolin::platform;

namespace {

// Stored objects must survive the trip through a saved JSON form description.
QVariant throughJson(const QVariant& stored)
{
    FormDescription form;
    ControlDescription c;
    c.name = QStringLiteral("b");
    c.type = QStringLiteral("vantlebutton");
    c.properties.set(QStringLiteral("Value"), stored);
    form.controls.push_back(c);
    auto parsed = FormDescription::parse(form.toJson(), QStringLiteral("test.json"));
    EXPECT_TRUE(std::holds_alternative<FormDescription>(parsed));
    if (!std::holds_alternative<FormDescription>(parsed))
        return {};
    return std::get<FormDescription>(parsed).controls.front().properties.ReadProperty(u"value");
}

TEST(StoredObjects, FontsRoundTrip)
{
    FontDescription d;
    d.name = QStringLiteral("楷体_GB2312");
    d.size = 10.5;
    d.weight = 700;
    d.italic = true;
    d.underline = true;
    d.charset = 134;
    const auto back = fontFromStored(throughJson(fontToStored(d)));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, d);

    // Missing attributes take the defaults; something that is not a font is none.
    const auto partial = fontFromStored(QVariantMap{{QStringLiteral("name"), QStringLiteral("Tahoma")}});
    ASSERT_TRUE(partial.has_value());
    EXPECT_EQ(partial->size, FontDescription{}.size);
    EXPECT_FALSE(fontFromStored(QVariant(5)).has_value());
    EXPECT_FALSE(fontFromStored(QVariantMap{{QStringLiteral("size"), 9}}).has_value());
}

TEST(StoredObjects, PicturesRoundTripByKind)
{
    QImage bmp(5, 3, QImage::Format_RGB32);
    bmp.fill(qRgb(1, 2, 3));
    bmp.setPixel(4, 2, qRgb(200, 100, 50));
    QImage ico(4, 4, QImage::Format_ARGB32);
    ico.fill(qRgba(0, 0, 0, 0));
    ico.setPixel(1, 1, qRgba(255, 0, 0, 255));
    const Picture cases[] = {Picture(), Picture::bitmap(bmp), Picture::icon(ico), Picture::other(QSize(32, 16))};
    for (const Picture& p : cases) {
        const Picture back = pictureFromStored(throughJson(pictureToStored(p)));
        EXPECT_EQ(back.kind(), p.kind());
        EXPECT_EQ(back.pixelSize(), p.pixelSize());
        EXPECT_TRUE(back == p) << static_cast<int>(p.kind());
    }
    EXPECT_TRUE(pictureFromStored(QVariantMap{{QStringLiteral("kind"), QStringLiteral("bitmap")},
                                              {QStringLiteral("png"), QStringLiteral("not base64 png")}})
                    .isNone());
}

TEST(StoredObjects, PictureFromFile)
{
    const QString file = tervolin::test::scratchDir() + QStringLiteral("/p.png");
    QImage img(6, 6, QImage::Format_RGB32);
    img.fill(qRgb(9, 9, 9));
    ASSERT_TRUE(img.save(file));
    const Picture p = pictureFromStored(QVariantMap{{QStringLiteral("file"), file}});
    EXPECT_EQ(p.kind(), Picture::Kind::Bitmap);
    EXPECT_EQ(p.pixelSize(), QSize(6, 6));
    EXPECT_TRUE(pictureFromStored(QVariantMap{{QStringLiteral("file"), file + QStringLiteral(".missing")}}).isNone());
}

TEST(StoredObjects, FormDescriptionFromAResource)
{
    auto loaded = FormDescription::load(QStringLiteral(":/testforms/guanyu.json"));
    ASSERT_TRUE(std::holds_alternative<FormDescription>(loaded)) << std::get<FormDescriptionError>(loaded).toString().toStdString();
    const FormDescription& form = std::get<FormDescription>(loaded);
    const ControlDescription* ok = form.control(u"vantlebutton1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->extent, QRect(2400, 2760, 1455, 375));
    EXPECT_EQ(ok->properties.readInt(u"ButtonStyle", 1), 4);
    EXPECT_EQ(ok->properties.readInt(u"BackColor", 0), 0xE3E3E3);
    EXPECT_EQ(ok->properties.readString(u"Caption", QString()), QStringLiteral("确定"));
    const auto font = fontFromStored(ok->properties.ReadProperty(u"Font"));
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->name, QStringLiteral("宋体"));
}

}  // namespace
