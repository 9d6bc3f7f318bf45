// The field as Tekkel's host: the World's commands registered with the interpreter, and the
// scripts a frame runs.
#pragma once

#include <iosfwd>

#include "field/World.h"
#include "platform/Seams.h"
#include "tekkel/Host.h"
#include "tekkel/Interpreter.h"

namespace field {

// The interpreter's view of the field: the player, object, cell and shade commands working on
// `world`, whose system run and object runs are all the runs there are.
tekkel::Host scriptHost(World& world);

// Runs one script run of this World until it yields, suspends or ends (tekkel::runScript).
tekkel::RunResult runScript(World& world, tekkel::Run& run, plat::Services& sv, tekkel::Pump& pump,
                            std::ostream& listing);

// Runs this frame's scripts: the system script alone, or the enabled objects' automatic
// scripts in object order. The window system is pumped as PumpPolicy::Throttled describes.
void runFrameScripts(World& world, plat::Services& sv);
// The same with a given pump (policy, command budget, close request) and listing destination.
// Answers the first run the pump stopped (its budget spent or the program closing), else null.
// A trace is told each run's name ("system", "object N") and every command it executes; pause
// points are asked before every command.
const tekkel::Run* runFrameScripts(World& world, plat::Services& sv, tekkel::Pump& pump,
                                   std::ostream& listing, tekkel::Trace* trace = nullptr,
                                   tekkel::PausePoints* pausePoints = nullptr);

} // namespace field
