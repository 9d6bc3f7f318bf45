// The game's clock with the paused time left out. It sits right over the real clock, under a
// recording or a replay: a recording then holds the game's clock as the game read it, with no
// trace of a pause, and a replay (whose clock answers from the recording) pauses the same way
// without consuming anything recorded. While held, the game's forms get no input but a close
// request, and the passes of the window system a paused loop makes go straight to the real
// one, so no session sees them.
#pragma once

#include <cstdint>

#include "platform/InputEvent.h"
#include "platform/Seams.h"

namespace plat {

class PausableClock : public IClock, private InputTap {
  public:
    PausableClock(IClock& real, IWindowSystem& windows) : real_(real), windows_(windows) {}
    ~PausableClock() override;
    PausableClock(const PausableClock&) = delete;
    PausableClock& operator=(const PausableClock&) = delete;

    std::uint32_t timeGetTime() override;
    void beginPeriod() override { real_.beginPeriod(); }
    void endPeriod() override { real_.endPeriod(); }
    void sleep(std::uint32_t ms) override { real_.sleep(ms); }

    // Stops the game's clock where it is and keeps input from the game's forms; release() lets
    // both go on, the clock from where it stopped. Nested holds count.
    void hold();
    void release();
    bool held() const { return holds_ > 0; }
    // One pass of a paused loop: the real window system handles its events, waiting for them
    // at most `ms` milliseconds of the real clock.
    void wait(std::uint32_t ms) { windows_.waitEvents(ms); }

  private:
    bool passes(Form& form, const InputEvent& event) override;

    IClock& real_;
    IWindowSystem& windows_;
    int holds_ = 0;
    std::uint32_t heldAt_ = 0;     // the real tick the hold began at
    std::uint32_t left_ = 0;       // the real time the game's clock has left out so far
    InputTap* outerTap_ = nullptr; // the tap in place before the hold (a recording's)
};

} // namespace plat
