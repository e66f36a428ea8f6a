// The About window: its look and layout, one window however often it is opened, OK hides it, dragging
// by the caption, and the main window's close ending the program while it is open or hidden.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <memory>

#include "app/guanyu.h"
#include "app/nicecontainer.h"
#include "controls/button/vantlebutton.h"
#include "platform/colour.h"

namespace tervolin::app {
namespace {

QRgb rgbOf(int r, int g, int b) { return qRgb(r, g, b); }

struct Owner
{
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    Owner()
    {
        window->resize(200, 100);
        window->show();
    }
};

TEST(guanyu, LayoutLookAndStoredButtonProperties)
{
    Owner owner;
    guanyu* about = ShowAboutWindow(owner.window.get());
    ASSERT_NE(about, nullptr);

    EXPECT_TRUE(about->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(about->size(), QSize(312, 146));  // 4680 × 2190 twips
    EXPECT_EQ(about->NiceContainr1->geometry(), about->rect());
    EXPECT_EQ(about->NiceContainr1->Caption(), QStringLiteral("关于软件"));
    EXPECT_EQ(about->Label1->geometry(), QRect(128, 56, 153, 65));
    EXPECT_EQ(about->Picture1->geometry(), QRect(40, 48, 65, 65));
    EXPECT_EQ(about->vantlebutton1->geometry(), QRect(128, 112, 73, 25));

    // Three lines of text joined by CR LF.
    const QStringList lines = about->Label1->text().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);
    // Each line fits the label: a cut-off address or year is lost to the reader.
    const QFontMetrics metrics(about->Label1->font());
    for (const QString& line : lines) {
        EXPECT_FALSE(line.isEmpty() || line.contains(QLatin1Char('\n')) || line.contains(QLatin1Char('\r')));
        EXPECT_LE(metrics.horizontalAdvance(line), about->Label1->contentsRect().width()) << line.toStdString();
    }
    EXPECT_LE(metrics.lineSpacing() * lines.size(), about->Label1->contentsRect().height());

    // The button's look comes from the window's stored description.
    EXPECT_EQ(controls::numberOf(about->vantlebutton1->ButtonStyle()), 4);
    EXPECT_EQ(about->vantlebutton1->Caption(), QStringLiteral("确定"));
    EXPECT_EQ(about->vantlebutton1->BackColor(), platform::rgb(227, 227, 227));
    ASSERT_TRUE(about->vantlebutton1->Font());
    EXPECT_EQ(about->vantlebutton1->Font()->description().name, QStringLiteral("宋体"));
    EXPECT_EQ(about->vantlebutton1->Font()->description().size, 9.0);
    EXPECT_EQ(about->vantlebutton1->Font()->description().weight, 400);

    // The icon at its own size in the picture box's top-left corner, on the main window's background.
    EXPECT_EQ(about->Picture1->pixmap().size(), QSize(48, 48));
    EXPECT_FALSE(about->Picture1->hasScaledContents());
    const QImage picture = about->Picture1->grab().toImage();
    EXPECT_EQ(picture.pixel(60, 60), rgbOf(239, 244, 252));
    EXPECT_EQ(picture.pixel(50, 10), rgbOf(239, 244, 252));

    // Frame, caption strip and background of the skin container.
    const QImage skin = about->NiceContainr1->grab().toImage();
    const int w = skin.width();
    const int h = skin.height();
    EXPECT_EQ(skin.pixel(0, h - 1), rgbOf(173, 193, 220));      // outline
    EXPECT_EQ(skin.pixel(w - 1, h / 2), rgbOf(173, 193, 220));  // outline
    EXPECT_EQ(skin.pixel(w - 3, 3), rgbOf(173, 193, 220));      // caption strip
    EXPECT_EQ(skin.pixel(w - 3, NiceContainr::CaptionHeight + 2), rgbOf(239, 244, 252));  // background
}

TEST(guanyu, OpenedTwiceIsOneWindowLoadedOnce)
{
    Owner owner;
    guanyu* first = ShowAboutWindow(owner.window.get());
    EXPECT_TRUE(first->isVisible());
    first->Label1->setText(QStringLiteral("changed after load"));

    guanyu* second = ShowAboutWindow(owner.window.get());
    EXPECT_EQ(second, first);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->Label1->text(), QStringLiteral("changed after load"));  // no second load
    EXPECT_EQ(owner.window->findChildren<guanyu*>().size(), 1);
    EXPECT_FALSE(second->isModal());
}

TEST(guanyu, OkHidesTheWindowAndTheNextOpeningShowsItAgain)
{
    Owner owner;
    guanyu* about = ShowAboutWindow(owner.window.get());
    Q_EMIT about->vantlebutton1->Click();
    EXPECT_FALSE(about->isVisible());
    EXPECT_TRUE(owner.window->isVisible());
    EXPECT_TRUE(owner.window->isEnabled());

    EXPECT_EQ(ShowAboutWindow(owner.window.get()), about);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(owner.window->findChildren<guanyu*>().size(), 1);
}

void sendMouse(QWidget* target, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(local), QPointF(target->mapToGlobal(local)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

struct DragCase
{
    const char* name;
    QPoint press;
    Qt::MouseButton button;
    bool moves;
};

class guanyuDrag : public ::testing::TestWithParam<DragCase>
{};

TEST_P(guanyuDrag, OnlyTheLeftButtonOnTheCaptionMovesTheWindow)
{
    const DragCase& c = GetParam();
    Owner owner;
    guanyu* about = ShowAboutWindow(owner.window.get());
    about->move(100, 100);
    NiceContainr* skin = about->NiceContainr1;

    sendMouse(skin, QEvent::MouseButtonPress, c.press, c.button, c.button);
    // The window follows the pointer; the press position stays under it.
    sendMouse(skin, QEvent::MouseMove, c.press + QPoint(30, 20), Qt::NoButton, c.button);
    sendMouse(skin, QEvent::MouseButtonRelease, c.press + QPoint(30, 20), c.button, Qt::NoButton);
    EXPECT_EQ(about->pos(), c.moves ? QPoint(130, 120) : QPoint(100, 100));
}

INSTANTIATE_TEST_SUITE_P(Cases, guanyuDrag,
                         ::testing::Values(DragCase{"LeftOnCaption", {250, 10}, Qt::LeftButton, true},
                                           DragCase{"RightOnCaption", {250, 10}, Qt::RightButton, false},
                                           DragCase{"LeftBelowCaption", {250, 40}, Qt::LeftButton, false}),
                         [](const ::testing::TestParamInfo<DragCase>& p) { return std::string(p.param.name); });

class guanyuClose : public ::testing::TestWithParam<bool>
{};

// The event loop must end when the main window closes, whether the About window is shown or hidden.
TEST_P(guanyuClose, ClosingTheOwnerEndsTheProgram)
{
    const bool aboutShown = GetParam();
    Owner owner;
    guanyu* about = ShowAboutWindow(owner.window.get());
    if (!aboutShown)
        Q_EMIT about->vantlebutton1->Click();
    ASSERT_EQ(about->isVisible(), aboutShown);

    QTimer::singleShot(0, owner.window.get(), [&] { owner.window->close(); });
    QTimer guard;  // ends a loop that would otherwise run on; not a timing assumption
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(10000);
    EXPECT_EQ(QApplication::exec(), 0);
}

INSTANTIATE_TEST_SUITE_P(AboutWindow, guanyuClose, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& p) { return p.param ? std::string("Shown") : std::string("Hidden"); });

}  // namespace
}  // namespace tervolin::app
