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

// The cases of selectedVariable it does not take inline, and every failure.
Value* selectedVariableOther(StepContext& ctx, bool forWrite);

// The allocation map that the selection's map number names (0 the run's own, else one of
// the table's), or nullptr.
[[gnu::always_inline]] inline const AllocMap* selectedMap(StepContext& ctx) {
    const std::int32_t m = ctx.run.mapSelect;
    if (m == 0) return &ctx.run.ownMap;
    const auto& table = ctx.machine.allocTable;
    return m >= 1 && m < static_cast<std::int64_t>(table.size())
               ? &table[static_cast<std::size_t>(m)]
               : nullptr;
}

// The variable chosen by space, varIndex and mapSelect, or nullptr when the selection does
// not name one (`ctx.error` gets kErrorReserved for an unknown space, else keeps its value).
// A local, a shared variable and one an allocation map names are found inline. `run` is
// ctx.run, given by a caller that holds it already (in a register).
[[gnu::always_inline]] inline Value* selectedVariable(StepContext& ctx, Run& run, bool forWrite) {
    const std::int64_t idx = run.varIndex;
    // 1..localsHeld in one unsigned test; the locals are the common case, laid out first.
    if (run.space == 0 && static_cast<std::uint32_t>(run.varIndex) - 1u <
                              static_cast<std::uint32_t>(run.localsHeld)) [[likely]]
        return run.locals.data() + idx;
    auto& shared = ctx.machine.sharedValues;
    std::int64_t n = -1;
    if (run.space == 1) {
        n = idx;
    } else if (const AllocMap* m = run.space == 2 ? selectedMap(ctx) : nullptr;
               m && idx >= 1 && idx <= m->total &&
               idx < static_cast<std::int64_t>(m->entries.size())) {
        n = m->entries[static_cast<std::size_t>(idx)];
    }
    // The vector's end in bytes rather than its size, which would take a division.
    Value* const first = shared.data();
    const auto bytes =
        reinterpret_cast<const char*>(first + shared.size()) - reinterpret_cast<const char*>(first);
    if (n >= 1 && n * static_cast<std::int64_t>(sizeof(Value)) < bytes) return first + n;
    return selectedVariableOther(ctx, forWrite);
}

[[gnu::always_inline]] inline Value* selectedVariable(StepContext& ctx, bool forWrite) {
    return selectedVariable(ctx, ctx.run, forWrite);
}

// Lowers machine.firstMaybeEmpty when `dst` is a shared variable.
void sharedMadeEmpty(Machine& machine, const Value* dst);

// dst = src for a variable that the selection found: an empty value may empty a shared one.
[[gnu::always_inline]] inline void assignVariable(Machine& machine, Value& dst, const Value& src) {
    if (src.isEmpty()) [[unlikely]]
        sharedMadeEmpty(machine, &dst);
    assign(dst, src);
}

// Writes the selected variable (register Var); false when the selection names none. `v` must
// not be a variable itself: finding the variable may move them.
[[gnu::always_inline]] inline bool writeSelected(StepContext& ctx, const Value& v) {
    Value* dst = selectedVariable(ctx, true);
    if (!dst) return false;
    if (dst != &v) assignVariable(ctx.machine, *dst, v);
    return true;
}

StepResult selectCommand(StepContext& ctx);
StepResult dimCommand(StepContext& ctx);
StepResult extendCommand(StepContext& ctx);
StepResult allocCommand(StepContext& ctx);
StepResult freeBlockCommand(StepContext& ctx);
StepResult freeRangeCommand(StepContext& ctx);
StepResult dumpCommand(StepContext& ctx, tekkel::Op op);

} // namespace tekkel
