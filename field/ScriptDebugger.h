// Pause, step and break for a play session's scripts. The debugger stops the game in a paused
// loop of its own, either at a frame boundary (FieldLoop asks it there) or before a command of a
// run (tekkel::PausePoints: a breakpoint on the command's line, or a Step Command due). The
// paused loop lets the real window system handle its events and calls onPaused until Continue,
// Step Frame or Step Command is asked for; meanwhile the game's clock stands still
// (plat::PausableClock), so a pause of any length leaves what the game does next as it was.
//
// The debugger pauses only when the services carry a plat::PausableClock (Services::pause): the
// paused loop waits on it, out of sight of a recording or a replay. Its passes keep the game's
// forms from all input but a close request: buttons and keys that act on the debugger (the
// panel's, F6) must reach it outside the forms' input (plain widgets, shortcuts), so that no
// recording sees them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "field/World.h"
#include "platform/Seams.h"
#include "tekkel/Host.h"

namespace field {

// A run of the play session: -1 the system run, k >= 0 the automatic run of World object k
// (World::events[k]; the objects are numbered from 1, as the scripts and `--trace` number them).
using RunId = int;
inline constexpr RunId kSystemRun = -1;

struct Breakpoint {
    // The file as the source map names it: "scenarios/demo/scripts.tkl" for the built-in demo,
    // "DIR/NAME.tkl" for a folder (commandBreakpoint finds it from "scripts.tkl").
    std::string file;
    int line = 0;
};

class ScriptDebugger : public tekkel::PausePoints {
  public:
    // `sv` are the services the game is given (a recorder's or a replayer's included). The
    // program makes one for every play session (PlayAids::debugger): idle, it costs a check
    // a frame.
    explicit ScriptDebugger(plat::Services& sv);
    ~ScriptDebugger() override;
    ScriptDebugger(const ScriptDebugger&) = delete;
    ScriptDebugger& operator=(const ScriptDebugger&) = delete;

    bool paused() const;
    void pause();                // the game stops at the next frame boundary
    void resume();               // Continue
    void stepFrame();            // while paused: run exactly one frame, then pause again
    void stepCommand(RunId run); // while paused: run until `run` has executed one command
                                 // (the rest of the frame stays where it was), then pause
    void toggleBreakpoint(const std::string& file, int line);
    bool hasBreakpoint(const std::string& file, int line) const;
    const std::vector<Breakpoint>& breakpoints() const;
    // The run the last pause selected (a breakpoint's or a step's run), or nullopt for a pause
    // at a frame boundary.
    std::optional<RunId> pausedRun() const;
    // Told when the game pauses and while it stays paused (after each pass of the window
    // system), so a view can refresh; never called while the game runs freely.
    std::function<void()> onPaused;

    // The frame loop's side (FieldLoop does this when PlayAids carry the debugger): the World
    // whose runs it stops, and whether the program is closing (a paused loop then ends and the
    // debugger pauses no more).
    void attach(World& world, std::function<bool()> closing);
    // At each frame boundary: pauses here when a pause or a Step Frame's end is due.
    void atFrameBoundary();
    // Whether the runs must be asked before each command (a breakpoint is set or a Step Command
    // is due): otherwise they take the compiled records and the debugger costs nothing.
    bool watchesCommands() const { return !breakpoints_.empty() || due_ == Due::Command; }
    // tekkel::PausePoints: before each command of a run of the attached World.
    void beforeCommand(const tekkel::Run& run, const tekkel::Script* script) override;
    // The run of the attached World that `run` is, or nullopt.
    std::optional<RunId> runId(const tekkel::Run& run) const;

  private:
    enum class Due : std::uint8_t { Nothing, Frame, Command };
    void pausedLoop(std::optional<RunId> selected);
    bool atBreakpoint(const tekkel::Run& run, const tekkel::Script* script) const;

    plat::Services& sv_;
    World* world_ = nullptr;
    std::function<bool()> closing_;
    std::vector<Breakpoint> breakpoints_;
    bool paused_ = false;
    bool pauseAsked_ = false;
    bool closed_ = false;
    Due due_ = Due::Nothing; // what the paused loop last let run
    RunId stepRun_ = kSystemRun;
    bool stepPassed_ = false; // the stepped run has begun its one command
    std::optional<RunId> pausedRun_;
    // The run last looked up: the runs of a frame come one after another, each for many
    // commands.
    mutable const tekkel::Run* lastRun_ = nullptr;
    mutable RunId lastId_ = kSystemRun;
};

// Where a breakpoint asked for at `line` of `file` stops: that line when a command of one of
// the machine's scripts is written on it, else the next line of that file that carries one;
// nullopt when none does. `file` names a source as its map does ("scenarios/demo/scripts.tkl")
// or by its last parts ("scripts.tkl"); the answer has the map's name.
std::optional<Breakpoint> commandBreakpoint(const tekkel::Machine& machine, const std::string& file,
                                            int line);

} // namespace field
