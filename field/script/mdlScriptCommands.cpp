#include "field/script/mdlScriptCommands.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "field/script/mdlScriptFieldCommands.h"
#include "field/script/mdlScriptNames.h"
#include "field/script/mdlScriptRegisters.h"
#include "field/script/mdlScriptValue.h"
#include "field/script/mdlScriptVariables.h"

namespace mdlScriptCommands {

using mdlScriptNames::Op;
using mdlScriptNames::opCode;
using mdlScriptProcesser::fail;
using mdlScriptProcesser::ScriptRun;
using mdlScriptValue::Status;
using namespace mdlScriptRegisters;

namespace {

StepResult conditionalJump(StepContext& ctx, Op op) {
    const ScriptRun& r = ctx.run;
    const bool flag = op <= Op::JumpIfZero       ? r.zeroFlag
                      : op <= Op::JumpIfNegative ? r.negativeFlag
                                                 : r.invalidFlag;
    // JumpIfZero, JumpIfNegative and JumpIfInvalid have the odd codes.
    const bool wanted = (opCode(op) % 2) == 1;
    if (flag != wanted) return StepResult::Next;
    return pfJump(ctx, *ctx.p1);
}

StepResult chain(StepContext& ctx) {
    std::int32_t n = -1;
    if (ctx.p1->isString()) {
        n = pfFindScript(ctx.world, ctx.p1->s);
        if (n < 0) return fail(ctx, 10);
    } else if (!pfInt32(ctx, *ctx.p1, n)) {
        return StepResult::Failed;
    }
    if (!pfRunnableScript(ctx.world, n)) return fail(ctx, 1);
    ctx.outSlot = n;
    return StepResult::SwitchScript;
}

StepResult wait(StepContext& ctx) {
    std::int16_t reg;
    std::int32_t duration;
    if (!pfRegister(ctx, *ctx.p1, reg) || !pfInt32(ctx, *ctx.p2, duration))
        return StepResult::Failed;
    const std::uint32_t now = ctx.sv.clock.timeGetTime();
    std::uint32_t start = now;
    if (!ctx.run.suspended) {
        if (!pfWrite(ctx, reg, Value::int32(std::bit_cast<std::int32_t>(now))))
            return StepResult::Failed;
    } else {
        Value scratch;
        const Value* v = pfRead(ctx, reg, scratch);
        std::int32_t s = 0;
        if (!v || !pfInt32(ctx, *v, s)) return StepResult::Failed;
        start = std::bit_cast<std::uint32_t>(s);
    }
    // The tick wraps; the time since the start is what counts.
    const std::uint32_t elapsed = now - start;
    return static_cast<std::int64_t>(elapsed) <= duration ? StepResult::Suspend : StepResult::Next;
}

// reg P1 op (reg P2 | P2) into R1.
template <typename Op> StepResult binary(StepContext& ctx, bool secondIsRegister, Op op) {
    Value sa, sb, out;
    const Value* a = pfReadParam(ctx, *ctx.p1, sa);
    if (!a) return StepResult::Failed;
    const Value* b = secondIsRegister ? pfReadParam(ctx, *ctx.p2, sb) : ctx.p2;
    if (!b) return StepResult::Failed;
    if (op(*a, *b, out) != Status::Ok) return fail(ctx, 1);
    return pfWrite(ctx, 1, out) ? StepResult::Next : StepResult::Failed;
}

StepResult intDiv(StepContext& ctx, bool secondIsRegister) {
    Value sa, sb, q, r;
    const Value* a = pfReadParam(ctx, *ctx.p1, sa);
    if (!a) return StepResult::Failed;
    const Value* b = secondIsRegister ? pfReadParam(ctx, *ctx.p2, sb) : ctx.p2;
    if (!b) return StepResult::Failed;
    if (mdlScriptValue::pfIntDiv(*a, *b, q, r) != Status::Ok) return fail(ctx, 1);
    pfWrite(ctx, 1, q);
    pfWrite(ctx, 4, r);
    return StepResult::Next;
}

// reg P1 = f(reg P1).
template <typename F> StepResult unaryInPlace(StepContext& ctx, F f) {
    std::int16_t reg;
    if (!pfRegister(ctx, *ctx.p1, reg)) return StepResult::Failed;
    Value scratch, out;
    const Value* a = pfRead(ctx, reg, scratch);
    if (!a) return StepResult::Failed;
    if (f(*a, out) != Status::Ok) return fail(ctx, 1);
    return pfWrite(ctx, reg, out) ? StepResult::Next : StepResult::Failed;
}

StepResult sign(StepContext& ctx) {
    std::int16_t reg;
    Value scratch, out;
    if (!pfRegister(ctx, *ctx.p1, reg)) return StepResult::Failed;
    const Value* b = pfReadParam(ctx, *ctx.p2, scratch);
    if (!b) return StepResult::Failed;
    if (mdlScriptValue::pfSign(*b, out) != Status::Ok) return fail(ctx, 1);
    return pfWrite(ctx, reg, out) ? StepResult::Next : StepResult::Failed;
}

// The smallest integer kind that holds x.
Value integral(double x) {
    if (x >= INT16_MIN && x <= INT16_MAX) return Value::int16(static_cast<std::int16_t>(x));
    if (x >= INT32_MIN && x <= INT32_MAX) return Value::int32(static_cast<std::int32_t>(x));
    return Value::real64(x);
}

StepResult random(StepContext& ctx, bool secondIsRegister) {
    std::int16_t reg;
    Value scratch, out;
    if (!pfRegister(ctx, *ctx.p1, reg)) return StepResult::Failed;
    const Value* b = secondIsRegister ? pfReadParam(ctx, *ctx.p2, scratch) : ctx.p2;
    if (!b) return StepResult::Failed;
    if (b->isNull()) {
        out = Value::null();
    } else {
        double range = 0;
        if (!mdlScriptValue::pfToDouble(*b, range)) return fail(ctx, 1);
        const double r = static_cast<double>(ctx.sv.random.nextFloat());
        out = integral(std::floor(r * (range + 1)));
    }
    return pfWrite(ctx, reg, out) ? StepResult::Next : StepResult::Failed;
}

StepResult compare(StepContext& ctx, bool secondIsRegister) {
    Value sa, sb;
    const Value* a = pfReadParam(ctx, *ctx.p1, sa);
    if (!a) return StepResult::Failed;
    const Value* b = secondIsRegister ? pfReadParam(ctx, *ctx.p2, sb) : ctx.p2;
    if (!b) return StepResult::Failed;
    const auto c = mdlScriptValue::pfCompare(*a, *b);
    ScriptRun& r = ctx.run;
    r.invalidFlag = !c.valid;
    if (c.valid) {
        r.zeroFlag = c.sign == 0;
        r.negativeFlag = c.sign < 0;
    }
    return StepResult::Next;
}

// The text of X(P); null stays null (`isNull`).
bool textOf(StepContext& ctx, const Value& p, std::u16string& text, bool& isNull) {
    Value scratch;
    const Value* v = pfTextOrRegister(ctx, p, scratch);
    if (!v) return false;
    isNull = v->isNull();
    text = mdlScriptValue::pfToText(*v);
    return true;
}

StepResult length(StepContext& ctx) {
    std::int16_t reg;
    std::u16string text;
    bool isNull = false;
    if (!pfRegister(ctx, *ctx.p1, reg) || !textOf(ctx, *ctx.p2, text, isNull))
        return StepResult::Failed;
    const Value out = isNull ? Value::null() : Value::int32(static_cast<std::int32_t>(text.size()));
    return pfWrite(ctx, reg, out) ? StepResult::Next : StepResult::Failed;
}

StepResult concat(StepContext& ctx) {
    std::int16_t reg;
    std::u16string a, b;
    bool nullA = false, nullB = false;
    if (!pfRegister(ctx, *ctx.p1, reg) || !textOf(ctx, *ctx.p2, a, nullA) ||
        !textOf(ctx, *ctx.p3, b, nullB))
        return StepResult::Failed;
    if (a.size() + b.size() > mdlScriptValue::kMaxTextLength) return fail(ctx, 1);
    const Value out = (nullA || nullB) ? Value::null() : Value::string(a + b);
    return pfWrite(ctx, reg, out) ? StepResult::Next : StepResult::Failed;
}

StepResult leftRight(StepContext& ctx, bool left, bool countIsRegister) {
    std::u16string text;
    bool isNull = false;
    if (!textOf(ctx, *ctx.p1, text, isNull)) return StepResult::Failed;
    Value scratch;
    const Value* c = countIsRegister ? pfReadParam(ctx, *ctx.p2, scratch) : ctx.p2;
    std::int32_t count = 0;
    if (!c || !pfInt32(ctx, *c, count)) return StepResult::Failed;
    if (count < 0) return fail(ctx, 1);
    Value out = Value::null();
    if (!isNull) {
        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), text.size());
        out = Value::string(left ? text.substr(0, n) : text.substr(text.size() - n));
    }
    return pfWrite(ctx, 1, out) ? StepResult::Next : StepResult::Failed;
}

StepResult toNumber(StepContext& ctx) {
    return unaryInPlace(ctx, [](const Value& v, Value& out) {
        if (v.isNull()) {
            out = Value::null();
            return Status::Ok;
        }
        double d = 0;
        const Status st = mdlScriptValue::pfLeadingNumber(mdlScriptValue::pfToText(v), d);
        out = Value::real64(d);
        return st;
    });
}

StepResult message(StepContext& ctx) {
    if (ctx.p1->isNull()) return fail(ctx, 1);
    mdlScriptProcesser::showMessage(ctx, mdlScriptValue::pfToText(*ctx.p1));
    return StepResult::Next;
}

StepResult setShade(StepContext& ctx) {
    std::int16_t level;
    if (!pfInt16(ctx, *ctx.p1, level)) return StepResult::Failed;
    // The renderer has masks for levels 0..3 only.
    if (level < 0 || level > 3) return fail(ctx, 1);
    ctx.world.shadeLevel = level;
    return StepResult::Next;
}

StepResult fieldCommand(StepContext& ctx, Op op) {
    // Copies: a field command may fire an event, which replaces the script these point into.
    const Value c1 = *ctx.p1, c2 = *ctx.p2, c3 = *ctx.p3;
    StepContext f{ctx.world,  ctx.run, ctx.sv, ctx.pump, ctx.outSlot,
                  ctx.script, &c1,     &c2,    &c3,      ctx.listing};
    const std::int16_t code = opCode(op);
    if (code >= 200 && code <= 299) return mdlScriptFieldCommands::pfPlayerCommand(f, op);
    if (code >= 300 && code <= 399) {
        std::int32_t object = 0;
        if (!pfInt32(f, c1, object)) return StepResult::Failed;
        if (object == -1) object = ctx.run.activeObject;
        const auto held = static_cast<std::int64_t>(ctx.world.events.size()) - 1;
        if (object < 1 || object > ctx.world.eventCount || object > held) return fail(ctx, 1);
        return mdlScriptFieldCommands::pfObjectCommand(f, op, object);
    }
    return mdlScriptFieldCommands::pfCellCommand(f, op);
}

} // namespace

std::int32_t pfFindLabel(const Script& script, const std::u16string& name) {
    const auto last = std::min<std::int64_t>(script.lastAddress,
                                             static_cast<std::int64_t>(script.commands.size()) - 1);
    for (std::int32_t a = 0; a <= last; ++a) {
        const auto& c = script.commands[static_cast<std::size_t>(a)];
        if (c.code == opCode(Op::Label) && c.p1.isString() && c.p1.s == name) return a;
    }
    return -1;
}

std::int32_t pfFindScript(const field::World& world, const std::u16string& name) {
    const auto top = std::min<std::int64_t>(world.scriptCount,
                                            static_cast<std::int64_t>(world.scripts.size()) - 1);
    for (auto n = static_cast<std::int32_t>(top); n >= 0; --n)
        if (world.scripts[static_cast<std::size_t>(n)].name == name) return n;
    return -1;
}

StepResult pfJump(StepContext& ctx, const Value& target) {
    if (target.isString()) {
        // Names written in the command are resolved once by the compiled form; this is the
        // way of a name in D1 and of a name no label has.
        const std::int32_t a = pfFindLabel(ctx.script, target.s);
        if (a < 0) return fail(ctx, 10);
        ctx.outSlot = a;
        return StepResult::Goto;
    }
    std::int32_t a = 0;
    if (!pfInt32(ctx, target, a)) return StepResult::Failed;
    if (a < 0) return fail(ctx, 1);
    ctx.outSlot = a;
    return StepResult::Goto;
}

StepResult pfExecute(StepContext& ctx, std::int16_t code) {
    using mdlScriptValue::pfAdd, mdlScriptValue::pfSub, mdlScriptValue::pfMul,
        mdlScriptValue::pfDiv;
    const Value one = Value::int16(1);
    const Op op = static_cast<Op>(code);
    switch (op) {
    case Op::Break: return StepResult::Failed;
    case Op::Nop: return StepResult::Next;
    case Op::Yield: return StepResult::NextAndYield;
    case Op::Jump: return pfJump(ctx, *ctx.p1);
    case Op::Restart: ctx.outSlot = 0; return StepResult::GotoAndYield;
    case Op::End: return StepResult::Ended;
    case Op::Chain: return chain(ctx);
    case Op::Label: return StepResult::Next;
    case Op::Wait: return wait(ctx);
    case Op::JumpIfNotZero:
    case Op::JumpIfZero:
    case Op::JumpIfNotNegative:
    case Op::JumpIfNegative:
    case Op::JumpIfValid:
    case Op::JumpIfInvalid: return conditionalJump(ctx, op);
    case Op::Set: {
        std::int16_t reg;
        if (!pfRegister(ctx, *ctx.p1, reg)) return StepResult::Failed;
        return pfWrite(ctx, reg, *ctx.p2) ? StepResult::Next : StepResult::Failed;
    }
    case Op::Move: {
        std::int16_t reg;
        Value scratch;
        if (!pfRegister(ctx, *ctx.p1, reg)) return StepResult::Failed;
        const Value* v = pfReadParam(ctx, *ctx.p2, scratch);
        if (!v) return StepResult::Failed;
        const Value copy = *v; // the source may be the selected variable the write replaces
        return pfWrite(ctx, reg, copy) ? StepResult::Next : StepResult::Failed;
    }
    case Op::Alloc: return mdlScriptVariables::pfAlloc(ctx);
    case Op::FreeBlock: return mdlScriptVariables::pfFreeBlock(ctx);
    case Op::FreeRange: return mdlScriptVariables::pfFreeRange(ctx);
    case Op::Select: return mdlScriptVariables::pfSelect(ctx);
    case Op::Dim: return mdlScriptVariables::pfDim(ctx);
    case Op::Extend: return mdlScriptVariables::pfExtend(ctx);
    case Op::Add:
    case Op::AddValue: return binary(ctx, op == Op::Add, pfAdd);
    case Op::Sub:
    case Op::SubValue: return binary(ctx, op == Op::Sub, pfSub);
    case Op::Mul:
    case Op::MulValue: return binary(ctx, op == Op::Mul, pfMul);
    case Op::IntDiv:
    case Op::IntDivValue: return intDiv(ctx, op == Op::IntDiv);
    case Op::Inc:
        return unaryInPlace(ctx, [&](const Value& v, Value& out) { return pfAdd(v, one, out); });
    case Op::Dec:
        return unaryInPlace(ctx, [&](const Value& v, Value& out) { return pfSub(v, one, out); });
    case Op::Div:
    case Op::DivValue: return binary(ctx, op == Op::Div, pfDiv);
    case Op::Int: return unaryInPlace(ctx, mdlScriptValue::pfFloor);
    case Op::Sign: return sign(ctx);
    case Op::Random:
    case Op::RandomValue: return random(ctx, op == Op::Random);
    case Op::Compare:
    case Op::CompareValue: return compare(ctx, op == Op::Compare);
    case Op::Length: return length(ctx);
    case Op::Concat: return concat(ctx);
    case Op::Left:
    case Op::LeftValue: return leftRight(ctx, true, op == Op::Left);
    case Op::Right:
    case Op::RightValue: return leftRight(ctx, false, op == Op::Right);
    case Op::ToNumber: return toNumber(ctx);
    case Op::Message: return message(ctx);
    case Op::SetShade: return setShade(ctx);
    case Op::DumpLocals:
    case Op::DumpShared:
    case Op::DumpAlloced: return mdlScriptVariables::pfDump(ctx, op);
    default: break;
    }
    // The reserved codes are known but not supported.
    if (code == 2 || code == 8 || code == 9 || code == 52 || code == 53) return fail(ctx, 2);
    if ((code >= 200 && code <= 399) || op == Op::TestCell || op == Op::DirVector)
        return fieldCommand(ctx, op);
    return fail(ctx, 1);
}

} // namespace mdlScriptCommands
