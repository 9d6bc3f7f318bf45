#include "tekkel/Interpreter.h"

#include <optional>

#include "common/Utility.h"
#include "platform/Excerpt.h"
#include "tekkel/Commands.h"
#include "tekkel/Compiler.h"
#include "tekkel/Opcodes.h"
#include "tekkel/Registers.h"
#include "tekkel/SourceMap.h"
#include "tekkel/Trace.h"
#include "tekkel/Value.h"

namespace tekkel {

namespace {

const Script* scriptAt(const Machine& w, std::int32_t n) {
    if (n < 0 || n > w.scriptCount || static_cast<std::size_t>(n) >= w.scripts.size())
        return nullptr;
    return &w.scripts[static_cast<std::size_t>(n)];
}

std::u16string number(std::int64_t n) {
    return tekkel::toText(Value::int32(static_cast<std::int32_t>(n)));
}

// Moves the program counter past the current command; false when no address follows.
bool advance(Run& run) {
    if (run.address == INT32_MAX) return false;
    ++run.address;
    return true;
}

} // namespace

std::u16string errorReportText(std::int32_t errorSlot, const Run& run, const Command& command,
                               const Script* script) {
    std::u16string t;
    t += u"エラーが発生しました。デバッグしますか？\r";
    t += u"[Error Infomation]\r";
    t += u"Error Number  : " + number(errorSlot) + u"\r";
    t += u"\r";
    t += u"[Pointer States]\r";
    t += u"Script Number : " + number(run.scriptNumber) + u"\r";
    t += u"Address       : " + number(run.address) + u"\r";
    t += u"Active Object : " + number(run.activeObject) + u"\r";
    t += u"\r";
    t += u"[Command Data]\r";
    t += u"Command       : " + number(command.code) + u"\r";
    t += u"Parameter1    : " + toText(command.p1) + u"\r";
    t += u"Parameter2    : " + toText(command.p2) + u"\r";
    t += u"Parameter3    : " + toText(command.p3);
    // The lines above are the report every script has always shown; one read from text also
    // says where the command was written.
    const SourcePlace* place = script ? sourceAt(*script, run.address) : nullptr;
    if (!place) return t;
    t += u"\r\r[Source]\r";
    t += u"Source        : " +
         common::fromUtf8(placeText(*script->source, place->line, place->column) + "  " +
                          place->text) +
         u"\r";
    t += u"Error Name    : " + common::fromUtf8(faultName(errorSlot, command, run));
    return t;
}

std::string stoppedRunText(const Machine& machine, const Run& run, std::string_view why) {
    const std::string script = "script " + std::to_string(run.scriptNumber);
    const Script* held = scriptAt(machine, run.scriptNumber);
    const SourcePlace* place = held ? sourceAt(*held, run.address) : nullptr;
    if (!place)
        return script + ", address " + std::to_string(run.address) + ": " + std::string(why);
    return plat::excerpt(placeText(*held->source, place->line, place->column), plat::kWhole) +
           ": " + script + " at '" + plat::excerpt(place->text) + "': " + std::string(why);
}

namespace {

// One call of runScript: what each of its commands works on.
struct Session {
    Machine& machine;
    const Host& host;
    Run& run;
    plat::Services& sv;
    Pump& pump;
    std::ostream& listing;
    std::int32_t error = 0;  // StepContext::error, kept across the call's commands
    std::int32_t target = 0; // StepContext::target

    StepContext context(const Script& s, const Value* p1, const Value* p2, const Value* p3) {
        return {machine, host, run, sv, pump, error, target, s, p1, p2, p3, listing};
    }
};

const Command* commandAt(const Script* s, std::int32_t address) {
    if (!s || address < 0 || static_cast<std::size_t>(address) >= s->commands.size())
        return nullptr;
    return &s->commands[static_cast<std::size_t>(address)];
}

StepResult runFull(Session& x, const Script& s, const Command& c) {
    const Run& run = x.run;
    StepContext ctx = x.context(s, c.p1.isEmpty() ? &run.D1 : &c.p1,
                                c.p2.isEmpty() ? &run.D2 : &c.p2, c.p3.isEmpty() ? &run.D3 : &c.p3);
    return executeCommand(ctx, c.code);
}

// Runs the script's compiled form on a local program counter from the run's address until a
// command must go the full way, then that command; the run's address is brought up to date
// before anything else can look at it. `stopped` is set when the records end the call
// (yielded, or ran past the last address).
StepResult runCommands(Session& x, const Script* s, std::int32_t last,
                       std::optional<Stop>& stopped) {
    Run& run = x.run;
    if (!commandAt(s, run.address)) {
        x.error = kErrorBadValue; // a slot without commands, or no such script
        return StepResult::Failed;
    }
    StepContext ctx = x.context(*s, &run.D1, &run.D2, &run.D3);
    const Stopped stop = runRecords(ctx, compiledForm(*s), run.address, last);
    run.address = stop.address;
    if (stop.why == Stop::Yielded || stop.why == Stop::Past) {
        stopped = stop.why;
        return StepResult::Failed;
    }
    if (stop.why == Stop::Failed) return StepResult::Failed; // its error number is written
    if (const Command* c = commandAt(s, run.address)) return runFull(x, *s, *c);
    x.error = kErrorBadValue; // the records ran out before the last address
    return StepResult::Failed;
}

// A traced or pausable run goes the full way one command at a time: the pause points asked
// before each, the trace told around it.
StepResult runWatched(Session& x, const Script* s) {
    if (x.host.pausePoints) x.host.pausePoints->beforeCommand(x.run, s);
    const Command* c = commandAt(s, x.run.address);
    if (!c) {
        x.error = kErrorBadValue;
        return StepResult::Failed;
    }
    if (x.host.trace) x.host.trace->before(x.run, s);
    const StepResult r = runFull(x, *s, *c);
    if (x.host.trace) x.host.trace->after(x.run);
    return r;
}

// Moves the run on after a command that did not fail; a result when the call ends.
std::optional<RunResult> follow(Session& x, StepResult r, RunResult result) {
    Run& run = x.run;
    switch (r) {
    case StepResult::Next: return advance(run) ? std::nullopt : std::optional(result);
    case StepResult::Goto: run.address = x.target; return std::nullopt;
    case StepResult::SwitchScript:
        run.scriptNumber = x.target;
        run.address = 0;
        return std::nullopt;
    case StepResult::NextAndYield: advance(run); return RunResult::Yielded;
    case StepResult::GotoAndYield: run.address = x.target; return RunResult::Yielded;
    case StepResult::Suspend: return RunResult::Yielded;
    case StepResult::Ended: return RunResult::Ended;
    case StepResult::Failed: break;
    }
    return result;
}

// Shows the error report for the command that failed at `address` of script `number`; a result
// when the call ends (Yes exits the program, Cancel ends the run, No skips the command).
std::optional<RunResult> report(Session& x, std::int32_t number, std::int32_t address) {
    // The command is looked up again: a field command may have replaced its script.
    Command shown;
    const Script* script = scriptAt(x.machine, number);
    if (const Command* c = commandAt(script, address)) shown = *c;
    const std::u16string text = errorReportText(x.error, x.run, shown, script);
    logFault(x.sv, x.error, x.run, shown, script);
    x.pump.beforeModal();
    const plat::MsgResult answer = x.sv.windows.messageBox(
        text, kErrorReportTitle, plat::MsgButtons::YesNoCancel, plat::MsgIcon::Critical);
    if (answer == plat::MsgResult::Yes) x.sv.process.exitNow(1);
    if (answer != plat::MsgResult::No) return RunResult::Ended;
    if (!advance(x.run)) return RunResult::Failed;
    return std::nullopt;
}

} // namespace

RunResult runScript(Machine& machine, const Host& host, Run& run, plat::Services& sv, Pump& pump,
                    std::ostream& listing) {
    if (machine.scriptCount == 0) return RunResult::Ended;
    Session x{machine, host, run, sv, pump, listing};
    RunResult result = RunResult::Ended;
    for (;;) {
        const std::int32_t number = run.scriptNumber;
        const Script* s = scriptAt(machine, number);
        // A number naming no script reads as an empty slot: its one address fails.
        const std::int32_t last = s ? s->lastAddress : 0;
        if (run.address > last) return result;
        if (!pump.beforeCommand()) return RunResult::Yielded;
        std::optional<Stop> stopped;
        const StepResult r =
            host.trace || host.pausePoints ? runWatched(x, s) : runCommands(x, s, last, stopped);
        if (stopped) return *stopped == Stop::Yielded ? RunResult::Yielded : result;
        run.suspended = r == StepResult::Suspend;
        if (r != StepResult::Failed) {
            if (const auto done = follow(x, r, result)) return *done;
            continue;
        }
        result = RunResult::Failed;
        if (const auto done = report(x, number, run.address)) return *done;
    }
}

} // namespace tekkel
