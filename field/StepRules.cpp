#include "field/StepRules.h"

#include "field/Directions.h"
#include "field/EventObjects.h"

namespace field {

bool directionStep(std::int32_t code, std::int32_t& dx, std::int32_t& dy) {
    if (code < 0 || code >= static_cast<std::int32_t>(field::kDirectionSteps.size())) return false;
    dx = field::kDirectionSteps[static_cast<std::size_t>(code)].dx;
    dy = field::kDirectionSteps[static_cast<std::size_t>(code)].dy;
    return true;
}

bool isEnterable(const field::World& world, std::int32_t layer, std::int32_t plane, std::int32_t x,
                 std::int32_t y) {
    if (!world.inMap(layer, plane, x, y)) return false;
    const std::int16_t kind = world.cell(layer, field::kPlaneGround, x, y).kind;
    if (kind == 0 || kind == 2 || kind == 3) return false;
    const std::int32_t id = world.cell(layer, plane, x, y).eventId;
    if (id == 0) return true;
    // A number naming no object cannot block (the map was written wrongly; walk on).
    if (id < 0 || id > world.eventCount || static_cast<std::size_t>(id) >= world.events.size())
        return true;
    return world.events[static_cast<std::size_t>(id)].detached != 0;
}

MoveResult advanceStep(field::World& world, field::MouseState& mouse) {
    field::CharState& p = world.player;
    const StepTarget to = takeStep(world, p, 4);
    if (to.state == StepTarget::State::Waiting) return kStepNone;
    if (to.state == StepTarget::State::OffMap) return kStepRefused;
    const std::int32_t tx = to.x;
    const std::int32_t ty = to.y;
    if (isEnterable(world, p.layer, p.plane, tx, ty)) {
        p.x = tx;
        p.y = ty;
        for (std::int32_t plane = 0; plane <= p.plane && plane < field::kPlaneCount; ++plane)
            field::triggerEvent(world, mouse, -1, p.layer, plane, p.x, p.y);
        return kStepArrived;
    }
    // Push against whatever blocks the cell: talking to a character standing in the way.
    field::triggerEvent(world, mouse, 0, p.layer, p.plane, tx, ty);
    return kStepRefused;
}

} // namespace field
