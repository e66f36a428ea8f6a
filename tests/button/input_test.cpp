#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QTest>

#include <functional>

#include "inputharness.h"

using namespace tervolin;
using controls::ButtonStates;
using test::InputHarness;

namespace {

const QStringList NoEvents;

void key(controls::vantlebutton& b, QEvent::Type type, int k, Qt::KeyboardModifiers mods = {}, bool repeat = false)
{
    QKeyEvent e(type, k, mods, k == Qt::Key_Space ? QStringLiteral(" ") : QString(), repeat);
    QApplication::sendEvent(&b, &e);
}

}  // namespace

TEST(ButtonInput, FirstMoveRaisesMouseMoveThenOneMouseEnter)
{
    InputHarness h;
    QTest::mouseMove(h.win(), QPoint(5, 5));
    h.take();
    QTest::mouseMove(h.win(), h.at(10, 10));
    EXPECT_EQ(h.take(), (QStringList{"MouseMove", "MouseEnter"}));
    QTest::mouseMove(h.win(), h.at(12, 10));
    QTest::mouseMove(h.win(), h.at(14, 11));
    EXPECT_EQ(h.take(), (QStringList{"MouseMove", "MouseMove"}));
    EXPECT_TRUE(h.b->PointerOver);
    EXPECT_EQ(h.b->ButtonState, ButtonStates::StateHot);
}

TEST(ButtonInput, DraggingOutAndBackWithTheLeftButtonHeld)
{
    InputHarness h;
    QTest::mouseMove(h.win(), h.at(10, 10));
    QTest::mousePress(h.win(), Qt::LeftButton, {}, h.at(10, 10));
    EXPECT_EQ(h.b->ButtonState, ButtonStates::StateDown);
    h.take();
    for (const QPoint outside : {QPoint(5, 5), QPoint(6, 5)}) {
        QTest::mouseMove(h.win(), outside);
        EXPECT_EQ(h.take(), (QStringList{"MouseLeave", "MouseMove", "MouseEnter"}));
        EXPECT_EQ(h.b->ButtonState, ButtonStates::StateHot);
    }
    QTest::mouseMove(h.win(), h.at(20, 10));
    EXPECT_EQ(h.take(), (QStringList{"MouseMove"}));
    EXPECT_EQ(h.b->ButtonState, ButtonStates::StateDown);
    QTest::mouseRelease(h.win(), Qt::LeftButton, {}, h.at(20, 10));
    EXPECT_EQ(h.take(), (QStringList{"Click", "MouseUp(1)"}));
}

TEST(ButtonInput, DoubleClickReplaysTheMouseDown)
{
    InputHarness h;
    QTest::mouseMove(h.win(), h.at(10, 10));
    h.take();
    QTest::mouseDClick(h.win(), Qt::LeftButton, {}, h.at(10, 10));
    EXPECT_EQ(h.take(), (QStringList{"MouseDown(1)", "Click", "MouseUp(1)", "MouseDown(1)", "DblClick", "Click", "MouseUp(1)"}));
    EXPECT_EQ(platform::getCapture(), 0) << "the double click's capture ends with its release";
}

struct ReleaseRow
{
    int x;
    int y;
    bool click;
};

class ReleasePosition : public ::testing::TestWithParam<ReleaseRow>
{};

TEST_P(ReleasePosition, OnlyAReleaseStrictlyInsideClicks)
{
    const ReleaseRow row = GetParam();
    InputHarness h;
    ASSERT_EQ(h.b->clientWidth(), 97);
    ASSERT_EQ(h.b->clientHeight(), 25);
    QTest::mouseMove(h.win(), h.at(10, 10));
    QTest::mousePress(h.win(), Qt::LeftButton, {}, h.at(10, 10));
    h.take();
    QTest::mouseRelease(h.win(), Qt::LeftButton, {}, h.at(row.x, row.y));
    const QStringList got = h.take();
    EXPECT_EQ(got.contains("Click"), row.click) << got.join(' ').toStdString();
    EXPECT_TRUE(got.contains("MouseUp(1)"));
}

INSTANTIATE_TEST_SUITE_P(Edges, ReleasePosition,
                         ::testing::Values(ReleaseRow{0, 10, false}, ReleaseRow{10, 0, false}, ReleaseRow{97, 10, false},
                                           ReleaseRow{10, 25, false}, ReleaseRow{1, 1, true}, ReleaseRow{96, 24, true}),
                         [](const ::testing::TestParamInfo<ReleaseRow>& row) {
                             return "At" + std::to_string(row.param.x) + "_" + std::to_string(row.param.y);
                         });

class OtherMouseButton : public ::testing::TestWithParam<std::pair<Qt::MouseButton, int>>
{};

TEST_P(OtherMouseButton, PressRaisesNothingReleaseRaisesMouseUp)
{
    InputHarness h;
    QTest::mouseMove(h.win(), h.at(10, 10));
    h.take();
    QTest::mousePress(h.win(), GetParam().first, {}, h.at(10, 10));
    EXPECT_EQ(h.take(), NoEvents);
    EXPECT_FALSE(h.b->LeftButtonHeld);
    QTest::mouseRelease(h.win(), GetParam().first, {}, h.at(10, 10));
    EXPECT_EQ(h.take(), (QStringList{QStringLiteral("MouseUp(%1)").arg(GetParam().second)}));
}

INSTANTIATE_TEST_SUITE_P(RightAndMiddle, OtherMouseButton,
                         ::testing::Values(std::make_pair(Qt::RightButton, 2), std::make_pair(Qt::MiddleButton, 4)),
                         [](const ::testing::TestParamInfo<std::pair<Qt::MouseButton, int>>& row) {
                             return std::string(row.param.first == Qt::RightButton ? "Right" : "Middle");
                         });

TEST(ButtonInput, Keys)
{
    InputHarness h;
    key(*h.b, QEvent::KeyPress, Qt::Key_Space, Qt::AltModifier);
    EXPECT_EQ(h.take(), NoEvents) << "Alt+Space";
    EXPECT_FALSE(h.b->SpaceHeld);

    key(*h.b, QEvent::KeyPress, Qt::Key_Return);
    key(*h.b, QEvent::KeyPress, Qt::Key_Return, {}, true);
    key(*h.b, QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_EQ(h.take(), (QStringList{"Click", "KeyDown(13,0)", "Click", "KeyDown(13,0)"}));

    key(*h.b, QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier);
    key(*h.b, QEvent::KeyRelease, Qt::Key_A, Qt::ShiftModifier);
    EXPECT_EQ(h.take(), (QStringList{"KeyDown(65,1)"}));

    key(*h.b, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_EQ(h.b->ButtonState, ButtonStates::StateDown);
    EXPECT_EQ(platform::getCapture(), h.b->hWnd());
    key(*h.b, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(h.take(), (QStringList{"KeyDown(32,0)", "Click", "KeyUp(32)"}));
    EXPECT_EQ(h.b->ButtonState, ButtonStates::StateNormal);
    EXPECT_FALSE(h.b->SpaceHeld);
    platform::releaseCapture();
}

TEST(ButtonInput, SpaceInCheckBoxModeTogglesOnEachRepeatAndClicksOnceOnRelease)
{
    InputHarness h;
    h.b->setCheckBoxMode(true);
    std::vector<bool> values;
    key(*h.b, QEvent::KeyPress, Qt::Key_Space);
    values.push_back(h.b->Value());
    for (int i = 0; i < 2; ++i) {
        // Qt reports a held key as release + press pairs marked as repeats.
        key(*h.b, QEvent::KeyRelease, Qt::Key_Space, {}, true);
        key(*h.b, QEvent::KeyPress, Qt::Key_Space, {}, true);
        values.push_back(h.b->Value());
    }
    key(*h.b, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(values, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(h.take().count("Click"), 1);
    platform::releaseCapture();
}

TEST(ButtonInput, ArrowKeysMoveTheFocusAndStillRaiseKeyDown)
{
    InputHarness h;
    auto other = h.form.place(QStringLiteral("vantlebutton2"));
    other->move(50, 60);
    other->show();
    h.b->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(h.b->hasFocus());
    QTest::keyClick(h.b.get(), Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_TRUE(other->hasFocus());
    EXPECT_EQ(h.take().first(), "KeyDown(40,0)");
}

TEST(ButtonInput, AccessKeyInCheckBoxModeIgnoresEnterAndEscape)
{
    struct Row { bool checkBox; short key; bool toggles; bool clicks; };
    const Row rows[] = {{false, 'o', false, true}, {false, 13, false, true}, {true, 'o', true, true},
                        {true, 13, false, false}, {true, 27, false, false}};
    for (const Row& r : rows) {
        InputHarness h;
        h.b->setCheckBoxMode(r.checkBox);
        h.b->SpaceHeld = true;
        h.b->UserControl_AccessKeyPress(r.key);
        EXPECT_EQ(h.b->Value(), r.toggles) << r.key;
        EXPECT_EQ(h.take().contains("Click"), r.clicks) << r.key;
    }
    InputHarness disabled;
    disabled.b->setEnabled(false);
    disabled.b->UserControl_AccessKeyPress('o');
    EXPECT_EQ(disabled.take(), NoEvents);
}

TEST(ButtonInput, AltAndTheCaptionsAccessKeyClicks)
{
    InputHarness h;
    h.b->setCaption(QStringLiteral("&OK"));
    QTest::keyClick(h.win(), Qt::Key_O, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_TRUE(h.take().contains("Click"));
}

TEST(ButtonInput, WithoutLeaveTrackingNoHoverLookButClicksStillWork)
{
    const auto saved = platform::setAvailableEntryPoints({});
    InputHarness h;
    platform::setAvailableEntryPoints(saved);
    EXPECT_FALSE(h.b->LeaveTrackingAvailable);
    EXPECT_TRUE(h.b->HookTable.empty());
    QTest::mouseMove(h.win(), h.at(10, 10));
    EXPECT_FALSE(h.b->PointerOver);
    EXPECT_EQ(h.b->ButtonState, ButtonStates::StateNormal);
    QTest::mousePress(h.win(), Qt::LeftButton, {}, h.at(10, 10));
    EXPECT_EQ(h.b->ButtonState, ButtonStates::StateNormal);
    QTest::mouseRelease(h.win(), Qt::LeftButton, {}, h.at(10, 10));
    EXPECT_FALSE(h.take().contains("MouseEnter"));
    EXPECT_TRUE(h.events.isEmpty());
}

TEST(ButtonInput, HandPointerShowsThePointingHand)
{
    test::ButtonForm form;
    auto b = form.place();
    platform::PropertyStore store;
    store.set(QStringLiteral("handpointer"), -1);
    b->readProperties(store);
    EXPECT_EQ(b->HandCursor, 32649);
    b->UserControl_MouseDown(1, 0, 5, 5);
    EXPECT_EQ(b->cursor().shape(), Qt::PointingHandCursor);
}

// ButtonState transitions: the flags before, the input, the state after.
struct Transition
{
    const char* input;
    bool pointerOver;
    bool leftHeld;
    bool spaceHeld;
    bool parentActive;
    ButtonStates from;
    ButtonStates to;
};

class ButtonStateTable : public ::testing::TestWithParam<Transition>
{};

TEST_P(ButtonStateTable, Transition)
{
    const Transition t = GetParam();
    test::ButtonForm form;
    auto b = form.place();
    b->initProperties();
    b->PointerOver = t.pointerOver;
    b->LeftButtonHeld = t.leftHeld;
    b->SpaceHeld = t.spaceHeld;
    b->ParentActive = t.parentActive;
    b->ButtonState = t.from;
    platform::WindowHandle own = b->hWnd();
    platform::Message msg = 0;
    platform::WParam wp = 0;
    platform::LParam lp = 0;
    platform::LResult r = 0;
    bool handled = false;
    const std::string in = t.input;
    if (in == "enter") { msg = platform::Messages::WM_MOUSEMOVE; b->zSubclass_Proc(false, handled, r, own, msg, wp, lp); }
    else if (in == "leave") { msg = platform::Messages::WM_MOUSELEAVE; b->zSubclass_Proc(false, handled, r, own, msg, wp, lp); }
    else if (in == "activate" || in == "deactivate") {
        msg = platform::Messages::WM_ACTIVATE;
        wp = in == "activate" ? 0x10000 : 0;
        b->zSubclass_Proc(false, handled, r, own, msg, wp, lp);
    }
    else if (in == "down") b->UserControl_MouseDown(1, 0, 5, 5);
    else if (in == "spacedown") b->UserControl_KeyDown(32, 0);
    else if (in == "spaceup") b->UserControl_KeyUp(32, 0);
    else if (in == "gotfocus") b->UserControl_GotFocus();
    else if (in == "lostfocus") b->UserControl_LostFocus();
    else if (in == "up") b->UserControl_MouseUp(1, 0, 5, 5);
    EXPECT_EQ(b->ButtonState, t.to) << t.input;
    platform::releaseCapture();
}

constexpr ButtonStates N = ButtonStates::StateNormal;
constexpr ButtonStates H = ButtonStates::StateHot;
constexpr ButtonStates D = ButtonStates::StateDown;

INSTANTIATE_TEST_SUITE_P(
    All, ButtonStateTable,
    ::testing::Values(Transition{"enter", false, false, false, false, N, H}, Transition{"enter", false, false, true, false, D, D},
                      Transition{"enter", true, false, false, false, D, D},  // already over: nothing
                      Transition{"down", true, false, false, false, H, D}, Transition{"down", false, false, false, false, N, N},
                      Transition{"spacedown", false, false, false, false, H, D}, Transition{"spacedown", false, true, false, false, N, N},
                      Transition{"spaceup", true, true, true, false, N, D}, Transition{"spaceup", true, false, true, false, D, H},
                      Transition{"spaceup", false, false, true, false, D, N}, Transition{"leave", true, false, false, false, H, N},
                      Transition{"leave", true, false, true, false, D, D}, Transition{"lostfocus", true, false, false, true, D, H},
                      Transition{"lostfocus", true, false, false, false, H, N}, Transition{"gotfocus", true, false, false, false, N, H},
                      Transition{"gotfocus", false, true, false, false, D, D}, Transition{"gotfocus", false, false, false, false, H, N},
                      Transition{"activate", true, false, false, false, H, N}, Transition{"deactivate", true, true, true, true, D, N},
                      Transition{"up", true, true, false, false, D, D}),
    [](const ::testing::TestParamInfo<Transition>& row) {
        const Transition& r = row.param;
        std::string name = std::string(r.input) + "_From" + test::nameOf(r.from);
        for (const auto& [on, flag] : {std::pair{r.pointerOver, "Over"}, std::pair{r.leftHeld, "LeftHeld"},
                                       std::pair{r.spaceHeld, "SpaceHeld"}, std::pair{r.parentActive, "ParentActive"}})
            if (on)
                name += std::string("_") + flag;
        return name;
    });

TEST(ButtonInput, LeavingADisabledButtonKeepsItsStateButRaisesMouseLeave)
{
    InputHarness h;
    QTest::mouseMove(h.win(), h.at(10, 10));
    h.b->setEnabled(false);
    h.b->ButtonState = ButtonStates::StateHot;
    h.take();
    platform::sendMessage(h.b->hWnd(), platform::Messages::WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(h.b->PointerOver);
    EXPECT_EQ(h.b->ButtonState, ButtonStates::StateHot);
    EXPECT_EQ(h.take(), (QStringList{"MouseLeave"}));

    h.b->setEnabled(true);
    h.b->PointerOver = true;
    h.b->SpaceHeld = true;
    h.b->ButtonState = ButtonStates::StateDown;
    platform::sendMessage(h.b->hWnd(), platform::Messages::WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(h.b->PointerOver);
    EXPECT_EQ(h.b->ButtonState, ButtonStates::StateDown);
    EXPECT_EQ(h.take(), NoEvents) << "space held: no MouseLeave";
}
