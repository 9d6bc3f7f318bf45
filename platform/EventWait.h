// Waiting in a frame loop: block in the window system until an event arrives or the time is up,
// instead of sleeping 1 ms at a time and looking again.
#pragma once

#include <cstdint>

#include "platform/Seams.h"

namespace plat {

// One wait of a loop, made of passes. A pass that returns with the clock unchanged has handled
// events; a second such pass in a row would be a window system that does not block, and then
// the pass sleeps 1 ms so that the loop cannot spin.
class EventWait {
  public:
    explicit EventWait(Services& sv) : sv_(sv) {}
    // Waits for window events for at most `ms` milliseconds and handles them.
    void pass(std::uint32_t ms);

  private:
    Services& sv_;
    bool idle_ = false;
};

} // namespace plat
