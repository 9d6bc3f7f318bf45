// The commands that reach the field: the player (200..218), the event objects (300..351) and
// the map cells (410, 411). The interpreter hands each of them a context whose parameters are
// copies, so a command may fire an event (which replaces stored script 0) safely.
#pragma once

#include <cstdint>

#include "field/script/ScriptContext.h"

namespace mdlScriptFieldCommands {

using mdlScriptProcesser::StepContext;
using mdlScriptProcesser::StepResult;

// Codes 200..299. P2 is the set switch of the 21x get/set commands.
StepResult pfPlayerCommand(StepContext& ctx, std::int16_t code);
// Codes 300..399, with `object` already resolved from P1 (-1 the active object) and known to
// lie in 1..eventCount. P3 is the set switch of the 31x and 32x get/set commands.
StepResult pfObjectCommand(StepContext& ctx, std::int16_t code, std::int32_t object);
// Codes 410 (TestCell) and 411 (DirVector).
StepResult pfCellCommand(StepContext& ctx, std::int16_t code);

} // namespace mdlScriptFieldCommands
