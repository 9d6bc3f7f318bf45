// The `tekkel` command line: list the built-in scripts, check script files, run a script on a
// headless field (the built-in map and objects, test seams, virtual clock).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tekkel_tool {

// Runs one command line (without the program name); answers the exit status: 0 done, 1 a
// check or a script failed, 2 the command line was wrong.
int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace tekkel_tool
