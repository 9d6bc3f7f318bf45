// The programs' command line: the options both games share, the help and the version text.
#pragma once

#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace plat::qt {

// What a program says about itself on the command line.
struct ProgramInfo {
    const char* name;           // executable name, also the screenshots' name: "haruvel"
    const char* title;          // "Haruvel": the window's program name and the screenshots' folder
    const char* version;        // "1.0.0"
    const char* summary;        // one line under the usage line
    const char* keys;           // the keys section at the end of --help
    bool takesScenario = false; // --scenario DIR, --check, --watch, --trace, --break are offered
};

struct Options {
    int scale = 0; // whole zoom factor 1..4; 0 takes the one remembered from the last run
    bool fullScreen = false;
    std::optional<std::uint64_t> seed; // the random source starts here and ignores the clock
    std::string scenario;              // a scenario folder to play instead of the built-in one
    bool check = false;                // only read and validate the scenario, then leave
    std::string record;                // write the session to this recording file
    std::string replay;                // play this recording back
    bool headless = false;             // replay without a window, as fast as it goes
    std::string language;              // "ja" or "en"; empty: the desktop's language
    bool watch = false;                // read the scenario folder again when it changes
    std::string trace;                 // write a line for every command the scripts run here
    std::vector<std::pair<std::string, int>> breaks; // --break FILE:LINE, in the order given
};

// Either the options to run with, or an exit code and what to print before leaving.
struct CommandLine {
    int exitCode = -1; // -1: run the program
    std::string out;   // for standard output (help, version)
    std::string err;   // for standard error (one line saying what was wrong)
    Options options;
};

// arguments[0] is the program's path. Needs no display and no application object.
CommandLine parseCommandLine(const QStringList& arguments, const ProgramInfo& info);

} // namespace plat::qt
