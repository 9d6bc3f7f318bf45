#include "field/script/FieldCommands.h"

#include <algorithm>

#include "field/Directions.h"
#include "field/EventObjects.h"
#include "field/FieldInput.h"
#include "field/StepRules.h"
#include "tekkel/Registers.h"
#include "tekkel/Value.h"

namespace field {

namespace {

using tekkel::fail;
using tekkel::int16Param;
using tekkel::int32Param;
using tekkel::kErrorBadValue;
using tekkel::Op;
using tekkel::Reg;
using tekkel::registerParam;
using tekkel::truthParam;
using tekkel::Value;
using tekkel::writeRegister;

// A random step direction 0..3, for a direction parameter of -1.
std::int32_t randomDirection(StepContext& ctx) {
    const auto d = static_cast<std::int32_t>(ctx.sv.random.nextFloat() * 4.0f);
    return d > 3 ? 3 : d;
}

// The step direction a stepping command asks for: P2 (a 16-bit number for the player, a
// 32-bit one for objects), or a random 0..3 for -1. False when P2 is no such number (error 1
// written).
bool stepDirection(StepContext& ctx, bool player, std::int32_t& d) {
    if (player) {
        std::int16_t h;
        if (!int16Param(ctx, *ctx.p2, h)) return false;
        d = h;
    } else if (!int32Param(ctx, *ctx.p2, d)) {
        return false;
    }
    if (d == -1) d = randomDirection(ctx);
    return true;
}

// The get half of a get/set command: the field into the register numbered by `regParam`.
StepResult get(StepContext& ctx, const Value& regParam, const Value& field) {
    std::int16_t reg;
    if (!registerParam(ctx, regParam, reg)) return StepResult::Failed;
    return writeRegister(ctx, reg, field) ? StepResult::Next : StepResult::Failed;
}

StepResult setFlag(StepContext& ctx, const Value& v, std::int16_t& flag) {
    bool b;
    if (!truthParam(ctx, v, b)) return StepResult::Failed;
    flag = b ? -1 : 0;
    return StepResult::Next;
}

// Only the two chip sheets exist; any other number would draw from nothing.
StepResult setSheet(StepContext& ctx, const Value& v, std::int16_t& sheet) {
    std::int16_t s;
    if (!int16Param(ctx, v, s)) return StepResult::Failed;
    if (s != 0 && s != 1) return fail(ctx, kErrorBadValue);
    sheet = s;
    return StepResult::Next;
}

// Player coordinates are refused off the map: movement, drawing and the triggers all index
// the map with them.
StepResult setPlayerCoordinate(StepContext& ctx, Op op, const Value& v) {
    World& w = hostWorld(ctx);
    field::CharState& p = w.player;
    std::int32_t layer = p.layer, plane = p.plane, x = p.x, y = p.y;
    if (op == Op::PlayerLayer || op == Op::PlayerPlane) {
        std::int16_t h;
        if (!int16Param(ctx, v, h)) return StepResult::Failed;
        (op == Op::PlayerLayer ? layer : plane) = h;
    } else {
        std::int32_t n;
        if (!int32Param(ctx, v, n)) return StepResult::Failed;
        (op == Op::PlayerX ? x : y) = n;
    }
    if (!w.inMap(layer, plane, x, y)) return fail(ctx, kErrorBadValue);
    p.layer = static_cast<std::int16_t>(layer);
    p.plane = static_cast<std::int16_t>(plane);
    p.x = x;
    p.y = y;
    return StepResult::Next;
}

StepResult playerStep(StepContext& ctx) {
    field::CharState& p = hostWorld(ctx).player;
    if (p.moving == 0) {
        std::int32_t d = 0, dx = 0, dy = 0;
        if (!stepDirection(ctx, true, d)) return StepResult::Failed;
        // A direction outside the table fails without an error number.
        if (!field::directionStep(d, dx, dy)) return StepResult::Failed;
        // Facing is a chip row 0..3, so a diagonal faces along its vertical half.
        p.stepDir = static_cast<std::int16_t>(field::directionFacing(d));
        p.stepX = dx;
        p.stepY = dy;
        p.moving = -1;
    }
    // The window's held button only matters to the mouse walk, which is shut out while a
    // script owns the player; an event fired by this step must not drop it from here.
    field::MouseState scratch;
    return field::advanceStep(hostWorld(ctx), scratch) == field::kStepNone ? StepResult::Suspend
                                                                           : StepResult::Next;
}

StepResult objectStep(StepContext& ctx, std::int32_t n) {
    EventObject& e = hostWorld(ctx).events[static_cast<std::size_t>(n)];
    if (e.moving == 0) {
        std::int32_t d = 0, dx = 0, dy = 0;
        if (!stepDirection(ctx, false, d)) return StepResult::Failed;
        // The object takes d modulo 4 as its step direction before the direction is checked.
        e.stepDir = static_cast<std::int16_t>(field::directionFacing(d));
        if (!field::directionStep(d, dx, dy)) return StepResult::Failed;
        e.stepX = dx;
        e.stepY = dy;
        e.moving = -1;
    }
    const std::int32_t r = field::stepEventObject(hostWorld(ctx), n);
    if (r == 0) return StepResult::Suspend;
    return writeRegister(ctx, Reg::R1, Value::int32(r)) ? StepResult::Next : StepResult::Failed;
}

// Layer, plane, column or row of an object; the set moves it there, refused off the map.
StepResult objectCoordinate(StepContext& ctx, Op op, std::int32_t n, bool set) {
    World& w = hostWorld(ctx);
    const EventObject& e = w.events[static_cast<std::size_t>(n)];
    if (!set) {
        switch (op) {
        case Op::ObjectLayer: return get(ctx, *ctx.p2, Value::int16(e.layer));
        case Op::ObjectPlane: return get(ctx, *ctx.p2, Value::int16(e.plane));
        case Op::ObjectX: return get(ctx, *ctx.p2, Value::int32(e.x));
        default: return get(ctx, *ctx.p2, Value::int32(e.y));
        }
    }
    std::int32_t layer = e.layer, plane = e.plane, x = e.x, y = e.y;
    if (op == Op::ObjectLayer || op == Op::ObjectPlane) {
        std::int16_t h;
        if (!int16Param(ctx, *ctx.p2, h)) return StepResult::Failed;
        (op == Op::ObjectLayer ? layer : plane) = h;
    } else {
        std::int32_t v;
        if (!int32Param(ctx, *ctx.p2, v)) return StepResult::Failed;
        (op == Op::ObjectX ? x : y) = v;
    }
    if (!w.inMap(layer, plane, x, y)) return fail(ctx, kErrorBadValue);
    field::placeEventObject(w, n, layer, plane, x, y);
    return StepResult::Next;
}

// The text a talking command shows; null has no text.
bool sayText(StepContext& ctx, std::u16string& text) {
    if (ctx.p2->isNull()) {
        fail(ctx, kErrorBadValue);
        return false;
    }
    text = tekkel::toText(*ctx.p2);
    return true;
}

StepResult say(StepContext& ctx, std::int32_t n, bool turnFirst) {
    std::u16string text;
    if (!sayText(ctx, text)) return StepResult::Failed;
    EventObject& e = hostWorld(ctx).events[static_cast<std::size_t>(n)];
    // Only characters drawn from the character sheet have a face to turn; the turn is shown
    // for one frame before the box opens.
    if (turnFirst && e.chipSheet == 0) {
        const auto toPlayer =
            static_cast<std::int16_t>(field::directionToPlayer(hostWorld(ctx), n));
        if (e.facing != toPlayer) {
            e.facing = toPlayer;
            return StepResult::Suspend;
        }
    }
    tekkel::showMessage(ctx, text);
    return StepResult::Next;
}

StepResult shadeCommand(StepContext& ctx, Op) {
    std::int16_t level;
    if (!int16Param(ctx, *ctx.p1, level)) return StepResult::Failed;
    // The renderer has masks for levels 0..3 only.
    if (level < 0 || level > 3) return fail(ctx, kErrorBadValue);
    hostWorld(ctx).shadeLevel = level;
    return StepResult::Next;
}

// The get/set commands of the player take P2 as the set switch.
StepResult playerCommand(StepContext& ctx, Op op) {
    if (op == Op::PlayerStep) return playerStep(ctx);
    field::CharState& p = hostWorld(ctx).player;
    bool set = false;
    switch (op) {
    case Op::PlayerVisible:
    case Op::PlayerLayer:
    case Op::PlayerPlane:
    case Op::PlayerX:
    case Op::PlayerY:
    case Op::PlayerFacing:
    case Op::PlayerSheet:
        if (!truthParam(ctx, *ctx.p2, set)) return StepResult::Failed;
        break;
    default: return fail(ctx, kErrorBadValue);
    }
    const Value& v = *ctx.p1;
    switch (op) {
    case Op::PlayerVisible:
        return set ? setFlag(ctx, v, p.visible) : get(ctx, v, Value::boolean(p.visible != 0));
    case Op::PlayerLayer:
        return set ? setPlayerCoordinate(ctx, op, v) : get(ctx, v, Value::int16(p.layer));
    case Op::PlayerPlane:
        return set ? setPlayerCoordinate(ctx, op, v) : get(ctx, v, Value::int16(p.plane));
    case Op::PlayerX: return set ? setPlayerCoordinate(ctx, op, v) : get(ctx, v, Value::int32(p.x));
    case Op::PlayerY: return set ? setPlayerCoordinate(ctx, op, v) : get(ctx, v, Value::int32(p.y));
    case Op::PlayerFacing:
        if (!set) return get(ctx, v, Value::int16(p.facing));
        return int16Param(ctx, v, p.facing) ? StepResult::Next : StepResult::Failed;
    default: return set ? setSheet(ctx, v, p.chipSheet) : get(ctx, v, Value::int16(p.chipSheet));
    }
}

// The object commands, on an object named by P1 (-1 the active object) in 1..eventCount. The
// get/set commands take P3 as the set switch.
StepResult objectCommand(StepContext& ctx, Op op) {
    World& w = hostWorld(ctx);
    std::int32_t object = 0;
    if (!int32Param(ctx, *ctx.p1, object)) return StepResult::Failed;
    if (object == -1) object = ctx.run.activeObject;
    const auto held = static_cast<std::int64_t>(w.events.size()) - 1;
    if (object < 1 || object > w.eventCount || object > held) return fail(ctx, kErrorBadValue);
    EventObject& e = w.events[static_cast<std::size_t>(object)];
    switch (op) {
    case Op::ObjectStep: return objectStep(ctx, object);
    case Op::SetActive:
        ctx.run.activeObject = object;
        tekkel::setFlags(ctx.run, Value::int32(object));
        return StepResult::Next;
    case Op::FacePlayerDir:
        return get(ctx, *ctx.p2, Value::int32(field::directionToPlayer(w, object)));
    case Op::Say: return say(ctx, object, true);
    case Op::SayPlain: return say(ctx, object, false);
    case Op::ObjectVisible:
    case Op::ObjectLayer:
    case Op::ObjectPlane:
    case Op::ObjectX:
    case Op::ObjectY:
    case Op::ObjectFacing:
    case Op::ObjectSheet:
    case Op::ObjectEnabled:
    case Op::ObjectDetached:
    case Op::ObjectSpeed: break;
    default: return fail(ctx, kErrorBadValue);
    }
    bool set = false;
    if (!truthParam(ctx, *ctx.p3, set)) return StepResult::Failed;
    const Value& v = *ctx.p2;
    switch (op) {
    case Op::ObjectVisible:
        return set ? setFlag(ctx, v, e.visible) : get(ctx, v, Value::boolean(e.visible != 0));
    case Op::ObjectLayer:
    case Op::ObjectPlane:
    case Op::ObjectX:
    case Op::ObjectY: return objectCoordinate(ctx, op, object, set);
    case Op::ObjectFacing:
        if (!set) return get(ctx, v, Value::int16(e.facing));
        return int16Param(ctx, v, e.facing) ? StepResult::Next : StepResult::Failed;
    case Op::ObjectSheet:
        return set ? setSheet(ctx, v, e.chipSheet) : get(ctx, v, Value::int16(e.chipSheet));
    case Op::ObjectEnabled:
        return set ? setFlag(ctx, v, e.enabled) : get(ctx, v, Value::boolean(e.enabled != 0));
    case Op::ObjectDetached: {
        if (!set) return get(ctx, v, Value::boolean(e.detached != 0));
        bool b;
        if (!truthParam(ctx, v, b)) return StepResult::Failed;
        field::setDetached(w, object, b ? -1 : 0);
        return StepResult::Next;
    }
    default:
        if (!set) return get(ctx, v, Value::int32(e.stepInterval));
        return int32Param(ctx, v, e.stepInterval) ? StepResult::Next : StepResult::Failed;
    }
}

// TestCell and DirVector.
StepResult cellCommand(StepContext& ctx, Op op) {
    std::int16_t reg;
    if (!registerParam(ctx, *ctx.p1, reg)) return StepResult::Failed;
    if (op == Op::TestCell) {
        const auto& r = ctx.run;
        const field::CharState& p = hostWorld(ctx).player;
        // The enterable test ignores the player; a script looking for a free cell (the
        // runaway's warp) must not pick the one the player stands on.
        const bool player =
            p.layer == r.testLayer && p.plane == r.testPlane && p.x == r.testX && p.y == r.testY;
        const bool free = !player && field::isEnterable(hostWorld(ctx), r.testLayer, r.testPlane,
                                                        r.testX, r.testY);
        return writeRegister(ctx, reg, Value::boolean(free)) ? StepResult::Next
                                                             : StepResult::Failed;
    }
    if (op != Op::DirVector) return fail(ctx, kErrorBadValue);
    std::int16_t rowReg;
    std::int32_t d = 0, dx = 0, dy = 0;
    if (!registerParam(ctx, *ctx.p2, rowReg) || !int32Param(ctx, *ctx.p3, d))
        return StepResult::Failed;
    if (!field::directionStep(d, dx, dy)) return StepResult::Failed;
    if (!writeRegister(ctx, reg, Value::int32(dx))) return StepResult::Failed;
    return writeRegister(ctx, rowReg, Value::int32(dy)) ? StepResult::Next : StepResult::Failed;
}

// clang-format off
constexpr tekkel::HostCommand kCommands[] = {
    {Op::SetShade, shadeCommand},
    {Op::PlayerStep, playerCommand},     {Op::PlayerVisible, playerCommand},
    {Op::PlayerLayer, playerCommand},    {Op::PlayerPlane, playerCommand},
    {Op::PlayerX, playerCommand},        {Op::PlayerY, playerCommand},
    {Op::PlayerFacing, playerCommand},   {Op::PlayerSheet, playerCommand},
    {Op::ObjectStep, objectCommand},     {Op::ObjectVisible, objectCommand},
    {Op::ObjectLayer, objectCommand},    {Op::ObjectPlane, objectCommand},
    {Op::ObjectX, objectCommand},        {Op::ObjectY, objectCommand},
    {Op::ObjectFacing, objectCommand},   {Op::ObjectSheet, objectCommand},
    {Op::ObjectEnabled, objectCommand},  {Op::ObjectDetached, objectCommand},
    {Op::ObjectSpeed, objectCommand},    {Op::SetActive, objectCommand},
    {Op::FacePlayerDir, objectCommand},  {Op::Say, objectCommand},
    {Op::SayPlain, objectCommand},
    {Op::TestCell, cellCommand},         {Op::DirVector, cellCommand},
};
// clang-format on
static_assert(std::ranges::is_sorted(kCommands, {},
                                     [](const tekkel::HostCommand& c) { return c.op; }));
constexpr std::size_t kCodeSpan = static_cast<std::size_t>(
    tekkel::opCode(std::end(kCommands)[-1].op) - tekkel::opCode(kCommands[0].op) + 1);
constexpr auto kSlots = tekkel::hostSlots<kCodeSpan>(kCommands);

} // namespace

std::span<const tekkel::HostCommand> fieldCommands() {
    return kCommands;
}

std::span<const std::uint8_t> fieldCommandSlots() {
    return kSlots;
}

} // namespace field
