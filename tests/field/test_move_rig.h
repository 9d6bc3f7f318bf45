// A field program started on the test seams and driven frame by frame through the real main
// loop, either on the built-in data or on a small test map swapped in after start-up.
#pragma once

#include <memory>
#include <utility>

#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "field/Searchers.h"
#include "field/World.h"
#include "platform/testing/TestSeams.h"
#include "tekkel/Opcodes.h"

namespace movetest {

// A map of walkable ground, one layer per entry of `topLayer + 1`, the player at (x, y) on
// layer 0, plane 2, no objects, one empty script slot.
inline field::World groundMap(int maxX, int maxY, int topLayer, int px, int py) {
    field::World w;
    field::initPlayer(w);
    w.resizeMap(maxX, maxY, topLayer);
    for (int l = 0; l <= topLayer; ++l)
        for (int x = 0; x <= maxX; ++x)
            for (int y = 0; y <= maxY; ++y)
                w.cell(l, field::kPlaneGround, x, y).kind = 1;
    w.player.x = px;
    w.player.y = py;
    w.events.resize(1);
    w.eventCount = 0;
    w.machine.scripts.resize(2);
    w.machine.scriptCount = 1;
    return w;
}

struct ObjectDef {
    int layer = 0;
    int plane = field::kPlaneChar;
    int x = 0;
    int y = 0;
    bool onStep = false;
    bool enabled = true;
    bool triggerable = true;
    int stepInterval = 0;
};

// Adds an attached object whose own script is a lone End, named by its cell. Returns its
// number.
inline int addObject(field::World& w, const ObjectDef& def) {
    field::EventObject e;
    e.visible = -1;
    e.chipSheet = 1;
    e.layer = static_cast<std::int16_t>(def.layer);
    e.plane = static_cast<std::int16_t>(def.plane);
    e.x = def.x;
    e.y = def.y;
    e.chipWidth = 64;
    e.chipHeight = 32;
    e.stepInterval = def.stepInterval;
    e.onStep = def.onStep ? -1 : 0;
    e.enabled = def.enabled ? -1 : 0;
    e.triggerable = def.triggerable ? -1 : 0;
    e.ownScript.lastAddress = 0;
    e.ownScript.commands.resize(1);
    e.ownScript.commands[0].code = tekkel::opCode(tekkel::Op::End);
    w.events.push_back(std::move(e));
    w.eventCount = static_cast<std::int32_t>(w.events.size()) - 1;
    w.cell(def.layer, def.plane, def.x, def.y).eventId = static_cast<std::int16_t>(w.eventCount);
    return w.eventCount;
}

// View pixel at the centre of the diamond of the map cell (x, y) on the player's layer.
inline std::pair<int, int> cellCentre(const field::World& w, int x, int y) {
    const int dx = x - w.player.x;
    const int dy = y - w.player.y;
    return {(dx - dy) * 32 + 192, (dx + dy) * 16 + 80};
}

class Rig {
  public:
    plat::testing::TestServices ts;
    field::MainWindow form{ts.services};
    field::World world;
    std::unique_ptr<field::FieldLoop> loop;

    explicit Rig(std::uint64_t seed = 12345) { ts.random.reseed(seed); }

    // The real start-up on the built-in map, scripts and objects.
    void startBuiltIn() {
        field::startUp(form, world, ts.services);
        loop = std::make_unique<field::FieldLoop>(form, world, ts.services);
    }
    // The real start-up, then a test map in place of the built-in world, with its obstacle
    // grid handed to the searchers the way the event builder does.
    void startOn(field::World custom) {
        field::startUp(form, world, ts.services);
        world = std::move(custom);
        field::setGrid(form.searchers, field::obstacleGrid(world));
        loop = std::make_unique<field::FieldLoop>(form, world, ts.services);
    }

    void frames(int n) {
        for (int i = 0; i < n; ++i)
            loop->runOneFrame();
    }

    // Left button pressed over the view at a pixel (the window's own handlers).
    void holdMouseAt(int px, int py) {
        form.gameViewMouseMove(plat::kLeftButton, 0, static_cast<float>(px),
                               static_cast<float>(py));
        form.gameViewMouseDown(plat::kLeftButton, 0, static_cast<float>(px),
                               static_cast<float>(py));
    }
    void holdMouseOnCell(int x, int y) {
        const auto [px, py] = cellCentre(world, x, y);
        holdMouseAt(px, py);
    }
    void releaseMouse() {
        form.gameViewMouseUp(plat::kLeftButton, 0, static_cast<float>(form.mouse.x),
                             static_cast<float>(form.mouse.y));
    }

    // Whether an object fired since the last call; ends its script here so that firings can
    // be counted frame by frame whether or not the interpreter has run it yet.
    bool takeFiring() {
        const bool fired = world.systemScriptActive != 0;
        world.systemScriptActive = 0;
        world.inputLocked = 0;
        return fired;
    }
};

} // namespace movetest
