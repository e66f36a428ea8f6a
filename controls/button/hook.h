#pragma once
// The records of vantlebutton's window hooks and its saved mouse press.

#include "platform/windowproc.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace tervolin::controls {

class vantlebutton;

/// Arguments of a mouse event, kept from the last mouse down for the double-click replay.
struct MouseArguments
{
    std::int16_t Button = 0;
    std::int16_t Shift = 0;
    float X = 0;
    float Y = 0;
};

inline constexpr std::int32_t HookAfter = 1;
inline constexpr std::int32_t HookBefore = 2;
inline constexpr std::int32_t AllMessages = -1;

/// A message list of a hook: a count (0 none, AllMessages every message) and the numbers, from index 1.
struct HookMessageList
{
    std::int32_t count = 0;
    std::vector<std::int32_t> messages{0};  // slot 0 unused

    bool contains(platform::Message message) const;
    void add(std::int32_t message);
    void clear();
};

/// What the hook routine of one window works from: it reads the lists as they are at each message, and
/// calls the button back only while `owner` is set.
struct HookRoutine
{
    platform::WindowProcRef previous;
    HookMessageList before;
    HookMessageList after;
    vantlebutton* owner = nullptr;
};

struct HookEntry
{
    platform::WindowHandle Window = 0;  // 0: free entry
    platform::WindowProcRef routine;    // the procedure installed on the window
    platform::WindowProcRef PreviousProc;
    std::shared_ptr<HookRoutine> state;
};

}  // namespace tervolin::controls
