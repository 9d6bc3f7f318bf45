#include "tekkel/Compiler.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tekkel/Commands.h"
#include "tekkel/Opcodes.h"
#include "tekkel/Registers.h"
#include "tekkel/Value.h"
#include "tekkel/Variables.h"

namespace tekkel {

namespace {

constexpr std::int32_t kFull = -1;
constexpr std::int32_t kFailed = -2;

// Room for the values of typed registers that readRegister answers, kept across steps.
struct Scratch {
    Value a, b;
};

Value Run::*storage(std::int16_t reg) {
    switch (static_cast<Reg>(reg)) {
    case Reg::R1: return &Run::R1;
    case Reg::R2: return &Run::R2;
    case Reg::R3: return &Run::R3;
    case Reg::R4: return &Run::R4;
    case Reg::R5: return &Run::R5;
    case Reg::D1: return &Run::D1;
    case Reg::D2: return &Run::D2;
    case Reg::D3: return &Run::D3;
    default: return nullptr;
    }
}

// The 32-bit registers whose reads and writes of an integer are the stored number itself.
std::int32_t Run::*storage32(std::int16_t reg) {
    switch (static_cast<Reg>(reg)) {
    case Reg::Space: return &Run::space;
    case Reg::VarIndex: return &Run::varIndex;
    case Reg::Work: return &Run::work;
    case Reg::ActiveObject: return &Run::activeObject;
    case Reg::TestX: return &Run::testX;
    case Reg::TestY: return &Run::testY;
    default: return nullptr;
    }
}

// A register operand written in the command itself (an omitted one is D1..D3, read when the
// command runs, and goes the full way).
bool registerOperand(const Value& p, std::int16_t& reg, Value Run::*& m) {
    if (p.isEmpty() || tekkel::toInt16(p, reg) != Status::Ok) return false;
    m = storage(reg);
    return true;
}

bool registerOperand(const Value& p, std::int16_t& reg, Value Run::*& m, std::int32_t Run::*& n) {
    if (!registerOperand(p, reg, m)) return false;
    n = storage32(reg);
    return true;
}

// X(P): a text written in the command, or a register operand.
bool textOperand(const Value& p, std::int16_t& reg, Value Run::*& m, const Value*& text) {
    if (!p.isString()) return registerOperand(p, reg, m);
    text = &p;
    return true;
}

bool redirects(std::int16_t reg) {
    using tekkel::Reg, tekkel::regNumber;
    return reg == regNumber(Reg::ScriptNumber) || reg == regNumber(Reg::Address);
}

Record compileText(const Command& c) {
    Record r;
    const Op op = static_cast<Op>(c.code);
    if (op == Op::Length || op == Op::Concat) {
        if (!registerOperand(c.p1, r.r1, r.m1) || redirects(r.r1) ||
            !textOperand(c.p2, r.r2, r.m2, r.literal))
            return r;
        if (op == Op::Concat && !textOperand(c.p3, r.r3, r.m3, r.literal3)) return r;
        r.kind = op == Op::Length ? RecordKind::Length : RecordKind::Concat;
        return r;
    }
    if (!textOperand(c.p1, r.r1, r.m1, r.literal1)) return r;
    if (op == Op::Left || op == Op::Right) {
        if (!registerOperand(c.p2, r.r2, r.m2)) return r;
    } else {
        if (c.p2.isEmpty()) return r;
        r.literal = &c.p2;
    }
    r.kind = RecordKind::Cut;
    r.arith = op == Op::Right || op == Op::RightValue;
    return r;
}

// The kind that runs `r` without asking where its operands live, when they are general
// registers or a value.
RecordKind specialised(RecordKind kind, const Record& r) {
    if (kind == RecordKind::Step) return r.m1 ? RecordKind::StepR : kind;
    if (kind == RecordKind::Move) {
        if (r.m1 && r.m2) return RecordKind::MoveR;
        if (r.m1 && r.r2 == -1) return RecordKind::MoveFromVar;
        if (r.r1 == -1 && r.m2) return RecordKind::MoveToVar;
        if (r.n1 && r.m2) return RecordKind::MoveToNumber;
        return kind;
    }
    const bool second = r.literal || r.m2;
    if (!r.m1 || !second) return kind;
    const int v = r.literal ? 4 : 0;
    switch (kind) {
    case RecordKind::Arith:
        return static_cast<RecordKind>(static_cast<int>(RecordKind::AddR) + v + r.arith);
    case RecordKind::Compare: return r.literal ? RecordKind::CompareV : RecordKind::CompareR;
    case RecordKind::IntDiv: return r.literal ? RecordKind::IntDivV : RecordKind::IntDivR;
    default: return kind;
    }
}

Record compileCommand(const Script& s, const Command& c) {
    Record r;
    const Op op = static_cast<Op>(c.code);
    const std::int16_t code = c.code;
    switch (op) {
    case Op::Nop:
    case Op::Label: r.kind = RecordKind::Next; return r;
    case Op::Length:
    case Op::Concat:
    case Op::Left:
    case Op::LeftValue:
    case Op::Right:
    case Op::RightValue: return compileText(c);
    case Op::Jump:
    case Op::JumpIfNotZero:
    case Op::JumpIfZero:
    case Op::JumpIfNotNegative:
    case Op::JumpIfNegative:
    case Op::JumpIfValid:
    case Op::JumpIfInvalid: {
        std::int32_t target = -1;
        if (c.p1.isString()) {
            target = tekkel::findLabel(s, c.p1.s);
        } else if (!c.p1.isEmpty() && tekkel::toInt32(c.p1, target) != Status::Ok) {
            target = -1;
        }
        if (target < 0 || c.p1.isEmpty()) return r; // error 10 or 1, or D1: the full way
        r.kind = RecordKind::Jump;
        r.target = target;
        if (op == Op::Jump) return r;
        r.flag = code <= 21 ? &Run::zeroFlag : code <= 23 ? &Run::negativeFlag : &Run::invalidFlag;
        // JumpIfZero, JumpIfNegative and JumpIfInvalid have the odd codes.
        r.condition = static_cast<std::uint8_t>(1 + (code & 1));
        return r;
    }
    case Op::Alloc:
    case Op::Dim:
    case Op::Extend: {
        // reg P1 is written: written out, and not one that redirects the run.
        std::int16_t reg = 0;
        Value Run::*m = nullptr;
        if (!registerOperand(c.p1, reg, m) || redirects(reg)) return r;
        r.kind = RecordKind::Handler;
        return r;
    }
    case Op::Select:
    case Op::FreeBlock:
    case Op::FreeRange: r.kind = RecordKind::Handler; return r;
    case Op::Int:
    case Op::Sign:
    case Op::Random:
    case Op::RandomValue:
    case Op::ToNumber:
    case Op::TestCell:
    case Op::DirVector: {
        // reg P1 (and DirVector's reg P2) is written, reg P2 of Sign and Random read: written
        // out, and none that redirects the run (nor reads the address, see compile).
        if (!registerOperand(c.p1, r.r1, r.m1) || redirects(r.r1)) return Record{};
        if (op == Op::Sign || op == Op::Random || op == Op::DirVector) {
            if (!registerOperand(c.p2, r.r2, r.m2) || redirects(r.r2)) return Record{};
        }
        r.kind = RecordKind::Handler;
        return r;
    }
    default: break;
    }
    const bool secondIsRegister = op == Op::Move || op == Op::Add || op == Op::Sub ||
                                  op == Op::Mul || op == Op::Div || op == Op::IntDiv ||
                                  op == Op::Compare;
    RecordKind kind = RecordKind::Full;
    if (op == Op::Set) kind = RecordKind::Set;
    if (op == Op::Move) kind = RecordKind::Move;
    if (code >= 60 && code <= 65)
        kind = RecordKind::Arith, r.arith = static_cast<std::uint8_t>((code - 60) / 2);
    if (op == Op::Div || op == Op::DivValue) kind = RecordKind::Arith, r.arith = 3;
    if (op == Op::IntDiv || op == Op::IntDivValue) kind = RecordKind::IntDiv;
    if (op == Op::Inc || op == Op::Dec) kind = RecordKind::Step, r.arith = op == Op::Dec;
    if (op == Op::Compare || op == Op::CompareValue) kind = RecordKind::Compare;
    if (kind == RecordKind::Full || !registerOperand(c.p1, r.r1, r.m1, r.n1)) return r;
    // A write to the script number or the address redirects the run: the full way.
    if (redirects(r.r1)) return r;
    if (kind != RecordKind::Step) {
        if (secondIsRegister) {
            if (!registerOperand(c.p2, r.r2, r.m2, r.n2)) return r;
        } else {
            if (c.p2.isEmpty()) return r;
            r.literal = &c.p2;
        }
    }
    r.kind = specialised(kind, r);
    return r;
}

// The records run on a program counter of their own and bring the run's address up to date
// only when they stop, so a command that reads the address register goes the full way.
Record compile(const Script& s, const Command& c) {
    Record r = compileCommand(s, c);
    const std::int16_t address = tekkel::regNumber(tekkel::Reg::Address);
    if (r.r1 == address || r.r2 == address || r.r3 == address) r = Record{};
    return r;
}

// Joins the idioms whose second command takes the first's result: arithmetic then a Move of
// R1 into a general register, Inc or Dec then a comparison, and a comparison or a Move then a
// jump.
void fuse(std::vector<Record>& records) {
    for (std::size_t k = 0; k + 1 < records.size(); ++k) {
        Record& r = records[k];
        const Record& second = records[k + 1];
        const bool movesR1 = second.kind == RecordKind::MoveR && second.m2 == &Run::R1;
        if (r.kind >= RecordKind::AddR && r.kind <= RecordKind::DivV && movesR1)
            r.kind = static_cast<RecordKind>(static_cast<int>(r.kind) + 8);
        if (r.kind == RecordKind::Arith && movesR1) r.kind = RecordKind::ArithMove;
        if ((r.kind == RecordKind::CompareR || r.kind == RecordKind::CompareV) &&
            second.kind == RecordKind::Jump)
            r.kind = r.kind == RecordKind::CompareR ? RecordKind::CompareRJump
                                                    : RecordKind::CompareVJump;
        if (r.kind == RecordKind::MoveR && second.kind == RecordKind::Jump)
            r.kind = RecordKind::MoveRJump;
        if (r.kind == RecordKind::StepR && second.kind >= RecordKind::CompareR &&
            second.kind <= RecordKind::CompareVJump)
            r.kind = RecordKind::StepRCompare;
    }
}

bool isInteger(ValueKind k) {
    return k == ValueKind::Int16 || k == ValueKind::Int32;
}

// Writes an integer into all eight bytes of the number, so that a later eight-byte copy of
// the value (assign) reads what one store wrote instead of waiting for two to combine.
inline void storeInteger(Value& v, ValueKind kind, std::int32_t i) {
    const std::int32_t bytes[2] = {i, 0};
    static_assert(sizeof bytes == sizeof v.d);
    v.kind = kind;
    std::memcpy(&v.d, bytes, sizeof v.d);
}

void setInteger(Value& v, bool narrow, std::int64_t x) {
    if (v.kind == ValueKind::String) [[unlikely]]
        v.s.clear();
    if (narrow && x >= INT16_MIN && x <= INT16_MAX) {
        storeInteger(v, ValueKind::Int16, static_cast<std::int32_t>(x));
    } else if (x >= INT32_MIN && x <= INT32_MAX) {
        storeInteger(v, ValueKind::Int32, static_cast<std::int32_t>(x));
    } else {
        v.kind = ValueKind::Real64;
        v.d = static_cast<double>(x);
    }
}

// The number of an integer or a 64-bit real; false for every other kind.
bool plainNumber(const Value& v, double& d) {
    if (isInteger(v.kind)) {
        d = v.i;
        return true;
    }
    d = v.d;
    return v.kind == ValueKind::Real64;
}

// R1 = reg P1 op (reg P2 | P2) and its flags, for the operands whose result the value rules
// give without a status: integers, and 64-bit reals with a finite result (an infinite or NaN
// operand of +, - or * gives no finite result; a divisor must be finite and not 0). False for
// everything else, which addValues..divideValues then work out (with the same result where both apply).
// Both operands are read before R1 is written, so R1 may be one of them.
template <std::uint8_t Op>
[[gnu::always_inline]] inline bool plainArith(const Value& a, const Value& b, Run& run) {
    Value& out = run.R1;
    double x = 0, y = 0;
    if (Op < 3 && isInteger(a.kind) && isInteger(b.kind)) {
        const std::int64_t p = a.i, q = b.i;
        const std::int64_t r = Op == 0 ? p + q : Op == 1 ? p - q : p * q;
        setInteger(out, a.kind == ValueKind::Int16 && b.kind == ValueKind::Int16, r);
        run.invalidFlag = false;
        run.zeroFlag = r == 0;
        run.negativeFlag = r < 0;
        return true;
    } else if (a.kind == ValueKind::Real64 && b.kind == ValueKind::Real64) {
        x = a.d, y = b.d;
    } else if (!plainNumber(a, x) || !plainNumber(b, y)) {
        return false;
    }
    if (Op == 3 && (y == 0 || !std::isfinite(y))) [[unlikely]]
        return false;
    const double r = Op == 0 ? x + y : Op == 1 ? x - y : Op == 2 ? x * y : x / y;
    if (!std::isfinite(r)) [[unlikely]]
        return false;
    if (out.kind == ValueKind::String) [[unlikely]]
        out.s.clear();
    out.kind = ValueKind::Real64;
    out.d = r;
    run.invalidFlag = false;
    run.zeroFlag = r == 0;
    run.negativeFlag = r < 0;
    return true;
}

[[gnu::always_inline]] inline bool plainArith(std::uint8_t op, const Value& a, const Value& b,
                                              Run& run) {
    switch (op) {
    case 0: return plainArith<0>(a, b, run);
    case 1: return plainArith<1>(a, b, run);
    case 2: return plainArith<2>(a, b, run);
    default: return plainArith<3>(a, b, run);
    }
}

Status valueArith(std::uint8_t op, const Value& a, const Value& b, Value& out) {
    switch (op) {
    case 0: return tekkel::addValues(a, b, out);
    case 1: return tekkel::subtractValues(a, b, out);
    case 2: return tekkel::multiplyValues(a, b, out);
    default: return tekkel::divideValues(a, b, out);
    }
}

// The allocation map that the selection's map number names (0 the run's own, else one of
// the table's), or nullptr.
[[gnu::always_inline]] inline const tekkel::AllocMap* selectedMap(StepContext& ctx) {
    const std::int32_t m = ctx.run.mapSelect;
    if (m == 0) return &ctx.run.ownMap;
    const auto& table = ctx.machine.allocTable;
    return m >= 1 && m < static_cast<std::int64_t>(table.size())
               ? &table[static_cast<std::size_t>(m)]
               : nullptr;
}

// The selected variable (register -1); locals, shared variables and the shared variables an
// allocation map names are looked up here, every failure by Variables.h.
[[gnu::always_inline]] inline Value* selected(StepContext& ctx, bool forWrite) {
    Run& run = ctx.run;
    const std::int64_t idx = run.varIndex;
    if (run.space == 0 && idx >= 1 && idx <= run.localCount &&
        idx < static_cast<std::int64_t>(run.locals.size()))
        return &run.locals[static_cast<std::size_t>(idx)];
    auto& shared = ctx.machine.sharedValues;
    std::int64_t n = -1;
    if (run.space == 1) {
        n = idx;
    } else if (const auto* m = run.space == 2 ? selectedMap(ctx) : nullptr;
               m && idx >= 1 && idx <= m->total &&
               idx < static_cast<std::int64_t>(m->entries.size())) {
        n = m->entries[static_cast<std::size_t>(idx)];
    }
    if (n >= 1 && n < static_cast<std::int64_t>(shared.size()))
        return &shared[static_cast<std::size_t>(n)];
    return tekkel::selectedVariable(ctx, forWrite);
}

const Value* readOther(StepContext& ctx, std::int16_t reg, Value& scratch) {
    if (reg == -1) return selected(ctx, false);
    return tekkel::readRegister(ctx, reg, scratch);
}

// Reads a register operand: its storage, or readRegister's answer (nullptr on failure).
inline const Value* read(StepContext& ctx, std::int16_t reg, Value Run::*m, Value& scratch) {
    return m ? &(ctx.run.*m) : readOther(ctx, reg, scratch);
}

// The same for an operand that may be a 32-bit register. `scratch` only ever holds numbers.
inline const Value* read(StepContext& ctx, std::int16_t reg, Value Run::*m, std::int32_t Run::*n,
                         Value& scratch) {
    if (m) return &(ctx.run.*m);
    if (n) {
        storeInteger(scratch, ValueKind::Int32, ctx.run.*n);
        return &scratch;
    }
    return readOther(ctx, reg, scratch);
}

// The flag rule, with the kinds a loop works on taken here.
[[gnu::always_inline]] inline void setFlagsFast(Run& run, const Value& v) {
    switch (v.kind) {
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Boolean:
        run.invalidFlag = false;
        run.zeroFlag = v.i == 0;
        run.negativeFlag = v.i < 0;
        return;
    case ValueKind::Real64:
        if (!std::isfinite(v.d)) break;
        run.invalidFlag = false;
        run.zeroFlag = v.d == 0;
        run.negativeFlag = v.d < 0;
        return;
    default: break;
    }
    tekkel::setFlags(run, v);
}

// The flag rule after a write of R1..R5 in place.
[[gnu::always_inline]] inline void flagsAfterWrite(Run& run, std::int16_t reg, const Value& v) {
    if (reg >= 1 && reg <= 5) setFlagsFast(run, v);
}

// dst = src. Only a string value holds text, so a value without one copies as its kind and
// eight bytes.
[[gnu::always_inline]] inline void assign(Value& dst, const Value& src) {
    if (src.kind != ValueKind::String && dst.s.empty()) {
        dst.kind = src.kind;
        std::memcpy(&dst.d, &src.d, sizeof dst.d);
    } else {
        dst = src;
    }
}

// Writes reg P1 (Length, Concat).
bool writeFirst(StepContext& ctx, const Record& r, Value&& v) {
    if (!r.m1) return tekkel::writeRegister(ctx, r.r1, v);
    Value& dst = ctx.run.*r.m1;
    dst = std::move(v);
    flagsAfterWrite(ctx.run, r.r1, dst);
    return true;
}

// The text of a value, in `store` when it is not a string already.
const std::u16string& textOf(const Value& v, std::u16string& store) {
    if (v.isString()) return v.s;
    store = tekkel::toText(v);
    return store;
}

[[gnu::noinline]] std::int32_t concat(StepContext& ctx, const Record& r, Scratch& scratch,
                                      std::int32_t next) {
    const Value* a = r.literal ? r.literal : read(ctx, r.r2, r.m2, scratch.a);
    if (!a) return kFailed;
    const Value* b = r.literal3 ? r.literal3 : read(ctx, r.r3, r.m3, scratch.b);
    if (!b) return kFailed;
    std::u16string sa, sb;
    const std::u16string& ta = textOf(*a, sa);
    const std::u16string& tb = textOf(*b, sb);
    if (ta.size() + tb.size() > tekkel::kMaxTextLength) {
        ctx.outSlot = 1;
        return kFailed;
    }
    if (a->isNull() || b->isNull()) return writeFirst(ctx, r, Value::null()) ? next : kFailed;
    if (r.m1 && a == &(ctx.run.*r.m1) && a->isString()) {
        Value& dst = ctx.run.*r.m1; // reg P1 = reg P1 & X(P3): in place
        dst.s.append(tb);
        flagsAfterWrite(ctx.run, r.r1, dst);
        return next;
    }
    std::u16string joined;
    joined.reserve(ta.size() + tb.size());
    joined.append(ta).append(tb);
    return writeFirst(ctx, r, Value::string(std::move(joined))) ? next : kFailed;
}

[[gnu::noinline]] std::int32_t cut(StepContext& ctx, const Record& r, Scratch& scratch,
                                   std::int32_t next) {
    const Value* t = r.literal1 ? r.literal1 : read(ctx, r.r1, r.m1, scratch.a);
    if (!t) return kFailed;
    std::u16string store;
    const std::u16string& text = textOf(*t, store);
    const Value* c = r.literal ? r.literal : read(ctx, r.r2, r.m2, scratch.b);
    std::int32_t count = 0;
    if (!c) return kFailed;
    if (tekkel::toInt32(*c, count) != Status::Ok || count < 0) {
        ctx.outSlot = 1;
        return kFailed;
    }
    Run& run = ctx.run;
    if (t->isNull()) return tekkel::writeRegister(ctx, 1, Value::null()) ? next : kFailed;
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), text.size());
    std::u16string part = r.arith ? text.substr(text.size() - n) : text.substr(0, n);
    run.R1.kind = ValueKind::String;
    run.R1.s = std::move(part);
    setFlagsFast(run, run.R1);
    return next;
}

std::int32_t otherIntDiv(StepContext& ctx, const Value& a, const Value& b, std::int32_t next);

std::int32_t intDiv(StepContext& ctx, const Value& a, const Value& b, std::int32_t next) {
    Run& run = ctx.run;
    if (isInteger(a.kind) && isInteger(b.kind) && b.i != 0 && !(a.i == INT32_MIN && b.i == -1)) {
        const bool narrow = a.kind == ValueKind::Int16 && b.kind == ValueKind::Int16;
        const std::int32_t n = a.i, m = b.i; // R1 may be an operand
        setInteger(run.R1, narrow, n / m);
        setInteger(run.R4, narrow, n % m);
        setFlagsFast(run, run.R4);
        return next;
    }
    return otherIntDiv(ctx, a, b, next);
}

[[gnu::noinline]] std::int32_t otherIntDiv(StepContext& ctx, const Value& a, const Value& b,
                                           std::int32_t next) {
    Value q, rem;
    if (tekkel::intDivideValues(a, b, q, rem) != Status::Ok) {
        ctx.outSlot = 1;
        return kFailed;
    }
    tekkel::writeRegister(ctx, 1, q);
    tekkel::writeRegister(ctx, 4, rem);
    return next;
}

// reg P1 = length of X(P2).
[[gnu::noinline]] std::int32_t length(StepContext& ctx, const Record& r, Value& scratch,
                                      std::int32_t next) {
    const Value* v = r.literal ? r.literal : read(ctx, r.r2, r.m2, scratch);
    if (!v) return kFailed;
    std::u16string store;
    Value out = v->isNull() ? Value::null()
                            : Value::int32(static_cast<std::int32_t>(textOf(*v, store).size()));
    return writeFirst(ctx, r, std::move(out)) ? next : kFailed;
}

// Inc, Dec of what the record's fast ways leave, by the value rules.
[[gnu::noinline]] std::int32_t otherStep(StepContext& ctx, const Record& r, Value& scratch,
                                         std::int32_t next) {
    const Value* a = read(ctx, r.r1, r.m1, r.n1, scratch);
    if (!a) return kFailed;
    Value out;
    const Value one = Value::int16(1);
    const Status st =
        r.arith ? tekkel::subtractValues(*a, one, out) : tekkel::addValues(*a, one, out);
    if (st != Status::Ok) {
        ctx.outSlot = 1;
        return kFailed;
    }
    return tekkel::writeRegister(ctx, r.r1, out) ? next : kFailed;
}

// Runs a command with its own handler; these change no script and answer Next or Failed.
[[gnu::noinline]] bool handler(StepContext& ctx, std::int32_t address) {
    Run& run = ctx.run;
    const Command& c = ctx.script.commands[static_cast<std::size_t>(address)];
    StepContext own{ctx.machine,
                    ctx.host,
                    run,
                    ctx.sv,
                    ctx.pump,
                    ctx.outSlot,
                    ctx.script,
                    c.p1.isEmpty() ? &run.D1 : &c.p1,
                    c.p2.isEmpty() ? &run.D2 : &c.p2,
                    c.p3.isEmpty() ? &run.D3 : &c.p3,
                    ctx.listing};
    return tekkel::executeCommand(own, c.code) == StepResult::Next;
}

// Whether the record after a fused one runs now: it is within the run and counting it on the
// pump needs no check (when it does, the loop counts it and runs its own record).
[[gnu::always_inline]] inline bool secondRuns(std::int32_t next, std::int64_t limit,
                                              std::int32_t& countdown) {
    if (next >= limit || countdown <= 1) [[unlikely]]
        return false;
    --countdown;
    return true;
}

// R1 = a op b by the value rules, for the operands plainArith leaves.
[[gnu::noinline]] std::int32_t otherArith(StepContext& ctx, std::uint8_t op, const Value& a,
                                          const Value& b, std::int32_t next) {
    Value out;
    if (valueArith(op, a, b, out) != Status::Ok) {
        ctx.outSlot = 1;
        return kFailed;
    }
    return tekkel::writeRegister(ctx, 1, out) ? next : kFailed;
}

// R1 = reg P1 op (reg P2 | P2) for P1 a general register and P2 a general register or a value.
template <std::uint8_t Op, bool Literal>
[[gnu::always_inline]] inline std::int32_t arith(StepContext& ctx, Run& run, const Record& r,
                                                 std::int32_t next) {
    const Value& a = run.*r.m1;
    const Value& b = Literal ? *r.literal : run.*r.m2;
    if (plainArith<Op>(a, b, run)) return next;
    return otherArith(ctx, Op, a, b, next);
}

// Runs `move`, a Move of R1 into a general register.
[[gnu::always_inline]] inline void moveR1(Run& run, const Record& move) {
    Value& dst = run.*move.m1;
    if (&dst != &run.R1) assign(dst, run.R1);
    flagsAfterWrite(run, move.r1, dst);
}

// The same, then reg = R1 for `move`, a Move of R1 into a general register, when the pump
// lets it run now.
template <std::uint8_t Op, bool Literal>
[[gnu::always_inline]] inline std::int32_t arithMove(StepContext& ctx, Run& run, const Record& r,
                                                     const Record& move, std::int32_t next,
                                                     std::int64_t limit, std::int32_t& countdown) {
    const Value& a = run.*r.m1;
    const Value& b = Literal ? *r.literal : run.*r.m2;
    Value& dst = run.*move.m1;
    if (plainArith<Op>(a, b, run)) {
        if (!secondRuns(next, limit, countdown)) return next;
        // R1 holds a number, and the flags are already those of the value written.
        if (dst.s.empty()) {
            dst.kind = run.R1.kind;
            std::memcpy(&dst.d, &run.R1.d, sizeof dst.d);
        } else {
            dst = run.R1;
        }
        return next + 1;
    }
    const std::int32_t n = otherArith(ctx, Op, a, b, next);
    if (n < 0 || !secondRuns(next, limit, countdown)) return n;
    moveR1(run, move);
    return next + 1;
}

// Compares two values into the flags.
[[gnu::always_inline]] inline void compare(Run& run, const Value& a, const Value& b) {
    tekkel::Comparison c;
    if (isInteger(a.kind) && isInteger(b.kind)) {
        const std::int64_t d = static_cast<std::int64_t>(a.i) - b.i;
        c = {true, (d > 0) - (d < 0)};
    } else {
        c = tekkel::compareValues(a, b);
    }
    run.invalidFlag = !c.valid;
    if (c.valid) {
        run.zeroFlag = c.sign == 0;
        run.negativeFlag = c.sign < 0;
    }
}

// Runs the Jump record `jump` at `address`: the address to run next.
[[gnu::always_inline]] inline std::int32_t jumpAt(StepContext& ctx, const Run& run,
                                                  const Record& jump, std::int32_t address) {
    if (jump.condition != 0 && run.*jump.flag != (jump.condition == 2)) return address + 1;
    ctx.outSlot = jump.target;
    return jump.target;
}

constexpr bool isFastArith(RecordKind k) {
    return k >= RecordKind::AddR && k <= RecordKind::DivVMove;
}

constexpr std::uint8_t arithOf(RecordKind k) {
    return static_cast<std::uint8_t>((static_cast<int>(k) - static_cast<int>(RecordKind::AddR)) %
                                     4);
}

constexpr bool literalOf(RecordKind k) {
    return (static_cast<int>(k) - static_cast<int>(RecordKind::AddR)) / 4 % 2 == 1;
}

// Runs one record of kind K: the next address, kFull or kFailed. A fused kind may run the
// next record too, counting it on `countdown`.
template <RecordKind K>
[[gnu::always_inline]] inline std::int32_t
step(StepContext& ctx, Scratch& scratch, const Record* records, std::int32_t address,
     std::int32_t& countdown, std::int64_t limit, Run& run) {
    const Record& r = records[address];
    const std::int32_t next = address + 1;
    Value& sa = scratch.a;
    Value& sb = scratch.b;
    if constexpr (isFastArith(K)) {
        if (K < RecordKind::AddRMove) return arith<arithOf(K), literalOf(K)>(ctx, run, r, next);
        return arithMove<arithOf(K), literalOf(K)>(ctx, run, r, records[next], next, limit,
                                                   countdown);
    } else if constexpr (K >= RecordKind::CompareR && K <= RecordKind::CompareVJump) {
        const bool literal = K == RecordKind::CompareV || K == RecordKind::CompareVJump;
        compare(run, run.*r.m1, literal ? *r.literal : run.*r.m2);
        if (K < RecordKind::CompareRJump || !secondRuns(next, limit, countdown)) return next;
        return jumpAt(ctx, run, records[next], next);
    } else if constexpr (K == RecordKind::ArithMove) {
        const std::int32_t n =
            step<RecordKind::Arith>(ctx, scratch, records, address, countdown, limit, run);
        if (n < 0 || !secondRuns(next, limit, countdown)) return n;
        moveR1(run, records[next]);
        return next + 1;
    } else if constexpr (K == RecordKind::StepR || K == RecordKind::StepRCompare) {
        Value& v = run.*r.m1;
        if (!isInteger(v.kind)) [[unlikely]]
            return otherStep(ctx, r, sa, next);
        const std::int64_t x = static_cast<std::int64_t>(v.i) + (r.arith ? -1 : 1);
        setInteger(v, v.kind == ValueKind::Int16, x);
        if (r.r1 >= 1 && r.r1 <= 5) { // the flag rule, for the number written
            run.invalidFlag = false;
            run.zeroFlag = x == 0;
            run.negativeFlag = x < 0;
        }
        if (K == RecordKind::StepR || !secondRuns(next, limit, countdown)) return next;
        const Record& c = records[next]; // a Compare kind
        compare(run, run.*c.m1, c.literal ? *c.literal : run.*c.m2);
        if (c.kind < RecordKind::CompareRJump || !secondRuns(next + 1, limit, countdown))
            return next + 1;
        return jumpAt(ctx, run, records[next + 1], next + 1);
    } else if constexpr (K == RecordKind::MoveR || K == RecordKind::MoveRJump ||
                         K == RecordKind::MoveFromVar) {
        Value& dst = run.*r.m1;
        const Value* src = K == RecordKind::MoveFromVar ? selected(ctx, false) : &(run.*r.m2);
        if (!src) return kFailed;
        if (&dst != src) assign(dst, *src);
        flagsAfterWrite(run, r.r1, dst);
        if (K != RecordKind::MoveRJump || !secondRuns(next, limit, countdown)) return next;
        return jumpAt(ctx, run, records[next], next);
    } else if constexpr (K == RecordKind::IntDivR || K == RecordKind::IntDivV) {
        return intDiv(ctx, run.*r.m1, K == RecordKind::IntDivV ? *r.literal : run.*r.m2, next);
    } else if constexpr (K == RecordKind::MoveToVar) {
        // A variable is never a register, so the source stays what it is.
        Value* dst = selected(ctx, true);
        if (!dst) return kFailed;
        assign(*dst, run.*r.m2);
        return next;
    } else if constexpr (K == RecordKind::MoveToNumber) {
        const Value& src = run.*r.m2;
        if (!isInteger(src.kind)) [[unlikely]]
            return step<RecordKind::Move>(ctx, scratch, records, address, countdown, limit, run);
        run.*r.n1 = src.i;
        return next;
    }
    switch (K) {
    case RecordKind::Full: return kFull;
    case RecordKind::Next: return next;
    case RecordKind::Jump: {
        if (r.condition != 0 && run.*r.flag != (r.condition == 2)) return next;
        ctx.outSlot = r.target;
        return r.target;
    }
    case RecordKind::Set:
        if (r.m1) {
            assign(run.*r.m1, *r.literal);
            flagsAfterWrite(run, r.r1, run.*r.m1);
            return next;
        }
        if (r.n1 && isInteger(r.literal->kind)) {
            run.*r.n1 = r.literal->i;
            return next;
        }
        if (r.r1 == -1) {
            Value* dst = selected(ctx, true);
            if (!dst) return kFailed;
            assign(*dst, *r.literal);
            return next;
        }
        return tekkel::writeRegister(ctx, r.r1, *r.literal) ? next : kFailed;
    case RecordKind::Move: {
        const Value* v = read(ctx, r.r2, r.m2, r.n2, sb);
        if (!v) return kFailed;
        if (r.m1) {
            Value& dst = run.*r.m1;
            if (&dst != v) assign(dst, *v);
            flagsAfterWrite(run, r.r1, dst);
            return next;
        }
        if (r.n1 && isInteger(v->kind)) {
            run.*r.n1 = v->i;
            return next;
        }
        if (r.r1 == -1) {
            const Value copy = *v; // the source may be where the selection looks
            Value* dst = selected(ctx, true);
            if (!dst) return kFailed;
            assign(*dst, copy);
            return next;
        }
        const Value copy = *v; // the source may be the selected variable the write replaces
        return tekkel::writeRegister(ctx, r.r1, copy) ? next : kFailed;
    }
    case RecordKind::Arith:
    case RecordKind::IntDiv:
    case RecordKind::Compare: {
        const Value* a = read(ctx, r.r1, r.m1, r.n1, sa);
        if (!a) return kFailed;
        const Value* b = r.literal ? r.literal : read(ctx, r.r2, r.m2, r.n2, sb);
        if (!b) return kFailed;
        if (K == RecordKind::IntDiv) return intDiv(ctx, *a, *b, next);
        if (K == RecordKind::Compare) {
            compare(run, *a, *b);
            return next;
        }
        if (plainArith(r.arith, *a, *b, run)) return next;
        return otherArith(ctx, r.arith, *a, *b, next);
    }
    case RecordKind::Length: return length(ctx, r, sb, next);
    case RecordKind::Handler: return handler(ctx, address) ? next : kFailed;
    case RecordKind::Concat: return concat(ctx, r, scratch, next);
    case RecordKind::Cut: return cut(ctx, r, scratch, next);
    case RecordKind::Step: {
        if (r.n1) {
            // A 32-bit register stays one; past its range the full rule refuses the result.
            std::int32_t& n = run.*r.n1;
            if (r.arith ? n != INT32_MIN : n != INT32_MAX) {
                n += r.arith ? -1 : 1;
                return next;
            }
        }
        return otherStep(ctx, r, sa, next);
    }
    default: break;
    }
    return kFull;
}

} // namespace

const CompiledScript& compiledForm(const Script& script) {
    const CompiledScript* c = script.compiled.get();
    if (c && c->commands == script.commands.data() && c->size == script.commands.size() &&
        c->lastAddress == script.lastAddress)
        return *c;
    auto form = std::make_shared<CompiledScript>();
    form->commands = script.commands.data();
    form->size = script.commands.size();
    form->lastAddress = script.lastAddress;
    form->records.reserve(form->size);
    for (const Command& command : script.commands)
        form->records.push_back(compile(script, command));
    fuse(form->records);
    c = form.get();
    script.compiled.set(std::move(form));
    return *c;
}

void compileFullWay(const Script& script) {
    auto form = std::make_shared<CompiledScript>();
    form->commands = script.commands.data();
    form->size = script.commands.size();
    form->lastAddress = script.lastAddress;
    form->records.assign(form->size, Record{});
    script.compiled.set(std::move(form));
}

#define TEKKEL_KINDS(X)                                                                            \
    X(Full)                                                                                        \
    X(Next)                                                                                        \
    X(Set)                                                                                         \
    X(Move)                                                                                        \
    X(Arith)                                                                                       \
    X(IntDiv)                                                                                      \
    X(Step)                                                                                        \
    X(Compare)                                                                                     \
    X(Jump)                                                                                        \
    X(Length)                                                                                      \
    X(Concat)                                                                                      \
    X(Cut)                                                                                         \
    X(Handler)                                                                                     \
    X(AddR)                                                                                        \
    X(SubR)                                                                                        \
    X(MulR)                                                                                        \
    X(DivR)                                                                                        \
    X(AddV)                                                                                        \
    X(SubV)                                                                                        \
    X(MulV)                                                                                        \
    X(DivV)                                                                                        \
    X(AddRMove)                                                                                    \
    X(SubRMove)                                                                                    \
    X(MulRMove)                                                                                    \
    X(DivRMove)                                                                                    \
    X(AddVMove)                                                                                    \
    X(SubVMove)                                                                                    \
    X(MulVMove)                                                                                    \
    X(DivVMove)                                                                                    \
    X(CompareR)                                                                                    \
    X(CompareV)                                                                                    \
    X(CompareRJump) X(CompareVJump) X(MoveR) X(StepR) X(StepRCompare) X(ArithMove) X(MoveToNumber) \
        X(MoveFromVar) X(MoveToVar) X(MoveRJump) X(IntDivR) X(IntDivV)

Stopped runRecords(StepContext& ctx, const CompiledScript& code, std::int32_t address,
                   std::int32_t last) {
    const Record* records = code.records.data();
    Run& run = ctx.run;
    // Past `limit` the run either passes its last address or has no record to run.
    const std::int64_t count = static_cast<std::int64_t>(code.records.size());
    const std::int64_t limit = std::min<std::int64_t>(static_cast<std::int64_t>(last) + 1, count);
    // Both a stop (kFull, kFailed) and an address at or past `limit` end the loop: one test.
    const std::uint32_t end = static_cast<std::uint32_t>(std::max<std::int64_t>(limit, 0));
    Scratch scratch;
    const std::int32_t firstCountdown = ctx.pump.takeCountdown();
    std::int32_t countdown = firstCountdown;
    bool refilled = false; // the pump's check ran, after a record that did
    Stopped out{Stop::Full, address};
    std::int32_t next = 0;
#if defined(__GNUC__)
    // Each kind ends in its own jump to the next record's kind, which the processor predicts
    // far better than the one shared jump of a switch.
#define TEKKEL_LABEL(K) &&run##K,
    static void* const kRun[] = {TEKKEL_KINDS(TEKKEL_LABEL)};
#undef TEKKEL_LABEL
    goto* kRun[static_cast<int>(records[address].kind)];
#define TEKKEL_CASE(K)                                                                             \
    run##K : next = step<RecordKind::K>(ctx, scratch, records, address, countdown, limit, run);    \
    if (static_cast<std::uint32_t>(next) >= end) [[unlikely]]                                      \
        goto stop;                                                                                 \
    address = next;                                                                                \
    if (--countdown <= 0) [[unlikely]] {                                                           \
        refilled = true;                                                                           \
        if (!ctx.pump.slowCheck(countdown)) goto stop;                                             \
    }                                                                                              \
    /* the address in a register: GCC would otherwise reload it from the stack each time */        \
    asm("" : "+r"(address));                                                                       \
    goto* kRun[static_cast<int>(records[address].kind)];
    TEKKEL_KINDS(TEKKEL_CASE)
#undef TEKKEL_CASE
#else
    for (;;) {
        switch (records[address].kind) {
#define TEKKEL_CASE(K)                                                                             \
    case RecordKind::K:                                                                            \
        next = step<RecordKind::K>(ctx, scratch, records, address, countdown, limit, run);         \
        break;
            TEKKEL_KINDS(TEKKEL_CASE)
#undef TEKKEL_CASE
        }
        if (static_cast<std::uint32_t>(next) >= end) [[unlikely]]
            goto stop;
        address = next;
        if (--countdown <= 0) [[unlikely]] {
            refilled = true;
            if (!ctx.pump.slowCheck(countdown)) goto stop;
        }
    }
#endif
stop:
    // Every record that runs counts on the pump before anything can refill it.
    const bool ran = next != kFull || countdown != firstCountdown || refilled;
    if (next == kFailed) {
        out.why = Stop::Failed;
    } else if (next >= 0) {
        address = next;
        out.why = address > last ? Stop::Past : address >= count ? Stop::Full : Stop::Yielded;
    }
    ctx.pump.giveCountdown(countdown);
    if (ran) ctx.run.suspended = false;
    out.address = address;
    return out;
}

#undef TEKKEL_KINDS

} // namespace tekkel
