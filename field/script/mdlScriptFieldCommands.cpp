#include "field/script/mdlScriptFieldCommands.h"

#include "field/Directions.h"
#include "field/FieldInput.h"
#include "field/mdlEventObject.h"
#include "field/mdlMainStep.h"
#include "field/script/mdlScriptRegisters.h"
#include "field/script/mdlScriptValue.h"

namespace mdlScriptFieldCommands {

namespace {

using field::EventObject;
using field::World;
using mdlScriptNames::Op;
using mdlScriptProcesser::fail;
using mdlScriptProcesser::Value;
using mdlScriptRegisters::pfInt16;
using mdlScriptRegisters::pfInt32;
using mdlScriptRegisters::pfRegister;
using mdlScriptRegisters::pfTruth;
using mdlScriptRegisters::pfWrite;

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
        if (!pfInt16(ctx, *ctx.p2, h)) return false;
        d = h;
    } else if (!pfInt32(ctx, *ctx.p2, d)) {
        return false;
    }
    if (d == -1) d = randomDirection(ctx);
    return true;
}

// The get half of a get/set command: the field into the register numbered by `regParam`.
StepResult get(StepContext& ctx, const Value& regParam, const Value& field) {
    std::int16_t reg;
    if (!pfRegister(ctx, regParam, reg)) return StepResult::Failed;
    return pfWrite(ctx, reg, field) ? StepResult::Next : StepResult::Failed;
}

StepResult setFlag(StepContext& ctx, const Value& v, std::int16_t& flag) {
    bool b;
    if (!pfTruth(ctx, v, b)) return StepResult::Failed;
    flag = b ? -1 : 0;
    return StepResult::Next;
}

// Only the two chip sheets exist; any other number would draw from nothing.
StepResult setSheet(StepContext& ctx, const Value& v, std::int16_t& sheet) {
    std::int16_t s;
    if (!pfInt16(ctx, v, s)) return StepResult::Failed;
    if (s != 0 && s != 1) return fail(ctx, 1);
    sheet = s;
    return StepResult::Next;
}

// Player coordinates are refused off the map: movement, drawing and the triggers all index
// the map with them.
StepResult setPlayerCoordinate(StepContext& ctx, Op op, const Value& v) {
    World& w = ctx.world;
    field::CharState& p = w.player;
    std::int32_t layer = p.layer, plane = p.plane, x = p.x, y = p.y;
    if (op == Op::PlayerLayer || op == Op::PlayerPlane) {
        std::int16_t h;
        if (!pfInt16(ctx, v, h)) return StepResult::Failed;
        (op == Op::PlayerLayer ? layer : plane) = h;
    } else {
        std::int32_t n;
        if (!pfInt32(ctx, v, n)) return StepResult::Failed;
        (op == Op::PlayerX ? x : y) = n;
    }
    if (!w.inMap(layer, plane, x, y)) return fail(ctx, 1);
    p.layer = static_cast<std::int16_t>(layer);
    p.plane = static_cast<std::int16_t>(plane);
    p.x = x;
    p.y = y;
    return StepResult::Next;
}

StepResult playerStep(StepContext& ctx) {
    field::CharState& p = ctx.world.player;
    if (p.moving == 0) {
        std::int32_t d = 0, dx = 0, dy = 0;
        if (!stepDirection(ctx, true, d)) return StepResult::Failed;
        // A direction outside the table fails without an error number.
        if (!mdlMain::pfDirLookup(d, dx, dy)) return StepResult::Failed;
        // Facing is a chip row 0..3, so a diagonal faces along its vertical half.
        p.stepDir = static_cast<std::int16_t>(field::pfDirectionFacing(d));
        p.stepX = dx;
        p.stepY = dy;
        p.moving = -1;
    }
    // The window's held button only matters to the mouse walk, which is shut out while a
    // script owns the player; an event fired by this step must not drop it from here.
    field::MouseState scratch;
    return mdlMain::pfStepProgress(ctx.world, scratch) == mdlMain::kStepNone ? StepResult::Suspend
                                                                             : StepResult::Next;
}

StepResult objectStep(StepContext& ctx, std::int32_t n) {
    EventObject& e = ctx.world.events[static_cast<std::size_t>(n)];
    if (e.moving == 0) {
        std::int32_t d = 0, dx = 0, dy = 0;
        if (!stepDirection(ctx, false, d)) return StepResult::Failed;
        // The object takes d modulo 4 as its step direction before the direction is checked.
        e.stepDir = static_cast<std::int16_t>(field::pfDirectionFacing(d));
        if (!mdlMain::pfDirLookup(d, dx, dy)) return StepResult::Failed;
        e.stepX = dx;
        e.stepY = dy;
        e.moving = -1;
    }
    const std::int32_t r = mdlEventObject::pfEventStep(ctx.world, n);
    if (r == 0) return StepResult::Suspend;
    return pfWrite(ctx, 1, Value::int32(r)) ? StepResult::Next : StepResult::Failed;
}

// Layer, plane, column or row of an object; the set moves it there, refused off the map.
StepResult objectCoordinate(StepContext& ctx, Op op, std::int32_t n, bool set) {
    World& w = ctx.world;
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
        if (!pfInt16(ctx, *ctx.p2, h)) return StepResult::Failed;
        (op == Op::ObjectLayer ? layer : plane) = h;
    } else {
        std::int32_t v;
        if (!pfInt32(ctx, *ctx.p2, v)) return StepResult::Failed;
        (op == Op::ObjectX ? x : y) = v;
    }
    if (!w.inMap(layer, plane, x, y)) return fail(ctx, 1);
    mdlEventObject::pfPlaceEvent(w, n, layer, plane, x, y);
    return StepResult::Next;
}

// The text a talking command shows; null has no text.
bool sayText(StepContext& ctx, std::u16string& text) {
    if (ctx.p2->isNull()) {
        fail(ctx, 1);
        return false;
    }
    text = mdlScriptValue::pfToText(*ctx.p2);
    return true;
}

StepResult say(StepContext& ctx, std::int32_t n, bool turnFirst) {
    std::u16string text;
    if (!sayText(ctx, text)) return StepResult::Failed;
    EventObject& e = ctx.world.events[static_cast<std::size_t>(n)];
    // Only characters drawn from the character sheet have a face to turn; the turn is shown
    // for one frame before the box opens.
    if (turnFirst && e.chipSheet == 0) {
        const auto toPlayer =
            static_cast<std::int16_t>(mdlEventObject::pfDirToPlayer(ctx.world, n));
        if (e.facing != toPlayer) {
            e.facing = toPlayer;
            return StepResult::Suspend;
        }
    }
    mdlScriptProcesser::showMessage(ctx, text);
    return StepResult::Next;
}

} // namespace

StepResult pfPlayerCommand(StepContext& ctx, Op op) {
    if (op == Op::PlayerStep) return playerStep(ctx);
    field::CharState& p = ctx.world.player;
    bool set = false;
    switch (op) {
    case Op::PlayerVisible:
    case Op::PlayerLayer:
    case Op::PlayerPlane:
    case Op::PlayerX:
    case Op::PlayerY:
    case Op::PlayerFacing:
    case Op::PlayerSheet:
        if (!pfTruth(ctx, *ctx.p2, set)) return StepResult::Failed;
        break;
    default: return fail(ctx, 1);
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
        return pfInt16(ctx, v, p.facing) ? StepResult::Next : StepResult::Failed;
    default: return set ? setSheet(ctx, v, p.chipSheet) : get(ctx, v, Value::int16(p.chipSheet));
    }
}

StepResult pfObjectCommand(StepContext& ctx, Op op, std::int32_t object) {
    World& w = ctx.world;
    EventObject& e = w.events[static_cast<std::size_t>(object)];
    switch (op) {
    case Op::ObjectStep: return objectStep(ctx, object);
    case Op::SetActive:
        ctx.run.activeObject = object;
        mdlScriptRegisters::psSetFlags(ctx.run, Value::int32(object));
        return StepResult::Next;
    case Op::FacePlayerDir:
        return get(ctx, *ctx.p2, Value::int32(mdlEventObject::pfDirToPlayer(w, object)));
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
    default: return fail(ctx, 1);
    }
    bool set = false;
    if (!pfTruth(ctx, *ctx.p3, set)) return StepResult::Failed;
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
        return pfInt16(ctx, v, e.facing) ? StepResult::Next : StepResult::Failed;
    case Op::ObjectSheet:
        return set ? setSheet(ctx, v, e.chipSheet) : get(ctx, v, Value::int16(e.chipSheet));
    case Op::ObjectEnabled:
        return set ? setFlag(ctx, v, e.enabled) : get(ctx, v, Value::boolean(e.enabled != 0));
    case Op::ObjectDetached: {
        if (!set) return get(ctx, v, Value::boolean(e.detached != 0));
        bool b;
        if (!pfTruth(ctx, v, b)) return StepResult::Failed;
        mdlEventObject::pfSetDetached(w, object, b ? -1 : 0);
        return StepResult::Next;
    }
    default:
        if (!set) return get(ctx, v, Value::int32(e.stepInterval));
        return pfInt32(ctx, v, e.stepInterval) ? StepResult::Next : StepResult::Failed;
    }
}

StepResult pfCellCommand(StepContext& ctx, Op op) {
    std::int16_t reg;
    if (!pfRegister(ctx, *ctx.p1, reg)) return StepResult::Failed;
    if (op == Op::TestCell) {
        const auto& r = ctx.run;
        const field::CharState& p = ctx.world.player;
        // The enterable test ignores the player; a script looking for a free cell (the
        // runaway's warp) must not pick the one the player stands on.
        const bool player =
            p.layer == r.testLayer && p.plane == r.testPlane && p.x == r.testX && p.y == r.testY;
        const bool free = !player && mdlMain::pfIsEnterable(ctx.world, r.testLayer, r.testPlane,
                                                            r.testX, r.testY);
        return pfWrite(ctx, reg, Value::boolean(free)) ? StepResult::Next : StepResult::Failed;
    }
    if (op != Op::DirVector) return fail(ctx, 1);
    std::int16_t rowReg;
    std::int32_t d = 0, dx = 0, dy = 0;
    if (!pfRegister(ctx, *ctx.p2, rowReg) || !pfInt32(ctx, *ctx.p3, d)) return StepResult::Failed;
    if (!mdlMain::pfDirLookup(d, dx, dy)) return StepResult::Failed;
    if (!pfWrite(ctx, reg, Value::int32(dx))) return StepResult::Failed;
    return pfWrite(ctx, rowReg, Value::int32(dy)) ? StepResult::Next : StepResult::Failed;
}

} // namespace mdlScriptFieldCommands
