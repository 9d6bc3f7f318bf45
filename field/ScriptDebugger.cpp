#include "field/ScriptDebugger.h"

#include <algorithm>

#include "platform/PausableClock.h"
#include "tekkel/SourceMap.h"

namespace field {

namespace {

// One pass of the paused loop waits this long for window events (they end it early): a view
// refreshed by onPaused keeps up, and a paused game wakes 25 times a second.
constexpr std::uint32_t kPausedPassMs = 40;

} // namespace

ScriptDebugger::ScriptDebugger(plat::Services& sv) : sv_(sv) {}
ScriptDebugger::~ScriptDebugger() = default;

bool ScriptDebugger::paused() const {
    return paused_;
}

void ScriptDebugger::pause() {
    pauseAsked_ = true;
}

void ScriptDebugger::resume() {
    paused_ = false;
    pauseAsked_ = false;
    due_ = Due::Nothing;
}

void ScriptDebugger::stepFrame() {
    if (!paused_) return;
    paused_ = false;
    due_ = Due::Frame;
}

void ScriptDebugger::stepCommand(RunId run) {
    if (!paused_) return;
    paused_ = false;
    due_ = Due::Command;
    stepRun_ = run;
    // Held before one of this run's commands, the step is that command.
    stepPassed_ = pausedRun_ == run;
}

void ScriptDebugger::toggleBreakpoint(const std::string& file, int line) {
    const auto at = std::find_if(breakpoints_.begin(), breakpoints_.end(),
                                 [&](const auto& b) { return b.line == line && b.file == file; });
    if (at == breakpoints_.end())
        breakpoints_.push_back({file, line});
    else
        breakpoints_.erase(at);
}

bool ScriptDebugger::hasBreakpoint(const std::string& file, int line) const {
    return std::any_of(breakpoints_.begin(), breakpoints_.end(),
                       [&](const Breakpoint& b) { return b.line == line && b.file == file; });
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
    lastRun_ = nullptr;
}

void ScriptDebugger::atFrameBoundary() {
    if (due_ == Due::Frame) pauseAsked_ = true;
    if (pauseAsked_) pausedLoop(std::nullopt);
}

void ScriptDebugger::pausedLoop(std::optional<RunId> selected) {
    plat::PausableClock* clock = sv_.pause;
    pauseAsked_ = false;
    due_ = Due::Nothing;
    if (!clock || closed_) return;
    paused_ = true;
    pausedRun_ = selected;
    clock->hold();
    if (onPaused) onPaused();
    for (;;) {
        closed_ = closed_ || (closing_ && closing_());
        if (!paused_ || closed_) break;
        clock->wait(kPausedPassMs);
        if (paused_ && onPaused) onPaused();
    }
    paused_ = false;
    clock->release();
}

std::optional<RunId> ScriptDebugger::runId(const tekkel::Run& run) const {
    if (!world_) return std::nullopt;
    if (&run == &world_->systemRun) return kSystemRun;
    const std::vector<EventObject>& events = world_->events;
    const auto objectRun = [&](RunId k) {
        return k >= 0 && static_cast<std::size_t>(k) < events.size() &&
               &events[static_cast<std::size_t>(k)].run == &run;
    };
    if (&run == lastRun_ && objectRun(lastId_)) return lastId_;
    for (RunId k = 1; static_cast<std::size_t>(k) < events.size(); ++k) {
        if (!objectRun(k)) continue;
        lastRun_ = &run;
        lastId_ = k;
        return k;
    }
    return std::nullopt;
}

bool ScriptDebugger::atBreakpoint(const tekkel::Run& run, const tekkel::Script* script) const {
    // A command that suspended its run is asked again each frame: it stopped the first time.
    if (breakpoints_.empty() || !script || !script->source || run.suspended) return false;
    const tekkel::SourcePlace* place = tekkel::sourceAt(*script, run.address);
    return place && hasBreakpoint(script->source->file, place->line);
}

void ScriptDebugger::beforeCommand(const tekkel::Run& run, const tekkel::Script* script) {
    if (closed_) return;
    const std::optional<RunId> id = runId(run);
    if (!id) return;
    if (due_ == Due::Command && *id == stepRun_) {
        if (stepPassed_) return pausedLoop(id);
        stepPassed_ = true;
    }
    if (atBreakpoint(run, script)) pausedLoop(id);
}

std::optional<Breakpoint> commandBreakpoint(const tekkel::Machine& machine, const std::string& file,
                                            int line) {
    const auto names = [&file](const std::string& source) {
        return source == file || (source.size() > file.size() && source.ends_with(file) &&
                                  source[source.size() - file.size() - 1] == '/');
    };
    std::optional<Breakpoint> found;
    for (const tekkel::Script& script : machine.scripts) {
        if (!script.source || !names(script.source->file)) continue;
        for (const tekkel::SourcePlace& place : script.source->commands) {
            if (place.line >= line && (!found || place.line < found->line))
                found = Breakpoint{script.source->file, place.line};
        }
    }
    return found;
}

} // namespace field
