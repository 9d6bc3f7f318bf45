// The real millisecond clock: a steady clock cut to a 32-bit tick that wraps like the
// original timer's.
#pragma once

#include "platform/Seams.h"

namespace plat {

class PosixClock : public IClock {
  public:
    std::uint32_t timeGetTime() override;
    // Sleeps are already precise to well under a millisecond here; the period is only counted
    // so that a missing endPeriod shows up in a debugger.
    void beginPeriod() override { ++periodDepth_; }
    void endPeriod() override {
        if (periodDepth_ > 0) --periodDepth_;
    }
    void sleep(std::uint32_t ms) override;
    int periodDepth() const { return periodDepth_; }

  private:
    int periodDepth_ = 0;
};

} // namespace plat
