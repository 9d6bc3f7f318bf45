#include "tekkel/Compiler.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "tekkel/Commands.h"
#include "tekkel/Opcodes.h"
#include "tekkel/RecordKinds.h"
#include "tekkel/Registers.h"
#include "tekkel/Value.h"
#include "tekkel/Variables.h"

namespace tekkel {

namespace {

RunSlot<Value> storage(std::int16_t reg) {
    switch (static_cast<Reg>(reg)) {
    case Reg::R1: return RunSlot(&Run::R1);
    case Reg::R2: return RunSlot(&Run::R2);
    case Reg::R3: return RunSlot(&Run::R3);
    case Reg::R4: return RunSlot(&Run::R4);
    case Reg::R5: return RunSlot(&Run::R5);
    case Reg::D1: return RunSlot(&Run::D1);
    case Reg::D2: return RunSlot(&Run::D2);
    case Reg::D3: return RunSlot(&Run::D3);
    default: return {};
    }
}

// The 32-bit registers whose reads and writes of an integer are the stored number itself.
RunSlot<std::int32_t> storage32(std::int16_t reg) {
    switch (static_cast<Reg>(reg)) {
    case Reg::Space: return RunSlot(&Run::space);
    case Reg::VarIndex: return RunSlot(&Run::varIndex);
    case Reg::Work: return RunSlot(&Run::work);
    case Reg::ActiveObject: return RunSlot(&Run::activeObject);
    case Reg::TestX: return RunSlot(&Run::testX);
    case Reg::TestY: return RunSlot(&Run::testY);
    default: return {};
    }
}

// A register operand written in the command itself (an omitted one is D1..D3, read when the
// command runs, and goes the full way).
bool registerOperand(const Value& p, std::int16_t& reg, RunSlot<Value>& m) {
    if (p.isEmpty() || tekkel::toInt16(p, reg) != Status::Ok) return false;
    m = storage(reg);
    return true;
}

bool registerOperand(const Value& p, std::int16_t& reg, RunSlot<Value>& m,
                     RunSlot<std::int32_t>& n) {
    if (!registerOperand(p, reg, m)) return false;
    n = storage32(reg);
    return true;
}

// X(P): a text written in the command (`text` true), or a register operand.
bool textOperand(const Value& p, std::int16_t& reg, RunSlot<Value>& m, bool& text) {
    text = p.isString();
    return text || registerOperand(p, reg, m);
}

bool textOperand(const Value& p, std::int16_t& reg, RunSlot<Value>& m, const Value*& text) {
    bool written = false;
    if (!textOperand(p, reg, m, written)) return false;
    if (written) text = &p;
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
        std::int16_t r3 = 0;
        bool text3 = false;
        if (op == Op::Concat && !textOperand(c.p3, r3, r.m3, text3)) return r;
        // The records keep no address up to date (see compile).
        if (r3 == regNumber(Reg::Address)) return r;
        if (text3) r.texts |= Record::kTextP3;
        r.kind = op == Op::Length ? RecordKind::Length : RecordKind::Concat;
        return r;
    }
    bool text1 = false;
    if (!textOperand(c.p1, r.r1, r.m1, text1)) return r;
    if (text1) r.texts |= Record::kTextP1;
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
    if (kind == RecordKind::Set)
        return r.n1 && isInteger(r.literal->kind) ? RecordKind::SetNumber : kind;
    const std::int16_t var = regNumber(Reg::Var);
    if (kind == RecordKind::Step)
        return r.m1 ? RecordKind::StepR : r.r1 == var ? RecordKind::StepVar : kind;
    if (kind == RecordKind::Arith) {
        const auto op = static_cast<ArithOp>(r.arith);
        if (r.r1 == var && (r.literal || r.m2)) return varArith(op, true).kind;
        if (r.m1 && r.r2 == var) return varArith(op, false).kind;
    }
    if (kind == RecordKind::Compare) {
        if (r.r1 == var && (r.literal || r.m2)) return RecordKind::CompareVar;
        if (r.m1 && r.r2 == var) return RecordKind::CompareRVar;
    }
    if (kind == RecordKind::Move) {
        if (r.m1 && r.m2) return RecordKind::MoveR;
        if (r.m1 && r.r2 == regNumber(Reg::Var)) return RecordKind::MoveFromVar;
        if (r.r1 == regNumber(Reg::Var) && r.m2) return RecordKind::MoveToVar;
        if (r.n1 && r.m2) return RecordKind::MoveToNumber;
        return kind;
    }
    const bool second = r.literal || bool(r.m2);
    if (!r.m1 || !second) return kind;
    switch (kind) {
    case RecordKind::Arith:
        return fastArith(static_cast<ArithOp>(r.arith), r.literal != nullptr).kind;
    case RecordKind::Compare: return r.literal ? RecordKind::CompareV : RecordKind::CompareR;
    case RecordKind::IntDiv: return r.literal ? RecordKind::IntDivV : RecordKind::IntDivR;
    default: return kind;
    }
}

// A jump's record, with its target resolved; Full for a target the full way reports (error
// kErrorNoSuchName or kErrorBadValue) and for an omitted one (D1).
Record compileJump(const Script& s, const Command& c, Op op) {
    Record r;
    if (op == Op::Jump && c.p1.isEmpty()) {
        r.kind = RecordKind::JumpNamed;
        return r;
    }
    std::int32_t target = -1;
    if (c.p1.isString()) {
        target = findLabel(s, c.p1.s);
    } else if (!c.p1.isEmpty() && toInt32(c.p1, target) != Status::Ok) {
        target = -1;
    }
    if (target < 0 || c.p1.isEmpty()) return r;
    r.kind = RecordKind::Jump;
    r.target = target;
    r.flag = RunSlot(&Run::zeroFlag); // any flag for Jump, which jumps on both values
    r.condition = Record::kJumpsWhenClear | Record::kJumpsWhenSet;
    switch (op) {
    case Op::JumpIfNotZero:
    case Op::JumpIfZero: r.flag = RunSlot(&Run::zeroFlag); break;
    case Op::JumpIfNotNegative:
    case Op::JumpIfNegative: r.flag = RunSlot(&Run::negativeFlag); break;
    case Op::JumpIfValid:
    case Op::JumpIfInvalid: r.flag = RunSlot(&Run::invalidFlag); break;
    default: return r; // Jump: always
    }
    const bool jumpsWhenSet =
        op == Op::JumpIfZero || op == Op::JumpIfNegative || op == Op::JumpIfInvalid;
    r.condition = jumpsWhenSet ? Record::kJumpsWhenSet : Record::kJumpsWhenClear;
    return r;
}

// The commands that run their own handler in place; Full when one of their register operands
// is not written out or redirects the run (or reads the address, see compile).
Record compileHandler(const Command& c, Op op) {
    Record r;
    switch (op) {
    case Op::Select:
    case Op::FreeBlock:
    case Op::FreeRange: r.kind = RecordKind::Handler; return r;
    case Op::Alloc:
    case Op::Dim:
    case Op::Extend: {
        // reg P1 is written: the record keeps no operand of it.
        std::int16_t reg = 0;
        RunSlot<Value> m;
        if (!registerOperand(c.p1, reg, m) || redirects(reg)) return r;
        r.kind = RecordKind::Handler;
        return r;
    }
    default: break;
    }
    // reg P1 (and DirVector's reg P2) is written, reg P2 of Sign and Random read.
    if (!registerOperand(c.p1, r.r1, r.m1) || redirects(r.r1)) return Record{};
    if (op == Op::Sign || op == Op::Random || op == Op::DirVector) {
        if (!registerOperand(c.p2, r.r2, r.m2) || redirects(r.r2)) return Record{};
    }
    r.kind = op == Op::Int && r.m1 ? RecordKind::Floor : RecordKind::Handler;
    return r;
}

// The general kind of a command with operand registers or a value; Full for the others.
RecordKind generalKind(Op op, std::uint8_t& arith) {
    switch (op) {
    case Op::Set: return RecordKind::Set;
    case Op::Move: return RecordKind::Move;
    case Op::Add:
    case Op::AddValue: arith = static_cast<std::uint8_t>(ArithOp::Add); return RecordKind::Arith;
    case Op::Sub:
    case Op::SubValue: arith = static_cast<std::uint8_t>(ArithOp::Sub); return RecordKind::Arith;
    case Op::Mul:
    case Op::MulValue: arith = static_cast<std::uint8_t>(ArithOp::Mul); return RecordKind::Arith;
    case Op::Div:
    case Op::DivValue: arith = static_cast<std::uint8_t>(ArithOp::Div); return RecordKind::Arith;
    case Op::IntDiv:
    case Op::IntDivValue: return RecordKind::IntDiv;
    case Op::Inc: arith = 0; return RecordKind::Step;
    case Op::Dec: arith = 1; return RecordKind::Step;
    case Op::Compare:
    case Op::CompareValue: return RecordKind::Compare;
    default: return RecordKind::Full;
    }
}

bool secondIsRegister(Op op) {
    return op == Op::Move || op == Op::Add || op == Op::Sub || op == Op::Mul || op == Op::Div ||
           op == Op::IntDiv || op == Op::Compare;
}

Record compileGeneral(const Command& c, Op op) {
    Record r;
    const RecordKind kind = generalKind(op, r.arith);
    if (kind == RecordKind::Full || !registerOperand(c.p1, r.r1, r.m1, r.n1)) return r;
    // A write to the script number or the address redirects the run: the full way.
    if (redirects(r.r1)) return r;
    // mapSelect is written as it is but never read: only Set and Move write without reading.
    const bool writeOnly = kind == RecordKind::Set || kind == RecordKind::Move;
    if (writeOnly && r.r1 == regNumber(Reg::MapSelect)) r.n1 = RunSlot(&Run::mapSelect);
    if (kind != RecordKind::Step) {
        if (secondIsRegister(op)) {
            if (!registerOperand(c.p2, r.r2, r.m2, r.n2)) return r;
        } else {
            if (c.p2.isEmpty()) return r;
            r.literal = &c.p2;
        }
    }
    r.kind = specialised(kind, r);
    if (r.kind == RecordKind::SetNumber) r.target = r.literal->i;
    return r;
}

Record compileCommand(const Script& s, const Command& c) {
    const Op op = static_cast<Op>(c.code);
    switch (op) {
    case Op::Nop:
    case Op::Label: {
        Record r;
        r.kind = RecordKind::Next;
        return r;
    }
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
    case Op::JumpIfInvalid: return compileJump(s, c, op);
    case Op::Alloc:
    case Op::Dim:
    case Op::Extend:
    case Op::Select:
    case Op::FreeBlock:
    case Op::FreeRange:
    case Op::Int:
    case Op::Sign:
    case Op::Random:
    case Op::RandomValue:
    case Op::ToNumber:
    case Op::TestCell:
    case Op::DirVector: return compileHandler(c, op);
    default: return compileGeneral(c, op);
    }
}

// The records run on a program counter of their own and bring the run's address up to date
// only when they stop, so a command that reads the address register goes the full way.
Record compile(const Script& s, const Command& c) {
    Record r = compileCommand(s, c);
    const std::int16_t address = regNumber(Reg::Address);
    if (r.r1 == address || r.r2 == address) r = Record{};
    if (r.m1 && flagsRegister(r.r1)) r.texts |= Record::kFlagsP1;
    return r;
}

// Whether `r` is a Cut of R1 whose count is a value or a general register other than R1, which
// the Cut before it leaves as it was.
bool cutsR1(const Record& r) {
    const RunSlot<Value> r1(&Run::R1);
    return r.kind == RecordKind::Cut && !(r.texts & Record::kTextP1) && r.m1 == r1 &&
           (r.literal || (r.m2 && r.m2 != r1));
}

// Whether `r` is a Length of general register `m` into one of R1..R5: the length of a text is a
// number, which sets every flag, and of null is null, which sets the flags as the null before
// it did.
bool measuresText(const Record& r, RunSlot<Value> m) {
    return r.kind == RecordKind::Length && !r.literal && r.m2 == m && r.m1 && flagsRegister(r.r1);
}

// Joins the idioms whose second command takes the first's result: arithmetic or a cut then a
// Move of R1 into a general register, an integer division then a Move between general
// registers or a comparison, Inc or Dec then a comparison, a comparison or a Move then a jump,
// and a Concat then the Length of what it wrote. Only pairs within the run's `limit` join: the
// record before the end runs alone, its second being the Past record (endRecords).
void fuse(std::vector<Record>& records, std::size_t limit) {
    for (std::size_t k = 0; k + 1 < limit; ++k) {
        Record& r = records[k];
        const Record& second = records[k + 1];
        const bool movesR1 = second.kind == RecordKind::MoveR && second.m2 == RunSlot(&Run::R1);
        if (movesR1 && withMove(r.kind) != RecordKind::Full) r.kind = withMove(r.kind);
        if (second.kind == RecordKind::Jump && withJump(r.kind) != RecordKind::Full)
            r.kind = withJump(r.kind);
        if (r.kind == RecordKind::StepR && comparesRegister(second.kind)) {
            r.kind = RecordKind::StepRCompare;
            if (second.m1 == r.m1) r.texts |= Record::kCountsItself;
        }
        if (r.kind == RecordKind::Cut && movesR1) r.kind = RecordKind::CutMove;
        if (r.kind == RecordKind::Cut && cutsR1(second)) r.kind = RecordKind::CutCut;
        if (second.kind == RecordKind::MoveR && r.kind == RecordKind::IntDivR)
            r.kind = RecordKind::IntDivRMove;
        if (second.kind == RecordKind::MoveR && r.kind == RecordKind::IntDivV)
            r.kind = RecordKind::IntDivVMove;
        if (comparesRegister(second.kind) &&
            (r.kind == RecordKind::IntDivR || r.kind == RecordKind::IntDivV)) {
            r.kind = r.kind == RecordKind::IntDivR ? RecordKind::IntDivRCompare
                                                   : RecordKind::IntDivVCompare;
            if (second.m1 == RunSlot(&Run::R4) && second.literal && isInteger(second.literal->kind))
                r.texts |= Record::kCountsItself;
        }
        const bool movesR1AnyWhere =
            movesR1 || (second.kind == RecordKind::MoveToVar && second.m2 == RunSlot(&Run::R1));
        if (movesR1AnyWhere && varArith(r.kind).kind == r.kind) r.kind = varArith(r.kind).withMove;
        if (r.kind == RecordKind::Concat && r.m1 && measuresText(second, r.m1))
            r.kind = RecordKind::ConcatLength;
    }
    // A step whose comparison joined its jump has a kind of its own, which runs all three
    // without looking at the comparison's kind.
    for (std::size_t k = 0; k + 1 < limit; ++k)
        if (records[k].kind == RecordKind::StepRCompare && jumpsAfter(records[k + 1].kind))
            records[k].kind = RecordKind::StepRCompareJump;
}

// Joins a SetNumber or MoveToNumber of varIndex with the record after it when that one reads or
// writes the variable (TEKKEL_AFTER_SET_NUMBER), after fuse, so that the second may be a joined
// kind too.
void joinSetNumbers(std::vector<Record>& records, std::size_t limit) {
    for (std::size_t k = 0; k + 1 < limit; ++k) {
        const RecordKind joined = afterChoice(records[k].kind, records[k + 1].kind);
        if (joined != RecordKind::Full && records[k].n1 == RunSlot<std::int32_t>(&Run::varIndex))
            records[k].kind = joined;
    }
}

// Where a run of `form` ends: after lastAddress, or past the commands.
std::size_t runLimit(const CompiledScript& form) {
    return static_cast<std::size_t>(
        std::clamp<std::int64_t>(form.lastAddress + 1LL, 0, std::ssize(form.records)));
}

// The Past record after the last command a run may run (`limit`: the one after lastAddress,
// or one past the commands), so that no record that goes on to the next, nor a fused record's
// second part, needs to ask whether it is past the end.
void endRecords(std::vector<Record>& records, std::size_t limit) {
    Record past;
    past.kind = RecordKind::Past;
    records.push_back(past);
    records[limit] = past;
}

// Notes in each Jump record the labels (and Nops) that start at its target, up to the Past
// record at `limit` (endRecords): a taken jump runs them with it.
void labelsAtTargets(std::vector<Record>& records, std::size_t limit) {
    for (Record& r : records) {
        if (r.kind != RecordKind::Jump) continue;
        std::size_t at = static_cast<std::size_t>(r.target);
        while (at < limit && records[at].kind == RecordKind::Next && r.arith < 255) {
            ++r.arith;
            ++at;
        }
    }
}

// CompiledScript::straightRuns, and in each Jump record within the run the runs it goes on to
// (JumpRuns).
void noteStraightRuns(CompiledScript& form, std::size_t limit) {
    std::vector<Record>& records = form.records;
    std::vector<std::int32_t>& runs = form.straightRuns;
    runs.assign(records.size(), 0); // the last is a Past record
    for (std::size_t k = records.size() - 1; k-- > 0;) {
        const RecordKind kind = records[k].kind;
        const bool jumps = kind == RecordKind::Jump || kind == RecordKind::JumpNamed;
        runs[k] = kind == RecordKind::Past ? 0 : jumps ? 1 : runs[k + 1] + 1;
    }
    for (std::size_t k = 0; k < limit; ++k) {
        Record& r = records[k];
        if (r.kind == RecordKind::Jump)
            r.runs = {runs[static_cast<std::size_t>(r.target)], runs[k + 1]};
    }
}

bool selectionRegister(std::int16_t reg) {
    return reg == regNumber(Reg::Space) || reg == regNumber(Reg::VarIndex) ||
           reg == regNumber(Reg::MapSelect);
}

// Whether running `r` may make `var` name another variable or move the variables: a record
// that goes the full way or runs a handler (Dim, Extend, Alloc, Select, ...), or one whose P1
// is space, varIndex or mapSelect (written or not).
bool reselects(const Record& r) {
    return r.kind == RecordKind::Full || r.kind == RecordKind::Handler || selectionRegister(r.r1);
}

// Which records a jump lands in.
std::vector<bool> landings(const std::vector<Record>& records) {
    std::vector<bool> landing(records.size(), false);
    for (const Record& r : records)
        if (r.kind == RecordKind::Jump && r.target >= 0 &&
            static_cast<std::size_t>(r.target) < records.size())
            landing[static_cast<std::size_t>(r.target)] = true;
    return landing;
}

// Marks each record that finds `var` where a record before it, in a run of records that no
// jump lands in, found it and nothing between reselects (Record::kSameVariable).
void markSameVariable(std::vector<Record>& records) {
    const std::vector<bool> landing = landings(records);
    bool found = false;
    for (std::size_t k = 0; k < records.size(); ++k) {
        Record& r = records[k];
        if (landing[k]) found = false;
        const std::int16_t var = regNumber(Reg::Var);
        if (findsVariable(r.kind) && (r.r1 == var || r.r2 == var)) {
            if (found) r.texts |= Record::kSameVariable;
            found = true;
        }
        if (reselects(r)) found = false;
    }
}

// How a command's record treats the flags, told from its kind before fuse joins it.
enum class FlagUse : std::uint8_t {
    Keeps,  // neither reads nor writes them, nor writes R1..R5
    Writes, // writes one of R1..R5 (`written`) by the flag rule, for any value
    Number, // writes a number into one of R1..R5 by the rule, or another value after setting
            // the flags the records before left unset (Step: otherStep)
    Arith,  // writes R1 by arithmetic (an integer division R1 and then R4, `written`): a
            // number by the rule, or another value after setting the flags the records before
            // left unset (otherArith, otherIntDiv)
    Sets,   // compares: sets all three flags, and sets them first for values that are no
            // numbers
    Other,  // reads them, writes them otherwise, jumps or goes the full way
};
struct FlagEffect {
    FlagUse use = FlagUse::Other;
    RunSlot<Value> written;
};

bool flagRegister(std::int16_t reg) {
    return reg == regNumber(Reg::ZeroFlag) || reg == regNumber(Reg::NegativeFlag) ||
           reg == regNumber(Reg::InvalidFlag);
}

// Whether a record whose operands may be any register reads a flag as one.
bool readsFlags(const Record& r) {
    return flagRegister(r.r1) || (!r.literal && flagRegister(r.r2));
}

// A Set or Move whose P1 is a general register, as flagEffect tells.
FlagEffect generalWrite(const Record& r) {
    if (!(r.texts & Record::kFlagsP1)) return {FlagUse::Keeps, {}};
    const bool number = r.kind == RecordKind::Set && setsEveryFlag(*r.literal);
    return {number ? FlagUse::Number : FlagUse::Writes, r.m1};
}

FlagEffect flagEffect(const Record& r) {
    using enum RecordKind;
    const FlagEffect other, keeps{FlagUse::Keeps, {}}, sets{FlagUse::Sets, {}};
    const FlagEffect arith{FlagUse::Arith, RunSlot<Value>(&Run::R1)};
    if (r.kind != Full && (fastArith(r.kind).kind == r.kind || varArith(r.kind).kind == r.kind))
        return arith;
    switch (r.kind) {
    case Arith: return readsFlags(r) ? other : arith;
    case Compare: return readsFlags(r) ? other : sets;
    case IntDivR:
    case IntDivV: return {FlagUse::Arith, RunSlot<Value>(&Run::R4)};
    case CompareR:
    case CompareV:
    case CompareVar:
    case CompareRVar: return sets;
    case SetNumber:
    case StepVar:
    case MoveToVar:
    case MoveToNumber: return keeps;
    case MoveR:
    case MoveFromVar: return generalWrite(r);
    case StepR: return r.texts & Record::kFlagsP1 ? FlagEffect{FlagUse::Number, r.m1} : keeps;
    case Move:
    case Set:
        if (r.kind == Move && flagRegister(r.r2)) return other;
        if (r.m1) return generalWrite(r);
        return r.n1 || r.r1 == regNumber(Reg::Var) ? keeps : other;
    default: return other;
    }
}

std::vector<FlagEffect> flagEffects(const std::vector<Record>& records) {
    std::vector<FlagEffect> effects;
    effects.reserve(records.size());
    for (const Record& r : records)
        effects.push_back(flagEffect(r));
    return effects;
}

// The record after `k` that sets every flag before anything reads them (not Writes), when
// only records that keep them come between and no jump lands in any; 0 when there is none.
std::size_t nextFlagWrite(const std::vector<FlagEffect>& effects, const std::vector<bool>& landing,
                          std::size_t k, std::size_t limit) {
    for (std::size_t j = k + 1; j < limit && !landing[j]; ++j) {
        const FlagUse use = effects[j].use;
        if (use == FlagUse::Arith || use == FlagUse::Sets || use == FlagUse::Number) return j;
        if (use != FlagUse::Keeps) break;
    }
    return 0;
}

// Whether record `k`, an arithmetic, is followed by a Move of R1 that leaves its flags unset:
// the Move's value is R1's, so R1's flags need not be set either.
bool movedQuietly(const std::vector<Record>& records, const std::vector<FlagEffect>& effects,
                  std::size_t k, std::size_t limit) {
    const Record& move = records[k + 1];
    return k + 1 < limit && effects[k + 1].use == FlagUse::Writes &&
           move.kind == RecordKind::MoveR && move.m2 == RunSlot<Value>(&Run::R1) &&
           !(move.texts & Record::kFlagsP1);
}

// Leaves the flags of the record at `k` unset up to `end`.
void leaveUnset(CompiledScript& form, const FlagEffect& effect, std::size_t k, std::size_t end) {
    Record& r = form.records[k];
    if (effect.use == FlagUse::Arith)
        r.texts |= Record::kQuietFlags;
    else
        r.texts &= static_cast<std::uint8_t>(~Record::kFlagsP1);
    for (std::size_t j = k + 1; j <= end; ++j)
        form.flagsFrom[j] = effect.written;
    form.records[end].texts |= Record::kAfterUnset;
}

// Leaves the flags of each write of R1..R5 by an arithmetic (kQuietFlags), Set, Move or Inc
// (takes its kFlagsP1) unset where nothing can read them before the next record sets them all
// (nextFlagWrite; `effects` from before fuse), and notes in flagsFrom where the records between
// find them. No record between has flags left unset, so they are the ones before it wherever
// the rule keeps one; but an arithmetic's Move of R1 may leave its own (movedQuietly), so the
// arithmetic is marked after the others.
void leaveUnreadFlags(CompiledScript& form, const std::vector<FlagEffect>& effects,
                      std::size_t limit) {
    const std::vector<bool> landing = landings(form.records);
    form.flagsFrom.assign(form.records.size(), {});
    for (const bool arithmetic : {false, true})
        for (std::size_t k = 0; k < limit; ++k) {
            const FlagUse use = effects[k].use;
            if ((use == FlagUse::Arith) != arithmetic ||
                (use != FlagUse::Writes && use != FlagUse::Number && !arithmetic))
                continue;
            std::size_t end = nextFlagWrite(effects, landing, k, limit);
            if (end == 0 && arithmetic && !landing[k + 1] &&
                movedQuietly(form.records, effects, k, limit))
                end = k + 1;
            if (end != 0) leaveUnset(form, effects[k], k, end);
        }
}

// Points each fast arithmetic record with a value at its pair in CompiledScript::literals: the
// value, then the value as a 64-bit real (NaN for a value that is no number of either kind, so
// that the records loop reads the real without testing it, and such a value goes the full way).
void pairLiterals(CompiledScript& form) {
    const auto paired = [](const Record& r) { return fastArith(r.kind).literal; };
    form.literals.reserve(2 * static_cast<std::size_t>(
                                  std::count_if(form.records.begin(), form.records.end(), paired)));
    for (Record& r : form.records) {
        if (!paired(r)) continue;
        const Value& v = *r.literal;
        form.literals.push_back(v);
        form.literals.push_back(isInteger(v.kind)             ? Value::real64(v.i)
                                : v.kind == ValueKind::Real64 ? v
                                                              : Value::real64(std::nan("")));
        r.literal = &form.literals[form.literals.size() - 2];
    }
}

// Whether `form` was compiled from the script's present commands.
bool formOf(const CompiledScript* form, const Script& script) {
    return form && form->commands == script.commands.data() &&
           form->size == script.commands.size() && form->lastAddress == script.lastAddress;
}

// CompiledScript::labels: places for at least twice the labels, a power of two.
void indexLabels(CompiledScript& form) {
    const auto last =
        std::min<std::int64_t>(form.lastAddress, static_cast<std::int64_t>(form.size) - 1);
    auto isLabel = [&](std::int64_t a) {
        const Command& c = form.commands[a];
        return c.code == opCode(Op::Label) && c.p1.isString();
    };
    std::size_t count = 0;
    for (std::int64_t a = 0; a <= last; ++a)
        count += isLabel(a);
    form.labels.assign(std::bit_ceil(std::max<std::size_t>(8, 2 * count)), -1);
    for (std::int32_t a = 0; a <= last; ++a) {
        if (!isLabel(a)) continue;
        std::int32_t& place = form.labels[labelPlace(form, form.commands[a].p1.s)];
        if (place < 0) place = a; // the first label of a name is the one a jump finds
    }
}

} // namespace

std::int32_t labelAddress(const Script& script, const std::u16string& name) {
    const CompiledScript* form = script.compiled.get();
    if (!formOf(form, script) || form->labels.empty()) return findLabel(script, name);
    return findIndexedLabel(*form, name);
}

const CompiledScript& compiledForm(const Script& script) {
    const CompiledScript* c = script.compiled.get();
    if (formOf(c, script)) return *c;
    auto form = std::make_shared<CompiledScript>();
    form->commands = script.commands.data();
    form->size = script.commands.size();
    form->lastAddress = script.lastAddress;
    form->records.reserve(form->size);
    for (const Command& command : script.commands)
        form->records.push_back(compile(script, command));
    // A jump out of the run goes the full way (it ends the run), so that the loop's jumps never
    // leave the records.
    const std::size_t limit = runLimit(*form);
    for (Record& r : form->records)
        if (r.kind == RecordKind::Jump && static_cast<std::size_t>(r.target) >= limit) r = Record{};
    const std::vector<FlagEffect> effects = flagEffects(form->records);
    fuse(form->records, limit);
    joinSetNumbers(form->records, limit);
    endRecords(form->records, limit);
    labelsAtTargets(form->records, limit);
    markSameVariable(form->records);
    leaveUnreadFlags(*form, effects, limit);
    noteStraightRuns(*form, limit);
    pairLiterals(*form);
    indexLabels(*form);
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
    endRecords(form->records, runLimit(*form));
    form->flagsFrom.assign(form->records.size(), {});
    noteStraightRuns(*form, runLimit(*form));
    script.compiled.set(std::move(form));
}

} // namespace tekkel
