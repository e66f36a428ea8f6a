#pragma once
// Work that the window hands to a thread of its own (reading the code list, building the completion index) runs at
// a lower priority than the window's thread, so that on a busy machine the user's clicks and searches come first.

#include <sys/resource.h>
#include <unistd.h>

namespace tervolin::app {

/// Lowers the calling thread's priority (Linux schedules threads one by one; nice 5 still gets its share of a
/// machine that is busy with ordinary work).
inline void runAsBackgroundWork()
{
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 5);
}

}  // namespace tervolin::app
