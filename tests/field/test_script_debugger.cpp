// Pause, step and break on the built-in demo, on the virtual clock: the paused loop is driven
// by the window system's passes (ts.windows.onEvents), where a player's clicks would arrive.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "field/ScriptDebugger.h"
#include "field/WorldDigest.h"
#include "platform/Replayer.h"
#include "tekkel/SourceMap.h"
#include "tests/support/playbot.h"

namespace {

using playbot::Demo;

const std::string kScripts = "scenarios/demo/scripts.tkl"; // as the source map names it
constexpr int kFaceLine = 71; // the runaway's `FacePlayerDir -1, R1`, then `AddValue R1, 2`

// Plays the opening scene, the gatekeeper and a catch of the runaway, pausing before the frames
// of `atFrame` and at the breakpoint's stops (which it then leaves) for set lengths of the
// virtual clock, pressing the mouse on the view at each pass (which must not reach the game).
// Keeps each frame's World digest.
struct Pauser {
    Demo& d;
    field::ScriptDebugger debugger{d.sv};
    std::map<std::size_t, std::uint32_t> atFrame; // frame number -> the pause before it, in ms
    std::vector<std::uint32_t> atStops;
    std::vector<std::uint64_t> digests;
    std::size_t pauses = 0;
    bool holding = false;
    std::uint32_t since = 0, length = 0;

    Pauser(Demo& demo, std::map<std::size_t, std::uint32_t> frames,
           std::vector<std::uint32_t> stops)
        : d(demo), atFrame(std::move(frames)), atStops(std::move(stops)) {
        if (!atStops.empty()) debugger.toggleBreakpoint(kScripts, kFaceLine);
        d.aids.debugger = &debugger;
        d.aids.atFrameStart = [this](field::World& w) {
            digests.push_back(field::worldDigest(w));
            if (const auto at = atFrame.find(digests.size()); at != atFrame.end()) {
                length = at->second;
                debugger.pause();
            }
        };
        debugger.onPaused = [this] { held(); };
        d.windows.onEvents = [this] {
            if (!debugger.paused()) return d.deliverPending();
            if (const auto at = d.pixelOf(d.player()))
                plat::deliver(d.form,
                              plat::InputEvent::mouse(plat::InputKind::MouseDown, d.form.gameView,
                                                      plat::kLeftButton, 0, at->x, at->y));
        };
        d.start();
        EXPECT_TRUE(d.openingScene() && d.askGatekeeper() && d.catchRunaway());
    }
    void held() {
        if (!holding) {
            holding = true;
            ++pauses;
            since = d.ts.clock.timeGetTime();
            if (debugger.pausedRun()) {
                length = atStops.front();
                atStops.erase(atStops.begin());
                if (atStops.empty()) debugger.toggleBreakpoint(kScripts, kFaceLine);
            }
        }
        const std::uint32_t spent = d.ts.clock.timeGetTime() - since;
        if (spent < length && length - spent < 40) d.ts.clock.advance(length - spent);
        if (d.ts.clock.timeGetTime() - since < length) return;
        holding = false;
        debugger.resume();
    }
};

TEST(ScriptDebugger, PausesLeaveEveryFrameAsItWasAndTheRecordingUntouched) {
    // The digests of a session recorded (seed 77) into `out` with these pauses.
    const auto recorded = [](std::ostream& out, std::map<std::size_t, std::uint32_t> atFrame,
                             std::vector<std::uint32_t> atStops) {
        const testsupport::RecordTo record{out, {"haruvel", "1.0.0", "", 77}};
        Demo d(0, nullptr, &record);
        const std::size_t pauses = atFrame.size() + atStops.size();
        Pauser p(d, std::move(atFrame), std::move(atStops));
        EXPECT_EQ(p.pauses, pauses);
        d.loop->finish();
        return p.digests;
    };
    std::ostringstream freeFile, pausedFile;
    const std::vector<std::uint64_t> free = recorded(freeFile, {}, {});
    ASSERT_GT(free.size(), 300u);
    EXPECT_EQ(
        recorded(pausedFile, {{1, 0}, {2, 1}, {30, 7000}, {31, 40}, {200, 7000}}, {7000, 1, 0}),
        free);
    EXPECT_EQ(pausedFile.str(), freeFile.str());

    // The replay, paused at frame boundaries for a pass each, ends on the recorded digest.
    plat::RecordingRead read = plat::parseRecording(pausedFile.str(), "paused.rec", "haruvel");
    ASSERT_TRUE(read.recording) << read.error;
    plat::testing::TestServices ts;
    plat::PausableClock gameClock(ts.clock, ts.windows);
    plat::Services base{gameClock, ts.keyboard, ts.windows, ts.process, ts.text,
                        ts.random, nullptr,     nullptr,    &gameClock};
    std::ostringstream out, err;
    plat::Replayer replay(base, std::move(*read.recording), {"paused.rec", &out, &err, false, {}});
    field::MainWindow form(replay.services());
    field::World world;
    field::ScriptDebugger debugger(replay.services());
    int calls = 0;
    debugger.onPaused = [&] {
        if (++calls % 2 == 0) debugger.resume();
    };
    field::startUp(form, world, replay.services());
    field::FieldLoop loop(form, world, replay.services(), {nullptr, {}, &debugger});
    for (std::size_t f = 0; f < free.size(); ++f) {
        if (f == 5 || f == 50) debugger.pause();
        loop.runOneFrame();
    }
    loop.finish();
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(out.str(), "end frame=" + std::to_string(free.size()) +
                             " digest=" + plat::digestText(field::worldDigest(world)) + "\n");
    EXPECT_EQ(calls, 4);
}

// A breakpoint on the runaway's line stops its run there; Step Command moves it on by one
// command (R1 with it), Step Frame ends the frame and stops at the next boundary.
TEST(ScriptDebugger, BreakpointAndStepsOnTheRunawaysScript) {
    Demo d;
    field::ScriptDebugger debugger(d.sv);
    d.aids.debugger = &debugger;
    d.start();
    const auto found = field::commandBreakpoint(d.world.machine, "scripts.tkl", 63); // comments
    EXPECT_EQ(found ? found->file + ":" + std::to_string(found->line) : "", kScripts + ":67");
    ASSERT_TRUE(d.openingScene());
    debugger.toggleBreakpoint(kScripts, kFaceLine);
    const tekkel::Run& run = d.obj(playbot::kRunaway).run;
    std::vector<std::string> stops; // the run selected, the runaway's line, its R1, the frame
    int passes = 0;
    d.windows.onEvents = [&] { // three passes at each stop, then the next step
        if (!debugger.paused() || ++passes < 3) return;
        passes = 0;
        const auto& s = d.world.machine.scripts[static_cast<std::size_t>(run.scriptNumber)];
        const tekkel::SourcePlace* at = tekkel::sourceAt(s, run.address);
        stops.push_back((debugger.pausedRun() ? std::to_string(*debugger.pausedRun()) : "-") + " " +
                        std::to_string(at ? at->line : 0) + " " + std::to_string(run.R1.i) + " " +
                        std::to_string(d.loop->framesRun()));
        if (stops.size() <= 2) return debugger.stepCommand(playbot::kRunaway);
        if (stops.size() == 3) return debugger.stepFrame();
        if (stops.size() == 5) debugger.toggleBreakpoint(kScripts, kFaceLine);
        debugger.resume();
    };
    d.frames(20);
    // Stopped in frame 202, stepped twice (R1 written by FacePlayerDir, then + 2), the frame
    // ended at the boundary of 203 (no run selected), Continue to the next stop.
    EXPECT_EQ(stops, (std::vector<std::string>{"11 71 1 202", "11 72 3 202", "11 73 5 202",
                                               "- 132 -1 203", "11 71 1 206"}));
}

} // namespace
