#include "field/script/mdlScriptRegisters.h"

#include "field/script/mdlScriptNames.h"
#include "field/script/mdlScriptValue.h"
#include "field/script/mdlScriptVariables.h"

namespace mdlScriptRegisters {

using mdlScriptNames::Reg;
using mdlScriptNames::regNumber;

using mdlScriptValue::Status;

void psSetFlags(ScriptRun& run, const Value& v) {
    using mdlScriptProcesser::ValueKind;
    if (v.kind == ValueKind::Int16 || v.kind == ValueKind::Int32) {
        run.invalidFlag = false;
        run.zeroFlag = v.i == 0;
        run.negativeFlag = v.i < 0;
        return;
    }
    mdlScriptValue::Flags f{run.zeroFlag, run.negativeFlag, run.invalidFlag};
    mdlScriptValue::psApplyFlagRule(v, f);
    run.zeroFlag = f.zero;
    run.negativeFlag = f.negative;
    run.invalidFlag = f.invalid;
}

bool pfRunnableScript(const field::World& world, std::int32_t number) {
    const auto held = static_cast<std::int64_t>(world.scripts.size()) - 1;
    if (number < 0 || number > world.scriptCount || number > held) return false;
    return !world.scripts[static_cast<std::size_t>(number)].commands.empty();
}

const Value* pfRead(StepContext& ctx, std::int16_t reg, Value& scratch) {
    ScriptRun& run = ctx.run;
    if (Value* v = pfValueRegister(run, reg)) return v;
    switch (static_cast<Reg>(reg)) {
    case Reg::Var: return mdlScriptVariables::pfSelected(ctx, false);
    case Reg::Zero: scratch = Value::int16(0); break;
    case Reg::Space: scratch = Value::int32(run.space); break;
    case Reg::VarIndex: scratch = Value::int32(run.varIndex); break;
    case Reg::Work: scratch = Value::int32(run.work); break;
    case Reg::ScriptNumber: scratch = Value::int32(run.scriptNumber); break;
    case Reg::Address: scratch = Value::int32(run.address); break;
    case Reg::ZeroFlag: scratch = Value::boolean(run.zeroFlag); break;
    case Reg::NegativeFlag: scratch = Value::boolean(run.negativeFlag); break;
    case Reg::InvalidFlag: scratch = Value::boolean(run.invalidFlag); break;
    case Reg::ActiveObject: scratch = Value::int32(run.activeObject); break;
    case Reg::TestLayer: scratch = Value::int16(run.testLayer); break;
    case Reg::TestPlane: scratch = Value::int16(run.testPlane); break;
    case Reg::TestX: scratch = Value::int32(run.testX); break;
    case Reg::TestY: scratch = Value::int32(run.testY); break;
    default: ctx.outSlot = 1; return nullptr; // also 12, which is write only
    }
    return &scratch;
}

bool pfWrite(StepContext& ctx, std::int16_t reg, const Value& v) {
    ScriptRun& run = ctx.run;
    if (Value* dst = pfValueRegister(run, reg)) {
        if (dst != &v) *dst = v;
        if (reg <= regNumber(Reg::R5)) psSetFlags(run, *dst);
        return true;
    }
    std::int32_t n = 0;
    std::int16_t h = 0;
    bool b = false;
    switch (static_cast<Reg>(reg)) {
    case Reg::Var: {
        Value* dst = mdlScriptVariables::pfSelected(ctx, true);
        if (!dst) return false;
        if (dst != &v) *dst = v;
        return true;
    }
    case Reg::Zero: return true;
    case Reg::Space: return pfInt32(ctx, v, run.space);
    case Reg::VarIndex: return pfInt32(ctx, v, run.varIndex);
    case Reg::MapSelect: return pfInt32(ctx, v, run.mapSelect);
    case Reg::Work: return pfInt32(ctx, v, run.work);
    case Reg::ScriptNumber:
        if (!pfInt32(ctx, v, n)) return false;
        if (!pfRunnableScript(ctx.world, n)) {
            ctx.outSlot = 1;
            return false;
        }
        run.scriptNumber = n;
        return true;
    case Reg::Address:
        if (!pfInt32(ctx, v, n)) return false;
        if (n < 0) {
            ctx.outSlot = 1;
            return false;
        }
        run.address = n;
        return true;
    case Reg::ZeroFlag:
    case Reg::NegativeFlag:
    case Reg::InvalidFlag:
        if (!pfTruth(ctx, v, b)) return false;
        (reg == regNumber(Reg::ZeroFlag)       ? run.zeroFlag
         : reg == regNumber(Reg::NegativeFlag) ? run.negativeFlag
                                               : run.invalidFlag) = b;
        return true;
    case Reg::ActiveObject: return pfInt32(ctx, v, run.activeObject);
    case Reg::TestLayer:
    case Reg::TestPlane:
        if (!pfInt16(ctx, v, h)) return false;
        (reg == regNumber(Reg::TestLayer) ? run.testLayer : run.testPlane) = h;
        return true;
    case Reg::TestX: return pfInt32(ctx, v, run.testX);
    case Reg::TestY: return pfInt32(ctx, v, run.testY);
    default: ctx.outSlot = 1; return false;
    }
}

bool pfInt16(StepContext& ctx, const Value& v, std::int16_t& out) {
    std::int16_t r = 0;
    if (mdlScriptValue::pfToInt16(v, r) != Status::Ok) {
        ctx.outSlot = 1;
        return false;
    }
    out = r;
    return true;
}

bool pfInt32(StepContext& ctx, const Value& v, std::int32_t& out) {
    std::int32_t r = 0;
    if (mdlScriptValue::pfToInt32(v, r) != Status::Ok) {
        ctx.outSlot = 1;
        return false;
    }
    out = r;
    return true;
}

bool pfTruth(StepContext& ctx, const Value& v, bool& out) {
    if (mdlScriptValue::pfToTruth(v, out) != Status::Ok) {
        ctx.outSlot = 1;
        return false;
    }
    return true;
}

const Value* pfReadParam(StepContext& ctx, const Value& p, Value& scratch) {
    std::int16_t reg;
    if (!pfRegister(ctx, p, reg)) return nullptr;
    return pfRead(ctx, reg, scratch);
}

const Value* pfTextOrRegister(StepContext& ctx, const Value& p, Value& scratch) {
    if (p.isString()) return &p;
    return pfReadParam(ctx, p, scratch);
}

} // namespace mdlScriptRegisters
