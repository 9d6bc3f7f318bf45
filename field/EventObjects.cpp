#include "field/EventObjects.h"

#include <algorithm>

#include <cstdlib>

#include "field/StepRules.h"

namespace field {

namespace {

bool validObject(const field::World& world, std::int32_t n) {
    return n >= 1 && n <= world.eventCount && static_cast<std::size_t>(n) < world.events.size();
}

// The cell the object stands on, or nullptr when its coordinates lie outside the map.
field::MapCell* ownCell(field::World& world, const field::EventObject& e) {
    if (!world.inMap(e.layer, e.plane, e.x, e.y)) return nullptr;
    return &world.cell(e.layer, e.plane, e.x, e.y);
}

// Leaving a cell clears it only if it names this object, so an object that passed over
// another one (a warp sets column and row one at a time) cannot wipe the other's entry.
void leaveCell(field::World& world, std::int32_t n) {
    field::MapCell* c = ownCell(world, world.events[static_cast<std::size_t>(n)]);
    if (c != nullptr && c->eventId == n) c->eventId = 0;
}

// Entering a cell writes it only when it is free, already names this object, or names a
// detached object (which does not own it); an attached object keeps its cell. An object that
// could not write its cell stands there unnamed until it moves onto a free one.
void enterCell(field::World& world, std::int32_t n) {
    field::MapCell* c = ownCell(world, world.events[static_cast<std::size_t>(n)]);
    if (c == nullptr) return;
    const std::int32_t other = c->eventId;
    const bool free = other == 0 || other == n || !validObject(world, other) ||
                      world.events[static_cast<std::size_t>(other)].detached != 0;
    if (free) c->eventId = static_cast<std::int16_t>(n);
}

} // namespace

std::int32_t stepEventObject(field::World& world, std::int32_t n) {
    if (!validObject(world, n)) return kObjectWaiting;
    field::EventObject& e = world.events[static_cast<std::size_t>(n)];
    const field::StepTarget to = field::takeStep(world, e, e.stepInterval);
    if (to.state == field::StepTarget::State::Waiting) return kObjectWaiting;
    if (to.state == field::StepTarget::State::OffMap) return kObjectRefused;
    const std::int32_t tx = to.x;
    const std::int32_t ty = to.y;
    if (!field::isEnterable(world, e.layer, e.plane, tx, ty)) return kObjectRefused;
    // Only column and row: the player blocks whatever layer or plane either stands on.
    if (tx == world.player.x && ty == world.player.y) return kObjectRefused;
    if (e.detached != 0) {
        e.x = tx;
        e.y = ty;
        return kObjectMoved;
    }
    leaveCell(world, n);
    e.x = tx;
    e.y = ty;
    enterCell(world, n);
    return kObjectMoved;
}

bool triggerEvent(field::World& world, field::MouseState& mouse, std::int16_t arrival,
                  std::int32_t layer, std::int32_t plane, std::int32_t x, std::int32_t y) {
    if (!world.inMap(layer, plane, x, y)) return false;
    const std::int32_t n = world.cell(layer, plane, x, y).eventId;
    if (n == 0 || !validObject(world, n)) return false;
    field::EventObject& e = world.events[static_cast<std::size_t>(n)];
    if (arrival != 0 && e.onStep == 0) return false;
    if (e.triggerable == 0 || e.enabled == 0) return false;
    if (e.detached != 0) return false; // a detached object is never fired
    if (world.machine.scripts.empty()) world.machine.scripts.resize(1);
    world.machine.scripts[0] = e.ownScript;
    world.systemScriptActive = -1;
    world.inputLocked = -1;
    world.systemRun.scriptNumber = 0;
    world.systemRun.address = 0;
    world.systemRun.activeObject = n;
    e.moving = 0;
    mouse.held = 0;
    return true;
}

std::int32_t directionToPlayer(const field::World& world, std::int32_t n) {
    if (!validObject(world, n)) return 2;
    const field::EventObject& e = world.events[static_cast<std::size_t>(n)];
    const std::int64_t dx = static_cast<std::int64_t>(world.player.x) - e.x;
    const std::int64_t dy = static_cast<std::int64_t>(world.player.y) - e.y;
    if (std::llabs(dy) < std::llabs(dx)) return dx < 0 ? 3 : 1;
    return dy < 0 ? 0 : 2;
}

void setDetached(field::World& world, std::int32_t n, std::int16_t flag) {
    if (!validObject(world, n)) return;
    field::EventObject& e = world.events[static_cast<std::size_t>(n)];
    if (flag != 0) {
        leaveCell(world, n);
        e.detached = flag;
    } else {
        e.detached = 0;
        enterCell(world, n);
    }
}

void placeEventObject(field::World& world, std::int32_t n, std::int32_t layer, std::int32_t plane,
                      std::int32_t x, std::int32_t y) {
    if (!validObject(world, n)) return;
    field::EventObject& e = world.events[static_cast<std::size_t>(n)];
    if (e.detached == 0) leaveCell(world, n);
    e.layer = static_cast<std::int16_t>(layer);
    e.plane = static_cast<std::int16_t>(plane);
    e.x = x;
    e.y = y;
    if (e.detached == 0) enterCell(world, n);
}

bool installOwnScripts(World& world, const tekkel::Unit& unit) {
    const auto top = std::min<std::int64_t>(world.eventCount,
                                            static_cast<std::int64_t>(world.events.size()) - 1);
    for (const tekkel::NumberedScript& s : unit.ownScripts)
        if (s.number < 1 || s.number > top) return false;
    for (const tekkel::NumberedScript& s : unit.ownScripts)
        world.events[static_cast<std::size_t>(s.number)].ownScript = s.script;
    return true;
}

} // namespace field
