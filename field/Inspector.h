// What the script inspector shows, as lines of text made from the World's runs: the list of
// runs, the chosen run's script with its current line and breakpoints, its registers and
// variables, and what all runs share. Plain functions of the World, so that a test reads the
// text without a window; the panel (InspectorPanel.h) puts the lines into its controls.
#pragma once

#include <string>
#include <vector>

#include "field/ScriptDebugger.h"
#include "field/World.h"

namespace field {

enum class RunState { Idle, Running, Suspended, WaitingForBox };

// The runs there are: the system run, then every object with an automatic script or a script
// under way, in object order.
std::vector<RunId> inspectedRuns(const World& world);
// The run `id` names, nullptr when the World has none by that number.
const tekkel::Run* runById(const World& world, RunId id);
RunState runState(const World& world, RunId id);
// "system", "object 11".
std::string runName(RunId id);

// One row per run: name, script, state and source line.
std::vector<std::string> runRows(const World& world, const std::vector<RunId>& runs);

// The chosen run's script, a row per command: its source line and the command as written, or,
// for a script with no source, its address and disassembly. `current` is the row of the
// command the run stands at, -1 when idle; `lines` the source line of each row (0: none, so a
// click there sets no breakpoint).
struct ScriptListing {
    std::string file; // the source's file, empty without one
    std::vector<std::string> rows;
    std::vector<int> lines;
    int current = -1;
};
ScriptListing scriptListing(const World& world, RunId id, const ScriptDebugger* debugger);

// R1..R5, D1..D3, the flags, space/varIndex/mapSelect, the locals and the run's own
// allocation map, values as the text form writes them.
std::vector<std::string> registerRows(const World& world, RunId id);
// The shared variables, then the allocation table's maps.
std::vector<std::string> sharedRows(const World& world);

} // namespace field
