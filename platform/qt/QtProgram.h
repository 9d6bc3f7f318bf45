// Starts a program on the real platform: checks for a display, creates the application and the
// real seams, and hands them to the program's start-up, which returns when the program ends.
#pragma once

#include <functional>

#include "platform/Seams.h"

namespace plat::qt {

// Returns the process exit code: 2 when there is no display, else 0.
int runProgram(int argc, char** argv, const char* name,
               const std::function<void(Services&)>& startUp);

} // namespace plat::qt
