// The windows at a device pixel ratio above 1. ctest runs this executable once per ratio with QT_SCALE_FACTOR
// set before the application starts (1, 1.5 and 2); the tests read that ratio back as the expectation.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <cmath>
#include <memory>

#include "app/form1.h"
#include "app/startup.h"
#include "app/userdata.h"
#include "controls/button/vantlebutton.h"
#include "controls/progressbar/progressbar.h"
#include "platform/listbox.h"
#include "platform/usercontrol.h"
#include "tests/app/mainwindow.h"
#include "tests/support/recordingmessagebox.h"
#include "tests/support/sqlitefiles.h"
#include "tests/support/testsupport.h"

using namespace tervolin;

namespace {

constexpr QRgb Backdrop = 0xFFFF00FF;  // a colour neither control draws

double requestedRatio()
{
    bool ok = false;
    const double r = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&ok);
    return ok ? r : 1.0;
}

/// The device pixels wholly inside a logical rectangle.
QRect coveredPixels(const QRect& r, double ratio)
{
    const int left = static_cast<int>(std::ceil(r.x() * ratio));
    const int top = static_cast<int>(std::ceil(r.y() * ratio));
    return QRect(left, top, static_cast<int>(std::floor((r.x() + r.width()) * ratio)) - left,
                 static_cast<int>(std::floor((r.y() + r.height()) * ratio)) - top);
}

QRect scaled(const QRect& r, double ratio)
{
    return QRect(QPoint(static_cast<int>(std::lround(r.x() * ratio)), static_cast<int>(std::lround(r.y() * ratio))),
                 QSize(static_cast<int>(std::lround(r.width() * ratio)), static_cast<int>(std::lround(r.height() * ratio))));
}

/// The control's own pixel image, as it paints it at ratio 1.
QImage controlImage(QWidget* control)
{
    QImage image(control->size(), QImage::Format_ARGB32);
    image.setDevicePixelRatio(1.0);
    image.fill(Backdrop);
    control->render(&image, {}, {}, QWidget::DrawChildren);
    return image;
}

/// Bounding box of the pixels that are not the backdrop.
QRect paintedBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != Backdrop)
                box |= QRect(x, y, 1, 1);
    return box;
}

/// Device pixels of the control's area in `window` whose colour is none of the control's own pixels in the
/// neighbourhood they scale from: a blurred (interpolated) scaling makes such in-between colours.
int blendedPixels(const QImage& window, const QRect& deviceRect, const QImage& source, const QPoint& origin, double ratio)
{
    int blended = 0;
    for (int y = 0; y < deviceRect.height(); ++y) {
        for (int x = 0; x < deviceRect.width(); ++x) {
            const QRgb got = window.pixel(deviceRect.x() + x, deviceRect.y() + y);
            const int sx = static_cast<int>((deviceRect.x() + x) / ratio) - origin.x();
            const int sy = static_cast<int>((deviceRect.y() + y) / ratio) - origin.y();
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const QPoint p(sx + dx, sy + dy);
                    found = source.rect().contains(p) && source.pixel(p) == got;
                }
            blended += found ? 0 : 1;
        }
    }
    return blended;
}

class HighDpi : public ::testing::Test
{
protected:
    double ratio = requestedRatio();
};

}  // namespace

TEST_F(HighDpi, TheApplicationRunsAtTheRequestedRatio)
{
    QWidget window;
    window.resize(50, 50);
    window.show();
    EXPECT_DOUBLE_EQ(window.devicePixelRatioF(), ratio);
}

TEST_F(HighDpi, BothControlsScaleAsAWholeWithoutBlurring)
{
    platform::ControlContainer container;
    QWidget window;
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(Backdrop));
    window.setPalette(palette);
    window.resize(240, 120);

    controls::vantlebutton button(&window);
    button.setSite(&container, QStringLiteral("vantlebutton1"));
    button.setGeometry(11, 13, 97, 25);
    button.initialize();
    button.initProperties();
    button.setCaption(QStringLiteral("查询"));

    controls::ProgressBar bar(&window);
    bar.setSite(&container, QStringLiteral("ProgressBar1"));
    bar.setGeometry(21, 57, 161, 23);
    bar.initialize();
    bar.initProperties();

    window.show();
    QApplication::processEvents();

    const QImage grabbed = window.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(grabbed.size(), scaled(window.rect(), ratio).size());

    struct Case { QWidget* control; const char* name; };
    for (const Case& c : {Case{&button, "vantlebutton"}, Case{&bar, "ProgressBar"}}) {
        SCOPED_TRACE(c.name);
        const QImage source = controlImage(c.control);
        const QRect device = scaled(c.control->geometry(), ratio);
        // What the control painted covers its rectangle scaled by the ratio, to a device pixel.
        const QRect expected = paintedBox(source).translated(c.control->pos());
        const QRect got = paintedBox(grabbed.copy(device.adjusted(-4, -4, 4, 4))).translated(device.topLeft() - QPoint(4, 4));
        const QRect want = scaled(expected, ratio);
        EXPECT_LE(std::abs(got.left() - want.left()), 1) << got.left() << " vs " << want.left();
        EXPECT_LE(std::abs(got.top() - want.top()), 1);
        EXPECT_LE(std::abs(got.right() - want.right()), 1) << got.right() << " vs " << want.right();
        EXPECT_LE(std::abs(got.bottom() - want.bottom()), 1);
        EXPECT_EQ(blendedPixels(grabbed, coveredPixels(c.control->geometry(), ratio), source, c.control->pos(), ratio), 0);
    }
}

TEST_F(HighDpi, TheMainWindowKeepsItsLayoutAndRendersAtDeviceResolution)
{
    const QString dir = test::scratchDir();
    test::createLanping(dir + QStringLiteral("/db1.mdb"),
                        {{QStringLiteral("0x0000007B"), QStringLiteral("分析"), QStringLiteral("解决")}});
    app::UserData::setApplicationDirectory(dir);
    test::RecordingMessageBox box;
    {
        const auto loaded = app::loadMainWindow(box);
        ASSERT_NE(loaded, nullptr);
        app::Form1& form = *loaded;
        const app::Form1Controls ui = test::form1Controls(form);
        form.showCentred();
        QApplication::processEvents();
        // The twip layout is in logical pixels: the same at every ratio.
        EXPECT_EQ(form.size(), QSize(627, 421));
        EXPECT_EQ(ui.Command1->geometry(), QRect(4200 / 15, 480 / 15, 1455 / 15, 375 / 15));
        EXPECT_EQ(ui.List1->geometry(), QRect(720 / 15, 1320 / 15, 2415 / 15, 4200 / 15));
        const QPixmap grabbed = form.grab();
        EXPECT_EQ(grabbed.size(), scaled(form.rect(), ratio).size());
        EXPECT_DOUBLE_EQ(grabbed.devicePixelRatio(), ratio);
    }
    app::UserData::setApplicationDirectory({});
}
