#include "tekkel/Commands.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "tekkel/Compiler.h"
#include "tekkel/Opcodes.h"
#include "tekkel/Registers.h"
#include "tekkel/Value.h"
#include "tekkel/Variables.h"

namespace tekkel {

namespace {

StepResult conditionalJump(StepContext& ctx, Op op) {
    const Run& r = ctx.run;
    const bool flag = op <= Op::JumpIfZero       ? r.zeroFlag
                      : op <= Op::JumpIfNegative ? r.negativeFlag
                                                 : r.invalidFlag;
    // JumpIfZero, JumpIfNegative and JumpIfInvalid have the odd codes.
    const bool wanted = (opCode(op) % 2) == 1;
    if (flag != wanted) return StepResult::Next;
    return jumpTo(ctx, *ctx.p1);
}

StepResult chain(StepContext& ctx) {
    std::int32_t n = -1;
    if (ctx.p1->isString()) {
        n = findScript(ctx.machine, ctx.p1->s);
        if (n < 0) return fail(ctx, kErrorNoSuchName);
    } else if (!int32Param(ctx, *ctx.p1, n)) {
        return StepResult::Failed;
    }
    if (!isRunnableScript(ctx.machine, n)) return fail(ctx, kErrorBadValue);
    return jump(ctx, StepResult::SwitchScript, n);
}

StepResult wait(StepContext& ctx) {
    std::int16_t reg;
    std::int32_t duration;
    if (!registerParam(ctx, *ctx.p1, reg) || !int32Param(ctx, *ctx.p2, duration))
        return StepResult::Failed;
    const std::uint32_t now = ctx.sv.clock.timeGetTime();
    std::uint32_t start = now;
    if (!ctx.run.suspended) {
        if (!writeRegister(ctx, reg, Value::int32(std::bit_cast<std::int32_t>(now))))
            return StepResult::Failed;
    } else {
        Value scratch;
        const Value* v = readRegister(ctx, reg, scratch);
        std::int32_t s = 0;
        if (!v || !int32Param(ctx, *v, s)) return StepResult::Failed;
        start = std::bit_cast<std::uint32_t>(s);
    }
    // The tick wraps; the time since the start is what counts.
    const std::uint32_t elapsed = now - start;
    return static_cast<std::int64_t>(elapsed) <= duration ? StepResult::Suspend : StepResult::Next;
}

StepResult set(StepContext& ctx) {
    std::int16_t reg;
    if (!registerParam(ctx, *ctx.p1, reg)) return StepResult::Failed;
    return writeRegister(ctx, reg, *ctx.p2) ? StepResult::Next : StepResult::Failed;
}

StepResult move(StepContext& ctx) {
    std::int16_t reg;
    Value scratch;
    if (!registerParam(ctx, *ctx.p1, reg)) return StepResult::Failed;
    const Value* v = readRegisterParam(ctx, *ctx.p2, scratch);
    if (!v) return StepResult::Failed;
    const Value copy = *v; // the source may be the selected variable the write replaces
    return writeRegister(ctx, reg, copy) ? StepResult::Next : StepResult::Failed;
}

// reg P1 op (reg P2 | P2) into R1.
template <ArithOp Op> StepResult binary(StepContext& ctx, bool secondIsRegister) {
    Value sa, sb, out;
    const Value* a = readRegisterParam(ctx, *ctx.p1, sa);
    if (!a) return StepResult::Failed;
    const Value* b = secondIsRegister ? readRegisterParam(ctx, *ctx.p2, sb) : ctx.p2;
    if (!b) return StepResult::Failed;
    if (arithValues<Op>(*a, *b, out) != Status::Ok) return fail(ctx, kErrorBadValue);
    return writeRegister(ctx, Reg::R1, out) ? StepResult::Next : StepResult::Failed;
}

StepResult intDiv(StepContext& ctx, bool secondIsRegister) {
    Value sa, sb, q, r;
    const Value* a = readRegisterParam(ctx, *ctx.p1, sa);
    if (!a) return StepResult::Failed;
    const Value* b = secondIsRegister ? readRegisterParam(ctx, *ctx.p2, sb) : ctx.p2;
    if (!b) return StepResult::Failed;
    if (intDivide(*a, *b, q, r) != Status::Ok) return fail(ctx, kErrorBadValue);
    writeRegister(ctx, Reg::R1, q);
    writeRegister(ctx, Reg::R4, r);
    return StepResult::Next;
}

// reg P1 = f(reg P1).
template <typename F> StepResult unaryInPlace(StepContext& ctx, F f) {
    std::int16_t reg;
    if (!registerParam(ctx, *ctx.p1, reg)) return StepResult::Failed;
    Value scratch, out;
    const Value* a = readRegister(ctx, reg, scratch);
    if (!a) return StepResult::Failed;
    if (f(*a, out) != Status::Ok) return fail(ctx, kErrorBadValue);
    return writeRegister(ctx, reg, out) ? StepResult::Next : StepResult::Failed;
}

StepResult sign(StepContext& ctx) {
    std::int16_t reg;
    Value scratch, out;
    if (!registerParam(ctx, *ctx.p1, reg)) return StepResult::Failed;
    const Value* b = readRegisterParam(ctx, *ctx.p2, scratch);
    if (!b) return StepResult::Failed;
    if (tekkel::signValue(*b, out) != Status::Ok) return fail(ctx, kErrorBadValue);
    return writeRegister(ctx, reg, out) ? StepResult::Next : StepResult::Failed;
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
    if (!registerParam(ctx, *ctx.p1, reg)) return StepResult::Failed;
    const Value* b = secondIsRegister ? readRegisterParam(ctx, *ctx.p2, scratch) : ctx.p2;
    if (!b) return StepResult::Failed;
    if (b->isNull()) {
        out = Value::null();
    } else {
        double range = 0;
        if (!tekkel::toDouble(*b, range)) return fail(ctx, kErrorBadValue);
        const double r = static_cast<double>(ctx.sv.random.nextFloat());
        out = integral(std::floor(r * (range + 1)));
    }
    return writeRegister(ctx, reg, out) ? StepResult::Next : StepResult::Failed;
}

StepResult compare(StepContext& ctx, bool secondIsRegister) {
    Value sa, sb;
    const Value* a = readRegisterParam(ctx, *ctx.p1, sa);
    if (!a) return StepResult::Failed;
    const Value* b = secondIsRegister ? readRegisterParam(ctx, *ctx.p2, sb) : ctx.p2;
    if (!b) return StepResult::Failed;
    compareIntoFlags(ctx.run, *a, *b);
    return StepResult::Next;
}

// The text of X(P); null stays null (`isNull`).
bool textOf(StepContext& ctx, const Value& p, std::u16string& text, bool& isNull) {
    Value scratch;
    const Value* v = textOrRegister(ctx, p, scratch);
    if (!v) return false;
    isNull = v->isNull();
    text = tekkel::toText(*v);
    return true;
}

StepResult length(StepContext& ctx) {
    std::int16_t reg;
    std::u16string text;
    bool isNull = false;
    if (!registerParam(ctx, *ctx.p1, reg) || !textOf(ctx, *ctx.p2, text, isNull))
        return StepResult::Failed;
    const Value out = isNull ? Value::null() : Value::int32(static_cast<std::int32_t>(text.size()));
    return writeRegister(ctx, reg, out) ? StepResult::Next : StepResult::Failed;
}

StepResult concat(StepContext& ctx) {
    std::int16_t reg;
    std::u16string a, b;
    bool nullA = false, nullB = false;
    if (!registerParam(ctx, *ctx.p1, reg) || !textOf(ctx, *ctx.p2, a, nullA) ||
        !textOf(ctx, *ctx.p3, b, nullB))
        return StepResult::Failed;
    if (a.size() + b.size() > tekkel::kMaxTextLength) return fail(ctx, kErrorBadValue);
    const Value out = (nullA || nullB) ? Value::null() : Value::string(a + b);
    return writeRegister(ctx, reg, out) ? StepResult::Next : StepResult::Failed;
}

StepResult leftRight(StepContext& ctx, bool left, bool countIsRegister) {
    std::u16string text;
    bool isNull = false;
    if (!textOf(ctx, *ctx.p1, text, isNull)) return StepResult::Failed;
    Value scratch;
    const Value* c = countIsRegister ? readRegisterParam(ctx, *ctx.p2, scratch) : ctx.p2;
    std::int32_t count = 0;
    if (!c || !int32Param(ctx, *c, count)) return StepResult::Failed;
    if (count < 0) return fail(ctx, kErrorBadValue);
    Value out = Value::null();
    if (!isNull) {
        const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), text.size());
        out = Value::string(left ? text.substr(0, n) : text.substr(text.size() - n));
    }
    return writeRegister(ctx, Reg::R1, out) ? StepResult::Next : StepResult::Failed;
}

StepResult toNumber(StepContext& ctx) {
    return unaryInPlace(ctx, [](const Value& v, Value& out) {
        if (v.isNull()) {
            out = Value::null();
            return Status::Ok;
        }
        double d = 0;
        // A text is read where it is (`out` is written only after).
        const Status st = v.isString() ? tekkel::leadingNumber(v.s, d)
                                       : tekkel::leadingNumber(tekkel::toText(v), d);
        out = Value::real64(d);
        return st;
    });
}

StepResult message(StepContext& ctx) {
    if (ctx.p1->isNull()) return fail(ctx, kErrorBadValue);
    tekkel::showMessage(ctx, tekkel::toText(*ctx.p1));
    return StepResult::Next;
}

// A host command runs on copies of its parameters: it may store another script where they
// point (the field's commands fire events, which replace stored script 0). Most are numbers,
// which assign copies without the copy of a text.
StepResult hostCommand(StepContext& ctx, const HostCommand& command) {
    Value c1, c2, c3;
    assign(c1, *ctx.p1);
    assign(c2, *ctx.p2);
    assign(c3, *ctx.p3);
    StepContext copy{ctx.machine, ctx.host,   ctx.run, ctx.sv, ctx.pump, ctx.error,
                     ctx.target,  ctx.script, &c1,     &c2,    &c3,      ctx.listing};
    return command.run(copy, command.op);
}

} // namespace

std::int32_t findLabel(const Script& script, const std::u16string& name) {
    const auto last = std::min<std::int64_t>(script.lastAddress,
                                             static_cast<std::int64_t>(script.commands.size()) - 1);
    for (std::int32_t a = 0; a <= last; ++a) {
        const auto& c = script.commands[static_cast<std::size_t>(a)];
        if (c.code == opCode(Op::Label) && c.p1.isString() && c.p1.s == name) return a;
    }
    return -1;
}

std::int32_t findScript(const Machine& machine, const std::u16string& name) {
    const auto top = std::min<std::int64_t>(machine.scriptCount,
                                            static_cast<std::int64_t>(machine.scripts.size()) - 1);
    for (auto n = static_cast<std::int32_t>(top); n >= 0; --n)
        if (machine.scripts[static_cast<std::size_t>(n)].name == name) return n;
    return -1;
}

const HostCommand* Host::command(std::int16_t code) const {
    if (commandSlots.empty()) return nullptr;
    const std::int32_t at = code - opCode(commands.front().op);
    if (at < 0 || at >= static_cast<std::int32_t>(commandSlots.size())) return nullptr;
    const std::uint8_t slot = commandSlots[static_cast<std::size_t>(at)];
    return slot != 0 ? &commands[slot - 1u] : nullptr;
}

StepResult jumpTo(StepContext& ctx, const Value& target) {
    if (target.isString()) {
        // Names written in the command are resolved once by the compiled form, and a name in
        // D1 by its index of labels as the records run; this is the way of a name no label has,
        // and of every name where the script runs the full way.
        const std::int32_t a = labelAddress(ctx.script, target.s);
        if (a < 0) return fail(ctx, kErrorNoSuchName);
        return jump(ctx, StepResult::Goto, a);
    }
    std::int32_t a = 0;
    if (!int32Param(ctx, target, a)) return StepResult::Failed;
    if (a < 0) return fail(ctx, kErrorBadValue);
    return jump(ctx, StepResult::Goto, a);
}

StepResult executeCommand(StepContext& ctx, std::int16_t code) {
    const Op op = static_cast<Op>(code);
    switch (op) {
    case Op::Break: return StepResult::Failed;
    case Op::Nop: return StepResult::Next;
    case Op::Yield: return StepResult::NextAndYield;
    case Op::Jump: return jumpTo(ctx, *ctx.p1);
    case Op::Restart: return jump(ctx, StepResult::GotoAndYield, 0);
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
    case Op::Set: return set(ctx);
    case Op::Move: return move(ctx);
    case Op::Alloc: return tekkel::allocCommand(ctx);
    case Op::FreeBlock: return tekkel::freeBlockCommand(ctx);
    case Op::FreeRange: return tekkel::freeRangeCommand(ctx);
    case Op::Select: return tekkel::selectCommand(ctx);
    case Op::Dim: return tekkel::dimCommand(ctx);
    case Op::Extend: return tekkel::extendCommand(ctx);
    case Op::Add:
    case Op::AddValue: return binary<ArithOp::Add>(ctx, op == Op::Add);
    case Op::Sub:
    case Op::SubValue: return binary<ArithOp::Sub>(ctx, op == Op::Sub);
    case Op::Mul:
    case Op::MulValue: return binary<ArithOp::Mul>(ctx, op == Op::Mul);
    case Op::IntDiv:
    case Op::IntDivValue: return intDiv(ctx, op == Op::IntDiv);
    case Op::Inc:
    case Op::Dec:
        return unaryInPlace(
            ctx, [&](const Value& v, Value& out) { return stepValue(v, op == Op::Dec, out); });
    case Op::Div:
    case Op::DivValue: return binary<ArithOp::Div>(ctx, op == Op::Div);
    case Op::Int: return unaryInPlace(ctx, tekkel::floorValue);
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
    case Op::DumpLocals:
    case Op::DumpShared:
    case Op::DumpAlloced: return tekkel::dumpCommand(ctx, op);
    default: break;
    }
    // The reserved codes are known but not supported.
    if (isReservedCode(code)) return fail(ctx, kErrorReserved);
    if (const HostCommand* command = ctx.host.command(code)) return hostCommand(ctx, *command);
    return fail(ctx, kErrorBadValue);
}

} // namespace tekkel
