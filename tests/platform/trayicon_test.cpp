// The system notification area: icons known by window and identifier, and activations delivered to the
// window as the icon's callback message.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include <vector>

#include "platform/trayicon.h"

namespace tervolin::platform {
namespace {

using namespace NotifyIconOperations;
using namespace NotifyIconFlags;

struct ActivationCase
{
    QSystemTrayIcon::ActivationReason reason;
    std::uint32_t mouse;
};

TEST(trayicon, ActivationsBecomeMouseMessages)
{
    const ActivationCase cases[] = {
        {QSystemTrayIcon::DoubleClick, 0x203}, {QSystemTrayIcon::Trigger, 0x202}, {QSystemTrayIcon::Context, 0x205},
        {QSystemTrayIcon::MiddleClick, 0x208}, {QSystemTrayIcon::Unknown, 0},
    };
    for (const ActivationCase& c : cases)
        EXPECT_EQ(callbackMouseMessage(c.reason), c.mouse) << c.reason;
}

struct Delivered
{
    WindowHandle hWnd;
    std::uint32_t message;
    std::intptr_t wParam;
    std::intptr_t lParam;
};

struct Fixture : ::testing::Test
{
    QWidget window;
    std::vector<Delivered> delivered;
    SystemNotificationArea area{[this](WindowHandle h, std::uint32_t m, std::intptr_t w, std::intptr_t l) {
        delivered.push_back({h, m, w, l});
    }};

    NotifyIconData record() const
    {
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::red);
        return {handleOf(&window), 9999, NIF_MESSAGE | NIF_ICON | NIF_TIP, 1124, QIcon(QPixmap::fromImage(image)),
                QStringLiteral("Tervolin1.0")};
    }
};

using trayiconArea = Fixture;

TEST_F(trayiconArea, AddsChangesAndRemovesByWindowAndIdentifier)
{
    const NotifyIconData data = record();
    ASSERT_TRUE(area.Shell_NotifyIcon(NIM_ADD, data));
    QSystemTrayIcon* icon = area.trayIcon(data.hWnd, 9999);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->toolTip(), QStringLiteral("Tervolin1.0"));
    EXPECT_FALSE(icon->icon().isNull());
    EXPECT_FALSE(area.Shell_NotifyIcon(NIM_ADD, data));  // already there
    EXPECT_EQ(area.trayIcon(data.hWnd, 1), nullptr);

    NotifyIconData tip{data.hWnd, 9999, NIF_TIP, 0, QIcon(), QStringLiteral("other")};
    EXPECT_TRUE(area.Shell_NotifyIcon(NIM_MODIFY, tip));
    EXPECT_EQ(icon->toolTip(), QStringLiteral("other"));
    EXPECT_FALSE(icon->icon().isNull());  // the icon field was not flagged

    EXPECT_TRUE(area.Shell_NotifyIcon(NIM_DELETE, {data.hWnd, 9999, 0, 0, QIcon(), QString()}));
    EXPECT_EQ(area.trayIcon(data.hWnd, 9999), nullptr);
    EXPECT_FALSE(area.Shell_NotifyIcon(NIM_DELETE, {data.hWnd, 9999, 0, 0, QIcon(), QString()}));
    EXPECT_FALSE(area.Shell_NotifyIcon(NIM_MODIFY, tip));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(trayiconArea, NoIconForAWindowThatIsGone)
{
    NotifyIconData data = record();
    data.hWnd = 0;
    EXPECT_FALSE(area.Shell_NotifyIcon(NIM_ADD, data));
}

TEST_F(trayiconArea, ActivationsReachTheWindowAsTheCallbackMessage)
{
    const NotifyIconData data = record();
    ASSERT_TRUE(area.Shell_NotifyIcon(NIM_ADD, data));
    QSystemTrayIcon* icon = area.trayIcon(data.hWnd, 9999);
    Q_EMIT icon->activated(QSystemTrayIcon::DoubleClick);
    Q_EMIT icon->activated(QSystemTrayIcon::Context);
    Q_EMIT icon->activated(QSystemTrayIcon::Unknown);
    ASSERT_EQ(delivered.size(), 2u);
    EXPECT_EQ(delivered[0].hWnd, data.hWnd);
    EXPECT_EQ(delivered[0].message, 1124u);
    EXPECT_EQ(delivered[0].wParam, 9999);
    EXPECT_EQ(delivered[0].lParam, 0x203);
    EXPECT_EQ(delivered[1].lParam, 0x205);

    // A removed icon delivers nothing more, even before Qt has deleted it.
    area.Shell_NotifyIcon(NIM_DELETE, {data.hWnd, 9999, 0, 0, QIcon(), QString()});
    Q_EMIT icon->activated(QSystemTrayIcon::DoubleClick);
    EXPECT_EQ(delivered.size(), 2u);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
}  // namespace tervolin::platform
