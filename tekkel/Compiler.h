// Tekkel's compiled form: each script is compiled once, the first time it runs after it was
// stored or copied into a slot, into records the interpreter runs directly: register numbers
// resolved to their storage, literal operands referenced in place, `Label` names resolved to
// addresses. A record runs the command with the same value operations, register reads and
// writes and error numbers as the full command (Commands.h); a command the record
// cannot take whole (field commands that move things or show boxes, omitted parameters, writes
// to the script number or the address) goes the full way; the variable-area commands and those
// that only read and write registers run their own handler in place.
// Records whose operands are general registers or values have kinds of their own, and the
// idioms every loop uses (arithmetic then a Move of R1, Inc or Dec then a comparison, a
// comparison then a jump) run from the first record, the second keeping its own record for
// jumps to it and for the pump's check between the two.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "tekkel/Step.h"

namespace tekkel {

enum class RecordKind : std::uint8_t {
    Full, // through tekkel::executeCommand
    Next, // Nop, Label
    Set,
    Move,
    Arith, // Add..MulValue, Div, DivValue: `arith` tells which
    IntDiv,
    Step, // Inc, Dec
    Compare,
    Jump, // Jump and the conditional jumps with a resolved target
    Length,
    Concat,
    Cut, // Left, LeftValue, Right, RightValue: `arith` 0 left, 1 right
    // Select, Alloc, FreeBlock, FreeRange, Dim, Extend, and Int, Sign, Random, ToNumber, TestCell,
    // DirVector (which only read and write registers): their own handler, in place
    Handler,
    // Arithmetic with P1 a general register and P2 a general register (R) or a value (V).
    AddR,
    SubR,
    MulR,
    DivR,
    AddV,
    SubV,
    MulV,
    DivV,
    // The same followed by a Move of R1 into a general register, which runs from this record
    // too when the pump lets it (the Move keeps its own record for jumps to it).
    AddRMove,
    SubRMove,
    MulRMove,
    DivRMove,
    AddVMove,
    SubVMove,
    MulVMove,
    DivVMove,
    // Compare, CompareValue with P1 a general register; the Jump kinds also run the next
    // record, a Jump, when the pump lets them.
    CompareR,
    CompareV,
    CompareRJump,
    CompareVJump,
    MoveR, // Move between general registers
    // Inc, Dec of a general register; the Compare kind also runs the next record, a Compare
    // kind above, when the pump lets it: the counting loop's step, test and jump.
    StepR,
    StepRCompare,
    ArithMove, // Arith followed by a Move of R1 into a general register, run as the M kinds are
    // Move of a general register into a 32-bit register, from the selected variable into a
    // general register, and from a general register into the selected variable.
    MoveToNumber,
    MoveFromVar,
    MoveToVar,
    // Move between general registers followed by a Jump, which runs from this record too when
    // the pump lets it: the flags a Move sets are the ones a loop tests most.
    MoveRJump,
    // IntDiv, IntDivValue with P1 a general register and P2 a general register or a value.
    IntDivR,
    IntDivV,
};

struct Record {
    RecordKind kind = RecordKind::Full;
    std::uint8_t arith = 0;          // 0 add, 1 sub, 2 mul, 3 div; Step: 0 inc, 1 sub
    std::uint8_t condition = 0;      // Jump: 0 always, else 1 + the flag value that jumps
    std::int16_t r1 = 0, r2 = 0;     // register numbers of P1 and P2 (when registers)
    Value Run::*m1 = nullptr;        // storage of r1 when it is a general register
    Value Run::*m2 = nullptr;        // storage of r2 when it is a general register
    const Value* literal = nullptr;  // P2 when it is a value, not a register
    const Value* literal1 = nullptr; // P1 when it is a text, not a register
    const Value* literal3 = nullptr; // P3 when it is a text, not a register
    std::int16_t r3 = 0;
    Value Run::*m3 = nullptr;
    std::int32_t target = -1; // Jump: the resolved address
    // Storage of r1 and r2 when they are 32-bit registers that read and write as they are.
    std::int32_t Run::*n1 = nullptr;
    std::int32_t Run::*n2 = nullptr;
    bool Run::*flag = nullptr; // Jump: the flag a conditional jump tests
};

// The records of one script; valid while the script's command array stays where it is.
struct CompiledScript {
    const Command* commands = nullptr;
    std::size_t size = 0;
    std::int32_t lastAddress = 0;
    std::vector<Record> records;
};

// The script's compiled form, compiled now when the script has none yet or its commands moved.
const CompiledScript& compiledForm(const Script& script);

// Gives the script a compiled form whose every record goes the full way, so that it runs
// exactly as Commands.h alone runs it: the other side of the test that holds the two
// ways equal.
void compileFullWay(const Script& script);

// Runs the records from `address` on, counting each command after the first on the pump,
// until a command must go the full way (nothing of it has run yet), one fails (the error slot
// holds its number, as the full command leaves it), the address passes `last` or the records,
// or the pump's budget is spent. A taken jump writes its target into the error slot.
enum class Stop : std::uint8_t { Full, Failed, Past, Yielded };
struct Stopped {
    Stop why;
    std::int32_t address; // of the command to run next (Full, Yielded), that failed, or past
};
Stopped runRecords(StepContext& ctx, const CompiledScript& code, std::int32_t address,
                   std::int32_t last);

} // namespace tekkel
