// Executes Tekkel's commands. The command set, one line per code with its operands and effect,
// is in Opcodes.h; the variable commands are in Variables.h, and the host's commands (for the
// field: the shade, player, object and cell commands) reach the host's handlers through Host.h.
// Every code not in the set, and every host code the host does not run, fails with error 1.
// Values that cannot be converted where a number is needed, results that overflow and division
// by zero fail with error 1 as well.
#pragma once

#include <cstdint>
#include <string>

#include "tekkel/Step.h"

namespace tekkel {

// Executes the command with this code on the context's effective parameters.
StepResult executeCommand(StepContext& ctx, std::int16_t code);

// Address of the first `Label` named `name` in the script, or -1.
std::int32_t findLabel(const Script& script, const std::u16string& name);
// Number of the highest-numbered script called `name`, or -1.
std::int32_t findScript(const Machine& machine, const std::u16string& name);

// Goto `target`: a label name (error 10 when missing) or an address (negative: error 1).
// Names given by the command itself are cached in the script's label cache.
StepResult jumpTo(StepContext& ctx, const Value& target);

} // namespace tekkel
