#pragma once
// A hook for the start-up benchmark, inert unless TERVOLIN_REPORT_FIRST_PAINT is set: once the watched window has
// been painted for the first time, the process prints the monotonic clock in nanoseconds on standard output and
// ends at once. The benchmark compares that moment with the one at which it started the process.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace tervolin::app {

class FirstPaintReport : public QObject
{
public:
    /// Watches `window` when the benchmark asks for it; otherwise does nothing.
    static void watch(QObject& window)
    {
        if (qEnvironmentVariableIsSet("TERVOLIN_REPORT_FIRST_PAINT"))
            window.installEventFilter(new FirstPaintReport(&window));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        // The window's own paint comes first, its controls' after it, all before the frame is flushed and control
        // returns to the event loop; a posted event of high priority runs right then, ahead of any queued work.
        if (event->type() == QEvent::Paint && !posted_) {
            posted_ = true;
            QCoreApplication::postEvent(this, new QEvent(QEvent::User), Qt::HighEventPriority);
        }
        return false;
    }

    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec);
        std::fflush(stdout);
        std::_Exit(0);
    }

private:
    using QObject::QObject;
    bool posted_ = false;
};

}  // namespace tervolin::app
