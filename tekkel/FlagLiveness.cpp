// Why leaving out a quiet record's flag work is exact. A record W is quiet when the records
// after it, up to the next Write L, leave the flags and R1..R5 alone, none of W+1..L is a jump
// target, and nothing between is a jump or goes the full way: the only way into W+1..L runs
// through W. Between W and L the run's flags should be the rule applied to the value W wrote
// (a finite number sets all three; any other value W applies the full rule to itself, and
// applying it again changes nothing), and W's register still holds that value: `owed` names it
// for each address W+1..L. So:
//  - L sets all three flags on its fast paths; its slow paths settle the owed flags first;
//  - the records loop is left at one place (a command that goes the full way, a failure, the
//    pump's budget or close check between any two records, the last address), which settles
//    the flags owed at the address it stops on;
//  - a run that starts inside W+1..L (after such a stop) never ran W, so the loop sends those
//    commands the full way, where every write applies the rule.
#include "tekkel/FlagLiveness.h"

#include "tekkel/Opcodes.h"
#include "tekkel/RecordKinds.h"
#include "tekkel/Registers.h"

namespace tekkel {

namespace {

bool flagOperand(std::int16_t reg) {
    return reg >= regNumber(Reg::ZeroFlag) && reg <= regNumber(Reg::InvalidFlag);
}

// A write of general register `r.r1`: None when it is one of D1..D3.
FlagUse generalWrite(const Record& r) {
    return flagsRegister(r.r1) ? FlagUse::Write : FlagUse::None;
}

// The kinds that run a Move of R1 after their own command.
bool movesAfter(RecordKind k) {
    const FastArith* f = fastArith(k);
    return (f && f->withMove == k) || k == RecordKind::ArithMove;
}

// The register a Write record's own command writes; nullptr for a comparison.
Value Run::*written(const Record& r) {
    using enum RecordKind;
    if (fastArith(r.kind) || r.kind == Arith || r.kind == ArithMove) return &Run::R1;
    switch (r.kind) {
    case StepR:
    case StepRCompare:
    case StepRJump:
    case MoveR:
    case MoveRJump:
    case MoveFromVar:
    case Set:
    case Move: return r.m1;
    default: return nullptr;
    }
}

// Records a run passes straight through without touching the flags or R1..R5.
bool passive(const Record& r) {
    return flagUse(r) == FlagUse::None && r.kind != RecordKind::Full && r.kind != RecordKind::Jump;
}

std::vector<char> jumpTargets(const std::vector<Record>& records) {
    std::vector<char> targeted(records.size(), 0);
    for (const Record& r : records)
        if (r.kind == RecordKind::Jump && r.target >= 0 &&
            static_cast<std::size_t>(r.target) < records.size())
            targeted[static_cast<std::size_t>(r.target)] = 1;
    return targeted;
}

} // namespace

FlagUse flagUse(const Record& r) {
    using enum RecordKind;
    if (flagOperand(r.r1) || flagOperand(r.r2) || flagOperand(r.r3)) return FlagUse::Read;
    if (fastArith(r.kind) || r.kind == Arith || r.kind == ArithMove) return FlagUse::Write;
    switch (r.kind) {
    case Full:
    case Next:
    case SetNumber:
    case MoveToVar:
    case MoveToNumber:
    case Step: return FlagUse::None; // of a register that is not R1..R5
    case Jump: return r.condition == 0 ? FlagUse::None : FlagUse::Read;
    case Compare:
    case CompareJump:
    case CompareR:
    case CompareV:
    case CompareRJump:
    case CompareVJump: return FlagUse::Write;
    case StepR:
    case StepRCompare:
    case StepRJump:
    case MoveR:
    case MoveRJump:
    case MoveFromVar: return generalWrite(r);
    case Set:
    case Move: return r.m1 ? generalWrite(r) : FlagUse::None;
    default: return FlagUse::Read;
    }
}

std::vector<Value Run::*> markQuietWrites(std::vector<Record>& records) {
    const std::size_t n = records.size();
    std::vector<Value Run::*> owed(n, nullptr);
    const std::vector<char> targeted = jumpTargets(records);
    for (std::size_t w = n; w-- > 0;) {
        Value Run::*reg = flagUse(records[w]) == FlagUse::Write ? written(records[w]) : nullptr;
        if (!reg) continue;
        std::size_t l = w + 1;
        while (l < n && !targeted[l] && passive(records[l]))
            ++l;
        if (l >= n || targeted[l] || flagUse(records[l]) != FlagUse::Write) continue;
        // A record run with the Move of R1 after it leaves the flags as they are when the
        // Move's are wanted: quiet only when the Move's flags are dead too (the records after
        // it are marked first).
        if (movesAfter(records[w].kind) && l == w + 1 && !records[l].quiet) continue;
        records[w].quiet = true;
        records[l].owes = true;
        for (std::size_t a = w + 1; a <= l; ++a)
            owed[a] = reg;
    }
    return owed;
}

} // namespace tekkel
