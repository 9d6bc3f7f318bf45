#include "field/PlayerMovement.h"

#include <array>

#include "common/Utility.h"
#include "field/DirectSearch.h"
#include "field/EventObjects.h"
#include "field/ViewGeometry.h"

namespace field {

namespace {

namespace vk = plat::vk;

// Reads every key once and throws the answers away, then reads them again: only a key still
// held at the second reading counts, so a press released before the poll is not seen.
template <std::size_t N>
std::array<bool, N> readKeys(plat::IKeyboard& kb, const std::array<int, N>& keys) {
    for (int k : keys)
        (void)kb.isHeld(k);
    std::array<bool, N> held{};
    for (std::size_t i = 0; i < N; ++i)
        held[i] = kb.isHeld(keys[i]);
    return held;
}

struct Candidate {
    std::int32_t dir = 0;
    field::Step step;
};

} // namespace

void pollActionKey(field::World& world, MoveContext& ctx) {
    if (world.player.moving != 0) return;
    const auto held =
        readKeys(ctx.sv.keyboard, std::array<int, 3>{vk::Enter, vk::Space, vk::numpad(5)});
    if (held[0] || held[1] || held[2]) {
        if (world.actionHoldFrames != 3) {
            ++world.actionHoldFrames;
            return;
        }
        world.actionRequested = -1;
        world.actionHoldFrames = 0;
        return;
    }
    world.actionHoldFrames = 0;
}

void keyboardMove(field::World& world, MoveContext& ctx) {
    field::CharState& p = world.player;
    if (world.inputLocked != 0 || p.moving != 0) return;
    enum { kUp, kNum8, kNum9, kDown, kNum2, kNum1, kLeft, kNum4, kNum7, kRight, kNum6, kNum3 };
    const auto held = readKeys(
        ctx.sv.keyboard,
        std::array<int, 14>{vk::Up, vk::numpad(8), vk::numpad(9), vk::Down, vk::numpad(2),
                            vk::numpad(1), vk::Left, vk::numpad(4), vk::numpad(7), vk::Right,
                            vk::numpad(6), vk::numpad(3), vk::Shift, vk::Control});
    const bool shift = held[12];
    const bool control = held[13];
    p.stepX = 0;
    p.stepY = 0;
    // Later groups override the direction of earlier ones; the map is drawn diamond-wise, so
    // the keypad's diagonal keys move along one map axis.
    if (held[kUp] || held[kNum8] || held[kNum9]) {
        p.stepDir = 0;
        p.stepY = -1;
    }
    if (held[kDown] || held[kNum2] || held[kNum1]) {
        p.stepDir = 2;
        p.stepY = 1;
    }
    if (held[kLeft] || held[kNum4] || held[kNum7]) {
        p.stepDir = 3;
        p.stepX = -1;
    }
    if (held[kRight] || held[kNum6] || held[kNum3]) {
        p.stepDir = 1;
        p.stepX = 1;
    }
    if (shift) p.stepDir = p.facing;
    if (control) {
        p.stepX = 0;
        p.stepY = 0;
        return;
    }
    if (p.stepX != 0 || p.stepY != 0) p.moving = -1;
}

void mouseWalk(field::World& world, MoveContext& ctx) {
    if (world.inputLocked != 0 || ctx.mouse.held == 0) return;
    field::CharState& p = world.player;
    const field::Point target =
        field::pixelToMapCell(world, field::makePoint(ctx.mouse.x, ctx.mouse.y));
    if (target.x == p.x && target.y == p.y) {
        world.actionRequested = -1;
        return;
    }
    field::startSearch(ctx.searchers.direct, p.x, p.y, target.x, target.y);
    // Ask until the step is (0, 0): with three candidates the fourth request runs past the
    // direct searcher's list, which is where it lets the window process its messages. The
    // direct searcher offers at most three; a preferred route searcher could go on longer,
    // so the list is capped where the direct one ends.
    std::array<Candidate, 3> found{};
    std::int32_t n = 0;
    for (;;) {
        Candidate c;
        c.dir = field::nextDirection(ctx.searchers.direct, ctx.sv.windows);
        c.step = field::nextStep(ctx.searchers, ctx.sv.windows);
        if (c.step.isZero() || n == static_cast<std::int32_t>(found.size())) break;
        found[static_cast<std::size_t>(n++)] = c;
    }
    const std::int32_t pick = common::randomInRange(ctx.sv, 0, n > 0 ? n - 1 : 0);
    Candidate chosen;
    if (n > 0 && pick >= 0 && pick < n) chosen = found[static_cast<std::size_t>(pick)];
    // Re-planned every frame while held, also during a step: the step that completes goes in
    // the direction picked in its last frame, from the unchanged start cell.
    p.stepDir = static_cast<std::int16_t>(chosen.dir);
    p.stepX = chosen.step.dx;
    p.stepY = chosen.step.dy;
    if (!chosen.step.isZero()) p.moving = -1;
}

void actionStep(field::World& world, MoveContext& ctx) {
    if (world.actionRequested == 0) return;
    if (world.inputLocked == 0) {
        const field::CharState& p = world.player;
        for (std::int32_t plane = 0; plane <= p.plane && plane < field::kPlaneCount; ++plane)
            field::triggerEvent(world, ctx.mouse, 0, p.layer, plane, p.x, p.y);
    }
    world.actionRequested = 0;
}

void stepProgress(field::World& world, MoveContext& ctx) {
    advanceStep(world, ctx.mouse);
}

} // namespace field
