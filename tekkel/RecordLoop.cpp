// The records loop: runs a script's compiled records (Compiler.h) from an address until one
// must go the full way, fails, passes the run's end or the pump's budget is spent.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "tekkel/Commands.h"
#include "tekkel/Compiler.h"
#include "tekkel/Opcodes.h"
#include "tekkel/RecordKinds.h"
#include "tekkel/Registers.h"
#include "tekkel/Value.h"
#include "tekkel/Variables.h"

namespace tekkel {

namespace {

constexpr std::int32_t kFull = -1;
constexpr std::int32_t kFailed = -2;
constexpr std::int32_t kPast = -3; // a Past record: the loop ends at its address
// The loop that counts each record has its countdown refilled: the other goes on.
constexpr std::int32_t kRefilled = -4;
// Counting straight runs at once (Cursor::counted false), a jump goes on to a run that the
// pump's countdown does not cover: the records go on from the address kSlowFrom - answer
// (slowFrom), counted each, that one not yet.
constexpr std::int32_t kSlowFrom = -8;

// Room for the values of typed registers that readRegister answers, kept across steps.
struct Scratch {
    Value a, b;
};

// Reads a register operand: its storage, the selected variable found inline, or
// readRegister's answer (nullptr on failure).
[[gnu::always_inline]] inline const Value* read(StepContext& ctx, std::int16_t reg,
                                                RunSlot<Value> m, Value& scratch) {
    if (m) return &(m.in(ctx.run));
    if (reg == regNumber(Reg::Var)) return selectedVariable(ctx, false);
    return readRegister(ctx, reg, scratch);
}

// The same for an operand that may be a 32-bit register. `scratch` only ever holds numbers.
[[gnu::always_inline]] inline const Value* read(StepContext& ctx, std::int16_t reg,
                                                RunSlot<Value> m, RunSlot<std::int32_t> n,
                                                Value& scratch) {
    if (m) return &(m.in(ctx.run));
    if (n) {
        storeInteger(scratch, ValueKind::Int32, n.in(ctx.run));
        return &scratch;
    }
    return read(ctx, reg, m, scratch);
}

// Writes reg P1 (Length, Concat); `flags`: false when the next command sets every flag anew.
bool writeFirst(StepContext& ctx, const Record& r, Value&& v, bool flags = true) {
    if (!r.m1) return writeRegister(ctx, r.r1, v);
    Value& dst = r.m1.in(ctx.run);
    dst = std::move(v);
    if (flags) flagsAfterWrite(ctx.run, r.r1, dst);
    return true;
}

// The text of a value, in `store` when it is not a string already.
const std::u16string& textOf(const Value& v, std::u16string& store) {
    if (v.isString()) return v.s;
    store = toText(v);
    return store;
}

std::int32_t failWith(StepContext& ctx, std::int32_t errorNumber) {
    ctx.error = errorNumber;
    return kFailed;
}

const Command& commandAt(const StepContext& ctx, std::int32_t address) {
    return ctx.script.commands[static_cast<std::size_t>(address)];
}

// The register whose write left the flags unset before record `at` of `code`, or none.
RunSlot<Value> flagsFromAt(const CompiledScript& code, std::int32_t at) {
    if (at < 0 || static_cast<std::size_t>(at) >= code.flagsFrom.size()) return {};
    return code.flagsFrom[static_cast<std::size_t>(at)];
}

// Sets the flags that the records before `at` left unset (CompiledScript::flagsFrom), from the
// register whose write left them; nothing when none did. That register holds what it was
// written up to `at`, and the flag rule gives the same flags again for the same value, so the
// flags may be set early, or twice.
void settleFlags(Run& run, const CompiledScript& code, std::int32_t at) {
    if (const RunSlot<Value> from = flagsFromAt(code, at)) setFlags(run, from.in(run));
}
// The same inside the records loop, for the running script's compiled form.
[[gnu::noinline]] void settleFlags(StepContext& ctx, std::int32_t at) {
    if (const CompiledScript* code = ctx.script.compiled.get()) settleFlags(ctx.run, *code, at);
}

// X(P3) of the Concat at `address`: a text or a register, as its command says.
const Value* operand3(StepContext& ctx, const Record& r, std::int32_t address, Value& scratch) {
    const Command& c = commandAt(ctx, address);
    if (r.texts & Record::kTextP3) return &c.p3;
    std::int16_t reg = 0;
    if (!r.m3 && toInt16(c.p3, reg) != Status::Ok) return nullptr; // taken when compiled
    return read(ctx, reg, r.m3, scratch);
}

// Writes ta & tb into reg P1 of the Concat `r`.
[[gnu::always_inline]] inline std::int32_t join(StepContext& ctx, const Record& r,
                                                const std::u16string& ta, const std::u16string& tb,
                                                std::int32_t next, bool flags) {
    if (r.m1 && &tb != &r.m1.in(ctx.run).s) {
        // In P1's own room, which a loop's earlier texts left; when its text comes first
        // (reg P1 = reg P1 & X), only the second is added.
        Value& dst = r.m1.in(ctx.run);
        if (&ta != &dst.s) {
            dst.s.reserve(ta.size() + tb.size());
            dst.s.assign(ta);
        }
        dst.s.append(tb);
        dst.kind = ValueKind::String;
        dst.d = 0;
        if (flags) flagsAfterWrite(ctx.run, r.r1, dst);
        return next;
    }
    std::u16string joined;
    joined.reserve(ta.size() + tb.size());
    joined.append(ta).append(tb);
    return writeFirst(ctx, r, Value::string(std::move(joined)), flags) ? next : kFailed;
}

// A Concat of values that are not both strings: their texts, or null when either is null.
[[gnu::noinline]] std::int32_t concatOther(StepContext& ctx, const Record& r, const Value& a,
                                           const Value& b, std::int32_t next, bool flags) {
    std::u16string sa, sb;
    const std::u16string& ta = textOf(a, sa);
    const std::u16string& tb = textOf(b, sb);
    if (ta.size() + tb.size() > kMaxTextLength) return failWith(ctx, kErrorBadValue);
    if (a.isNull() || b.isNull()) return writeFirst(ctx, r, Value::null(), flags) ? next : kFailed;
    return join(ctx, r, ta, tb, next, flags);
}

[[gnu::noinline]] std::int32_t concat(StepContext& ctx, const Record& r, Scratch& scratch,
                                      std::int32_t next, bool flags = true) {
    const Value* a = r.literal ? r.literal : read(ctx, r.r2, r.m2, scratch.a);
    if (!a) return kFailed;
    const Value* b = operand3(ctx, r, next - 1, scratch.b);
    if (!b) return kFailed;
    if (!a->isString() || !b->isString()) return concatOther(ctx, r, *a, *b, next, flags);
    if (a->s.size() + b->s.size() > kMaxTextLength) return failWith(ctx, kErrorBadValue);
    return join(ctx, r, a->s, b->s, next, flags);
}

// A cut's count: an integer as it is, anything else by the value rules; false when it is none.
[[gnu::always_inline]] inline bool cutCount(const Value& c, std::int32_t& count) {
    if (isInteger(c.kind)) [[likely]]
        count = c.i;
    else if (toInt32(c, count) != Status::Ok)
        return false;
    return count >= 0;
}

// R1's text = the first (right false) or last `count` units of `text`, which may be R1's own.
void cutInto(Run& run, std::u16string_view text, bool right, std::int32_t count) {
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), text.size());
    setText(run.R1.s, text.substr(right ? text.size() - n : 0, n));
    run.R1.kind = ValueKind::String;
    setFlags(run, run.R1);
}

// cutInto for a value that is no string, out of cut's way, as is lengthOfText for length: the
// text they make would give the common case a frame as large as theirs.
[[gnu::noinline]] void cutText(Run& run, const Value& v, bool right, std::int32_t count) {
    cutInto(run, toText(v), right, count);
}
[[gnu::noinline]] std::size_t lengthOfText(const Value& v) {
    return toText(v).size();
}

[[gnu::noinline]] std::int32_t cut(StepContext& ctx, const Record& r, Scratch& scratch,
                                   std::int32_t next) {
    const Value* t =
        r.texts & Record::kTextP1 ? &commandAt(ctx, next - 1).p1 : read(ctx, r.r1, r.m1, scratch.a);
    if (!t) return kFailed;
    const Value* c = r.literal ? r.literal : read(ctx, r.r2, r.m2, scratch.b);
    std::int32_t count = 0;
    if (!c) return kFailed;
    if (!cutCount(*c, count)) return failWith(ctx, kErrorBadValue);
    if (t->isNull()) return writeRegister(ctx, Reg::R1, Value::null()) ? next : kFailed;
    // Into R1's own room, which a loop's earlier cuts left.
    if (t->isString())
        cutInto(ctx.run, t->s, r.arith != 0, count);
    else
        cutText(ctx.run, *t, r.arith != 0, count);
    return next;
}

// The part of `t` a Left (right false) or Right of `count` keeps.
std::u16string_view cutPart(std::u16string_view t, bool right, std::int32_t count) {
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(count), t.size());
    return right ? t.substr(t.size() - n) : t.substr(0, n);
}

// The count of the Cut `r`, when it reads as a count: a value or a general register.
bool cutCount(const Run& run, const Record& r, std::int32_t& count) {
    return cutCount(r.literal ? *r.literal : r.m2.in(run), count);
}

// A cut of a text, then a cut of R1 (cutsR1): the second part is taken from the text itself, as
// the first's flags and then the second's leave them. False, nothing done, when either cut
// would go otherwise (a value that is no text, a count that fails, a part that reads as a
// number only a full reading tells).
[[gnu::noinline]] bool cutTwice(StepContext& ctx, const Record& first, const Record& second,
                                std::int32_t address) {
    Run& run = ctx.run;
    const bool inCommand = first.texts & Record::kTextP1;
    if ((!first.m1 && !inCommand) || (!first.literal && !first.m2)) return false;
    const Value* t = inCommand ? &commandAt(ctx, address).p1 : &first.m1.in(run);
    std::int32_t n1 = 0, n2 = 0;
    if (!t->isString()) return false;
    if (!cutCount(run, first, n1) || !cutCount(run, second, n2)) return false;
    const std::u16string_view part = cutPart(t->s, first.arith != 0, n1);
    bool negative = run.negativeFlag;
    if (!textNegativeFlag(part, negative)) return false;
    const std::u16string_view piece = cutPart(part, second.arith != 0, n2);
    run.negativeFlag = negative; // the first part's, which a piece that is no number keeps
    setText(run.R1.s, piece);
    run.R1.kind = ValueKind::String;
    setFlags(run, run.R1);
    return true;
}

[[gnu::noinline]] std::int32_t otherIntDiv(StepContext& ctx, const Value& a, const Value& b,
                                           std::int32_t next) {
    settleFlags(ctx, next - 1);
    Value q, rem;
    if (intDivideValues(a, b, q, rem) != Status::Ok) return failWith(ctx, kErrorBadValue);
    writeRegister(ctx, Reg::R1, q);
    writeRegister(ctx, Reg::R4, rem);
    return next;
}

// R1, R4 = a IntDiv b and their flags, which `quiet` leaves unset (Record::kQuietFlags).
[[gnu::always_inline]] inline std::int32_t intDiv(StepContext& ctx, const Value& a, const Value& b,
                                                  std::int32_t next, bool quiet = false) {
    Run& run = ctx.run;
    if (!plainIntDiv(a, b, run.R1, run.R4) && !roundedIntDiv(a, b, run.R1, run.R4)) [[unlikely]]
        return otherIntDiv(ctx, a, b, next);
    if (!quiet) setNumberFlags(run, run.R4.i); // the remainder is an integer
    return next;
}

// reg P1 = length of X(P2).
[[gnu::noinline]] std::int32_t length(StepContext& ctx, const Record& r, Value& scratch,
                                      std::int32_t next) {
    const Value* v = r.literal ? r.literal : read(ctx, r.r2, r.m2, scratch);
    if (!v) return kFailed;
    if (v->isNull()) return writeFirst(ctx, r, Value::null()) ? next : kFailed;
    const auto n = static_cast<std::int32_t>(v->isString() ? v->s.size() : lengthOfText(*v));
    if (!r.m1) return writeRegister(ctx, r.r1, Value::int32(n)) ? next : kFailed;
    Value& dst = r.m1.in(ctx.run); // the count is taken before the text's register is written
    setInt32(dst, false, n);
    flagsAfterWrite(ctx.run, r.r1, dst);
    return next;
}

// Inc, Dec of a 64-bit real, in place: it stays one, as the value rules keep it (counters read
// from texts are reals). False, nothing done, for any other value or a result past the reals.
[[gnu::always_inline]] inline bool stepReal(Value& v, bool down) {
    if (v.kind != ValueKind::Real64) return false;
    const double x = v.d + (down ? -1.0 : 1.0);
    if (!finiteReal(x)) return false;
    v.d = x;
    return true;
}

// Inc, Dec of what the record's fast ways leave, by the value rules.
[[gnu::noinline]] std::int32_t otherStep(StepContext& ctx, const Record& r, Value& scratch,
                                         std::int32_t next) {
    const Value* a = read(ctx, r.r1, r.m1, r.n1, scratch);
    if (!a) return kFailed;
    settleFlags(ctx, next - 1);
    Value out;
    if (stepValue(*a, r.arith != 0, out) != Status::Ok) return failWith(ctx, kErrorBadValue);
    return writeRegister(ctx, r.r1, out) ? next : kFailed;
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
                    ctx.error,
                    ctx.target,
                    ctx.script,
                    c.p1.isEmpty() ? &run.D1 : &c.p1,
                    c.p2.isEmpty() ? &run.D2 : &c.p2,
                    c.p3.isEmpty() ? &run.D3 : &c.p3,
                    ctx.listing};
    return executeCommand(own, c.code) == StepResult::Next;
}

// Whether the record after a fused one runs now: counting it on the pump needs no check (when
// it does, the loop counts it and runs its own record). The compiler fuses no record with the
// Past record after the run's end (endRecords), so the second is always within the run.
[[gnu::always_inline]] inline bool secondRuns(std::int32_t& countdown) {
    if (countdown <= 1) [[unlikely]]
        return false;
    --countdown;
    return true;
}

// R1 = a op b by the value rules, for the operands plainArith leaves.
[[gnu::noinline]] std::int32_t otherArith(StepContext& ctx, ArithOp op, const Value& a,
                                          const Value& b, std::int32_t next) {
    settleFlags(ctx, next - 1);
    Value out;
    if (arithmetic(op, a, b, out) != Status::Ok) return failWith(ctx, kErrorBadValue);
    return writeRegister(ctx, Reg::R1, out) ? next : kFailed;
}

// The flag rule of R1 for the number plainArith wrote into it for record `r`, which may leave
// them unset (Record::kQuietFlags); always inlined (GCC left one out of line).
[[gnu::always_inline]] inline auto r1Flags(Run& run, const Record& r) {
    return [&run, &r ](auto x) __attribute__((always_inline)) {
        if (!(r.texts & Record::kQuietFlags)) setNumberFlags(run, x);
    };
}

// R1 = a op b and its flags, for record `r`: the plain cases here, the rest by otherArith.
template <ArithOp Op, bool RealsFirst = false>
[[gnu::always_inline]] inline std::int32_t arith(StepContext& ctx, const Record& r, Run& run,
                                                 const Value& a, const Value& b,
                                                 std::int32_t next) {
    if (!plainArith<Op, RealsFirst>(a, b, run.R1, r1Flags(run, r)))
        return otherArith(ctx, Op, a, b, next);
    return next;
}

[[gnu::always_inline]] inline std::int32_t arith(StepContext& ctx, const Record& r, Run& run,
                                                 ArithOp op, const Value& a, const Value& b,
                                                 std::int32_t next) {
    switch (op) {
    case ArithOp::Add: return arith<ArithOp::Add>(ctx, r, run, a, b, next);
    case ArithOp::Sub: return arith<ArithOp::Sub>(ctx, r, run, a, b, next);
    case ArithOp::Mul: return arith<ArithOp::Mul>(ctx, r, run, a, b, next);
    case ArithOp::Div: return arith<ArithOp::Div>(ctx, r, run, a, b, next);
    }
    return kFull;
}

// Copies `number`, which holds a number (an arithmetic's R1), into `dst`, which may be it: its kind
// and eight bytes, unless `dst` holds a text.
[[gnu::always_inline]] inline void copyNumber(Value& dst, const Value& number) {
    if (!dst.s.empty()) [[unlikely]]
        dst = number;
    dst.kind = number.kind;
    std::memcpy(&dst.d, &number.d, sizeof dst.d);
}

// Runs `move`, a Move of R1 into a general register, right after an arithmetic record wrote
// R1: the flags are already those of R1's value, and the flag rule gives the same flags again
// for the same value, so the write is the copy alone.
[[gnu::always_inline]] inline void moveR1(Run& run, const Record& move) {
    Value& dst = move.m1.in(run);
    if (&dst != &run.R1) assign(dst, run.R1);
}

// A comparison's flags, for record `r` at `at`: values it cannot compare keep zero and negative
// as the records before left them (settleFlags); the others set every flag.
[[gnu::always_inline]] inline void compareFlags(StepContext& ctx, Run& run, const Record& r,
                                                std::int32_t at, const Value& a, const Value& b) {
    if (compareNumbersIntoFlags(run, a, b)) [[likely]]
        return;
    const Comparison c = compareOther(a, b);
    if (!c.valid && (r.texts & Record::kAfterUnset)) settleFlags(ctx, at);
    comparisonIntoFlags(run, c);
}

// Whether a write of P1 of `r`, a general register, applies the flag rule (R1..R5).
[[gnu::always_inline]] inline bool flagsP1(const Record& r) {
    return r.texts & Record::kFlagsP1;
}

// Writes P1 of `r`, a general register, with the flag rule when it applies.
[[gnu::always_inline]] inline void writeP1(Run& run, const Record& r, const Value& src) {
    writeGeneral(run, flagsP1(r), r.m1.in(run), src);
}

// Where the records go on after a kind: the address (or kFull, kFailed, kPast, a kSlowFrom
// address), and the record there when the kind knows it by its own (Cursor::next): the loop then
// holds it as it is, rather than working it out from the address after the kind's answers meet.
// An address found elsewhere (a jump, a handler, a failure) comes without its record.
struct Onward {
    std::int32_t address;
    const Record* at = nullptr;
    Onward(std::int32_t a) : address(a) {}
    Onward(std::int32_t a, const Record* r) : address(a), at(r) {}
    operator std::int32_t() const { return address; }
    Onward operator+(std::int32_t k) const { return {address + k, at + k}; }
};

// Where one record runs: the run loop's state that a kind may read or, fused, count on. The loop
// counts each record on the countdown (Counted), or each straight run at once: then every record
// of a run it began runs, the fused ones with their seconds, and only a jump looks at the
// countdown (jumpAt).
template <bool Counted> struct Cursor {
    static constexpr bool counted = Counted;
    StepContext& ctx;
    Scratch& scratch;
    const Record* records;
    // Where each record's kind runs (CompiledScript::runAt, whose first kRecordKindCount
    // places, before this, say where each kind runs).
    const void** runAt;
    std::int32_t address;
    // The record at `address`, which the loop moves with it: a record that goes on to the next
    // finds its own by one addition, not from its address.
    const Record* at;
    // Counted: the pump's countdown before the record at `address`, whose count it holds. Else
    // the countdown as it will be at the last record of the straight run that `address` is in,
    // which the loop took at once when the run began.
    std::int32_t countdown;
    Run& run;
    std::int32_t& error; // ctx.error, which a taken jump writes (noteJump)

    [[gnu::always_inline]] const Record& record() const { return *at; }
    // The record `k` places after the cursor's, which a fused kind runs as its second.
    [[gnu::always_inline]] const Record& after(int k = 1) const { return at[k]; }
    [[gnu::always_inline]] Onward next() const { return {address + 1, at + 1}; }
    // Whether the record after a fused one runs now (secondRuns), counting it if so.
    [[gnu::always_inline]] bool second() { return !counted || secondRuns(countdown); }
    // Whether it would run now, without counting it yet (countSecond).
    [[gnu::always_inline]] bool secondFits() const { return !counted || countdown > 1; }
    [[gnu::always_inline]] void countSecond() {
        if (counted) --countdown;
    }

    // The variable `var` named when a record last found it, or nullptr; it stays valid up to
    // the next record that reselects (see Record::kSameVariable), which finds it anew.
    Value* selected = nullptr;
};

// The selected variable of a record that names `var` (findsVariable), kept for the records
// after it; nullptr when the selection names none (`ctx.error` as selectedVariable leaves it).
[[gnu::always_inline]] inline Value* selectedOf(auto& c, const Record& r) {
    if ((r.texts & Record::kSameVariable) && c.selected) return c.selected;
    c.selected = selectedVariable(c.ctx, c.run, false);
    return c.selected;
}

// Reads a register operand of the cursor's record, `var` through the cursor.
[[gnu::always_inline]] inline const Value* operand(auto& c, std::int16_t reg, RunSlot<Value> m,
                                                   RunSlot<std::int32_t> n, Value& scratch) {
    if (m) return &(m.in(c.run));
    if (reg == regNumber(Reg::Var)) return selectedOf(c, c.record());
    return read(c.ctx, reg, m, n, scratch);
}

// The answer that hands the records from `address` on to the loop that counts each record.
[[gnu::always_inline]] inline std::int32_t slowFrom(std::int32_t address) {
    return kSlowFrom - address;
}

// slowFrom(address) where it is the answer: GCC would otherwise work it out before the test that
// chooses it, at every jump.
[[gnu::always_inline]] inline std::int32_t slowFromHere(std::int32_t address) {
    asm volatile("" : "+r"(address));
    return slowFrom(address);
}

// Runs the Jump record `jump` at `address`: the address to run next. Counting each record, a
// taken jump runs the labels at its target with it (their number is the record's `arith`) when
// counting them on the pump needs no check: they do nothing but count. Counting straight runs
// at once, the jump counts the whole run it goes on to, its labels too, when the countdown
// covers it (that run ends at a jump again, or stops the loop); otherwise the loop that counts
// each record goes on from there.
[[gnu::always_inline]] inline Onward jumpAt(auto& c, const Record& jump, std::int32_t address) {
    if (!((jump.condition >> jump.flag.in(c.run)) & 1)) {
        // Falling through goes on to the record after the jump's, which the loop need not find.
        const Onward fallen{address + 1, &jump + 1};
        if (c.counted) return fallen;
        if (c.countdown <= jump.runs.fallen) [[unlikely]]
            return slowFromHere(address + 1);
        c.countdown -= jump.runs.fallen;
        return fallen;
    }
    c.error = jump.target; // noteJump, without reading ctx
    // The compiler resolved every target within the records.
    if (jump.target < 0) __builtin_unreachable();
    if (!c.counted) {
        if (c.countdown <= jump.runs.taken) [[unlikely]]
            return slowFromHere(jump.target);
        c.countdown -= jump.runs.taken;
        return jump.target + jump.arith;
    }
    if (c.countdown <= jump.arith) [[unlikely]]
        return jump.target;
    c.countdown -= jump.arith;
    return jump.target + jump.arith;
}

// Places of CompiledScript::runAt from one record's to the next's (linkRecords).
constexpr std::int32_t kRunStride = sizeof(Record) / sizeof(const void*);
static_assert(sizeof(Record) % sizeof(const void*) == 0);

// Switches a fast arithmetic record of kind K to the twin that tests first the operands it
// met (RecordKinds.h): two reals take it to the twin, two integers back.
template <RecordKind K> struct Quicken {
    static constexpr FastArith f = fastArith(K);
    static constexpr bool moves = K == f.withMove || K == f.realWithMove;
    static constexpr bool real = K == f.real || K == f.realWithMove;
    const Record& r;
    const void** runAt; // Cursor::runAt
    std::int32_t address;
    [[gnu::always_inline]] void set(RecordKind k) const {
        r.kind = k;
        runAt[address * kRunStride] = runAt[static_cast<int>(k) - kRecordKindCount];
    }
    [[gnu::always_inline]] void integers() const {
        if constexpr (real) set(moves ? f.withMove : f.kind);
    }
    [[gnu::always_inline]] void reals() const {
        if constexpr (!real && f.real != RecordKind::Full) set(moves ? f.realWithMove : f.real);
    }
};

// The fast arithmetic kinds, with a Move of R1 after them, and their twins.
template <RecordKind K> [[gnu::always_inline]] inline Onward stepFastArith(auto& c) {
    using Q = Quicken<K>;
    constexpr FastArith f = Q::f;
    const Record& r = c.record();
    Run& run = c.run;
    const Value& a = r.m1.in(run);
    const Value& b = f.literal ? *r.literal : r.m2.in(run);
    const Value& bReal = f.literal ? r.literal[1] : b; // CompiledScript::literals
    if (!plainArithPair<f.op, Q::real, f.literal>(a, b, bReal, run.R1, r1Flags(run, r),
                                                  Q{r, c.runAt, c.address})) [[unlikely]] {
        const std::int32_t n = otherArith(c.ctx, f.op, a, b, c.next());
        if (!Q::moves || n < 0 || !c.second()) return n;
        moveR1(run, c.after());
        return c.next() + 1;
    }
    if (!Q::moves || !c.second()) return c.next();
    copyNumber(c.after().m1.in(run), run.R1);
    return c.next() + 1;
}

template <RecordKind K> [[gnu::always_inline]] inline Onward stepCompare(auto& c) {
    const Record& r = c.record();
    const bool literal = K == RecordKind::CompareV || K == RecordKind::CompareVJump;
    compareFlags(c.ctx, c.run, r, c.address, r.m1.in(c.run), literal ? *r.literal : r.m2.in(c.run));
    if (!jumpsAfter(K) || !c.second()) return c.next();
    return jumpAt(c, c.after(), c.next());
}

// The comparison after a step of `step` to `x` of values that are not two numbers: an invalid
// one keeps zero and negative as the step set them.
[[gnu::noinline]] void compareAfterStep(StepContext& ctx, const Record& step, const Record& compare,
                                        std::int32_t at, std::int64_t x) {
    Run& run = ctx.run;
    if (flagsP1(step)) setNumberFlags(run, x);
    const Value& a = compare.m1.in(run);
    compareFlags(ctx, run, compare, at, a, compare.literal ? *compare.literal : compare.m2.in(run));
}

// Inc, Dec of a general register, and then the counting loop's comparison and jump.
template <RecordKind K> [[gnu::always_inline]] inline Onward stepCount(auto& c) {
    const Record& r = c.record();
    Run& run = c.run;
    Value& v = r.m1.in(run);
    const Onward next = c.next();
    if (!isInteger(v.kind)) [[unlikely]] {
        if (!stepReal(v, r.arith != 0)) return otherStep(c.ctx, r, c.scratch.a, next);
        if (flagsP1(r)) setNumberFlags(run, v.d);
        return next;
    }
    // A real past the integers has the sign and zero of the integer it was made from.
    const std::int64_t x = stepInteger(v, r.arith != 0, v);
    constexpr bool compares = K == RecordKind::StepRCompare || K == RecordKind::StepRCompareJump;
    if (!compares || !c.second()) {
        if (flagsP1(r)) setNumberFlags(run, x);
        if (K == RecordKind::StepR || compares || !c.second()) return next;
        return jumpAt(c, c.after(), next);
    }
    const Record& compare = c.after(); // a kind comparesRegister takes
    const Value& a = compare.m1.in(run);
    const Value& b = compare.literal ? *compare.literal : compare.m2.in(run);
    // A valid comparison sets all three flags, so the step's are left out; an invalid one
    // keeps zero and negative as the step set them. The stepped register against an integer
    // is the integers' difference, as it is for a real past the integers, which is whole.
    double d = 0;
    if ((r.texts & Record::kCountsItself) && isInteger(b.kind)) [[likely]] {
        setNumberFlags(run, x - b.i);
    } else if (bothIntegers(a, b)) [[likely]] {
        setNumberFlags(run, integerDifference(a, b));
    } else if (realDifference(a, b, d)) {
        setDifferenceFlags(run, d);
    } else {
        compareAfterStep(c.ctx, r, compare, next, x);
    }
    if (K == RecordKind::StepRCompare || !c.second()) return next + 1;
    return jumpAt(c, c.after(2), next + 1);
}

// Move into a general register from another or the selected variable, and then a jump.
template <RecordKind K> [[gnu::always_inline]] inline Onward stepMoveR(auto& c) {
    const Record& r = c.record();
    Run& run = c.run;
    if constexpr (K == RecordKind::MoveFromVar) {
        // A variable is never the general register it goes into.
        const Value* src = selectedOf(c, r);
        if (!src) return kFailed;
        Value& dst = r.m1.in(run);
        assign(dst, *src);
        if (flagsP1(r)) setFlags(run, dst);
        return c.next();
    }
    writeP1(run, r, r.m2.in(run));
    if (K != RecordKind::MoveRJump || !c.second()) return c.next();
    return jumpAt(c, c.after(), c.next());
}

// Writes `v` into reg P1 of a Set or Move record; `copy`: `v` may be the selected variable
// that the write replaces.
[[gnu::always_inline]] inline std::int32_t writeOperand(auto& c, const Value& v, bool copy) {
    const Record& r = c.record();
    Run& run = c.run;
    if (r.m1) {
        writeP1(run, r, v);
        return c.next();
    }
    if (r.n1) return writeNumber(c.ctx, r.n1.in(run), v) ? c.next() : Onward(kFailed);
    if (r.r1 == regNumber(Reg::Var)) {
        // Finding a variable moves none, so `v` stays where it is.
        Value* dst = selectedOf(c, r);
        if (!dst) return kFailed;
        if (dst != &v) assignVariable(c.ctx.machine, *dst, v);
        return c.next();
    }
    if (!copy) return writeRegister(c.ctx, r.r1, v) ? c.next() : Onward(kFailed);
    const Value held = v;
    return writeRegister(c.ctx, r.r1, held) ? c.next() : Onward(kFailed);
}

[[gnu::always_inline]] inline Onward stepMove(auto& c) {
    const Record& r = c.record();
    const Value* v = operand(c, r.r2, r.m2, r.n2, c.scratch.b);
    return v ? writeOperand(c, *v, true) : kFailed;
}

[[gnu::always_inline]] inline Onward stepMoveToVar(auto& c) {
    // A variable is never a register, so the source stays what it is.
    const Record& r = c.record();
    Value* dst = selectedOf(c, r);
    if (!dst) return kFailed;
    assignVariable(c.ctx.machine, *dst, r.m2.in(c.run));
    return c.next();
}

[[gnu::always_inline]] inline Onward stepMoveToNumber(auto& c) {
    const Record& r = c.record();
    return writeNumber(c.ctx, r.n1.in(c.run), r.m2.in(c.run)) ? c.next() : Onward(kFailed);
}

// Arith, IntDiv and Compare with operands anywhere.
template <RecordKind K> [[gnu::always_inline]] inline Onward stepGeneral(auto& c) {
    const Record& r = c.record();
    const Value* a = operand(c, r.r1, r.m1, r.n1, c.scratch.a);
    if (!a) return kFailed;
    const Value* b = r.literal ? r.literal : operand(c, r.r2, r.m2, r.n2, c.scratch.b);
    if (!b) return kFailed;
    if (K == RecordKind::IntDiv) return intDiv(c.ctx, *a, *b, c.next());
    if (K == RecordKind::Compare) {
        compareFlags(c.ctx, c.run, r, c.address, *a, *b);
        return c.next();
    }
    return arith(c.ctx, r, c.run, static_cast<ArithOp>(r.arith), *a, *b, c.next());
}

// A cut, then a Move of R1: the flag rule gives R1's flags again for the same value.
[[gnu::always_inline]] inline Onward stepCutMove(auto& c) {
    const std::int32_t n = cut(c.ctx, c.record(), c.scratch, c.next());
    if (n < 0 || !c.second()) return n;
    moveR1(c.run, c.after());
    return c.next() + 1;
}

// A cut, then a cut of R1 (Left then RightValue 1: a letter; Right then LeftValue 3: a piece
// from within), without making the first part when both run now.
[[gnu::always_inline]] inline Onward stepCutCut(auto& c) {
    const Record& second = c.after();
    if (c.secondFits() && cutTwice(c.ctx, c.record(), second, c.address)) {
        c.countSecond();
        return c.next() + 1;
    }
    return cut(c.ctx, c.record(), c.scratch, c.next());
}

// A Concat, then the Length of what it wrote (measuresText): when both run now, the Length
// sets the flags the Concat's would have been.
[[gnu::always_inline]] inline Onward stepConcatLength(auto& c) {
    const bool both = c.secondFits();
    const std::int32_t n = concat(c.ctx, c.record(), c.scratch, c.next(), !both);
    if (n < 0 || !both) return n;
    c.countSecond();
    return length(c.ctx, c.after(), c.scratch.b, c.next() + 1);
}

[[gnu::always_inline]] inline Onward stepCompareJump(auto& c) {
    const std::int32_t n = stepGeneral<RecordKind::Compare>(c);
    if (n < 0 || !c.second()) return n;
    return jumpAt(c, c.after(), c.next());
}

[[gnu::always_inline]] inline Onward stepArithMove(auto& c) {
    const std::int32_t n = stepGeneral<RecordKind::Arith>(c);
    if (n < 0 || !c.second()) return n;
    moveR1(c.run, c.after());
    return c.next() + 1;
}

[[gnu::always_inline]] inline Onward stepJump(auto& c) {
    return jumpAt(c, c.record(), c.address);
}

// A Jump to the label named in D1, found among the compiled form's labels, as a Jump record
// to it goes (jumpAt): the way a script returns from a part it jumped to. A D1 that names no
// label goes the full way, which reports it.
[[gnu::always_inline]] inline Onward stepJumpNamed(auto& c) {
    const Value& name = c.run.D1;
    const CompiledScript* code = c.ctx.script.compiled.get();
    if (!name.isString() || !code || code->records.data() != c.records || code->labels.empty())
        return kFull;
    const std::int32_t target = findIndexedLabel(*code, name.s);
    if (target < 0) return kFull;
    c.error = target;     // noteJump
    c.selected = nullptr; // the records at a label no Jump record names find `var` anew
    if (!c.counted) {
        const std::int32_t run = code->straightRuns[static_cast<std::size_t>(target)];
        if (c.countdown <= run) [[unlikely]]
            return slowFromHere(target);
        c.countdown -= run;
    }
    return target;
}

// Inc, Dec of a register anywhere; a 32-bit register stays one, and past its range the full
// rule refuses the result.
[[gnu::always_inline]] inline Onward stepStep(auto& c) {
    const Record& r = c.record();
    if (r.n1) {
        std::int32_t& n = r.n1.in(c.run);
        if (r.arith ? n != INT32_MIN : n != INT32_MAX) {
            n += r.arith ? -1 : 1;
            return c.next();
        }
    }
    return otherStep(c.ctx, r, c.scratch.a, c.next());
}

// Inc, Dec of the selected variable: an integer steps in place.
[[gnu::always_inline]] inline Onward stepVar(auto& c) {
    const Record& r = c.record();
    Value* v = selectedOf(c, r);
    if (!v) return kFailed;
    if (!isInteger(v->kind)) [[unlikely]] {
        if (!stepReal(*v, r.arith != 0)) return otherStep(c.ctx, r, c.scratch.a, c.next());
        return c.next();
    }
    stepInteger(*v, r.arith != 0, *v);
    return c.next();
}

// A comparison with the selected variable (`var` against X or a general register against
// `var`), and then a jump.
template <RecordKind K> [[gnu::always_inline]] inline Onward stepVarCompare(auto& c) {
    constexpr bool varFirst = K == RecordKind::CompareVar || K == RecordKind::CompareVarJump;
    const Record& r = c.record();
    Run& run = c.run;
    const Value* v = selectedOf(c, r);
    if (!v) return kFailed;
    const Value& x = varFirst ? (r.literal ? *r.literal : r.m2.in(run)) : r.m1.in(run);
    compareFlags(c.ctx, run, r, c.address, varFirst ? *v : x, varFirst ? x : *v);
    if (K == RecordKind::CompareVar || K == RecordKind::CompareRVar || !c.second()) return c.next();
    return jumpAt(c, c.after(), c.next());
}

// Arithmetic with the selected variable, and then a Move of R1 into a general register or the
// variable, which the arithmetic found (nothing between moves it): `var op= X` and `R = R op var`.
// `RealsFirst`: a real first operand is tested before two integers (plainArith).
template <RecordKind K, bool RealsFirst = false>
[[gnu::always_inline]] inline Onward stepVarArith(auto& c) {
    constexpr VarArith f = varArith(K);
    const Record& r = c.record();
    Run& run = c.run;
    Value* v = selectedOf(c, r);
    if (!v) return kFailed;
    const Value& x = f.varFirst ? (r.literal ? *r.literal : r.m2.in(run)) : r.m1.in(run);
    const std::int32_t n =
        arith<f.op, RealsFirst>(c.ctx, r, run, f.varFirst ? *v : x, f.varFirst ? x : *v, c.next());
    if (K == f.kind || n < 0 || !c.second()) return n;
    // The flags are those of R1's value already, and a variable takes none.
    const Record& move = c.after();
    copyNumber(move.m1 ? move.m1.in(run) : *v, run.R1);
    return c.next() + 1;
}

[[gnu::always_inline]] inline Onward stepIntDivFast(auto& c, bool literal) {
    const Record& r = c.record();
    return intDiv(c.ctx, r.m1.in(c.run), literal ? *r.literal : r.m2.in(c.run), c.next(),
                  r.texts & Record::kQuietFlags);
}

// The division of an IntDivR or IntDivV record joined with the record after it: true when it
// divided two integers and the second runs now (counted); otherwise the division ran alone, as
// intDiv does, and `alone` is its answer.
[[gnu::always_inline]] inline bool divideBeforeSecond(auto& c, bool literal, std::int32_t& alone) {
    const Record& r = c.record();
    Run& run = c.run;
    const Value& a = r.m1.in(run);
    const Value& b = literal ? *r.literal : r.m2.in(run);
    if (c.secondFits() && plainIntDiv(a, b, run.R1, run.R4)) [[likely]] {
        c.countSecond();
        return true;
    }
    alone = intDiv(c.ctx, a, b, c.next(), r.texts & Record::kQuietFlags);
    return false;
}

// IntDivR or IntDivV, then a comparison of a general register (comparesRegister), mostly of the
// remainder, and its jump. A comparison of two numbers sets every flag, so the division's are
// left out; one of values it cannot compare keeps zero and negative as the division set them.
[[gnu::always_inline]] inline Onward stepIntDivCompare(auto& c, bool literal) {
    std::int32_t alone = 0;
    if (!divideBeforeSecond(c, literal, alone)) [[unlikely]]
        return alone;
    const Record& r = c.record();
    Run& run = c.run;
    const Onward next = c.next();
    const Record& compare = c.after();
    const Value& x = compare.m1.in(run);
    const Value& y = compare.literal ? *compare.literal : compare.m2.in(run);
    if (r.texts & Record::kCountsItself) {
        setNumberFlags(run, std::int64_t{run.R4.i} - compare.literal->i);
    } else if (!compareNumbersIntoFlags(run, x, y)) [[unlikely]] {
        setNumberFlags(run, run.R4.i);
        compareOtherIntoFlags(run, x, y);
    }
    const bool jumps =
        compare.kind == RecordKind::CompareRJump || compare.kind == RecordKind::CompareVJump;
    if (!jumps || !c.second()) return next + 1;
    return jumpAt(c, c.after(2), next + 1);
}

// IntDivR or IntDivV, then a Move between general registers, which mostly takes the quotient
// or the remainder: the Move sets its own flags, as the full way does, and where it sets every
// flag (a number into one of R1..R5) the division's are left out.
[[gnu::always_inline]] inline Onward stepIntDivMove(auto& c, bool literal) {
    std::int32_t alone = 0;
    if (!divideBeforeSecond(c, literal, alone)) [[unlikely]]
        return alone;
    const Record& r = c.record();
    Run& run = c.run;
    const Record& move = c.after();
    const Value& src = move.m2.in(run);
    if (!(flagsP1(move) && setsEveryFlag(src)) && !(r.texts & Record::kQuietFlags))
        setNumberFlags(run, run.R4.i);
    writeP1(run, move, src);
    return c.next() + 1;
}

// Int of a general register: a finite 64-bit real is made whole in place and an integer stays
// as it is, each with the flag rule; the handler takes everything else.
[[gnu::always_inline]] inline Onward stepFloor(auto& c) {
    const Record& r = c.record();
    Value& v = r.m1.in(c.run);
    if (v.kind == ValueKind::Real64 && finiteReal(v.d)) {
        v.d = std::floor(v.d);
        if (flagsP1(r)) setNumberFlags(c.run, v.d);
        return c.next();
    }
    if (!isInteger(v.kind)) return handler(c.ctx, c.address) ? c.next() : Onward(kFailed);
    if (flagsP1(r)) setNumberFlags(c.run, v.i);
    return c.next();
}

template <RecordKind K> Onward step(auto& c);

// A SetNumber or MoveToNumber (First) of varIndex, and then the record after it, of kind Second,
// as the loop would go on to it: a failure of the second stops the loop at its address. Written
// as varIndex itself, a SetNumber's number is the second's index without reading it back; and
// the second finds its variable anew (never Record::kSameVariable), which an empty cursor tells
// the compiler. Arithmetic on a variable chosen by number, a named place, tries reals first: the
// programs that count in such places step them, and those that do arithmetic on them mostly
// hold reals there.
template <RecordKind First, RecordKind Second>
[[gnu::always_inline]] inline Onward stepAfterChoice(auto& c) {
    if constexpr (First == RecordKind::SetNumber) {
        c.run.varIndex = c.record().target;
    } else if (!writeNumber(c.ctx, c.run.varIndex, c.record().m2.in(c.run))) [[unlikely]] {
        return kFailed;
    }
    if (!c.second()) return c.next();
    ++c.address, ++c.at;
    c.selected = nullptr;
    if constexpr (varArith(Second).kind != RecordKind::Full)
        return stepVarArith<Second, First == RecordKind::SetNumber>(c);
    return step<Second>(c);
}

// Runs one record of kind K: the next address, kFull or kFailed. A fused kind may run the
// next record too, counting it on the cursor's countdown.
template <RecordKind K> [[gnu::always_inline]] inline Onward step(auto& c) {
    using enum RecordKind;
    if constexpr (fastArith(K).kind != RecordKind::Full)
        return stepFastArith<K>(c);
    else if constexpr (comparesRegister(K))
        return stepCompare<K>(c);
    else if constexpr (K == StepR || K == StepRCompare || K == StepRCompareJump || K == StepRJump)
        return stepCount<K>(c);
    else if constexpr (K == MoveR || K == MoveRJump || K == MoveFromVar)
        return stepMoveR<K>(c);
    else if constexpr (K == Arith || K == IntDiv || K == Compare)
        return stepGeneral<K>(c);
    else if constexpr (varArith(K).kind != RecordKind::Full)
        return stepVarArith<K>(c);
    else if constexpr (K == CompareVar || K == CompareRVar || K == CompareVarJump ||
                       K == CompareRVarJump)
        return stepVarCompare<K>(c);
    else if constexpr (choiceOf(K).kind != Full)
        return stepAfterChoice<choiceOf(K).first, choiceOf(K).second>(c);
    switch (K) {
    case Full: return kFull;
    case Next: return c.next();
    case Jump: return stepJump(c);
    case JumpNamed: return stepJumpNamed(c);
    case Set: return writeOperand(c, *c.record().literal, false);
    case SetNumber: c.record().n1.in(c.run) = c.record().target; return c.next();
    case Move: return stepMove(c);
    case ArithMove: return stepArithMove(c);
    case MoveToVar: return stepMoveToVar(c);
    case MoveToNumber: return stepMoveToNumber(c);
    case IntDivR: return stepIntDivFast(c, false);
    case IntDivV: return stepIntDivFast(c, true);
    case IntDivRMove: return stepIntDivMove(c, false);
    case IntDivVMove: return stepIntDivMove(c, true);
    case IntDivRCompare: return stepIntDivCompare(c, false);
    case IntDivVCompare: return stepIntDivCompare(c, true);
    case Step: return stepStep(c);
    case StepVar: return stepVar(c);
    case Length: return length(c.ctx, c.record(), c.scratch.b, c.next());
    case Concat: return concat(c.ctx, c.record(), c.scratch, c.next());
    case Cut: return cut(c.ctx, c.record(), c.scratch, c.next());
    case CompareJump: return stepCompareJump(c);
    case CutMove: return stepCutMove(c);
    case CutCut: return stepCutCut(c);
    case ConcatLength: return stepConcatLength(c);
    case Handler: return handler(c.ctx, c.address) ? c.next() : Onward(kFailed);
    case Floor: return stepFloor(c);
    case Past: ++c.countdown; return kPast;
    default: return kFull;
    }
}

} // namespace

namespace {

// The dispatch table below is made from TEKKEL_RECORD_KINDS, as the enum is: entry k runs
// kind k.
#define TEKKEL_KIND_ENTRY(K) RecordKind::K,
constexpr RecordKind kKindOrder[] = {TEKKEL_RECORD_KINDS(TEKKEL_KIND_ENTRY)};
#undef TEKKEL_KIND_ENTRY
constexpr bool inEnumOrder() {
    for (int k = 0; k < kRecordKindCount; ++k)
        if (static_cast<int>(kKindOrder[k]) != k) return false;
    return true;
}
static_assert(std::size(kKindOrder) == kRecordKindCount && inEnumOrder());

// Where the run loop stops: the address to go on from and why.
Stopped stopAt(std::int32_t next, std::int32_t address, std::int32_t last, std::int64_t count) {
    if (next == kFailed) return {Stop::Failed, address};
    if (next == kPast) next = address;
    if (next < 0) return {Stop::Full, address};
    const Stop why = next > last ? Stop::Past : next >= count ? Stop::Full : Stop::Yielded;
    return {why, next};
}

// CompiledScript::runAt, found on the script's first run from where each kind runs (`kinds`):
// a copy of `kinds`, for a record whose kind changes, then the place of each record's kind, the
// first of which is the answer. The places lie as far apart as the records, so that the loop
// reaches a record's place from the record itself, at one distance for all.
[[gnu::always_inline]] inline const void**
linkRecords(std::vector<const void*>& runAt, const CompiledScript& code,
            const void* const (&kinds)[kRecordKindCount]) {
    if (runAt.empty()) [[unlikely]] {
        runAt.resize(kRecordKindCount + code.records.size() * kRunStride);
        std::copy(std::begin(kinds), std::end(kinds), runAt.begin());
        for (std::size_t i = 0; i < code.records.size(); ++i)
            runAt[kRecordKindCount + i * kRunStride] =
                kinds[static_cast<int>(code.records[i].kind)];
    }
    return runAt.data() + kRecordKindCount;
}

} // namespace

namespace {

// Where the records loop stopped: its answer at `address` (kFull, kFailed, kPast, kRefilled,
// a kSlowFrom address, or the address to go on from when the pump's check stopped it), and the
// pump's countdown there.
struct LoopEnd {
    std::int32_t next, address, countdown;
    bool refilled; // the pump's check ran, after a record that did
};

// The records loop itself, as runRecords tells, in one of two ways of counting commands on the
// pump (Cursor): record by record, or a straight run at once, taken before its first record
// runs. The loop that counts runs meets the pump's check never: where the countdown does not
// cover a run, the other loop goes on, which hands back once the check has refilled it.
// `countFirst`: count the first record too. Everything before and after it is runPart's: it
// holds only what it needs as it runs, because GCC allocates the registers of this one large
// function anew for any change to it.
template <bool Counted>
[[gnu::noinline]] LoopEnd runLoop(StepContext& ctx, const CompiledScript& code, Scratch& scratch,
                                  std::int32_t address, std::int32_t countdown, bool countFirst) {
    const Record* records = code.records.data();
    Run& run = ctx.run;
    // Each kind ends in its own jump to the next record's kind (labels as values, which GCC and
    // Clang take), which the processor predicts far better than the one shared jump of a switch.
    // The jump reads where the record's kind runs from runAt, one place for each record, at one
    // distance from the record itself (linkRecords), so that the loop holds the record rather
    // than finding it from its address at every kind.
#define TEKKEL_LABEL(K) &&run##K,
    static const void* const kRun[] = {TEKKEL_RECORD_KINDS(TEKKEL_LABEL)};
#undef TEKKEL_LABEL
    static_assert(std::size(kRun) == kRecordKindCount);
    const void** runAt = linkRecords(code.runAt[Counted], code, kRun);
    // The loop's state lives in the cursor, built once, so that it stays in registers.
    Cursor<Counted> c{ctx,       scratch, records,  runAt, address, records + address,
                      countdown, run,     ctx.error};
    std::ptrdiff_t toRunAt =
        reinterpret_cast<const char*>(runAt) - reinterpret_cast<const char*>(records);
#define TEKKEL_DISPATCH                                                                            \
    goto*(*reinterpret_cast<const void* const*>(reinterpret_cast<const char*>(c.at) + toRunAt))
    bool refilled = false;
    std::int32_t next = 0;
    // Counting each record, each record after the first counts on the pump; the countdown is at
    // least 1 before each record (see secondRuns), so 0 is its end. A Past record is no command:
    // it gives its count back, and the pump's check does not run for it. Once the check has
    // refilled the countdown, the loop that counts runs goes on (unless it counts every command).
#define TEKKEL_COUNT                                                                               \
    if (Counted && --c.countdown == 0 && c.at->kind != RecordKind::Past) [[unlikely]] {            \
        refilled = true, c.selected = nullptr; /* events may have moved the variables */           \
        std::int32_t fresh = 0; /* not c.countdown: the cursor stays out of memory */              \
        const bool more = ctx.pump.slowCheck(fresh);                                               \
        c.countdown = fresh;                                                                       \
        if (!more) goto stop;                                                                      \
        if (fresh > 1) {                                                                           \
            next = kRefilled;                                                                      \
            goto stop;                                                                             \
        }                                                                                          \
    }
#define TEKKEL_STEP(K)                                                                             \
    {                                                                                              \
        const Onward n = step<RecordKind::K>(c);                                                   \
        next = n.address;                                                                          \
        if (next < 0) [[unlikely]] /* kFull, kFailed, kPast, kSlowFrom - address */                \
            goto stop;                                                                             \
        c.at = n.at ? n.at : records + next;                                                       \
    }                                                                                              \
    c.address = next;                                                                              \
    TEKKEL_COUNT
    if (Counted && countFirst) {
        next = c.address;
        TEKKEL_COUNT
    }
    TEKKEL_DISPATCH;
    // The address, the record and the distance to where it runs in registers: GCC would
    // otherwise reload them from the stack each time (it did, once the kinds grew). The address is
    // never negative, so a record that goes on to the next needs no test of its answer: each kind
    // says so as it starts, since GCC carries nothing it knows across the jump to a kind.
    // clang-format off
#define TEKKEL_CASE(K)                                                                             \
    run##K:                                                                                        \
    if (c.address < 0 || c.address >= INT32_MAX - 2) __builtin_unreachable();                     \
    TEKKEL_STEP(K)                                                                                 \
    asm("" : "+r"(c.address), "+r"(toRunAt), "+r"(c.at));                                          \
    TEKKEL_DISPATCH;
    // clang-format on
    TEKKEL_RECORD_KINDS(TEKKEL_CASE)
#undef TEKKEL_CASE
#undef TEKKEL_STEP
#undef TEKKEL_COUNT
#undef TEKKEL_DISPATCH
stop:
    return {next, c.address, c.countdown, refilled};
}

// How the records go on after a part of the run (runPart): done (`stopped` is the answer), by
// the loop that counts each record, or by the one that counts straight runs.
struct Part {
    Stopped stopped;
    enum class Then : std::uint8_t { Done, CountEach, CountRuns } then = Then::Done;
    // CountEach: the record at the address has not been counted yet.
    bool countFirst = false;
};

// Runs the records from `address` on in one way of counting, as runLoop<Counted> tells. Counting
// runs, the run the first record is in counts at once from it on (it is counted already), and
// where the loop stops the part of its run that did not run is given back: the countdown is then
// the one before the record where it stopped, as counting each record leaves it.
template <bool Counted>
Part runPart(StepContext& ctx, const CompiledScript& code, Scratch& scratch, std::int32_t address,
             std::int32_t last, bool countFirst) {
    // Past `limit` the run either passes its last address or has no record to run.
    const auto count = static_cast<std::int64_t>(code.size);
    const std::int64_t limit = std::min<std::int64_t>(static_cast<std::int64_t>(last) + 1, count);
    if (last != code.lastAddress || address < 0 || address >= limit) return {{Stop::Full, address}};
    const std::int32_t firstCountdown = ctx.pump.takeCountdown();
    std::int32_t countdown = firstCountdown;
    if (!Counted) {
        const std::int32_t straight = code.straightRuns[static_cast<std::size_t>(address)];
        if (countdown < straight) return {{Stop::Full, address}, Part::Then::CountEach};
        countdown -= straight - 1;
    }
    LoopEnd end = runLoop<Counted>(ctx, code, scratch, address, countdown, countFirst);
    const bool slow = end.next <= kSlowFrom;
    if (!Counted && !slow)
        end.countdown += code.straightRuns[static_cast<std::size_t>(end.address)] - 1;
    // Every record that runs counts on the pump before anything can refill it.
    const bool ran = end.next != kFull || end.countdown != firstCountdown || end.refilled;
    ctx.pump.giveCountdown(end.countdown);
    if (ran) ctx.run.suspended = false;
    if (slow) return {{Stop::Full, kSlowFrom - end.next}, Part::Then::CountEach, true};
    if (end.next == kRefilled) return {{Stop::Full, end.address}, Part::Then::CountRuns};
    return {stopAt(end.next, end.address, last, count)};
}

} // namespace

Stopped runRecords(StepContext& ctx, const CompiledScript& code, std::int32_t address,
                   std::int32_t last) {
    // Between a record that left the flags unset and the one that sets them, only the full way
    // starts: the flags of the records before are as the full way left them.
    if (flagsFromAt(code, address)) return {Stop::Full, address};
    // Straight runs at once while the countdown covers them; record by record up to the pump's
    // check where it does not (and always when the pump checks before every command).
    Scratch scratch;
    Part part = runPart<false>(ctx, code, scratch, address, last, false);
    while (part.then != Part::Then::Done) {
        const std::int32_t at = part.stopped.address;
        part = part.then == Part::Then::CountEach
                   ? runPart<true>(ctx, code, scratch, at, last, part.countFirst)
                   : runPart<false>(ctx, code, scratch, at, last, false);
    }
    const Stopped stopped = part.stopped;
    // Wherever the loop stops, the flags are as the full way leaves them. (The pump's events
    // between records run no command of this run, so they are set only here.)
    settleFlags(ctx.run, code, stopped.address);
    return stopped;
}

} // namespace tekkel
