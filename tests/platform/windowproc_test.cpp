#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "platform/windowproc.h"

using namespace tervolin::platform;

namespace {

struct Trace
{
    std::vector<int> calls;  // procedure ids in call order
};

// A procedure that records its id and passes the message on to what was in place before it.
WindowProcRef installRecorder(WindowHandle h, int id, Trace& trace)
{
    WindowProcRef previous = getWindowProc(h);
    return setWindowProc(h, [previous, id, &trace](WindowHandle w, Message m, WParam wp, LParam lp) {
        trace.calls.push_back(id);
        return callWindowProc(previous, w, m, wp, lp);
    });
}

}  // namespace

TEST(WindowProc, SentMessagesRunTheChainOutermostFirstAndReturnTheInnerResult)
{
    QWidget w;
    const WindowHandle h = handleOf(&w);
    EXPECT_EQ(sendMessage(h, 0x464, 0, 0x203), 0);
    WindowProcRef saved = getWindowProc(h);
    std::vector<std::pair<WParam, LParam>> seen;
    setWindowProc(h, [saved, &seen](WindowHandle win, Message m, WParam wp, LParam lp) {
        if (m == 0x464)
            seen.emplace_back(wp, lp);
        return callWindowProc(saved, win, m, wp, lp) + 7;
    });
    WindowProcRef second = getWindowProc(h);
    setWindowProc(h, [second](WindowHandle win, Message m, WParam wp, LParam lp) {
        return callWindowProc(second, win, m, wp + 1, lp) * 2;  // changes the parameter it forwards
    });
    EXPECT_EQ(sendMessage(h, 0x464, 0, 0x203), 14);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], std::make_pair(WParam{1}, LParam{0x203}));
    EXPECT_EQ(installedProcCount(h), 2);
}

// Removing three procedures in every order: the remaining ones keep being called, innermost last, and the
// removed never again.
class RemovalOrder : public ::testing::TestWithParam<std::vector<int>>
{};

TEST_P(RemovalOrder, RemainingProceduresStayReachable)
{
    QWidget w;
    const WindowHandle h = handleOf(&w);
    Trace trace;
    std::vector<WindowProcRef> procs;
    for (int id = 0; id < 3; ++id)
        procs.push_back(installRecorder(h, id, trace));
    std::vector<int> alive{0, 1, 2};
    for (int victim : GetParam()) {
        EXPECT_TRUE(removeWindowProc(h, procs[static_cast<std::size_t>(victim)]));
        EXPECT_FALSE(removeWindowProc(h, procs[static_cast<std::size_t>(victim)])) << "removed twice";
        alive.erase(std::find(alive.begin(), alive.end(), victim));
        trace.calls.clear();
        sendMessage(h, 0x200, 0, 0);
        std::vector<int> expected(alive.rbegin(), alive.rend());
        EXPECT_EQ(trace.calls, expected);
        // A removed procedure called by reference forwards to those below it.
        trace.calls.clear();
        callWindowProc(procs[static_cast<std::size_t>(victim)], h, 0x200, 0, 0);
        for (int id : trace.calls)
            EXPECT_LT(id, victim);
    }
    EXPECT_EQ(installedProcCount(h), 0);
}

INSTANTIATE_TEST_SUITE_P(AllOrders, RemovalOrder,
                         ::testing::Values(std::vector<int>{0, 1, 2}, std::vector<int>{0, 2, 1},
                                           std::vector<int>{1, 0, 2}, std::vector<int>{1, 2, 0},
                                           std::vector<int>{2, 0, 1}, std::vector<int>{2, 1, 0}),
                         [](const ::testing::TestParamInfo<std::vector<int>>& order) {
                             std::string name = "removed";
                             for (int id : order.param)
                                 name += "_" + std::to_string(id);
                             return name;
                         });

TEST(WindowProc, AProcedureMayRemoveItselfWhileRunning)
{
    QWidget w;
    const WindowHandle h = handleOf(&w);
    WindowProcRef saved = getWindowProc(h);
    auto self = std::make_shared<WindowProcRef>();
    auto counter = std::make_shared<int>(0);
    *self = setWindowProc(h, [saved, self, counter, h](WindowHandle win, Message m, WParam wp, LParam lp) {
        ++*counter;
        removeWindowProc(h, *self);
        return callWindowProc(saved, win, m, wp, lp);
    });
    sendMessage(h, 1, 0, 0);
    sendMessage(h, 1, 0, 0);
    EXPECT_EQ(*counter, 1);
    self->reset();
}

TEST(WindowProc, ADestroyedWindowReleasesItsChainAndIsNeverTouched)
{
    auto w = std::make_unique<QWidget>();
    const WindowHandle h = handleOf(w.get());
    auto token = std::make_shared<int>(0);
    std::weak_ptr<int> watch = token;
    WindowProcRef saved = getWindowProc(h);
    WindowProcRef mine = setWindowProc(h, [saved, token](WindowHandle win, Message m, WParam wp, LParam lp) {
        return callWindowProc(saved, win, m, wp, lp);
    });
    token.reset();
    w.reset();
    EXPECT_TRUE(watch.expired()) << "the procedure's function outlived its window";
    EXPECT_FALSE(removeWindowProc(h, mine));
    EXPECT_EQ(callWindowProc(mine, h, 0x200, 0, 0), 0);
    EXPECT_EQ(callWindowProc(saved, h, 0x200, 0, 0), 0);
    EXPECT_EQ(sendMessage(h, 0x200, 0, 0), 0);
    EXPECT_EQ(getWindowProc(h), nullptr);
    EXPECT_EQ(setWindowProc(h, [](WindowHandle, Message, WParam, LParam) { return 1; }), nullptr);
}

struct QtMessage
{
    Message message;
    WParam wParam;
    LParam lParam;
};

// Records every message a window receives through its chain, passing each on.
struct MessageLog
{
    std::vector<QtMessage> log;
    WindowProcRef proc;

    explicit MessageLog(WindowHandle h)
    {
        WindowProcRef saved = getWindowProc(h);
        proc = setWindowProc(h, [this, saved](WindowHandle w, Message m, WParam wp, LParam lp) {
            log.push_back({m, wp, lp});
            return callWindowProc(saved, w, m, wp, lp);
        });
    }
    std::vector<Message> numbers() const
    {
        std::vector<Message> n;
        for (const QtMessage& m : log)
            n.push_back(m.message);
        return n;
    }
};

class MoveCounter : public QWidget
{
public:
    int moves = 0;
    int leaves = 0;

protected:
    void mouseMoveEvent(QMouseEvent*) override { ++moves; }
    void leaveEvent(QEvent*) override { ++leaves; }
};

TEST(WindowProc, QtMouseMovesArriveAsMouseMoveMessagesAndStillReachTheWidget)
{
    MoveCounter w;
    w.setMouseTracking(true);
    w.resize(50, 40);
    const WindowHandle h = handleOf(&w);
    MessageLog log(h);
    QMouseEvent move(QEvent::MouseMove, QPointF(12, 30), w.mapToGlobal(QPointF(12, 30)), Qt::NoButton,
                     Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(&w, &move);
    ASSERT_EQ(log.log.size(), 1u);
    EXPECT_EQ(log.log[0].message, Messages::WM_MOUSEMOVE);
    EXPECT_EQ(log.log[0].wParam, 0x1 | 0x4);
    EXPECT_EQ(log.log[0].lParam, makeLParam(12, 30));
    EXPECT_EQ(w.moves, 1);
}

TEST(WindowProc, AProcedureThatDoesNotPassTheMessageOnSwallowsTheQtEvent)
{
    MoveCounter w;
    w.setMouseTracking(true);
    const WindowHandle h = handleOf(&w);
    setWindowProc(h, [](WindowHandle, Message, WParam, LParam) { return 0; });
    QMouseEvent move(QEvent::MouseMove, QPointF(1, 1), w.mapToGlobal(QPointF(1, 1)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&w, &move);
    EXPECT_EQ(w.moves, 0);
}

TEST(WindowProc, LeaveIsSentOnceAfterEachRequest)
{
    MoveCounter w;
    const WindowHandle h = handleOf(&w);
    MessageLog log(h);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
    EXPECT_TRUE(log.log.empty()) << "no leave message without a request";
    EXPECT_EQ(w.leaves, 1);
    ASSERT_TRUE(trackMouseLeave(h));
    EXPECT_TRUE(mouseLeaveArmed(h));
    QApplication::sendEvent(&w, &leave);
    QApplication::sendEvent(&w, &leave);
    EXPECT_EQ(log.numbers(), std::vector<Message>{Messages::WM_MOUSELEAVE});
    EXPECT_FALSE(mouseLeaveArmed(h));
    EXPECT_EQ(w.leaves, 3);
}

TEST(WindowProc, ActivationArrivesAsNonClientActivateThenActivateWithTheState)
{
    QWidget a;
    QWidget b;
    a.resize(100, 100);
    b.resize(100, 100);
    a.show();
    QApplication::setActiveWindow(&a);
    QApplication::processEvents();
    const WindowHandle h = handleOf(&a);
    MessageLog log(h);
    b.show();
    QApplication::setActiveWindow(&b);
    QApplication::processEvents();
    QApplication::setActiveWindow(&a);
    QApplication::processEvents();
    std::vector<std::pair<Message, WParam>> seen;
    for (const QtMessage& m : log.log)
        if (m.message == Messages::WM_ACTIVATE || m.message == Messages::WM_NCACTIVATE)
            seen.emplace_back(m.message, m.wParam);
    const std::vector<std::pair<Message, WParam>> expected{{Messages::WM_NCACTIVATE, 0}, {Messages::WM_ACTIVATE, 0},
                                                           {Messages::WM_NCACTIVATE, 1}, {Messages::WM_ACTIVATE, 1}};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(a.isActiveWindow());
    // Let the platform finish with both windows before they go.
    b.close();
    a.close();
    QApplication::processEvents();
}
