// The demo's event objects (scenarios/demo/objects.txt, built in) and the opening scene.
#include "field/BuiltInData.h"
#include "field/ScenarioReader.h"

namespace field {

namespace {

constexpr std::int32_t kOpeningScript = 2;

} // namespace

bool buildEventObjects(World& world, field::Searchers& searchers) {
    // The opening scene owns the player from the first frame.
    world.systemScriptActive = -1;
    world.systemRun.scriptNumber = kOpeningScript;
    world.systemRun.address = 0;
    world.inputLocked = -1;

    // The objects and their own scripts are those of the built-in scenario folder.
    World demo;
    std::vector<field::ScenarioError> errors;
    if (!field::readBuiltInScenario(demo, errors)) return false;
    world.eventCount = demo.eventCount;
    world.events = std::move(demo.events);

    for (std::int32_t n = 1; n <= world.eventCount; ++n) {
        const EventObject& e = world.events[static_cast<std::size_t>(n)];
        // An empty slot stands on no cell.
        if (demo.cell(e.layer, e.plane, e.x, e.y).eventId != n) continue;
        // Without a built map there is nowhere to put the objects: refuse rather than write
        // outside the planes.
        if (!world.inMap(e.layer, e.plane, e.x, e.y)) return false;
        world.cell(e.layer, e.plane, e.x, e.y).eventId = static_cast<std::int16_t>(n);
    }

    // The grid is built after the objects stand on their cells, so (0, 0) sees them.
    field::setGrid(searchers, field::obstacleGrid(world));
    return true;
}

} // namespace field
