// Executes Tekkel's commands. The command set, one line per code with its operands and effect,
// is in mdlScriptNames.h; the variable commands are in mdlScriptVariables, the player, object
// and cell commands in mdlScriptFieldCommands. Every code not in the set fails with error 1.
// Values that cannot be converted where a number is needed, results that overflow and division
// by zero fail with error 1 as well.
#pragma once

#include <cstdint>
#include <string>

#include "field/script/ScriptContext.h"

namespace mdlScriptCommands {

using mdlScriptProcesser::Script;
using mdlScriptProcesser::StepContext;
using mdlScriptProcesser::StepResult;
using mdlScriptProcesser::Value;

// Executes the command with this code on the context's effective parameters.
StepResult pfExecute(StepContext& ctx, std::int16_t code);

// Address of the first `Label` named `name` in the script, or -1.
std::int32_t pfFindLabel(const Script& script, const std::u16string& name);
// Number of the highest-numbered script called `name`, or -1.
std::int32_t pfFindScript(const field::World& world, const std::u16string& name);

// Goto `target`: a label name (error 10 when missing) or an address (negative: error 1).
// Names given by the command itself are cached in the script's label cache.
StepResult pfJump(StepContext& ctx, const Value& target);

} // namespace mdlScriptCommands
