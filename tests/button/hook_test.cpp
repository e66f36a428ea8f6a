#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <array>

#include "inputharness.h"
#include "platform/windowproc.h"

using namespace tervolin;
using namespace tervolin::platform::Messages;
using controls::AllMessages;
using controls::HookAfter;
using controls::HookBefore;
using controls::vantlebutton;
using platform::Message;
using platform::WindowHandle;

TEST(HookMessages, AddingKeepsOneCopyAndAllMessagesCoversEverything)
{
    controls::HookMessageList list;
    list.add(0x200);
    list.add(0x2A3);
    list.add(0x200);
    EXPECT_EQ(list.count, 2);
    EXPECT_TRUE(list.contains(0x2A3));
    EXPECT_FALSE(list.contains(0x6));
    list.add(AllMessages);
    EXPECT_EQ(list.count, AllMessages);
    EXPECT_TRUE(list.contains(0x1234));
    list.clear();
    EXPECT_FALSE(list.contains(0x200));
}

TEST(ButtonHook, RunModeHooksTheButtonAndItsParentWithTheDocumentedMessages)
{
    test::InputHarness h;
    vantlebutton& b = *h.b;
    ASSERT_EQ(b.HookTable.size(), 2u);
    EXPECT_EQ(b.HookTable[0].Window, b.hWnd());
    EXPECT_EQ(b.HookTable[1].Window, b.ParentWindow);
    EXPECT_EQ(b.ParentWindow, platform::handleOf(&h.form.window));
    const auto& own = *b.HookTable[0].state;
    EXPECT_EQ(own.after.count, 2);
    EXPECT_TRUE(own.after.contains(WM_MOUSEMOVE) && own.after.contains(WM_MOUSELEAVE));
    EXPECT_EQ(own.before.count, 0);
    EXPECT_TRUE(b.HookTable[1].state->after.contains(WM_ACTIVATE));
    EXPECT_FALSE(b.HookTable[1].state->after.contains(WM_NCACTIVATE));
    EXPECT_TRUE(b.LeaveTrackingAvailable);
    EXPECT_TRUE(b.LeaveTrackingUser32);
}

TEST(ButtonHook, DesignModeInstallsNothing)
{
    test::InputHarness h(false);
    EXPECT_TRUE(h.b->HookTable.empty());
    EXPECT_EQ(platform::installedProcCount(h.b->hWnd()), 0);
}

TEST(ButtonHook, TheMdiChildAttributeChoosesTheActivationMessage)
{
    struct Row { QVariant mdiChild; Message expected; };
    const Row rows[] = {{QVariant(), WM_ACTIVATE}, {QVariant(false), WM_ACTIVATE}, {QVariant(true), WM_NCACTIVATE},
                        {QVariant(QStringList{"x"}), WM_NCACTIVATE}};
    for (const Row& r : rows) {
        test::ButtonForm form;
        form.window.setProperty("MDIChild", r.mdiChild);
        auto b = form.place();
        b->readProperties(platform::PropertyStore());
        const int parent = b->FindHookEntry(b->ParentWindow, false);
        ASSERT_GE(parent, 0);
        EXPECT_TRUE(b->HookTable[static_cast<std::size_t>(parent)].state->after.contains(r.expected)) << r.mdiChild.typeName();
    }
}

TEST(ButtonHook, LeaveTrackingFallsBackToTheCommonControlsEntryPoint)
{
    struct Row { std::vector<platform::LibraryExports> table; bool available; bool user32; };
    const std::vector<Row> rows{
        {platform::defaultEntryPoints(), true, true},
        {{{"Comctl32", {"_TrackMouseEvent"}, false}}, true, false},
        {{{"User32", {"SetCursor"}, true}}, false, false},
        {{}, false, false},
    };
    for (const Row& r : rows) {
        const auto saved = platform::setAvailableEntryPoints(r.table);
        const int loads = platform::outstandingLibraryLoads();
        test::ButtonForm form;
        auto b = form.place();
        b->readProperties(platform::PropertyStore());
        platform::setAvailableEntryPoints(saved);
        EXPECT_EQ(b->LeaveTrackingAvailable, r.available);
        EXPECT_EQ(b->LeaveTrackingUser32, r.user32);
        EXPECT_EQ(b->HookTable.empty(), !r.available);
        EXPECT_EQ(platform::outstandingLibraryLoads(), loads) << "a library loaded to look is freed";
    }
}

TEST(ButtonHook, ActivationOfTheParentWindow)
{
    test::InputHarness h;
    vantlebutton& b = *h.b;
    b.LeftButtonHeld = b.SpaceHeld = b.HasFocus = true;
    b.ButtonState = controls::ButtonStates::StateDown;
    platform::sendMessage(b.ParentWindow, WM_ACTIVATE, 0, 0);
    EXPECT_FALSE(b.LeftButtonHeld || b.SpaceHeld || b.HasFocus || b.ParentActive);
    EXPECT_EQ(b.ButtonState, controls::ButtonStates::StateNormal);
    platform::sendMessage(b.ParentWindow, WM_ACTIVATE, 0x100, 0);
    EXPECT_TRUE(b.ParentActive) << "any bit set counts as activation";
    platform::sendMessage(b.ParentWindow, WM_NCACTIVATE, 0, 0);
    EXPECT_TRUE(b.ParentActive) << "only the hooked message is followed";
}

TEST(ButtonHook, EntriesAreReusedFromTheHighestFreeIndexAndUnknownWindowsFail)
{
    test::ButtonForm form;
    auto b = form.place();
    QWidget x, y, z;
    const WindowHandle hx = platform::handleOf(&x), hy = platform::handleOf(&y), hz = platform::handleOf(&z);
    EXPECT_EQ(b->HookWindow(hx), 0);
    EXPECT_EQ(b->HookWindow(hy), 1);
    EXPECT_EQ(b->HookWindow(hz), 2);
    b->UnhookWindow(hx);
    b->UnhookWindow(hy);
    EXPECT_EQ(b->FindHookEntry(0, true), 1);
    EXPECT_EQ(b->HookWindow(hx), 1);
    EXPECT_EQ(b->FindHookEntry(hx, false), 1);
    EXPECT_THROW(b->UnhookWindow(hy), platform::RuntimeError);
    EXPECT_THROW(b->HookAddMessage(hy, 0x200, HookAfter), platform::RuntimeError);
    b->UnhookAllWindows();
    EXPECT_EQ(platform::installedProcCount(hx) + platform::installedProcCount(hz), 0);
}

TEST(ButtonHook, TerminationStopsSilentlyAtTheFirstFailure)
{
    test::InputHarness h;
    vantlebutton& b = *h.b;
    const auto ownState = b.HookTable[0].state;
    b.UnhookWindow(b.ParentWindow);
    EXPECT_NO_THROW(b.terminate());
    EXPECT_GE(b.FindHookEntry(b.hWnd(), false), 0) << "the own window's removal was skipped";
    EXPECT_EQ(ownState->owner, nullptr) << "but its routine no longer calls the button";
    QTest::mouseMove(h.win(), h.at(10, 10));
    EXPECT_FALSE(h.events.contains("MouseEnter"));
}

// Three buttons on one form with the form's own procedure installed first (as the tray hook is).
class TeardownOrder : public ::testing::TestWithParam<std::array<int, 3>>
{};

TEST_P(TeardownOrder, FormAndRemainingButtonsKeepTheirMessages)
{
    test::ButtonForm form;
    form.window.resize(300, 200);
    const WindowHandle hForm = platform::handleOf(&form.window);
    int formMessages = 0;
    platform::WindowProcRef saved = platform::getWindowProc(hForm);
    platform::setWindowProc(hForm, [&formMessages, saved](WindowHandle w, Message m, platform::WParam wp, platform::LParam lp) {
        if (m == 0x464)
            ++formMessages;
        return platform::callWindowProc(saved, w, m, wp, lp);
    });
    std::array<std::unique_ptr<vantlebutton>, 3> buttons;
    for (int i = 0; i < 3; ++i) {
        buttons[static_cast<std::size_t>(i)] = form.place(QStringLiteral("vantlebutton%1").arg(i + 1));
        buttons[static_cast<std::size_t>(i)]->readProperties(platform::PropertyStore());
    }
    EXPECT_EQ(platform::installedProcCount(hForm), 4);
    int expectedForm = 0;
    for (int victim : GetParam()) {
        buttons[static_cast<std::size_t>(victim)].reset();
        platform::sendMessage(hForm, 0x464, 0, 0x203);
        EXPECT_EQ(formMessages, ++expectedForm);
        platform::sendMessage(hForm, WM_ACTIVATE, 1, 0);
        for (auto& b : buttons)
            if (b) {
                EXPECT_TRUE(b->ParentActive);
                b->ParentActive = false;
            }
    }
    EXPECT_EQ(platform::installedProcCount(hForm), 1);
}

INSTANTIATE_TEST_SUITE_P(AllSix, TeardownOrder,
                         ::testing::Values(std::array<int, 3>{0, 1, 2}, std::array<int, 3>{0, 2, 1}, std::array<int, 3>{1, 0, 2},
                                           std::array<int, 3>{1, 2, 0}, std::array<int, 3>{2, 0, 1}, std::array<int, 3>{2, 1, 0}),
                         [](const ::testing::TestParamInfo<std::array<int, 3>>& row) {
                             std::string name = "Buttons";
                             for (const int victim : row.param)
                                 name += "_" + std::to_string(victim + 1);
                             return name;
                         });

TEST(ButtonHook, AParentDestroyedBeforeItsButtons)
{
    auto form = std::make_unique<test::ButtonForm>();
    std::array<std::unique_ptr<vantlebutton>, 3> buttons;
    for (auto& b : buttons) {
        b = form->place();
        b->readProperties(platform::PropertyStore());
        b->setParent(nullptr);  // outlive the form
    }
    const WindowHandle hForm = buttons[0]->ParentWindow;
    form.reset();
    EXPECT_EQ(platform::widgetOf(hForm), nullptr);
    EXPECT_EQ(platform::sendMessage(hForm, WM_ACTIVATE, 1, 0), 0);
    for (auto& b : buttons)
        EXPECT_NO_THROW(b.reset());
}
