// The three movement operations that the event objects and the script commands share with the
// player's per-frame steps: step progress, the enterable test and the direction table. They
// need nothing but the World, so they sit with the records below the interpreter.
#pragma once

#include <cstdint>

#include "field/FieldInput.h"
#include "field/World.h"

namespace field {

// What one frame of step progress did.
enum MoveResult : std::int32_t { kStepNone = 0, kStepArrived = 1, kStepRefused = 2 };

// One frame of the player's pending step: kStepNone (no step, or still under way; a step
// completes on its sixth frame), kStepArrived (moved; the arrival events of the new cell were
// fired), kStepRefused (blocked or off the map; facing still turns, and a blocked cell inside
// the map is pushed against).
MoveResult advanceStep(field::World& world, field::MouseState& mouse);

// Where one frame of a character's pending step leads (the player and the event objects step
// alike): Waiting while there is no step or it still counts its frames up to `interval`;
// otherwise the step is taken (facing turned, the step cleared) and the target is OffMap or a
// cell to try.
struct StepTarget {
    enum class State : std::uint8_t { Waiting, OffMap, Cell } state = State::Waiting;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

template <class Mover>
StepTarget takeStep(const field::World& world, Mover& m, std::int32_t interval) {
    if (m.moving == 0) return {};
    if (m.stepFrames <= interval) {
        ++m.stepFrames;
        return {};
    }
    m.stepFrames = 0;
    m.facing = m.stepDir;
    m.moving = 0;
    const std::int64_t tx = static_cast<std::int64_t>(m.x) + m.stepX;
    const std::int64_t ty = static_cast<std::int64_t>(m.y) + m.stepY;
    if (tx < 0 || ty < 0 || tx > world.maxX || ty > world.maxY) return {StepTarget::State::OffMap};
    return {StepTarget::State::Cell, static_cast<std::int32_t>(tx), static_cast<std::int32_t>(ty)};
}

// Whether a character may enter the cell: inside the map, plane-0 ground of kind 1, and the
// cell of the given plane free or naming a detached object. Layers and planes out of range
// answer false.
bool isEnterable(const field::World& world, std::int32_t layer, std::int32_t plane, std::int32_t x,
                 std::int32_t y);

// Direction table: 0 up, 1 right, 2 down, 3 left, 4 up-right, 5 down-right, 6 down-left,
// 7 up-left. False for any other code, leaving dx and dy unchanged.
bool directionStep(std::int32_t code, std::int32_t& dx, std::int32_t& dy);

} // namespace field
