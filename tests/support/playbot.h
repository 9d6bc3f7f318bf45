// The field program started on the test seams with the built-in demo, and a small bot that
// plays it. The bot reads the World to plan (routes, where the runaway is heading) but acts
// solely as a player would: by holding and releasing keys between frames, and by mouse events
// over the view, which reach the window through plat::deliver at its next message pass (where
// a real window's events arrive). The session can be recorded (RecordTo).
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <initializer_list>
#include <memory>
#include <optional>
#include <queue>
#include <string>
#include <vector>

#include "field/Directions.h"
#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "field/PlayerMovement.h"
#include "field/ViewGeometry.h"
#include "field/World.h"
#include "platform/InputEvent.h"
#include "platform/PausableClock.h"
#include "platform/testing/TestSeams.h"
#include "tests/support/RecordTo.h"

namespace playbot {

constexpr int kWanderer = 9;
constexpr int kOwner = 10; // the goal
constexpr int kRunaway = 11;
constexpr int kGatekeeper = 2;

struct Cell {
    int x = 0, y = 0;
    friend bool operator==(const Cell&, const Cell&) = default;
};

inline int chebyshev(Cell a, Cell b) {
    return std::max(std::abs(a.x - b.x), std::abs(a.y - b.y));
}

struct Demo {
    plat::testing::TestServices ts;
    // The window system the program talks to: the test one, or one that also shows the
    // window for real (it must still record and answer the boxes).
    plat::testing::ScriptedWindowSystem& windows;
    // The game's clock, which a debugger's pause holds while the virtual clock runs on.
    plat::PausableClock gameClock{ts.clock, windows};
    plat::Services base;
    std::unique_ptr<plat::Recorder> recorder; // while the session is recorded
    plat::Services& sv;                       // what the program is given
    field::MainWindow form{sv};
    field::World world;
    std::unique_ptr<field::FieldLoop> loop;
    field::PlayAids aids; // what start() hands the loop
    long long frameCount = 0;
    long long frameLimit = 60000;
    // When set, the wall time of each frame's work is appended here, in nanoseconds. The
    // frame waits cost nothing on the virtual clock, so this is the frame without its wait.
    std::vector<std::int64_t>* frameNanos = nullptr;

    // Window events waiting for the window's next message pass.
    std::deque<plat::InputEvent> pending;

    // A recorded session starts the random source from the header's seed instead.
    explicit Demo(std::uint64_t seed = 12345, plat::testing::ScriptedWindowSystem* shown = nullptr,
                  const testsupport::RecordTo* record = nullptr)
        : windows(shown ? *shown : ts.windows), base{gameClock,  ts.keyboard, windows,
                                                     ts.process, ts.text,     ts.random,
                                                     nullptr,    nullptr,     &gameClock},
          sv(testsupport::recordedServices(base, record, recorder)) {
        if (!record) ts.random.reseed(seed);
        windows.defaultAnswer = plat::MsgResult::Ok;
        windows.clock = &ts.clock;
        windows.onEvents = [this] { deliverPending(); };
    }
    // Hands the waiting events to the window; a test that sets its own onEvents calls it.
    void deliverPending() {
        while (!pending.empty()) {
            const plat::InputEvent e = pending.front();
            pending.pop_front();
            plat::deliver(form, e, &sv.windows);
        }
    }
    void start() {
        field::startUp(form, world, sv);
        loop = std::make_unique<field::FieldLoop>(form, world, sv, aids);
    }

    bool frame() {
        if (frameCount >= frameLimit) return false;
        ++frameCount;
        if (!frameNanos) return loop->runOneFrame();
        const auto t0 = std::chrono::steady_clock::now();
        const bool running = loop->runOneFrame();
        const auto t1 = std::chrono::steady_clock::now();
        frameNanos->push_back(
            std::chrono::duration_cast<std::chrono::nanoseconds>(t1 - t0).count());
        return running;
    }
    void frames(int n) {
        for (int i = 0; i < n; ++i)
            frame();
    }

    // ---- what the player sees ----
    std::vector<std::u16string> messages() const {
        std::vector<std::u16string> out;
        for (const auto& b : windows.boxes)
            out.push_back(b.text);
        return out;
    }
    // Story flag k (1 quest state, 2 treasure taken): the allocated variable k of map 1.
    int flag(int k) const {
        if (world.machine.allocTable.size() < 2) return -1;
        const auto& m = world.machine.allocTable[1];
        if (k > m.total) return -1;
        const int n = m.entries[static_cast<std::size_t>(k)];
        if (n < 1 || static_cast<std::size_t>(n) >= world.machine.sharedValues.size()) return -1;
        const auto& v = world.machine.sharedValues[static_cast<std::size_t>(n)];
        return v.kind == tekkel::ValueKind::Int16 || v.kind == tekkel::ValueKind::Int32 ? v.i : -1;
    }
    void setFlag(int k, int value) {
        const int n = world.machine.allocTable[1].entries[static_cast<std::size_t>(k)];
        world.machine.sharedValues[static_cast<std::size_t>(n)] =
            tekkel::Value::int16(static_cast<std::int16_t>(value));
    }
    field::EventObject& obj(int n) { return world.events[static_cast<std::size_t>(n)]; }
    const field::EventObject& obj(int n) const { return world.events[static_cast<std::size_t>(n)]; }
    Cell player() const { return {world.player.x, world.player.y}; }
    bool idle() const {
        return world.systemScriptActive == 0 && world.inputLocked == 0 && world.player.moving == 0;
    }

    // ---- input ----
    // Holds the keys of one step (a diagonal holds two) for one frame, then lets the step run
    // out. Answers whether the player got to start the step.
    bool step(int dx, int dy) {
        std::vector<int> keys;
        if (dy < 0) keys.push_back(plat::vk::Up);
        if (dy > 0) keys.push_back(plat::vk::Down);
        if (dx < 0) keys.push_back(plat::vk::Left);
        if (dx > 0) keys.push_back(plat::vk::Right);
        for (int k : keys)
            ts.keyboard.press(k);
        frame();
        for (int k : keys)
            ts.keyboard.release(k);
        const bool started = world.player.moving != 0 || world.systemScriptActive != 0;
        for (int i = 0; i < 12 && world.player.moving != 0; ++i)
            frame();
        return started;
    }
    // A view pixel over the middle of map cell `c` of the player's layer, if the view shows it.
    std::optional<field::Point> pixelOf(Cell c) const {
        long long sx = 0, sy = 0, n = 0;
        for (int y = 0; y < form.gameView.height; y += 2) {
            for (int x = 0; x < form.gameView.width; x += 2) {
                const auto at = field::pixelToMapCell(world, field::makePoint(x, y));
                if (at.x != c.x || at.y != c.y) continue;
                sx += x;
                sy += y;
                ++n;
            }
        }
        if (n == 0) return std::nullopt;
        return field::makePoint(static_cast<int>(sx / n), static_cast<int>(sy / n));
    }
    void mouse(plat::InputKind kind, field::Point at) {
        pending.push_back(plat::InputEvent::mouse(kind, form.gameView, plat::kLeftButton, 0,
                                                  static_cast<float>(at.x),
                                                  static_cast<float>(at.y)));
    }
    // Holds the left button over cell `c` for up to `limit` frames while the player walks
    // towards it (the mouse walk picks among the routes at random), then lets go and lets the
    // last step run out. Answers whether the player got there.
    bool mouseWalkTo(Cell c, int limit = 200) {
        const auto at = pixelOf(c);
        if (!at) return false;
        mouse(plat::InputKind::MouseMove, *at);
        mouse(plat::InputKind::MouseDown, *at);
        for (int i = 0; i < limit && player() != c; ++i)
            frame();
        mouse(plat::InputKind::MouseUp, *at);
        frame();
        for (int i = 0; i < 12 && world.player.moving != 0; ++i)
            frame();
        return player() == c;
    }
    // Clicks the player's own cell, which examines it.
    void examineWithMouse() {
        const auto at = pixelOf(player());
        if (!at) return;
        mouse(plat::InputKind::MouseMove, *at);
        mouse(plat::InputKind::MouseDown, *at);
        frames(2);
        mouse(plat::InputKind::MouseUp, *at);
        frame();
    }
    // Closes the window as a player does and lets the loop end; false when it goes on.
    bool closeWindow(int limit = 50) {
        pending.push_back(plat::InputEvent::close());
        for (int i = 0; i < limit; ++i) {
            frame();
            if (!loop->running()) {
                loop->finish();
                return true;
            }
        }
        return false;
    }

    // Holds Enter until the action fires (its fourth polled frame).
    void examine() {
        ts.keyboard.press(plat::vk::Enter);
        frames(4);
        ts.keyboard.release(plat::vk::Enter);
    }
    // Lets the running system script finish; false when it is still running after `limit`.
    bool settle(int limit = 2000) {
        for (int i = 0; i < limit && !idle(); ++i)
            frame();
        return idle();
    }

    // ---- planning ----
    bool enterable(int x, int y) const {
        return field::isEnterable(world, world.player.layer, world.player.plane, x, y);
    }
    // An enabled object that fires when stepped on lies under this cell of the player's layer.
    bool fires(Cell c) const {
        for (int p = 0; p <= world.player.plane; ++p) {
            const int id = world.cell(world.player.layer, p, c.x, c.y).eventId;
            if (id == 0) continue;
            const auto& e = obj(id);
            if (e.onStep && e.enabled && e.triggerable && !e.detached) return true;
        }
        return false;
    }
    // Whether some moving object could be standing on `c` when a step started now ends.
    bool contested(Cell c, bool avoidRunaway) const {
        for (int n = 1; n <= world.eventCount; ++n) {
            const auto& e = obj(n);
            if (e.layer != world.player.layer || e.plane != world.player.plane) continue;
            if (n == kRunaway && avoidRunaway && chebyshev({e.x, e.y}, c) <= 2) return true;
            if (e.moving && Cell{e.x + e.stepX, e.y + e.stepY} == c) return true;
        }
        return false;
    }
    // Whether an object that walks by itself stands on one of the cells or is stepping onto it.
    bool wandererOn(std::initializer_list<Cell> cells) const {
        for (int n = 1; n <= world.eventCount; ++n) {
            const auto& e = obj(n);
            if (e.stepInterval == 0 || e.layer != world.player.layer) continue;
            for (Cell c : cells) {
                if (Cell{e.x, e.y} == c || (e.moving && Cell{e.x + e.stepX, e.y + e.stepY} == c))
                    return true;
            }
        }
        return false;
    }
    // The first step of a shortest route to `goal` over cells the player may enter (the goal
    // itself may be an object's cell, for pushing against it), or nothing.
    std::optional<Cell> firstStep(Cell goal, bool diagonals, bool goalMayFire) const {
        const int w = world.maxX + 1, h = world.maxY + 1;
        std::vector<int> from(static_cast<std::size_t>(w * h), -1);
        const Cell start = player();
        std::queue<Cell> q;
        q.push(start);
        from[static_cast<std::size_t>(start.x * h + start.y)] = start.x * h + start.y;
        while (!q.empty()) {
            const Cell c = q.front();
            q.pop();
            if (c == goal) break;
            for (int d = 0; d < (diagonals ? 8 : 4); ++d) {
                const field::Step s = field::kDirectionSteps[static_cast<std::size_t>(d)];
                const Cell n{c.x + s.dx, c.y + s.dy};
                if (n.x < 0 || n.y < 0 || n.x >= w || n.y >= h) continue;
                auto& f = from[static_cast<std::size_t>(n.x * h + n.y)];
                if (f >= 0) continue;
                const bool isGoal = n == goal;
                if (!isGoal && (!enterable(n.x, n.y) || fires(n))) continue;
                if (isGoal && !goalMayFire && fires(n)) continue;
                f = c.x * h + c.y;
                q.push(n);
            }
        }
        int at = goal.x * h + goal.y;
        if (goal.x < 0 || goal.y < 0 || goal.x >= w || goal.y >= h ||
            from[static_cast<std::size_t>(at)] < 0 || goal == start)
            return std::nullopt;
        while (from[static_cast<std::size_t>(at)] != start.x * h + start.y)
            at = from[static_cast<std::size_t>(at)];
        return Cell{at / h, at % h};
    }

    // Walks to `goal` on the player's layer, waiting whenever the next cell might be taken by
    // a moving object before the step ends. The goal may fire an event (ladders, the heap).
    bool walkTo(Cell goal, bool goalMayFire = true, int limit = 3000) {
        const long long until = frameCount + limit;
        while (player() != goal && frameCount < until) {
            if (!idle()) {
                frame();
                continue;
            }
            const auto next = firstStep(goal, false, goalMayFire);
            if (!next || contested(*next, true) || !enterable(next->x, next->y)) {
                frame();
                continue;
            }
            step(next->x - player().x, next->y - player().y);
        }
        return player() == goal;
    }

    // Pushes against object n from an orthogonal neighbour, once it stands still long enough
    // for the push to meet it. Answers whether it fired.
    bool talkTo(int n) {
        const long long until = frameCount + 4000;
        while (frameCount < until) {
            if (!idle()) {
                frame();
                continue;
            }
            const auto& e = obj(n);
            const Cell at{e.x, e.y};
            const Cell p = player();
            if (std::abs(at.x - p.x) + std::abs(at.y - p.y) == 1) {
                // Its step would end before the push does: wait for it.
                if (e.moving && e.stepInterval + 2 - e.stepFrames <= 7) {
                    frame();
                    continue;
                }
                step(at.x - p.x, at.y - p.y);
                if (world.systemScriptActive) return true;
                continue;
            }
            // Head for the free orthogonal neighbour closest by route.
            std::optional<Cell> best;
            for (Cell c : {Cell{at.x - 1, at.y}, Cell{at.x + 1, at.y}, Cell{at.x, at.y - 1},
                           Cell{at.x, at.y + 1}}) {
                if (!enterable(c.x, c.y) || fires(c) || contested(c, n != kRunaway)) continue;
                if (!best || chebyshev(c, p) < chebyshev(*best, p)) best = c;
            }
            const auto next = best ? firstStep(*best, false, false) : std::nullopt;
            if (!next || contested(*next, true)) {
                frame();
                continue;
            }
            step(next->x - p.x, next->y - p.y);
        }
        return false;
    }

    // Chases the runaway until it has been caught once more (its counter moved on). The push
    // starts when the runaway has just set out for a cell next to the player: it gets there
    // two frames later and leaves it again only after the player's six-frame step has ended.
    bool catchRunaway() {
        const int before = flag(1);
        const long long until = frameCount + 20000;
        while (frameCount < until) {
            if (world.systemScriptActive) {
                settle();
                if (flag(1) != before) return true;
                continue;
            }
            if (!idle()) {
                frame();
                continue;
            }
            const auto& r = obj(kRunaway);
            const Cell p = player();
            if (r.moving && r.stepFrames == 1) {
                // Where it will stand when a step started now ends: its target, unless that
                // step is going to be refused.
                Cell t{r.x + r.stepX, r.y + r.stepY};
                if (!enterable(t.x, t.y) || t == p) t = Cell{r.x, r.y};
                if (chebyshev(t, p) == 1 && !contested(t, false) && !fires(t)) {
                    step(t.x - p.x, t.y - p.y);
                    continue;
                }
            }
            const Cell at{r.x, r.y};
            if (chebyshev(at, p) <= 1) {
                frame();
                continue;
            }
            const auto next = firstStep(at, true, false);
            if (!next || *next == at || contested(*next, false) || fires(*next)) {
                frame();
                continue;
            }
            step(next->x - p.x, next->y - p.y);
        }
        return false;
    }

    // ---- the demo's stages, in order; each answers whether it got through ----
    bool openingScene() { return settle(1000); }
    bool askGatekeeper() { return talkTo(kGatekeeper) && settle(); }
    // The first ladder's foot (5, 2) ends a dead-end corridor entered from (5, 4) through
    // (5, 3). A wanderer inside it can never get out past the player (an object does not step
    // onto the player's column and row), so the bot goes in only while no wanderer is in it or
    // at its mouth, and otherwise waits at (5, 5), beside the mouth, for it to come out.
    bool climbFirstLadder() {
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (!walkTo({5, 5}, false)) return false;
            for (int i = 0; i < 2000 && wandererOn({{5, 2}, {5, 3}, {5, 4}}); ++i)
                frame();
            if (!walkTo({5, 3}, false, 200) || wandererOn({{5, 2}})) continue;
            return walkTo({5, 2}) && settle();
        }
        return false;
    }
    bool climbToTreasure() {
        // The first ladder; then the island's ladder and the top layer's far end, which leads
        // down beside the treasure.
        if (!climbFirstLadder()) return false;
        if (!walkTo({3, 1}) || !settle()) return false;
        if (!walkTo({0, 3}) || !settle()) return false;
        return walkTo({0, 4});
    }
    bool takeTreasure(bool withMouse = false) {
        if (withMouse)
            examineWithMouse();
        else
            examine();
        return settle();
    }
    bool climbDown() { return walkTo({1, 4}) && settle(); }
    // Hands the treasure over; the closing script then holds the player for good.
    bool handOver() {
        if (!talkTo(kOwner)) return false;
        frames(100);
        return true;
    }
    // The whole demo; with the mouse, the player also takes a walk by mouse after the opening
    // scene and takes the treasure with a click.
    bool playAll(bool withMouse = false) {
        if (!openingScene()) return false;
        if (withMouse && !mouseWalkTo({3, 4})) return false;
        if (!askGatekeeper()) return false;
        for (int i = 0; i < 3; ++i)
            if (!catchRunaway()) return false;
        return askGatekeeper() && climbToTreasure() && takeTreasure(withMouse) && climbDown() &&
               handOver();
    }
};

} // namespace playbot
