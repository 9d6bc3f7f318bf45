// Where each command of a script read from text was written, and what a failing command is
// called in words. The assembler makes the map; a script built in code has none, and its
// faults are told by script number and address alone.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Seams.h"
#include "tekkel/Script.h"

namespace tekkel {

struct SourcePlace {
    std::int32_t line = 0;                  // from 1; 0 for a command not written (`last K`)
    std::int32_t column = 0;                // of the command's name
    std::array<std::int32_t, 3> operands{}; // columns of P1..P3; 0 when left out
    std::string text;                       // the command as written, without its comment
};

struct SourceMap {
    std::string file;                  // as the reader was given it; may be empty
    std::vector<SourcePlace> commands; // by address
};

// Where the command at `address` was written, or nullptr (no map, or not written).
const SourcePlace* sourceAt(const Script& script, std::int32_t address);
// "FILE:LINE:COLUMN", or "LINE:COLUMN" for a text without a file name.
std::string placeText(const SourceMap& map, std::int32_t line, std::int32_t column);

// The failure in words ("division by zero", "no such label"), from the error number the
// report shows, the command and the run's registers as the command left them.
std::string faultName(std::int32_t error, const Command& command, const Run& run);
// One line for a terminal or the error log: "FILE:LINE:COLUMN: error N (name): the command
// as written", or "script S, address A: error N (name): the command" for a script without a
// source.
std::string faultLine(std::int32_t error, const Run& run, const Command& command,
                      const Script* script);
// Appends the fault line to the error log (the label is the interpreter's entry point).
void logFault(plat::Services& sv, std::int32_t error, const Run& run, const Command& command,
              const Script* script);

} // namespace tekkel
