// Tekkel's compiled form: each script is compiled once, the first time it runs after it was
// stored or copied into a slot, into records the interpreter runs directly: register numbers
// resolved to their storage, literal operands referenced in place, `Label` names resolved to
// addresses. A record runs the command with the same value operations, register reads and
// writes and error numbers as the full command (Commands.h); a command the record
// cannot take whole (host commands that move things or show boxes, omitted parameters, writes
// to the script number or the address) goes the full way; the variable-area commands and those
// that only read and write registers run their own handler in place.
// Records whose operands are general registers or values have kinds of their own, and the
// idioms every loop uses (arithmetic then a Move of R1, Inc or Dec then a comparison, a
// comparison then a jump) run from the first record, the second keeping its own record for
// jumps to it and for the pump's check between the two.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tekkel/Step.h"

namespace tekkel {

// The record kinds, one line each; the enum and the run loop's dispatch table are made from
// this one list. "R": P1 a general register and P2 a general register; "V": P2 a value.
// A kind that runs the next record too ("...Move", "...Jump", "...Compare") does so when the
// pump lets it, the next keeping its own record for jumps to it.
// clang-format off
#define TEKKEL_RECORD_KINDS(X)                                                                     \
    X(Full)         /* through tekkel::executeCommand */                                            \
    X(Next)         /* Nop, Label */                                                               \
    X(Set)                                                                                         \
    X(SetNumber)    /* Set of a 32-bit register (varIndex, space, ...) to an integer: `target` */  \
    X(Move)                                                                                        \
    X(Arith)        /* Add..MulValue, Div, DivValue: `arith` tells which */                        \
    X(IntDiv)                                                                                      \
    X(Step)         /* Inc, Dec */                                                                 \
    X(Compare)                                                                                     \
    X(Jump)         /* Jump and the conditional jumps with a resolved target */                    \
    X(JumpNamed)    /* Jump with its target omitted: to the label named in D1 */                   \
    X(Length)                                                                                      \
    X(Concat)                                                                                      \
    X(Cut)          /* Left, LeftValue, Right, RightValue: `arith` 0 left, 1 right */              \
    X(Handler)      /* Select, Alloc, FreeBlock, FreeRange, Dim, Extend, and the commands that */  \
                    /* only read and write registers: their own handler, in place */               \
    X(AddR)         /* Add with general registers */                                               \
    X(SubR)                                                                                        \
    X(MulR)                                                                                        \
    X(DivR)                                                                                        \
    X(AddV)         /* AddValue with P1 a general register */                                      \
    X(SubV)                                                                                        \
    X(MulV)                                                                                        \
    X(DivV)                                                                                        \
    X(AddRMove)     /* AddR followed by a Move of R1 into a general register */                    \
    X(SubRMove)                                                                                    \
    X(MulRMove)                                                                                    \
    X(DivRMove)                                                                                    \
    X(AddVMove)                                                                                    \
    X(SubVMove)                                                                                    \
    X(MulVMove)                                                                                    \
    X(DivVMove)                                                                                    \
    X(CompareR)     /* Compare with P1 a general register */                                       \
    X(CompareV)     /* CompareValue with P1 a general register */                                  \
    X(CompareRJump) /* CompareR followed by a Jump */                                              \
    X(CompareVJump)                                                                                \
    X(MoveR)        /* Move between general registers */                                           \
    X(StepR)        /* Inc, Dec of a general register */                                           \
    X(StepRCompare) /* StepR followed by a CompareR or CompareV */                                 \
    X(StepRCompareJump) /* StepRCompare then a Jump: the counting loop */                          \
    X(ArithMove)    /* Arith followed by a Move of R1 into a general register */                   \
    X(MoveToNumber) /* Move of a general register into a 32-bit register */                        \
    X(MoveFromVar)  /* Move from the selected variable into a general register */                  \
    X(MoveToVar)    /* Move from a general register into the selected variable */                  \
    X(MoveRJump)    /* MoveR followed by a Jump: the flags a Move sets are a loop's test */        \
    X(IntDivR)      /* IntDiv with general registers */                                            \
    X(IntDivV)      /* IntDivValue with P1 a general register */                                   \
    X(IntDivRMove)  /* IntDivR followed by a Move between general registers */                     \
    X(IntDivVMove)                                                                                 \
    X(IntDivRCompare) /* IntDivR followed by a CompareR..CompareVJump: a test of the remainder */  \
    X(IntDivVCompare)                                                                              \
    X(CompareJump)  /* Compare with operands anywhere followed by a Jump */                        \
    X(StepRJump)    /* StepR followed by a Jump: a loop that counts down to zero */                \
    X(CutMove)      /* Cut followed by a Move of R1 into a general register */                     \
    X(ConcatLength) /* Concat into a general register followed by a Length of it into one of */    \
                    /* R1..R5, which sets every flag the Concat would: the Concat sets none */     \
    X(Past)         /* after the run's last command: the loop stops there, counting nothing */     \
    X(CutCut)       /* Cut followed by a Cut of R1: a piece from within a text */                  \
    X(AddRReal)     /* AddR that last saw a real P1: it tries reals first */                       \
    X(SubRReal)                                                                                    \
    X(MulRReal)                                                                                    \
    X(AddVReal)                                                                                    \
    X(SubVReal)                                                                                    \
    X(MulVReal)                                                                                    \
    X(AddRMoveReal)                                                                                \
    X(SubRMoveReal)                                                                                \
    X(MulRMoveReal)                                                                                \
    X(AddVMoveReal)                                                                                \
    X(SubVMoveReal)                                                                                \
    X(MulVMoveReal)                                                                                \
    X(StepVar)      /* Inc, Dec of the selected variable */                                        \
    X(AddVar)       /* Add or AddValue with P1 the selected variable, P2 a general register or */  \
    X(SubVar)       /* a value */                                                                  \
    X(MulVar)                                                                                      \
    X(DivVar)                                                                                      \
    X(AddRVar)      /* Add with P1 a general register and P2 the selected variable */              \
    X(SubRVar)                                                                                     \
    X(MulRVar)                                                                                     \
    X(DivRVar)                                                                                     \
    X(AddVarMove)   /* AddVar followed by a Move of R1 into a general register or the selected */  \
    X(SubVarMove)   /* variable */                                                                 \
    X(MulVarMove)                                                                                  \
    X(DivVarMove)                                                                                  \
    X(AddRVarMove)                                                                                 \
    X(SubRVarMove)                                                                                 \
    X(MulRVarMove)                                                                                 \
    X(DivRVarMove)                                                                                 \
    X(CompareVar)   /* Compare or CompareValue with P1 the selected variable, P2 a general */      \
                    /* register or a value */                                                      \
    X(CompareRVar)  /* Compare with P1 a general register and P2 the selected variable */          \
    X(CompareVarJump)                                                                              \
    X(CompareRVarJump)                                                                             \
    X(Floor)        /* Int of a general register: a real whole in place, an integer as it is */    \
    TEKKEL_AFTER_SET_NUMBER(TEKKEL_SET_NUMBER_THEN, X)                                             \
    TEKKEL_AFTER_SET_NUMBER(TEKKEL_MOVE_TO_NUMBER_THEN, X)

// The kinds a `Set varIndex, k` or a `Move varIndex, R` runs the record after it of: those that
// read or write the variable it chose. Each has a kind of its own, SetNumber<kind> and
// MoveToNumber<kind>, that runs the choice and then that record as the loop would
// (RecordLoop.cpp).
#define TEKKEL_AFTER_SET_NUMBER(Y, X)                                                              \
    Y(X, Set) Y(X, MoveFromVar) Y(X, MoveToVar) Y(X, StepVar) Y(X, CompareVar) Y(X, CompareRVar)   \
    Y(X, CompareVarJump) Y(X, CompareRVarJump) Y(X, AddVar) Y(X, SubVar) Y(X, MulVar)              \
    Y(X, DivVar) Y(X, AddRVar) Y(X, SubRVar) Y(X, MulRVar) Y(X, DivRVar) Y(X, AddVarMove)          \
    Y(X, SubVarMove) Y(X, MulVarMove) Y(X, DivVarMove) Y(X, AddRVarMove) Y(X, SubRVarMove)         \
    Y(X, MulRVarMove) Y(X, DivRVarMove)
#define TEKKEL_SET_NUMBER_THEN(X, K) X(SetNumber##K)
#define TEKKEL_MOVE_TO_NUMBER_THEN(X, K) X(MoveToNumber##K)
// clang-format on

#define TEKKEL_RECORD_KIND_ENUM(K) K,
enum class RecordKind : std::uint8_t { TEKKEL_RECORD_KINDS(TEKKEL_RECORD_KIND_ENUM) };
#undef TEKKEL_RECORD_KIND_ENUM

#define TEKKEL_RECORD_KIND_COUNT(K) +1
inline constexpr int kRecordKindCount = 0 TEKKEL_RECORD_KINDS(TEKKEL_RECORD_KIND_COUNT);
#undef TEKKEL_RECORD_KIND_COUNT

// Where a register of type T lives in a Run, as an offset of 16 bits, so that a record holds
// several in little room; an empty slot names none.
template <typename T> class RunSlot {
  public:
    constexpr RunSlot() = default;
    explicit RunSlot(T Run::*member) {
        static const Run probe{};
        const auto at =
            reinterpret_cast<const char*>(&(probe.*member)) - reinterpret_cast<const char*>(&probe);
        offset_ = static_cast<std::uint16_t>(at);
    }
    explicit constexpr operator bool() const { return offset_ != kNone; }
    bool operator==(const RunSlot&) const = default;
    [[gnu::always_inline]] T& in(Run& run) const {
        return *reinterpret_cast<T*>(reinterpret_cast<char*>(&run) + offset_);
    }
    [[gnu::always_inline]] const T& in(const Run& run) const {
        return *reinterpret_cast<const T*>(reinterpret_cast<const char*>(&run) + offset_);
    }

  private:
    static constexpr std::uint16_t kNone = 0xffff;
    std::uint16_t offset_ = kNone;
};
static_assert(sizeof(Run) < 0xffff);

// What a Jump record goes on to: the commands that the straight run of records at its target
// (the labels there too) and the one after it count (CompiledScript::straightRuns), so that a
// records loop that counts whole runs at once counts the next when it jumps or goes on.
struct JumpRuns {
    std::int32_t taken, fallen;
};

// One compiled command, 32 bytes, so that the next record's address is a shift and a loop's
// records share few cache lines. A text written in the command as P1 (Cut) or P3 (Concat), and
// the register of P3 when it is not a general one, are read from the command itself: only the
// text commands, which run out of line, ask for them.
struct Record {
    // The one part that changes as the records run: an arithmetic kind switches to its twin
    // that tries the operands it last saw first (RecordKinds.h); both run the same rules.
    mutable RecordKind kind = RecordKind::Full;
    std::uint8_t arith = 0;       // an ArithOp; Step: 0 inc, 1 dec; Cut: 0 left, 1 right;
                                  // Jump: the labels at the target, run with the jump
    std::uint8_t condition = 0;   // Jump: the values of `flag` that jump, bit 1 << value
    std::uint8_t texts = 0;       // kTextP1, kTextP3: that operand is a text in the command;
                                  // kSameVariable, kFlagsP1: see below
    std::int16_t r1 = 0, r2 = 0;  // register numbers of P1 and P2 (when registers)
    RunSlot<Value> m1, m2, m3;    // storage of P1..P3 when a general register
    RunSlot<std::int32_t> n1, n2; // storage of P1, P2 when a 32-bit register that
                                  // reads and writes as it is
    RunSlot<bool> flag;           // Jump: the flag a conditional jump tests; any for Jump
    std::int32_t target = -1;     // Jump: the resolved address; SetNumber: the number
    union {
        const Value* literal = nullptr; // P2 when it is a value, not a register
        JumpRuns runs;                  // Jump, which has no P2
    };

    // `var` names the variable that a record before this one found, none between choosing
    // another or moving the variables, nor any jump landing between: the records loop takes it
    // from where that record left it (when it still holds it) rather than finding it again.
    // kFlagsP1: P1 is one of R1..R5, whose writes apply the flag rule (flagsRegister), told by
    // one bit test where the loop holds the record. A write whose flags the next command
    // sets anew before anything can read them has none (CompiledScript::flagsFrom).
    // kQuietFlags: an arithmetic or integer division whose flags the next command sets anew
    // before anything reads them leaves them unset, as a write without kFlagsP1 does.
    // kAfterUnset: the record that sets them anew, which a comparison of values it cannot
    // compare sets first.
    // kCountsItself: a StepRCompare whose comparison is of the stepped register; an
    // IntDivRCompare or IntDivVCompare whose comparison is of the remainder with an integer
    // written in the command.
    static constexpr std::uint8_t kJumpsWhenClear = 1, kJumpsWhenSet = 2; // `condition`
    static constexpr std::uint8_t kTextP1 = 1, kTextP3 = 2, kSameVariable = 4, kFlagsP1 = 8,
                                  kQuietFlags = 16, kAfterUnset = 32, kCountsItself = 64;
};
static_assert(sizeof(Record) == 32);

// The records of one script; valid while the script's command array stays where it is. One
// record more than commands: the loop stops at a Past record after the last command it may run
// (`lastAddress`, or the last command), so a record that goes on to the next needs no test of
// where it ends.
struct CompiledScript {
    const Command* commands = nullptr;
    std::size_t size = 0;
    std::int32_t lastAddress = 0;
    std::vector<Record> records;
    // The values of the fast arithmetic records with a value (fastArith(kind).literal), which
    // `literal` points to: each as written, then as a 64-bit real (itself for a 64-bit real, NaN
    // for a value that is no integer), which a real register takes as it is.
    std::vector<Value> literals;
    // The records loop's own, found on the first run: where each kind's code starts (a copy of
    // the loop's table, for a record whose kind changes), then where each record's kind runs,
    // kept as a record's kind changes, in places as far apart as the records (the loop finds a
    // record's place at one distance from the record). One for each way of counting.
    mutable std::vector<const void*> runAt[2];
    // For each record, the register whose write left the flags unset before it (a write of
    // R1..R5 without kFlagsP1), or none: the flags are that register's by the flag rule. Where
    // the records stop, and before a comparison of values that are not numbers, they are set.
    std::vector<RunSlot<Value>> flagsFrom;
    // For each record, the commands that the records from it on count up to and with the
    // first Jump record, or up to the Past record, which counts none: a straight run, what
    // runs without a jump when nothing stops.
    std::vector<std::int32_t> straightRuns;
    // The first label of each name up to lastAddress, for the jumps that find theirs by a name
    // in D1 as they run: the label's address in the place its name hashes to (labelHash), or the
    // first free place after it; -1 a free place. None in a form compiled the full way, which
    // leaves the names to findLabel.
    std::vector<std::int32_t> labels;
};

// A hash of the name from its length and three of its units, the first, the middle and the
// last, which tell most names of a script apart at a fixed cost.
inline std::uint32_t labelHash(const std::u16string& name) {
    const std::size_t n = name.size();
    if (n == 0) return 0;
    std::uint32_t h = static_cast<std::uint32_t>(n) * 0x9E3779B1u;
    h ^= name[0] * 0x85EBCA77u;
    h ^= name[n / 2] * 0x27D4EB2Fu;
    h ^= name[n - 1] * 0xC2B2AE3Du;
    return h ^ (h >> 15);
}

inline bool sameName(const std::u16string& a, const std::u16string& b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

// The place of `name` among the form's labels: the one that holds it, or the free place where
// it would go.
inline std::size_t labelPlace(const CompiledScript& form, const std::u16string& name) {
    const std::size_t mask = form.labels.size() - 1;
    std::size_t at = labelHash(name) & mask;
    while (form.labels[at] >= 0 && !sameName(form.commands[form.labels[at]].p1.s, name))
        at = (at + 1) & mask;
    return at;
}

// The address of the label named `name` among `form`'s labels, or -1. Inline: the records
// loop looks a name in D1 up on every such jump.
inline std::int32_t findIndexedLabel(const CompiledScript& form, const std::u16string& name) {
    return form.labels[labelPlace(form, name)];
}

// The script's compiled form, compiled now when the script has none yet or its commands moved.
const CompiledScript& compiledForm(const Script& script);

// The address of the script's first label named `name`, or -1: findLabel's answer, from the
// compiled form's labels where the script has a form of its present commands.
std::int32_t labelAddress(const Script& script, const std::u16string& name);

// Gives the script a compiled form whose every record goes the full way, so that it runs
// exactly as Commands.h alone runs it: the other side of the test that holds the two
// ways equal.
void compileFullWay(const Script& script);

// Runs the records from `address` on (`last` is the script's lastAddress, as compiled),
// counting each command after the first on the pump,
// until a command must go the full way (nothing of it has run yet), one fails (`ctx.error`
// holds its number, as the full command leaves it), the address passes `last` or the records,
// or the pump's budget is spent. A taken jump is noted (noteJump).
enum class Stop : std::uint8_t { Full, Failed, Past, Yielded };
struct Stopped {
    Stop why;
    std::int32_t address; // of the command to run next (Full, Yielded), that failed, or past
};
Stopped runRecords(StepContext& ctx, const CompiledScript& code, std::int32_t address,
                   std::int32_t last);

} // namespace tekkel
