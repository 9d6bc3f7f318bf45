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

// The runaway's script 3: `FacePlayerDir -1, R1` then `AddValue R1, 2`.
constexpr int kFaceLine = 71;
const std::string kScripts = "scenarios/demo/scripts.tkl"; // as the source map names it

// Pauses a game at frame boundaries and at the debugger's own stops for set lengths of the
// virtual clock, checking that the game's clock stands still meanwhile and that nothing put
// in while paused reaches the game; collects the World's digest at each frame's start.
struct Pauser {
    Demo& d;
    field::ScriptDebugger debugger{d.sv};
    std::map<std::size_t, std::uint32_t> atFrame; // frame number -> the pause before it, in ms
    std::vector<std::uint32_t> atStops;           // the breakpoint's stops, in order; then off
    std::vector<std::uint64_t> digests;
    int pauses = 0;
    bool holding = false;
    std::uint32_t since = 0, length = 0, gameTick = 0;

    explicit Pauser(Demo& demo) : d(demo) {
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
            // A walk asked for with the mouse and a key held for a pass: neither may count.
            if (const auto at = d.pixelOf(d.player())) {
                plat::deliver(d.form,
                              plat::InputEvent::mouse(plat::InputKind::MouseDown, d.form.gameView,
                                                      plat::kLeftButton, 0, at->x, at->y));
            }
            if (d.ts.keyboard.isHeld(plat::vk::Left)) return; // the bot's step
            d.ts.keyboard.press(plat::vk::Left);
            d.ts.keyboard.release(plat::vk::Left);
        };
    }
    void held() {
        if (!holding) {
            holding = true;
            ++pauses;
            since = d.ts.clock.timeGetTime();
            gameTick = d.gameClock.timeGetTime();
            if (debugger.pausedRun()) takeStop();
        }
        EXPECT_EQ(d.gameClock.timeGetTime(), gameTick);
        const std::uint32_t spent = d.ts.clock.timeGetTime() - since;
        if (spent < length && length - spent < 40) d.ts.clock.advance(length - spent);
        if (d.ts.clock.timeGetTime() - since < length) return;
        holding = false;
        debugger.resume();
    }
    void takeStop() {
        length = atStops.empty() ? 0 : atStops.front();
        if (!atStops.empty()) atStops.erase(atStops.begin());
        if (atStops.empty() && debugger.hasBreakpoint(kScripts, kFaceLine))
            debugger.toggleBreakpoint(kScripts, kFaceLine);
    }
};

// The opening scene, the gatekeeper and one catch of the runaway, as the bot plays them.
void play(Demo& d) {
    ASSERT_TRUE(d.openingScene());
    ASSERT_TRUE(d.askGatekeeper());
    ASSERT_TRUE(d.catchRunaway());
}

std::vector<std::uint64_t> digestsOf(const std::map<std::size_t, std::uint32_t>& atFrame,
                                     std::vector<std::uint32_t> atStops, int* pauses = nullptr) {
    Demo d(2024);
    Pauser p(d);
    p.atFrame = atFrame;
    p.atStops = std::move(atStops);
    if (!p.atStops.empty()) p.debugger.toggleBreakpoint(kScripts, kFaceLine);
    d.start();
    play(d);
    if (pauses) *pauses = p.pauses;
    return p.digests;
}

TEST(ScriptDebugger, APauseOfAnyLengthLeavesEveryFrameAsItWas) {
    const std::vector<std::uint64_t> free = digestsOf({}, {});
    ASSERT_GT(free.size(), 300u);
    int pauses = 0;
    const std::vector<std::uint64_t> paused =
        digestsOf({{1, 0}, {2, 1}, {30, 7000}, {31, 40}, {200, 7000}}, {7000, 1, 0}, &pauses);
    EXPECT_EQ(pauses, 8);
    EXPECT_EQ(paused, free);
}

// A breakpoint on the runaway's line stops its run there; Step Command moves it on by one
// command (and a register with it), Step Frame ends the frame and stops at the next.
TEST(ScriptDebugger, BreakpointAndStepsOnTheRunawaysScript) {
    Demo d;
    field::ScriptDebugger debugger(d.sv);
    d.aids.debugger = &debugger;
    d.start();
    const auto at = [&](const std::string& file, int line) {
        const auto b = field::commandBreakpoint(d.world.machine, file, line);
        return b ? b->file + ":" + std::to_string(b->line) : "none";
    };
    EXPECT_EQ(at("scripts.tkl", 63), kScripts + ":67"); // comments, then the script's head
    EXPECT_EQ(at(kScripts, 71), kScripts + ":71");
    EXPECT_EQ(at("scripts.tkl", 100000), "none");
    EXPECT_EQ(at("ts.tkl", 71), "none");
    ASSERT_TRUE(d.openingScene());
    debugger.toggleBreakpoint(kScripts, kFaceLine);

    const tekkel::Run& run = d.obj(playbot::kRunaway).run;
    const auto line = [&] {
        const tekkel::Script& s =
            d.world.machine.scripts[static_cast<std::size_t>(run.scriptNumber)];
        const tekkel::SourcePlace* place = tekkel::sourceAt(s, run.address);
        return place ? place->line : 0;
    };
    struct Stop {
        std::optional<field::RunId> run;
        int line;
        tekkel::Value r1;
        long long frame;
    };
    std::vector<Stop> stops;
    int passes = 0;
    std::uint32_t gameTick = 0;
    debugger.onPaused = [&] {
        if (passes++ == 0) gameTick = d.gameClock.timeGetTime();
        EXPECT_EQ(d.gameClock.timeGetTime(), gameTick);
    };
    // Three passes at each stop, then the next of Step Command, Step Command, Step Frame,
    // Continue.
    d.windows.onEvents = [&] {
        if (!debugger.paused() || passes % 4 != 3) return;
        stops.push_back({debugger.pausedRun(), line(), run.R1, d.loop->framesRun()});
        passes = 0;
        if (stops.size() <= 2) return debugger.stepCommand(playbot::kRunaway);
        if (stops.size() == 3) return debugger.stepFrame();
        debugger.toggleBreakpoint(kScripts, kFaceLine);
        debugger.resume();
    };
    const std::uint32_t before = d.ts.clock.timeGetTime();
    d.frames(20);
    ASSERT_EQ(stops.size(), 4u);
    EXPECT_GE(d.ts.clock.timeGetTime() - before, 20 * field::kFramePeriodMs + 4 * 3 * 40);
    EXPECT_EQ(stops[0].run, playbot::kRunaway);
    EXPECT_EQ(stops[0].line, kFaceLine);
    EXPECT_EQ(stops[1].run, playbot::kRunaway);
    EXPECT_EQ(stops[1].line, kFaceLine + 1);
    EXPECT_EQ(stops[2].line, kFaceLine + 2);
    EXPECT_EQ(stops[2].r1.i, stops[1].r1.i + 2); // AddValue R1, 2
    EXPECT_EQ(stops[2].frame, stops[0].frame);
    EXPECT_EQ(stops[3].run, std::nullopt); // at the next frame boundary
    EXPECT_EQ(stops[3].frame, stops[0].frame + 1);
    EXPECT_FALSE(debugger.paused());
}

// A recording made with pauses replays to the same digests and end, and pauses the same way.
TEST(ScriptDebugger, ARecordingWithPausesReplaysAndTheReplayPauses) {
    std::ostringstream file;
    const testsupport::RecordTo record{file, {"haruvel", "1.0.0", "", 77}};
    long long frames = 0;
    {
        Demo d(0, nullptr, &record);
        Pauser p(d);
        p.atFrame = {{3, 7000}, {90, 1}};
        p.atStops = {7000, 0};
        p.debugger.toggleBreakpoint(kScripts, kFaceLine);
        d.start();
        play(d);
        frames = d.loop->framesRun();
        d.loop->finish();
        EXPECT_EQ(p.pauses, 4);
    }
    plat::RecordingRead read = plat::parseRecording(file.str(), "paused.rec", "haruvel");
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
    debugger.toggleBreakpoint(kScripts, kFaceLine);
    int pauses = 0, breaks = 0;
    bool holding = false;
    debugger.onPaused = [&] { // each pause lasts one pass; the breakpoint stops three times
        holding = !holding;
        if (!holding) return debugger.resume();
        ++pauses;
        if (debugger.pausedRun() && ++breaks == 3) debugger.toggleBreakpoint(kScripts, kFaceLine);
    };
    try {
        field::startUp(form, world, replay.services());
        field::FieldLoop loop(form, world, replay.services(), {nullptr, {}, &debugger});
        for (long long f = 0; f < frames; ++f) {
            if (f == 5 || f == 50) debugger.pause();
            loop.runOneFrame();
        }
        loop.finish();
    } catch (const plat::testing::ProcessExit& e) {
        ADD_FAILURE() << "exit " << e.code << ": " << err.str();
    }
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(out.str().rfind("end frame=" + std::to_string(frames) + " digest=", 0), 0u);
    EXPECT_EQ(pauses, 5);
    EXPECT_EQ(breaks, 3);
}

} // namespace
