// Plays the field demo with the test bot in a real window, for watching and screenshots:
//   playbot_show [seed] [speed] [holdSeconds]
// The game runs on the virtual clock, paced to `speed` times real time (0: as fast as it
// goes); message boxes are answered with OK at once and printed. After the closing messages
// the window stays up for `holdSeconds`, still running frames.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "common/Utility.h"
#include "platform/qt/QtWindowSystem.h"
#include "tests/support/playbot.h"

namespace {

// Records and answers the boxes like the test window system, and shows the forms for real.
class ShownWindows : public plat::testing::ScriptedWindowSystem {
  public:
    ShownWindows(plat::qt::QtWindowSystem& qt, double speed) : qt_(qt), speed_(speed) {}
    void doEvents() override {
        ScriptedWindowSystem::doEvents();
        pace();
        qt_.doEvents();
    }
    bool isActive(const plat::Form&) override { return true; }
    plat::MsgResult messageBox(const std::u16string& text, const std::u16string& title,
                               plat::MsgButtons buttons, plat::MsgIcon icon) override {
        std::printf("[box] %s\n", common::toUtf8(text).c_str());
        std::fflush(stdout);
        return ScriptedWindowSystem::messageBox(text, title, buttons, icon);
    }
    void show(plat::Form& form) override {
        ScriptedWindowSystem::show(form);
        qt_.show(form);
    }
    void repaint(plat::PictureBox& box) override { qt_.repaint(box); }
    void sync(plat::Form& form) override { qt_.sync(form); }

  private:
    // Keeps virtual time from running ahead of real time (scaled by the speed).
    void pace() {
        if (speed_ <= 0 || clock == nullptr) return;
        const std::uint32_t now = clock->timeGetTime();
        if (!started_) {
            started_ = true;
            virtualStart_ = now;
            realStart_ = std::chrono::steady_clock::now();
            return;
        }
        const auto due =
            realStart_ + std::chrono::duration<double, std::milli>((now - virtualStart_) / speed_);
        std::this_thread::sleep_until(due);
    }

    plat::qt::QtWindowSystem& qt_;
    double speed_;
    bool started_ = false;
    std::uint32_t virtualStart_ = 0;
    std::chrono::steady_clock::time_point realStart_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("haruvel"));
    const std::uint64_t seed = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 12345;
    const double speed = argc > 2 ? std::atof(argv[2]) : 1.0;
    const int hold = argc > 3 ? std::atoi(argv[3]) : 30;

    plat::qt::QtWindowSystem qt;
    ShownWindows windows(qt, speed);
    playbot::Demo d(seed, &windows);
    d.start();
    const bool ended = d.playAll();
    std::printf("%s after %lld frames; shade level %d, input %s\n",
                ended ? "reached the end" : "stopped early", d.frameCount, d.world.shadeLevel,
                d.world.inputLocked ? "locked" : "free");
    std::fflush(stdout);
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(hold);
    while (std::chrono::steady_clock::now() < until) {
        d.frame();
        if (speed <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }
    return ended ? 0 : 1;
}
