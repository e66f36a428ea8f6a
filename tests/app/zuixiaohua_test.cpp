// Minimising to the notification area, with a double of the notification area: the icon's record, the
// double click that brings the window back, the replacement procedure passing everything on, and the
// hide-on-minimise tick with and without a notification area.
#include <gtest/gtest.h>

#include <QWidget>

#include <vector>

#include "app/zuixiaohua.h"

namespace tervolin::app {
namespace {

using platform::NotifyIconData;
using platform::WindowHandle;

/// Records every call and delivers clicks as the system's area would: to the window, as its callback message.
class RecordingNotificationArea : public platform::NotificationArea
{
public:
    struct Call
    {
        std::uint32_t operation;
        NotifyIconData data;
    };
    std::vector<Call> calls;
    bool available = true;

    bool Shell_NotifyIcon(std::uint32_t operation, const NotifyIconData& data) override
    {
        calls.push_back({operation, data});
        return true;
    }
    bool isAvailable() const override { return available; }

    /// A mouse message on the last icon added.
    void click(std::uint32_t mouseMessage)
    {
        for (auto it = calls.rbegin(); it != calls.rend(); ++it)
            if (it->operation == platform::NotifyIconOperations::NIM_ADD) {
                zuixiaohua::deliverTrayCallback(it->data.hWnd, it->data.uCallbackMessage, it->data.uID, mouseMessage);
                return;
            }
        FAIL() << "no icon added";
    }
};

struct Received
{
    WindowHandle hWnd;
    std::uint32_t message;
    std::intptr_t wParam;
    std::intptr_t lParam;
};
std::vector<Received> received;

std::intptr_t previousProcedure(WindowHandle hWnd, std::uint32_t uMsg, std::intptr_t wParam, std::intptr_t lParam)
{
    received.push_back({hWnd, uMsg, wParam, lParam});
    return static_cast<std::intptr_t>(uMsg) * 3 + 7;
}

class zuixiaohuaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        zuixiaohua::setNotificationArea(&area);
        zuixiaohua::SavedWindowProc = previousProcedure;
        received.clear();
        window.setWindowTitle(QStringLiteral("Tervolin1.0"));
        window.resize(100, 80);
        window.show();
    }
    void TearDown() override
    {
        zuixiaohua::setNotificationArea(nullptr);
        zuixiaohua::SavedWindowProc = nullptr;
    }

    void minimiseAndHide()
    {
        window.setWindowState(Qt::WindowMinimized);
        zuixiaohua::HideOnMinimise(&window);
        ASSERT_FALSE(window.isVisible());
    }

    RecordingNotificationArea area;
    QWidget window;
};

TEST_F(zuixiaohuaTest, IconAddedWithIdentifierCallbackTipAndProgramIcon)
{
    zuixiaohua::AddTrayIcon(&window);
    ASSERT_EQ(area.calls.size(), 1u);
    const auto& [operation, data] = area.calls[0];
    EXPECT_EQ(operation, 0u);
    EXPECT_EQ(data.hWnd, platform::handleOf(&window));
    EXPECT_EQ(data.uID, 9999u);
    EXPECT_EQ(data.uFlags, 7u);
    EXPECT_EQ(data.uCallbackMessage, 1124u);
    EXPECT_EQ(data.szTip, QStringLiteral("Tervolin1.0"));
    ASSERT_FALSE(data.hIcon.isNull());
    EXPECT_EQ(data.hIcon.availableSizes(), QList<QSize>{QSize(48, 48)});
}

TEST_F(zuixiaohuaTest, IconTakesTheWindowsOwnIconAndCaption)
{
    QPixmap own(32, 32);
    own.fill(Qt::green);
    window.setWindowIcon(QIcon(own));
    window.setWindowTitle(QStringLiteral("另一个"));
    zuixiaohua::AddTrayIcon(&window);
    ASSERT_EQ(area.calls.size(), 1u);
    EXPECT_EQ(area.calls[0].data.hIcon.cacheKey(), window.windowIcon().cacheKey());
    EXPECT_EQ(area.calls[0].data.szTip, QStringLiteral("另一个"));
}

TEST_F(zuixiaohuaTest, IconRemovedByWindowAndIdentifierOnly)
{
    zuixiaohua::AddTrayIcon(&window);
    zuixiaohua::RemoveTrayIcon(&window);
    ASSERT_EQ(area.calls.size(), 2u);
    const auto& [operation, data] = area.calls[1];
    EXPECT_EQ(operation, 2u);
    EXPECT_EQ(data.hWnd, platform::handleOf(&window));
    EXPECT_EQ(data.uID, 9999u);
    EXPECT_EQ(data.uFlags, 0u);
    EXPECT_EQ(data.uCallbackMessage, 0u);
    EXPECT_TRUE(data.hIcon.isNull());
    EXPECT_TRUE(data.szTip.isEmpty());
}

struct ClickCase
{
    const char* name;
    std::uint32_t mouse;
    bool restores;
};

class zuixiaohuaClicks : public zuixiaohuaTest, public ::testing::WithParamInterface<ClickCase>
{};

TEST_P(zuixiaohuaClicks, OnlyALeftDoubleClickBringsTheHiddenWindowBack)
{
    zuixiaohua::AddTrayIcon(&window);
    minimiseAndHide();
    area.click(GetParam().mouse);
    EXPECT_EQ(window.isVisible(), GetParam().restores);
    EXPECT_EQ(window.isMinimized(), !GetParam().restores);
    // Whatever the click, the previous procedure saw it.
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, 1124u);
    EXPECT_EQ(received[0].wParam, 9999);
    EXPECT_EQ(received[0].lParam, static_cast<std::intptr_t>(GetParam().mouse));
}

INSTANTIATE_TEST_SUITE_P(Clicks, zuixiaohuaClicks,
                         ::testing::Values(ClickCase{"LeftDouble", 0x203, true}, ClickCase{"LeftDown", 0x201, false},
                                           ClickCase{"LeftUp", 0x202, false}, ClickCase{"RightUp", 0x205, false},
                                           ClickCase{"RightDouble", 0x206, false}, ClickCase{"Move", 0x200, false}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(zuixiaohuaTest, DoubleClickRestoresAMinimisedWindowAndLeavesANormalOneShown)
{
    zuixiaohua::AddTrayIcon(&window);
    area.click(0x203);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowState(), Qt::WindowNoState);

    window.setWindowState(Qt::WindowMinimized);  // minimised, not yet hidden
    area.click(0x203);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowState(), Qt::WindowNoState);
}

TEST_F(zuixiaohuaTest, ReplacementPassesEveryMessageOnAndReturnsItsResult)
{
    const WindowHandle h = platform::handleOf(&window);
    const Received messages[] = {{h, 1124, 9999, 0x203}, {h, 1124, 9999, 0x205}, {h, 0x200, 0, 0x00100020},
                                 {h, 0x10, 0, 0},        {h, 0x6, 1, 0},         {h, 1124, -1, -1}};
    for (const Received& m : messages) {
        received.clear();
        EXPECT_EQ(zuixiaohua::TrayWindowProc(m.hWnd, m.message, m.wParam, m.lParam), static_cast<std::intptr_t>(m.message) * 3 + 7);
        ASSERT_EQ(received.size(), 1u);
        EXPECT_EQ(received[0].hWnd, m.hWnd);
        EXPECT_EQ(received[0].message, m.message);
        EXPECT_EQ(received[0].wParam, m.wParam);
        EXPECT_EQ(received[0].lParam, m.lParam);
    }
}

TEST_F(zuixiaohuaTest, TickHidesOnlyAMinimisedWindow)
{
    zuixiaohua::HideOnMinimise(&window);
    EXPECT_TRUE(window.isVisible());
    window.showMinimized();  // minimised by any means, not only the minimise button
    zuixiaohua::HideOnMinimise(&window);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(zuixiaohuaTest, WithoutANotificationAreaTheMinimisedWindowStaysAndThatIsSaidOnce)
{
    area.available = false;
    zuixiaohua::AddTrayIcon(&window);
    ASSERT_EQ(area.calls.size(), 1u);  // the icon is still asked for
    window.setWindowState(Qt::WindowMinimized);
    ::testing::internal::CaptureStderr();
    zuixiaohua::HideOnMinimise(&window);
    zuixiaohua::HideOnMinimise(&window);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    const auto first = said.find("no notification area");
    ASSERT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find("no notification area", first + 1), std::string::npos) << said;

    area.click(0x203);  // the icon logic is kept
    EXPECT_FALSE(window.isMinimized());
}

}  // namespace
}  // namespace tervolin::app
