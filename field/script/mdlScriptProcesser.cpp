#include "field/script/mdlScriptProcesser.h"

#include <iostream>

#include "field/script/mdlScriptCommands.h"
#include "field/script/mdlScriptCompiler.h"
#include "field/script/mdlScriptNames.h"
#include "field/script/mdlScriptRegisters.h"
#include "field/script/mdlScriptValue.h"

namespace mdlScriptProcesser {

namespace {

using mdlScriptNames::Op;

const Script* scriptAt(const field::World& w, std::int32_t n) {
    if (n < 0 || n > w.scriptCount || static_cast<std::size_t>(n) >= w.scripts.size())
        return nullptr;
    return &w.scripts[static_cast<std::size_t>(n)];
}

std::u16string number(std::int64_t n) {
    return mdlScriptValue::pfToText(Value::int32(static_cast<std::int32_t>(n)));
}

// Moves the program counter past the current command; false when no address follows.
bool advance(ScriptRun& run) {
    if (run.address == INT32_MAX) return false;
    ++run.address;
    return true;
}

} // namespace

std::u16string pfErrorReportText(std::int32_t errorSlot, const ScriptRun& run,
                                 const ScriptCommand& command) {
    using mdlScriptValue::pfToText;
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
    t += u"Parameter1    : " + pfToText(command.p1) + u"\r";
    t += u"Parameter2    : " + pfToText(command.p2) + u"\r";
    t += u"Parameter3    : " + pfToText(command.p3);
    return t;
}

RunResult pfRun(field::World& world, ScriptRun& run, plat::Services& sv, Pump& pump,
                std::ostream& listing) {
    if (world.scriptCount == 0) return RunResult::Ended;
    std::int32_t slot = 0;
    RunResult result = RunResult::Ended;
    for (;;) {
        const std::int32_t number = run.scriptNumber;
        const Script* s = scriptAt(world, number);
        // A number naming no script reads as an empty slot: its one address fails below.
        const std::int32_t last = s ? s->lastAddress : 0;
        if (run.address > last) return result;
        if (!pump.beforeCommand()) return RunResult::Yielded;

        // Commands run from the script's compiled form on a local program counter until one
        // must go the full way; the run's address is brought up to date before anything else
        // can look at it.
        bool failed = false;
        if (s && run.address >= 0 && static_cast<std::size_t>(run.address) < s->commands.size()) {
            const mdlScriptCompiler::CompiledScript& code = mdlScriptCompiler::pfCompiled(*s);
            StepContext ctx{world, run, sv, pump, slot, *s, &run.D1, &run.D2, &run.D3, listing};
            const auto stop = mdlScriptCompiler::pfRunRecords(ctx, code, run.address, last);
            run.address = stop.address;
            if (stop.why == mdlScriptCompiler::Stop::Yielded) return RunResult::Yielded;
            if (stop.why == mdlScriptCompiler::Stop::Past) return result;
            failed = stop.why == mdlScriptCompiler::Stop::Failed;
        }

        const std::int32_t address = run.address;
        StepResult r = StepResult::Failed;
        if (failed) {
            // the compiled command failed; its error number is in the slot
        } else if (s && address >= 0 && static_cast<std::size_t>(address) < s->commands.size()) {
            const ScriptCommand& c = s->commands[static_cast<std::size_t>(address)];
            StepContext ctx{world,
                            run,
                            sv,
                            pump,
                            slot,
                            *s,
                            c.p1.isEmpty() ? &run.D1 : &c.p1,
                            c.p2.isEmpty() ? &run.D2 : &c.p2,
                            c.p3.isEmpty() ? &run.D3 : &c.p3,
                            listing};
            r = mdlScriptCommands::pfExecute(ctx, c.code);
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
        ScriptCommand shown;
        if (const Script* f = scriptAt(world, number);
            f && address >= 0 && static_cast<std::size_t>(address) < f->commands.size())
            shown = f->commands[static_cast<std::size_t>(address)];
        const std::u16string text = pfErrorReportText(slot, run, shown);
        pump.beforeModal();
        const plat::MsgResult answer = sv.windows.messageBox(
            text, kErrorReportTitle, plat::MsgButtons::YesNoCancel, plat::MsgIcon::Critical);
        if (answer == plat::MsgResult::Yes) sv.process.exitNow(1);
        if (answer != plat::MsgResult::No) return RunResult::Ended;
        if (!advance(run)) return result;
    }
}

void psRunFrameScripts(field::World& world, plat::Services& sv, Pump& pump, std::ostream& listing) {
    if (!world.systemScriptActive) {
        const auto held = static_cast<std::int64_t>(world.events.size()) - 1;
        const auto count =
            static_cast<std::int32_t>(std::min<std::int64_t>(world.eventCount, held));
        for (std::int32_t i = 1; i <= count; ++i) {
            field::EventObject& e = world.events[static_cast<std::size_t>(i)];
            if (!e.enabled) continue;
            if (e.run.scriptNumber == 0) {
                if (e.autoScript == 0) continue;
                e.run.scriptNumber = e.autoScript;
                e.run.address = 0;
                e.run.activeObject = i;
            }
            pfRun(world, e.run, sv, pump, listing);
        }
        return;
    }
    if (pfRun(world, world.systemRun, sv, pump, listing) == RunResult::Ended) {
        world.systemScriptActive = 0;
        world.inputLocked = 0;
    }
}

void psRunFrameScripts(field::World& world, plat::Services& sv) {
    Pump pump(sv, PumpPolicy::Throttled);
    psRunFrameScripts(world, sv, pump, std::cerr);
}

} // namespace mdlScriptProcesser
