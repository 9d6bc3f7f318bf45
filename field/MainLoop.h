// Start-up, the frame loop and shutdown of the field program.
//
// Driving the program from a test (no display, virtual time):
//
//     plat::testing::TestServices ts;          // virtual clock, scripted keys and boxes
//     field::MainWindow form(ts.services);
//     field::World world;                      // zero-filled
//     field::startUp(form, world, ts.services);   // built-in demo .. layout .. show
//     field::FieldLoop loop(form, world, ts.services);
//     loop.runOneFrame();                      // one whole frame, its waits included
//     ts.keyboard.press(plat::vk::Right);      // input between frames...
//     ts.windows.onEvents = [&] { ... };       // ...or at the message-processing points
//     loop.runFrames(50);
//     loop.finish();                           // release, unload, end the timer period
//
// Each frame lasts 40 ms of the virtual clock (the waits advance it), so 25 frames are one
// second of game time. A built-in demo that does not read ends the program through
// IProcess::exitNow, which TempProcess turns into a plat::testing::ProcessExit exception.
// runBuiltInDemo runs all of it in one call, as the real program does.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "field/MainWindow.h"
#include "field/PlayerMovement.h"
#include "field/World.h"
#include "platform/Seams.h"

namespace tekkel {
class Trace; // tekkel/Trace.h
}

namespace field {

class ScriptDebugger; // field/ScriptDebugger.h

constexpr std::uint32_t kFramePeriodMs = 40;
// How long one pass of the inactive wait may block waiting for window events; activation
// itself is a window event and ends the pass early.
constexpr std::uint32_t kInactiveWaitMs = 40;

// Frames-per-second measurement of the view.
struct FrameCounter {
    std::int32_t shownRate = 0;
    std::int32_t framesThisSecond = 0;
    std::uint32_t secondStart = 0;
};
// Counts one frame at tick `now`: a second closes once more than 1000 ms have passed.
void countFrame(FrameCounter& fc, std::uint32_t now);

// The load handler up to showing the window, on a World read beforehand by the scenario reader
// (ScenarioReader.h): flags, layout, shade masks, searchers, the World copied in, its objects
// handing the searchers their grid, show.
void startUp(field::MainWindow& form, field::World& world, plat::Services& sv,
             const field::World& scenario);
// The same on the built-in demo, read from its embedded folder like any other; a demo that
// does not read ends the program at once with the build-failure code.
void startUp(field::MainWindow& form, field::World& world, plat::Services& sv);

// What a play session may add to the frame loop; none of it is there by default, and a loop
// without it pays a null check a frame.
struct PlayAids {
    // Told every command the frame's runs execute (haruvel --trace).
    tekkel::Trace* trace = nullptr;
    // Called at each frame's start, before its scripts run (haruvel --watch).
    std::function<void(World&)> atFrameStart;
    // Pauses the game at frame boundaries and before the runs' commands (breakpoints, steps);
    // attached to the loop's World while the loop lasts.
    ScriptDebugger* debugger = nullptr;
};

// The frame loop, one frame at a time. Construction is the loop start (timer period, colour
// key, seed, work surfaces); finish() is the loop end (release, unload, timer period back).
class FieldLoop {
  public:
    FieldLoop(field::MainWindow& form, field::World& world, plat::Services& sv, PlayAids aids = {});
    ~FieldLoop();
    FieldLoop(const FieldLoop&) = delete;
    FieldLoop& operator=(const FieldLoop&) = delete;

    // Runs one frame with its waits. False when the loop has ended (no frame is run when the
    // close flags are already set on entry). A recorded or replayed session is told first.
    bool runOneFrame();
    // Runs up to n frames; returns how many ran.
    int runFrames(int n);
    // True while neither close value is set.
    bool running() const;
    // Loop end: close state 2, release the graphics, unload the window, end the timer period.
    // A recorded or replayed session learns first that the game is over. Runs once; later
    // calls do nothing.
    void finish();

    const FrameCounter& frameCounter() const { return fps_; }
    std::int64_t framesRun() const { return frames_; }
    plat::Color colourKey() const { return key_; }
    MoveContext& moveContext() { return move_; }

  private:
    void runScripts();
    void frameSteps();
    // Puts the view's picture and the rate text into the flip copy; true when a pixel changed.
    bool present();
    // The part of the flip copy the primary's centre covers.
    int coveredWidth() const;
    int coveredHeight() const;
    void inactiveWait();
    void frameWait();

    field::MainWindow& form_;
    field::World& world_;
    plat::Services& sv_;
    MoveContext move_;
    int surfaceWidth_ = 0;
    int surfaceHeight_ = 0;
    plat::Color key_ = 0;
    std::uint32_t frameStart_ = 0;
    FrameCounter fps_;
    plat::Surface textBand_; // the view's top rows with the rate text, before they are shown
    // What the flip copy's rows below the text band were last made from, and its stamp after:
    // while all of it holds, those rows already show the view.
    struct ShownView {
        std::uint64_t primary = 0, flip = 0;
        plat::Color back = 0;
        int bandRows = -1;
        bool operator==(const ShownView&) const = default;
    } shownView_;
    // The flip copy's and the zoom's stamps as this loop last left them.
    std::uint64_t flipStamp_ = 0, zoomStamp_ = 0;
    std::int64_t frames_ = 0;
    bool finished_ = false;
    // The World's digest, for a recorded or replayed session.
    plat::StateDigest digest_;
    PlayAids aids_;
};

// Loop start, frames until a close request, loop end.
void runMainLoop(field::MainWindow& form, field::World& world, plat::Services& sv,
                 PlayAids aids = {});

// The whole program: start-up, the main loop, and the World destroyed when it returns.
void runBuiltInDemo(field::MainWindow& form, plat::Services& sv, PlayAids aids = {});
// The whole program on the scenario folder `folder`. A folder with errors shows them all in
// one message box with the program's title and ends the program with code 1 before any frame.
void runScenario(field::MainWindow& form, plat::Services& sv, const std::string& folder,
                 PlayAids aids = {});

} // namespace field
