#include "platform/EventWait.h"

namespace plat {

void EventWait::pass(std::uint32_t ms) {
    const std::uint32_t before = sv_.clock.timeGetTime();
    sv_.windows.waitEvents(ms);
    if (sv_.clock.timeGetTime() != before) {
        idle_ = false;
    } else if (idle_) {
        sv_.clock.sleep(1);
    } else {
        idle_ = true;
    }
}

} // namespace plat
