// What one Tekkel command sees while it runs: the step context handed to every command
// handler, the step results, and the window-system pump of a frame's scripts.
//
// Writing a command handler (the host's commands too; see field/script/FieldCommands.cpp for
// the field's player, object and cell commands):
//   - read the effective parameters `ctx.p1`..`ctx.p3` (an omitted parameter already
//     replaced by D1..D3); convert them with tekkel::int16Param / int32Param / truthParam,
//     which write kErrorBadValue into `ctx.error` when a value cannot be converted;
//   - read and write registers with tekkel::readRegister / writeRegister (a write to R1..R5
//     applies the flag rule; a failed read or write already wrote its error number);
//   - return a StepResult; on failure return `fail(ctx, kErrorBadValue)` (or another name
//     below), or StepResult::Failed to keep whatever number `ctx.error` holds;
//   - a jump or a switch writes where it goes into `ctx.target`;
//   - show a message with `showMessage(ctx, text)`, which lets the window system catch up
//     first.
// Convert every parameter you need before writing a register: an omitted parameter is D1..D3
// itself, so writing register 20..22 changes it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <limits>
#include <string>

#include "platform/Seams.h"
#include "tekkel/Host.h"
#include "tekkel/Script.h"

namespace tekkel {

// Tekkel's error numbers, as the error report shows them to a quest author.
// A value that cannot be used: a parameter or register value that does not convert or is out
// of range, a register number that names none, an arithmetic overflow or division by zero, a
// script number that names no runnable script, a code that no one runs.
inline constexpr std::int32_t kErrorBadValue = 1;
// A code the command table keeps reserved, or a variable space that does not exist.
inline constexpr std::int32_t kErrorReserved = 2;
// A label (Jump and the conditional jumps) or a script name (Chain) that nothing carries.
inline constexpr std::int32_t kErrorNoSuchName = 10;

// Result of one command.
enum class StepResult : std::uint8_t {
    Failed,
    Next,
    Suspend,      // run the same command again next frame
    NextAndYield, // continue with the next command next frame
    Goto,         // continue at the address in `target`
    GotoAndYield, // continue there next frame
    Ended,
    SwitchScript, // continue at address 0 of the script numbered in `target`
};

// Result of one call of the run procedure.
enum class RunResult : std::int32_t { Failed = 0, Ended = 1, Yielded = 2 };

// How often the window system gets to process its messages while scripts run.
enum class PumpPolicy : std::uint8_t {
    // Before the first command of a frame, then at most once per millisecond of the clock
    // (looked at every kCheckInterval commands), and always before a modal box. A real pump
    // costs far more than a command, so pumping before each one would make scripts crawl.
    Throttled,
    EveryCommand, // before every command, for measuring what the pump costs
    None,         // never (benchmarks of the bare interpreter)
};

// The pump of one frame's scripts, shared by every run of that frame. Also carries a command
// budget (fuzzing, tests, `tekkel run --max-steps`) and a close check (the game): once spent or
// closed, runs stop as if they had yielded.
class Pump {
  public:
    static constexpr std::int32_t kCheckInterval = 1024;

    Pump(plat::Services& sv, PumpPolicy policy,
         std::uint64_t budget = std::numeric_limits<std::uint64_t>::max())
        : sv_(sv), policy_(policy), budget_(budget) {}

    // Called before each command; false when the command budget is spent.
    bool beforeCommand() {
        if (--countdown_ > 0) return true;
        return slowPath();
    }
    // For a loop that keeps the countdown in a local: take it, count down, hand it back.
    std::int32_t takeCountdown() const { return countdown_; }
    bool slowCheck(std::int32_t& countdown) {
        const bool ok = slowPath();
        countdown = countdown_;
        return ok;
    }
    void giveCountdown(std::int32_t countdown) { countdown_ = countdown; }
    void beforeModal() {
        if (policy_ != PumpPolicy::None) pump(sv_.clock.timeGetTime());
    }
    PumpPolicy policy() const { return policy_; }
    // After each throttled pass of the window system, `closing` is asked (with the tick of the
    // pass) whether the program is to end; once it says so, every run stops as if it had
    // yielded: a script that never yields must not keep the window from closing.
    void stopWhen(std::function<bool(std::uint32_t now)> closing) { closing_ = std::move(closing); }
    bool closed() const { return closed_; }
    bool spent() const { return spent_; }

  private:
    bool slowPath() {
        // The last part of the budget may be shorter than the interval: a run takes all of it.
        const std::int32_t ran = static_cast<std::int32_t>(std::min<std::uint64_t>(
            policy_ == PumpPolicy::EveryCommand ? 1 : kCheckInterval, budget_));
        countdown_ = closed_ || ran == 0 ? 1 : ran;
        if (closed_) return false;
        if (ran == 0) {
            spent_ = true;
            return false;
        }
        budget_ -= static_cast<std::uint64_t>(ran);
        if (policy_ == PumpPolicy::EveryCommand) {
            sv_.windows.doEvents();
        } else if (policy_ == PumpPolicy::Throttled) {
            const std::uint32_t now = sv_.clock.timeGetTime();
            if (!pumped_ || now != lastTick_) pump(now);
        }
        return !closed_;
    }
    void pump(std::uint32_t now) {
        sv_.windows.doEvents();
        pumped_ = true;
        lastTick_ = now;
        closed_ = closed_ || (closing_ && closing_(now));
        if (closed_) countdown_ = 1;
    }

    plat::Services& sv_;
    PumpPolicy policy_;
    std::uint64_t budget_;
    std::int32_t countdown_ = 1; // the first command of a frame takes the slow path
    bool pumped_ = false;
    std::uint32_t lastTick_ = 0;
    std::function<bool(std::uint32_t now)> closing_;
    bool closed_ = false;
    bool spent_ = false;
};

// Everything a command handler works on.
struct StepContext {
    Machine& machine;
    const Host& host;
    Run& run;
    plat::Services& sv;
    Pump& pump;
    // The number the error report shows: the failing command's error number. A failure that
    // names none shows the last number written here, which a taken jump also writes (see
    // noteJump): the report has always shown it so.
    std::int32_t& error;
    std::int32_t& target; // Goto, GotoAndYield: the address; SwitchScript: the script number
    const Script& script; // the script being run
    const Value* p1;      // effective parameters
    const Value* p2;
    const Value* p3;
    std::ostream& listing; // destination of the debugging listings (900..902)
};

inline StepResult fail(StepContext& ctx, std::int32_t errorNumber) {
    ctx.error = errorNumber;
    return StepResult::Failed;
}

// A taken jump, restart or switch: its target is also the number a later failure that names
// none reports. Both ways of running a command (the records and the full handlers) note it here.
inline void noteJump(StepContext& ctx, std::int32_t target) {
    ctx.error = target;
}

// Goes on at address `target` (Goto, GotoAndYield) or in script `target` (SwitchScript).
inline StepResult jump(StepContext& ctx, StepResult how, std::int32_t target) {
    ctx.target = target;
    noteJump(ctx, target);
    return how;
}

// A modal message box with an OK button under the program's title.
inline void showMessage(StepContext& ctx, const std::u16string& text) {
    ctx.pump.beforeModal();
    ctx.sv.windows.messageBox(text, u"", plat::MsgButtons::Ok, plat::MsgIcon::None);
}

} // namespace tekkel
