// The kinds of records that the compiler joins and the records loop runs alike: which
// arithmetic each fast kind does and which kind runs a record and the one after it.
#pragma once

#include <cstddef>

#include "tekkel/Compiler.h"
#include "tekkel/Value.h"

namespace tekkel {

// The first entry of `table` that `match` takes, or `none`. Entries go by value: the sanitizers'
// null checks make a test of a pointer into an inline table no constant expression.
template <typename Entry, std::size_t N, typename Match>
constexpr Entry findEntry(const Entry (&table)[N], const Entry& none, Match match) {
    for (const Entry& e : table)
        if (match(e)) return e;
    return none;
}

// The kinds that do arithmetic on general registers without asking where their operands live:
// each with its operation, whether P2 is a value, the kind that runs a Move of R1 after it, and
// the twins of both that try a 64-bit real first operand before two integers (Full for a
// division, which tries reals first already). A record switches to its twin when it meets a
// real first operand, and back when it meets two integers, so that each tests first the
// operands it mostly has.
struct FastArith {
    RecordKind kind;
    ArithOp op;
    bool literal;
    RecordKind withMove;
    RecordKind real = RecordKind::Full;
    RecordKind realWithMove = RecordKind::Full;
};
inline constexpr FastArith kFastArith[] = {
    {RecordKind::AddR, ArithOp::Add, false, RecordKind::AddRMove, RecordKind::AddRReal,
     RecordKind::AddRMoveReal},
    {RecordKind::SubR, ArithOp::Sub, false, RecordKind::SubRMove, RecordKind::SubRReal,
     RecordKind::SubRMoveReal},
    {RecordKind::MulR, ArithOp::Mul, false, RecordKind::MulRMove, RecordKind::MulRReal,
     RecordKind::MulRMoveReal},
    {RecordKind::DivR, ArithOp::Div, false, RecordKind::DivRMove},
    {RecordKind::AddV, ArithOp::Add, true, RecordKind::AddVMove, RecordKind::AddVReal,
     RecordKind::AddVMoveReal},
    {RecordKind::SubV, ArithOp::Sub, true, RecordKind::SubVMove, RecordKind::SubVReal,
     RecordKind::SubVMoveReal},
    {RecordKind::MulV, ArithOp::Mul, true, RecordKind::MulVMove, RecordKind::MulVReal,
     RecordKind::MulVMoveReal},
    {RecordKind::DivV, ArithOp::Div, true, RecordKind::DivVMove},
};

// The entry of kFastArith whose kind, or one of its fused or twin kinds, is `k`; for other
// kinds one whose kind is Full.
inline constexpr FastArith kNoFastArith{RecordKind::Full, ArithOp::Add, false, RecordKind::Full};
constexpr FastArith fastArith(RecordKind k) {
    return findEntry(kFastArith, kNoFastArith, [k](const FastArith& f) {
        return f.kind == k || f.withMove == k ||
               (k != RecordKind::Full && (f.real == k || f.realWithMove == k));
    });
}
constexpr FastArith fastArith(ArithOp op, bool literal) {
    return findEntry(kFastArith, kNoFastArith,
                     [=](const FastArith& f) { return f.op == op && f.literal == literal; });
}

// The kind that runs `k` and then a Move of R1 into a general register; Full when none does.
constexpr RecordKind withMove(RecordKind k) {
    if (k == RecordKind::Arith) return RecordKind::ArithMove;
    for (const FastArith& f : kFastArith)
        if (f.kind == k) return f.withMove;
    return RecordKind::Full;
}

// The kind that runs `k` and then a Jump; Full when none does.
constexpr RecordKind withJump(RecordKind k) {
    switch (k) {
    case RecordKind::CompareR: return RecordKind::CompareRJump;
    case RecordKind::CompareV: return RecordKind::CompareVJump;
    case RecordKind::MoveR: return RecordKind::MoveRJump;
    case RecordKind::Compare: return RecordKind::CompareJump;
    case RecordKind::StepR: return RecordKind::StepRJump;
    case RecordKind::CompareVar: return RecordKind::CompareVarJump;
    case RecordKind::CompareRVar: return RecordKind::CompareRVarJump;
    default: return RecordKind::Full;
    }
}

// The fused kinds that run a Jump after their first part.
[[gnu::always_inline]] constexpr bool jumpsAfter(RecordKind k) {
    return k == RecordKind::CompareRJump || k == RecordKind::CompareVJump ||
           k == RecordKind::MoveRJump;
}

// The kinds StepRCompare(Jump) runs after its step: a comparison of a general register.
constexpr bool comparesRegister(RecordKind k) {
    return k == RecordKind::CompareR || k == RecordKind::CompareV ||
           k == RecordKind::CompareRJump || k == RecordKind::CompareVJump;
}

// The kinds that do arithmetic with the selected variable as one operand: `var op X` (X a
// general register or a value, `varFirst`) or `reg op var`; `withMove` also runs a Move of R1
// into a general register or the selected variable after it.
struct VarArith {
    RecordKind kind;
    ArithOp op;
    bool varFirst;
    RecordKind withMove;
};
inline constexpr VarArith kVarArith[] = {
    {RecordKind::AddVar, ArithOp::Add, true, RecordKind::AddVarMove},
    {RecordKind::SubVar, ArithOp::Sub, true, RecordKind::SubVarMove},
    {RecordKind::MulVar, ArithOp::Mul, true, RecordKind::MulVarMove},
    {RecordKind::DivVar, ArithOp::Div, true, RecordKind::DivVarMove},
    {RecordKind::AddRVar, ArithOp::Add, false, RecordKind::AddRVarMove},
    {RecordKind::SubRVar, ArithOp::Sub, false, RecordKind::SubRVarMove},
    {RecordKind::MulRVar, ArithOp::Mul, false, RecordKind::MulRVarMove},
    {RecordKind::DivRVar, ArithOp::Div, false, RecordKind::DivRVarMove},
};

// The entry of kVarArith whose kind, or whose kind with a Move, is `k`; for other kinds one
// whose kind is Full.
inline constexpr VarArith kNoVarArith{RecordKind::Full, ArithOp::Add, false, RecordKind::Full};
constexpr VarArith varArith(RecordKind k) {
    return findEntry(kVarArith, kNoVarArith,
                     [k](const VarArith& f) { return f.kind == k || f.withMove == k; });
}
constexpr VarArith varArith(ArithOp op, bool varFirst) {
    return findEntry(kVarArith, kNoVarArith,
                     [=](const VarArith& f) { return f.op == op && f.varFirst == varFirst; });
}

// The kinds that find a `var` operand (or P1 when it is written) through the records loop's
// cursor, which keeps what they found for the records after them (Record::kSameVariable).
constexpr bool findsVariable(RecordKind k) {
    switch (k) {
    case RecordKind::Set:
    case RecordKind::Move:
    case RecordKind::Arith:
    case RecordKind::ArithMove:
    case RecordKind::IntDiv:
    case RecordKind::StepVar:
    case RecordKind::Compare:
    case RecordKind::CompareJump:
    case RecordKind::MoveFromVar:
    case RecordKind::MoveToVar:
    case RecordKind::CompareVar:
    case RecordKind::CompareRVar:
    case RecordKind::CompareVarJump:
    case RecordKind::CompareRVarJump: return true;
    default: return varArith(k).kind != RecordKind::Full;
    }
}

// The kinds that run a choice of varIndex, a SetNumber or a MoveToNumber (`first`), and then
// the record after it, of the kind `second` (TEKKEL_AFTER_SET_NUMBER).
struct AfterChoice {
    RecordKind kind;
    RecordKind first;
    RecordKind second;
};
#define TEKKEL_AFTER_CHOICE_ENTRY(X, K)                                                            \
    {RecordKind::SetNumber##K, RecordKind::SetNumber, RecordKind::K},                              \
        {RecordKind::MoveToNumber##K, RecordKind::MoveToNumber, RecordKind::K},
inline constexpr AfterChoice kAfterChoice[] = {
    TEKKEL_AFTER_SET_NUMBER(TEKKEL_AFTER_CHOICE_ENTRY, _)};
#undef TEKKEL_AFTER_CHOICE_ENTRY

inline constexpr AfterChoice kNoAfterChoice{RecordKind::Full, RecordKind::Full, RecordKind::Full};
// The kind that runs a record of kind `first` and then one of kind `second`; Full when none does.
constexpr RecordKind afterChoice(RecordKind first, RecordKind second) {
    return findEntry(kAfterChoice, kNoAfterChoice,
                     [=](const AfterChoice& f) { return f.first == first && f.second == second; })
        .kind;
}
// The entry of the joined kind `k`; one whose kinds are Full when `k` is no such kind.
constexpr AfterChoice choiceOf(RecordKind k) {
    return findEntry(kAfterChoice, kNoAfterChoice,
                     [k](const AfterChoice& f) { return f.kind == k; });
}

static_assert(choiceOf(afterChoice(RecordKind::MoveToNumber, RecordKind::Set)).second ==
              RecordKind::Set);
static_assert(varArith(RecordKind::MulRVarMove).op == ArithOp::Mul);
static_assert(varArith(ArithOp::Div, true).withMove == RecordKind::DivVarMove);

static_assert(withMove(RecordKind::DivV) == RecordKind::DivVMove);
static_assert(fastArith(RecordKind::SubVMove).op == ArithOp::Sub);
static_assert(fastArith(ArithOp::Mul, true).kind == RecordKind::MulV);
static_assert(fastArith(RecordKind::SubVMoveReal).withMove == RecordKind::SubVMove);
static_assert(fastArith(RecordKind::Full).kind == RecordKind::Full);

} // namespace tekkel
