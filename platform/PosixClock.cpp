#include "platform/PosixClock.h"

#include <chrono>
#include <thread>

namespace plat {

std::uint32_t PosixClock::timeGetTime() {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

void PosixClock::sleep(std::uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace plat
