#include "field/Inspector.h"

#include <algorithm>
#include <filesystem>

#include "common/Utility.h"
#include "tekkel/Disassembler.h"
#include "tekkel/Opcodes.h"
#include "tekkel/SourceMap.h"

namespace field {

namespace {

const EventObject* objectAt(const World& world, RunId id) {
    if (id < 1 || id > world.eventCount || static_cast<std::size_t>(id) >= world.events.size())
        return nullptr;
    return &world.events[static_cast<std::size_t>(id)];
}

// The script a run stands in; an object's run that has not started shows the script it will.
std::int32_t scriptNumberOf(const World& world, RunId id) {
    const tekkel::Run* run = runById(world, id);
    if (!run) return 0;
    if (const EventObject* e = objectAt(world, id); e && run->scriptNumber == 0)
        return e->autoScript;
    return run->scriptNumber;
}

const tekkel::Script* scriptOf(const World& world, RunId id) {
    const std::int32_t n = scriptNumberOf(world, id);
    const auto& scripts = world.machine.scripts;
    if (n < 0 || n > world.machine.scriptCount || static_cast<std::size_t>(n) >= scripts.size())
        return nullptr;
    return &scripts[static_cast<std::size_t>(n)];
}

// The text form writes an empty value as nothing at all, which a reader takes for a blank.
std::string shownValue(const tekkel::Value& v) {
    return v.kind == tekkel::ValueKind::Empty ? "(empty)" : tekkel::valueText(v);
}

bool isBoxCommand(std::int16_t code) {
    using tekkel::Op;
    return code == opCode(Op::Message) || code == opCode(Op::Say) || code == opCode(Op::SayPlain);
}

std::string mapText(const tekkel::AllocMap& map) {
    std::string text = "total " + std::to_string(map.total) + ":";
    for (std::size_t k = 1; k < map.entries.size(); ++k)
        text.append(1, ' ').append(std::to_string(map.entries[k]));
    return text;
}

} // namespace

const tekkel::Run* runById(const World& world, RunId id) {
    if (id == kSystemRun) return &world.systemRun;
    const EventObject* e = objectAt(world, id);
    return e ? &e->run : nullptr;
}

std::vector<RunId> inspectedRuns(const World& world) {
    std::vector<RunId> runs{kSystemRun};
    for (RunId id = 1; objectAt(world, id); ++id) {
        const EventObject& e = world.events[static_cast<std::size_t>(id)];
        if (e.autoScript != 0 || e.run.scriptNumber != 0) runs.push_back(id);
    }
    return runs;
}

RunState runState(const World& world, RunId id) {
    const tekkel::Run* run = runById(world, id);
    if (!run) return RunState::Idle;
    const bool started = id == kSystemRun ? world.systemScriptActive != 0 : run->scriptNumber != 0;
    if (!started) return RunState::Idle;
    if (run->suspended) return RunState::Suspended;
    const tekkel::Script* s = scriptOf(world, id);
    if (s && run->address >= 0 && static_cast<std::size_t>(run->address) < s->commands.size() &&
        isBoxCommand(s->commands[static_cast<std::size_t>(run->address)].code))
        return RunState::WaitingForBox;
    return RunState::Running;
}

std::string runName(RunId id) {
    return id == kSystemRun ? "system" : "object " + std::to_string(id);
}

std::vector<std::string> runRows(const World& world, const std::vector<RunId>& runs) {
    static constexpr const char* kStates[] = {"idle", "running", "suspended", "waiting for a box"};
    std::vector<std::string> rows;
    for (RunId id : runs) {
        std::string row = runName(id);
        row.resize(std::max<std::size_t>(row.size() + 1, 10), ' ');
        row += "script " + std::to_string(scriptNumberOf(world, id));
        const tekkel::Script* s = scriptOf(world, id);
        if (s && !s->name.empty()) row += " \"" + common::toUtf8(s->name) + "\"";
        const RunState state = runState(world, id);
        row += "  " + std::string(kStates[static_cast<int>(state)]);
        const tekkel::Run* run = runById(world, id);
        const tekkel::SourcePlace* at = s && run ? tekkel::sourceAt(*s, run->address) : nullptr;
        if (at && state != RunState::Idle)
            row += "  " + std::filesystem::path(s->source->file).filename().string() + ":" +
                   std::to_string(at->line);
        rows.push_back(std::move(row));
    }
    return rows;
}

ScriptListing scriptListing(const World& world, RunId id, const ScriptDebugger* debugger) {
    ScriptListing out;
    const tekkel::Script* s = scriptOf(world, id);
    const tekkel::Run* run = runById(world, id);
    if (!s || !run) return out;
    const bool idle = runState(world, id) == RunState::Idle;
    if (s->source) out.file = s->source->file;
    for (std::int32_t a = 0; a < static_cast<std::int32_t>(s->commands.size()); ++a) {
        const tekkel::SourcePlace* at = tekkel::sourceAt(*s, a);
        if (s->source && !at) continue; // never written: `last K` filled the script up
        const int line = at ? at->line : 0;
        const bool here = !idle && a == run->address;
        const bool stop = debugger && line > 0 && debugger->hasBreakpoint(out.file, line);
        std::string row = std::string(here ? "▶" : " ") + (stop ? "●" : " ");
        const std::string number = std::to_string(at ? line : a);
        row += std::string(number.size() < 4 ? 4 - number.size() : 0, ' ') + number + "  ";
        row += at ? at->text : tekkel::commandText(s->commands[static_cast<std::size_t>(a)]);
        if (here) out.current = static_cast<int>(out.rows.size());
        out.rows.push_back(std::move(row));
        out.lines.push_back(line);
    }
    return out;
}

std::vector<std::string> registerRows(const World& world, RunId id) {
    const tekkel::Run* run = runById(world, id);
    if (!run) return {};
    const std::pair<const char*, const tekkel::Value*> general[] = {
        {"R1", &run->R1}, {"R2", &run->R2}, {"R3", &run->R3}, {"R4", &run->R4},
        {"R5", &run->R5}, {"D1", &run->D1}, {"D2", &run->D2}, {"D3", &run->D3}};
    std::vector<std::string> rows;
    for (const auto& [name, value] : general)
        rows.push_back(std::string(name) + " = " + shownValue(*value));
    rows.push_back("zero " + std::to_string(run->zeroFlag) + "  negative " +
                   std::to_string(run->negativeFlag) + "  invalid " +
                   std::to_string(run->invalidFlag));
    rows.push_back("space " + std::to_string(run->space) + "  varIndex " +
                   std::to_string(run->varIndex) + "  mapSelect " + std::to_string(run->mapSelect));
    for (std::int32_t k = 1; k <= run->localCount; ++k) {
        if (static_cast<std::size_t>(k) >= run->locals.size()) break;
        rows.push_back("local " + std::to_string(k) + " = " +
                       shownValue(run->locals[static_cast<std::size_t>(k)]));
    }
    rows.push_back("own map " + mapText(run->ownMap));
    return rows;
}

std::vector<std::string> sharedRows(const World& world) {
    std::vector<std::string> rows;
    const auto& shared = world.machine.sharedValues;
    for (std::size_t k = 1; k < shared.size(); ++k)
        rows.push_back("var " + std::to_string(k) + " = " + shownValue(shared[k]));
    const auto& table = world.machine.allocTable;
    for (std::size_t k = 1; k < table.size(); ++k)
        rows.push_back("map " + std::to_string(k) + " " + mapText(table[k]));
    return rows;
}

} // namespace field
