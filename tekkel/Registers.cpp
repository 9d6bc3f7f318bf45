#include "tekkel/Registers.h"

#include "tekkel/Opcodes.h"
#include "tekkel/Value.h"
#include "tekkel/Variables.h"

namespace tekkel {

void setFlagsOther(Run& run, const Value& v) {
    if (v.isString() && plainlyNoNumber(v.s)) { // as the flag rule has it, without its call
        run.zeroFlag = v.s.empty();
        run.invalidFlag = false;
        return;
    }
    tekkel::Flags f{run.zeroFlag, run.negativeFlag, run.invalidFlag};
    tekkel::applyFlagRule(v, f);
    run.zeroFlag = f.zero;
    run.negativeFlag = f.negative;
    run.invalidFlag = f.invalid;
}

bool isRunnableScript(const Machine& machine, std::int32_t number) {
    const auto held = static_cast<std::int64_t>(machine.scripts.size()) - 1;
    if (number < 0 || number > machine.scriptCount || number > held) return false;
    return !machine.scripts[static_cast<std::size_t>(number)].commands.empty();
}

const Value* readRegister(StepContext& ctx, std::int16_t reg, Value& scratch) {
    Run& run = ctx.run;
    if (Value* v = valueRegister(run, reg)) return v;
    switch (static_cast<Reg>(reg)) {
    case Reg::Var: return tekkel::selectedVariable(ctx, false);
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
    default: ctx.error = kErrorBadValue; return nullptr; // also 12, which is write only
    }
    return &scratch;
}

bool writeRegister(StepContext& ctx, std::int16_t reg, const Value& v) {
    Run& run = ctx.run;
    if (Value* dst = valueRegister(run, reg)) {
        writeGeneral(run, reg, *dst, v);
        return true;
    }
    std::int32_t n = 0;
    std::int16_t h = 0;
    bool b = false;
    switch (static_cast<Reg>(reg)) {
    case Reg::Var: return writeSelected(ctx, v);
    case Reg::Zero: return true;
    case Reg::Space: return writeNumber(ctx, run.space, v);
    case Reg::VarIndex: return writeNumber(ctx, run.varIndex, v);
    case Reg::MapSelect: return writeNumber(ctx, run.mapSelect, v);
    case Reg::Work: return writeNumber(ctx, run.work, v);
    case Reg::ScriptNumber:
        if (!int32Param(ctx, v, n)) return false;
        if (!isRunnableScript(ctx.machine, n)) {
            ctx.error = kErrorBadValue;
            return false;
        }
        run.scriptNumber = n;
        return true;
    case Reg::Address:
        if (!int32Param(ctx, v, n)) return false;
        if (n < 0) {
            ctx.error = kErrorBadValue;
            return false;
        }
        run.address = n;
        return true;
    case Reg::ZeroFlag:
    case Reg::NegativeFlag:
    case Reg::InvalidFlag:
        if (!truthParam(ctx, v, b)) return false;
        (reg == regNumber(Reg::ZeroFlag)       ? run.zeroFlag
         : reg == regNumber(Reg::NegativeFlag) ? run.negativeFlag
                                               : run.invalidFlag) = b;
        return true;
    case Reg::ActiveObject: return writeNumber(ctx, run.activeObject, v);
    case Reg::TestLayer:
    case Reg::TestPlane:
        if (!int16Param(ctx, v, h)) return false;
        (reg == regNumber(Reg::TestLayer) ? run.testLayer : run.testPlane) = h;
        return true;
    case Reg::TestX: return writeNumber(ctx, run.testX, v);
    case Reg::TestY: return writeNumber(ctx, run.testY, v);
    default: ctx.error = kErrorBadValue; return false;
    }
}

bool int16Param(StepContext& ctx, const Value& v, std::int16_t& out) {
    std::int16_t r = 0;
    if (tekkel::toInt16(v, r) != Status::Ok) {
        ctx.error = kErrorBadValue;
        return false;
    }
    out = r;
    return true;
}

bool int32Param(StepContext& ctx, const Value& v, std::int32_t& out) {
    std::int32_t r = 0;
    if (tekkel::toInt32(v, r) != Status::Ok) {
        ctx.error = kErrorBadValue;
        return false;
    }
    out = r;
    return true;
}

bool truthParam(StepContext& ctx, const Value& v, bool& out) {
    if (tekkel::toTruth(v, out) != Status::Ok) {
        ctx.error = kErrorBadValue;
        return false;
    }
    return true;
}

const Value* readRegisterParam(StepContext& ctx, const Value& p, Value& scratch) {
    std::int16_t reg;
    if (!registerParam(ctx, p, reg)) return nullptr;
    return readRegister(ctx, reg, scratch);
}

const Value* textOrRegister(StepContext& ctx, const Value& p, Value& scratch) {
    if (p.isString()) return &p;
    return readRegisterParam(ctx, p, scratch);
}

} // namespace tekkel
