#include "tekkel/Interpreter.h"

#include "tekkel/Commands.h"
#include "tekkel/Compiler.h"
#include "tekkel/Opcodes.h"
#include "tekkel/Registers.h"
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

std::u16string errorReportText(std::int32_t errorSlot, const Run& run, const Command& command) {
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
    return t;
}

RunResult runScript(Machine& machine, const Host& host, Run& run, plat::Services& sv, Pump& pump,
                    std::ostream& listing) {
    if (machine.scriptCount == 0) return RunResult::Ended;
    std::int32_t slot = 0;
    RunResult result = RunResult::Ended;
    for (;;) {
        const std::int32_t number = run.scriptNumber;
        const Script* s = scriptAt(machine, number);
        // A number naming no script reads as an empty slot: its one address fails below.
        const std::int32_t last = s ? s->lastAddress : 0;
        if (run.address > last) return result;
        if (!pump.beforeCommand()) return RunResult::Yielded;

        // Commands run from the script's compiled form on a local program counter until one
        // must go the full way; the run's address is brought up to date before anything else
        // can look at it.
        bool failed = false;
        if (s && run.address >= 0 && static_cast<std::size_t>(run.address) < s->commands.size()) {
            const tekkel::CompiledScript& code = tekkel::compiledForm(*s);
            StepContext ctx{machine, host,    run,     sv,      pump,   slot,
                            *s,      &run.D1, &run.D2, &run.D3, listing};
            const auto stop = tekkel::runRecords(ctx, code, run.address, last);
            run.address = stop.address;
            if (stop.why == tekkel::Stop::Yielded) return RunResult::Yielded;
            if (stop.why == tekkel::Stop::Past) return result;
            failed = stop.why == tekkel::Stop::Failed;
        }

        const std::int32_t address = run.address;
        StepResult r = StepResult::Failed;
        if (failed) {
            // the compiled command failed; its error number is in the slot
        } else if (s && address >= 0 && static_cast<std::size_t>(address) < s->commands.size()) {
            const Command& c = s->commands[static_cast<std::size_t>(address)];
            StepContext ctx{machine,
                            host,
                            run,
                            sv,
                            pump,
                            slot,
                            *s,
                            c.p1.isEmpty() ? &run.D1 : &c.p1,
                            c.p2.isEmpty() ? &run.D2 : &c.p2,
                            c.p3.isEmpty() ? &run.D3 : &c.p3,
                            listing};
            r = tekkel::executeCommand(ctx, c.code);
        } else {
            slot = 1; // a slot without commands, or no such script
        }
        run.suspended = r == StepResult::Suspend;

        switch (r) {
        case StepResult::Next:
            if (!advance(run)) return result;
            continue;
        case StepResult::Goto: run.address = slot; continue;
        case StepResult::SwitchScript:
            run.scriptNumber = slot;
            run.address = 0;
            continue;
        case StepResult::NextAndYield: advance(run); return RunResult::Yielded;
        case StepResult::GotoAndYield: run.address = slot; return RunResult::Yielded;
        case StepResult::Suspend: return RunResult::Yielded;
        case StepResult::Ended: return RunResult::Ended;
        case StepResult::Failed: break;
        }

        result = RunResult::Failed;
        // The command is looked up again: a field command may have replaced its script.
        Command shown;
        if (const Script* f = scriptAt(machine, number);
            f && address >= 0 && static_cast<std::size_t>(address) < f->commands.size())
            shown = f->commands[static_cast<std::size_t>(address)];
        const std::u16string text = errorReportText(slot, run, shown);
        pump.beforeModal();
        const plat::MsgResult answer = sv.windows.messageBox(
            text, kErrorReportTitle, plat::MsgButtons::YesNoCancel, plat::MsgIcon::Critical);
        if (answer == plat::MsgResult::Yes) sv.process.exitNow(1);
        if (answer != plat::MsgResult::No) return RunResult::Ended;
        if (!advance(run)) return result;
    }
}

} // namespace tekkel
