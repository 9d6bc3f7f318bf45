#include "field/script/mdlScriptProcesser.h"

#include <iostream>

#include "field/script/mdlScriptCommands.h"
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

bool isInteger(const Value& v) {
    return v.kind == ValueKind::Int16 || v.kind == ValueKind::Int32;
}

void setIntFlags(ScriptRun& run, std::int32_t x) {
    run.invalidFlag = false;
    run.zeroFlag = x == 0;
    run.negativeFlag = x < 0;
}

// The commands a busy loop is made of, when their operands are plain integers in general
// registers: executed here without building a step context. Answers the next address, or -1
// when the command must go the full way through mdlScriptCommands (which gives the same
// results for these cases). A jump taken here leaves its target in the error slot, as the
// full way does.
inline std::int32_t fastStep(ScriptRun& run, const Script& s, const ScriptCommand& c,
                             std::int32_t pc, std::int32_t& slot) {
    const Op op = static_cast<Op>(c.code);
    switch (op) {
    case Op::Nop:
    case Op::Label: return pc + 1;
    case Op::Inc:
    case Op::Dec: {
        if (c.p1.kind != ValueKind::Int16) return -1;
        const auto reg = static_cast<std::int16_t>(c.p1.i);
        Value* r = mdlScriptRegisters::pfValueRegister(run, reg);
        if (!r || !isInteger(*r)) return -1;
        const std::int64_t x = static_cast<std::int64_t>(r->i) + (op == Op::Inc ? 1 : -1);
        if (r->kind == ValueKind::Int16 && (x < INT16_MIN || x > INT16_MAX)) {
            r->kind = ValueKind::Int32; // widens as 16-bit + 16-bit overflowing would
        } else if (x < INT32_MIN || x > INT32_MAX) {
            return -1;
        }
        r->i = static_cast<std::int32_t>(x);
        if (reg <= mdlScriptNames::regNumber(mdlScriptNames::Reg::R5)) setIntFlags(run, r->i);
        return pc + 1;
    }
    case Op::Compare:
    case Op::CompareValue: {
        if (c.p1.kind != ValueKind::Int16) return -1;
        const Value* a =
            mdlScriptRegisters::pfValueRegister(run, static_cast<std::int16_t>(c.p1.i));
        const Value* b = &c.p2;
        if (op == Op::Compare) {
            if (b->kind != ValueKind::Int16) return -1;
            b = mdlScriptRegisters::pfValueRegister(run, static_cast<std::int16_t>(b->i));
        }
        if (!a || !b || !isInteger(*a) || !isInteger(*b)) return -1;
        run.invalidFlag = false;
        run.zeroFlag = a->i == b->i;
        run.negativeFlag = a->i < b->i;
        return pc + 1;
    }
    case Op::JumpIfNotZero:
    case Op::JumpIfZero:
    case Op::JumpIfNotNegative:
    case Op::JumpIfNegative:
    case Op::JumpIfValid:
    case Op::JumpIfInvalid: {
        const bool flag = op <= Op::JumpIfZero       ? run.zeroFlag
                          : op <= Op::JumpIfNegative ? run.negativeFlag
                                                     : run.invalidFlag;
        if (flag != ((c.code & 1) == 1)) return pc + 1;
        if (!c.p1.isString()) return -1;
        const std::int32_t target = s.labels.find(pc); // -1 until the label is resolved
        if (target >= 0) slot = target;
        return target;
    }
    default: return -1;
    }
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

        // Busy stretches of plain commands run here on a local program counter; the run's
        // address is brought up to date before anything else can look at it.
        if (s && run.address >= 0) {
            const ScriptCommand* cmds = s->commands.data();
            const auto count = static_cast<std::int64_t>(s->commands.size());
            std::int32_t pc = run.address;
            std::int32_t countdown = pump.takeCountdown();
            bool yielded = false;
            for (;;) {
                if (pc >= count) break;
                const std::int32_t next = fastStep(run, *s, cmds[pc], pc, slot);
                if (next < 0) break;
                run.suspended = false;
                pc = next;
                if (pc > last) break;
                if (--countdown <= 0 && !pump.slowCheck(countdown)) {
                    yielded = true;
                    break;
                }
            }
            pump.giveCountdown(countdown);
            run.address = pc;
            if (yielded) return RunResult::Yielded;
            if (pc > last) return result;
        }

        const std::int32_t address = run.address;
        StepResult r;
        if (s && address >= 0 && static_cast<std::size_t>(address) < s->commands.size()) {
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
            r = StepResult::Failed;
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
