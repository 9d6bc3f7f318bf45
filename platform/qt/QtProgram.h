// Starts a program on the real platform: reads the command line, checks for a display, creates
// the application and the real seams, and hands them to the program's start-up, which returns
// when the program ends.
#pragma once

#include <functional>

#include "platform/Seams.h"
#include "platform/qt/CommandLine.h"
#include "platform/qt/QtWindowSystem.h"

namespace plat::qt {

// Returns the process exit code: 0 after a normal end or --help / --version, 2 for a bad
// command line or when there is no display. The start-up may name its forms' game views on
// the window system before it shows them. With --check, `check` runs instead, without a display
// or an application, and its answer is the exit code.
int runProgram(int argc, char** argv, const ProgramInfo& info,
               const std::function<void(Services&, QtWindowSystem&, const Options&)>& startUp,
               const std::function<int(const Options&)>& check = {});

} // namespace plat::qt
