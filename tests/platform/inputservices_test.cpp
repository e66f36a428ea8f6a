#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <vector>

#include "platform/inputservices.h"
#include "platform/windowproc.h"

using namespace tervolin::platform;

namespace {

// Restores the entry-point table when a test ends.
struct EntryPointsGuard
{
    std::vector<LibraryExports> saved = defaultEntryPoints();
    ~EntryPointsGuard() { setAvailableEntryPoints(saved); }
};

}  // namespace

TEST(InputServices, LibrariesAreFoundCaseBlindAndLoadsAreBalanced)
{
    EntryPointsGuard guard;
    setAvailableEntryPoints(defaultEntryPoints());
    const ModuleHandle user32 = getModuleHandle(QStringLiteral("USER32"));
    EXPECT_NE(user32, 0);
    EXPECT_TRUE(getProcAddress(user32, QStringLiteral("TrackMouseEvent")));
    EXPECT_FALSE(getProcAddress(user32, QStringLiteral("trackmouseevent")));
    EXPECT_EQ(getModuleHandle(QStringLiteral("Comctl32")), 0) << "not loaded until asked";
    const int before = outstandingLibraryLoads();
    const ModuleHandle comctl = loadLibrary(QStringLiteral("comctl32"));
    ASSERT_NE(comctl, 0);
    EXPECT_TRUE(getProcAddress(comctl, QStringLiteral("_TrackMouseEvent")));
    EXPECT_TRUE(freeLibrary(comctl));
    EXPECT_FALSE(freeLibrary(comctl));
    EXPECT_EQ(outstandingLibraryLoads(), before);
    EXPECT_FALSE(getProcAddress(comctl, QStringLiteral("_TrackMouseEvent"))) << "freed";
    setAvailableEntryPoints({});
    EXPECT_EQ(getModuleHandle(QStringLiteral("User32")), 0);
    EXPECT_EQ(loadLibrary(QStringLiteral("User32")), 0);
}

TEST(InputServices, TrackMouseEventArmsOnlyWithAValidLeaveRecord)
{
    QWidget w;
    const WindowHandle h = handleOf(&w);
    struct Row { std::uint32_t size; std::uint32_t flags; WindowHandle window; bool armed; };
    const Row rows[] = {{16, TME_LEAVE, h, true}, {12, TME_LEAVE, h, false}, {16, 1, h, false}, {16, TME_LEAVE, 0, false}};
    for (const Row& r : rows) {
        QWidget fresh;
        const WindowHandle target = r.window ? handleOf(&fresh) : 0;
        EXPECT_EQ(trackMouseEvent({r.size, r.flags, target, 0}), r.armed);
        EXPECT_EQ(mouseLeaveArmed(target), r.armed);
    }
}

TEST(InputServices, CursorsByIdentifier)
{
    QWidget w;
    const WindowHandle h = handleOf(&w);
    EXPECT_EQ(loadCursor(IDC_HAND), IDC_HAND);
    EXPECT_EQ(loadCursor(12345), 0);
    setCursor(h, loadCursor(IDC_HAND));
    EXPECT_EQ(currentCursorShape(h), Qt::PointingHandCursor);
    EXPECT_EQ(w.cursor().shape(), Qt::PointingHandCursor);
}

TEST(InputServices, CaptureSendsTheMouseToOneWindowUntilReleased)
{
    QWidget w;
    w.show();
    const WindowHandle h = handleOf(&w);
    EXPECT_EQ(getCapture(), 0);
    EXPECT_EQ(setCapture(h), 0);
    EXPECT_EQ(getCapture(), h);
    releaseCapture();
    EXPECT_EQ(getCapture(), 0);
}

class KeyLog : public QWidget
{
public:
    std::vector<int> keys;

protected:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
};

TEST(InputServices, SentTabsMoveTheFocusWithoutWaiting)
{
    QWidget form;
    auto* a = new KeyLog;
    auto* b = new KeyLog;
    a->setParent(&form);
    b->setParent(&form);
    a->setFocusPolicy(Qt::StrongFocus);
    b->setFocusPolicy(Qt::StrongFocus);
    b->move(0, 30);
    form.show();
    QApplication::setActiveWindow(&form);
    a->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(a->hasFocus());
    sendKeys(QStringLiteral("{TAB}"));
    EXPECT_TRUE(a->hasFocus()) << "queued, not delivered at once";
    doEvents();
    EXPECT_TRUE(b->hasFocus());
    sendKeys(QStringLiteral("+{TAB}"));
    doEvents();
    EXPECT_TRUE(a->hasFocus());
    sendKeys(QStringLiteral("x"));
    doEvents();
    EXPECT_EQ(a->keys, std::vector<int>{Qt::Key_X});
}
