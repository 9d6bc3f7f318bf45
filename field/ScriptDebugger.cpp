#include "field/ScriptDebugger.h"

#include <algorithm>

#include "platform/PausableClock.h"
#include "tekkel/SourceMap.h"

namespace field {

ScriptDebugger::ScriptDebugger(plat::Services& sv) : sv_(sv) {}
ScriptDebugger::~ScriptDebugger() = default;

bool ScriptDebugger::paused() const {
    return paused_;
}
void ScriptDebugger::pause() {
    pauseAsked_ = true;
}
void ScriptDebugger::resume() {}
void ScriptDebugger::stepFrame() {}
void ScriptDebugger::stepCommand(RunId) {}
void ScriptDebugger::toggleBreakpoint(const std::string& file, int line) {
    breakpoints_.push_back({file, line});
}
bool ScriptDebugger::hasBreakpoint(const std::string&, int) const {
    return false;
}
const std::vector<Breakpoint>& ScriptDebugger::breakpoints() const {
    return breakpoints_;
}
std::optional<RunId> ScriptDebugger::pausedRun() const {
    return pausedRun_;
}
void ScriptDebugger::attach(World& world, std::function<bool()> closing) {
    world_ = &world;
    closing_ = std::move(closing);
}
void ScriptDebugger::atFrameBoundary() {}
void ScriptDebugger::beforeCommand(const tekkel::Run&, const tekkel::Script*) {}
std::optional<RunId> ScriptDebugger::runId(const tekkel::Run&) const {
    return std::nullopt;
}
void ScriptDebugger::pausedLoop(std::optional<RunId>) {}

std::optional<int> commandLineFrom(const tekkel::Machine&, const std::string&, int line) {
    return line;
}

} // namespace field
