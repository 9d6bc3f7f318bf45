// Tekkel's variables: the selected-variable register (-1) over the three spaces (the run's
// locals, the World's shared variables, shared variables reached through an allocation map),
// and the commands that size the areas and allocate and free blocks.
//
//   57 Select    P1 space, P2 index, P3 map   writes registers 10, 11, 12 in that order
//   58 Dim       P1 reg, P2 area, P3 count    re-creates the area; reg P1 = previous count
//   59 Extend    P1 reg, P2 area, P3 count    grows the area; reg P1 = first new number
//   54 Alloc     P1 reg, P2 map, P3 count     reserves a block; reg P1 = its start entry
//   55 FreeBlock P1 map, P2 start             frees up to the block's terminating 0
//   56 FreeRange P1 map, P2 first, P3 count   frees the entries, passing over 0 entries
//   900, 901, 902 listings of the locals, the shared variables, a map
// Areas: 0 locals, 1 shared variables, 2 allocation table. Maps: 0 the run's own, k the
// table's map k. Growth that would take all variable areas together past
// tekkel::kMaxValues fails with error 1.
#pragma once

#include <cstdint>

#include "tekkel/Opcodes.h"
#include "tekkel/Step.h"

namespace tekkel {

// Number of shared variables / allocation-table maps held by the World.
std::int32_t sharedCount(const Machine& machine);
std::int32_t tableCount(const Machine& machine);

// The variable chosen by space, varIndex and mapSelect, or nullptr when the selection does
// not name one (the error slot gets 2 for an unknown space, else keeps its value).
Value* selectedVariable(StepContext& ctx, bool forWrite);

StepResult selectCommand(StepContext& ctx);
StepResult dimCommand(StepContext& ctx);
StepResult extendCommand(StepContext& ctx);
StepResult allocCommand(StepContext& ctx);
StepResult freeBlockCommand(StepContext& ctx);
StepResult freeRangeCommand(StepContext& ctx);
StepResult dumpCommand(StepContext& ctx, tekkel::Op op);

} // namespace tekkel
