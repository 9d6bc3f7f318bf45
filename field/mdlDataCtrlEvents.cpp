// The demo's sixteen event objects and the opening scene; their own scripts are in the built-in
// scripts text.
#include "field/mdlDataCtrl.h"

namespace mdlDataCtrl {

namespace {

using field::EventObject;
using field::World;

constexpr std::int32_t kEventCount = 16;
constexpr std::int32_t kOpeningScript = 2;

// The fields every object sets; the rest stay zero.
struct Placement {
    std::int16_t layer, plane;
    std::int32_t x, y;
};

void place(EventObject& e, Placement p) {
    e.layer = p.layer;
    e.plane = p.plane;
    e.x = p.x;
    e.y = p.y;
}

void looks(EventObject& e, bool visible, std::int16_t sheet, std::int32_t sheetX,
           std::int32_t sheetY, std::int32_t width, std::int32_t height) {
    e.visible = visible ? -1 : 0;
    e.chipSheet = sheet;
    e.sheetX = sheetX;
    e.sheetY = sheetY;
    e.chipWidth = width;
    e.chipHeight = height;
}

void behaves(EventObject& e, bool enabled, bool onStep, bool triggerable) {
    e.enabled = enabled ? -1 : 0;
    e.onStep = onStep ? -1 : 0;
    e.triggerable = triggerable ? -1 : 0;
}

void fillObjects(World& world) {
    auto& ev = world.events;

    ev[1] = EventObject{}; // a heap on the ground that grumbles when stepped on
    place(ev[1], {0, 1, 3, 4});
    looks(ev[1], true, 1, 0, 0, 64, 32);
    behaves(ev[1], true, true, true);

    ev[2] = EventObject{}; // the gatekeeper
    place(ev[2], {0, 2, 6, 4});
    looks(ev[2], true, 1, 64, 0, 64, 64);
    behaves(ev[2], true, false, true);

    ev[3] = EventObject{}; // an empty slot, on no cell

    ev[4] = EventObject{}; // a cloud, scenery only
    place(ev[4], {0, 3, 7, 2});
    looks(ev[4], true, 1, 128, 0, 64, 32);
    behaves(ev[4], false, false, false);

    ev[5] = EventObject{}; // the tall ladder up to the floating island, opened by the gatekeeper
    place(ev[5], {0, 1, 5, 2});
    looks(ev[5], false, 1, 192, 0, 64, 64);
    behaves(ev[5], false, true, true);

    ev[6] = ev[5]; // its top end
    place(ev[6], {1, 0, 5, 2});
    looks(ev[6], false, 1, 128, 32, 64, 32);

    ev[7] = EventObject{}; // the sign
    place(ev[7], {0, 1, 2, 3});
    looks(ev[7], true, 1, 0, 32, 64, 32);
    behaves(ev[7], true, false, true);

    ev[8] = ev[7]; // the treasure on the island
    place(ev[8], {1, 1, 0, 4});

    ev[9] = EventObject{}; // a wanderer with a hint
    place(ev[9], {0, 2, 0, 4});
    looks(ev[9], true, 0, 192, 0, 64, 64);
    ev[9].facing = 1;
    ev[9].stepDir = 1;
    ev[9].stepInterval = 20;
    behaves(ev[9], true, false, true);
    ev[9].autoScript = 1;

    ev[10] = ev[9]; // the owner of the treasure, who waits at the goal
    place(ev[10], {0, 2, 4, 5});
    ev[10].sheetX = 384;
    ev[10].facing = 3;

    ev[11] = ev[9]; // the runaway
    place(ev[11], {0, 2, 8, 0});
    ev[11].stepInterval = 2;
    ev[11].autoScript = 3;

    ev[12] = ev[5]; // ladder from the island up to the top layer
    place(ev[12], {1, 1, 3, 1});
    behaves(ev[12], true, true, true);

    ev[13] = ev[6]; // its top end
    place(ev[13], {2, 0, 3, 1});
    behaves(ev[13], true, true, true);

    ev[14] = EventObject{}; // invisible layer changes at the other ladders' ends
    place(ev[14], {2, 1, 0, 3});
    behaves(ev[14], true, true, true);

    ev[15] = EventObject{};
    place(ev[15], {1, 1, 1, 4});
    behaves(ev[15], true, true, true);

    ev[16] = ev[15];
    place(ev[16], {1, 1, 1, 3});
}

} // namespace

bool pfBuildEventObjects(World& world, mdlRxSGlue::Searchers& searchers) {
    // The opening scene owns the player from the first frame.
    world.systemScriptActive = -1;
    world.systemRun.scriptNumber = kOpeningScript;
    world.systemRun.address = 0;
    world.inputLocked = -1;

    world.eventCount = kEventCount;
    world.events.assign(static_cast<std::size_t>(kEventCount) + 1, EventObject{});
    fillObjects(world);
    // The own scripts come from the built-in text.
    mdlScriptAssembler::Unit unit;
    if (!pfDemoScripts(unit) || !mdlScriptAssembler::pfInstallOwnScripts(world, unit)) return false;

    for (std::int32_t n = 1; n <= kEventCount; ++n) {
        if (n == 3) continue;
        const EventObject& e = world.events[n];
        // Without a built map there is nowhere to put the objects: refuse rather than write
        // outside the planes.
        if (!world.inMap(e.layer, e.plane, e.x, e.y)) return false;
        world.cell(e.layer, e.plane, e.x, e.y).eventId = static_cast<std::int16_t>(n);
    }

    // The grid is built after the objects stand on their cells, so (0, 0) sees them.
    mdlRxSGlue::pfSetGrid(searchers, mdlRxSGlue::pfObstacleGrid(world));
    return true;
}

} // namespace mdlDataCtrl
