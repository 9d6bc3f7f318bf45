#include "tekkel/Variables.h"

#include <algorithm>
#include <ostream>
#include <span>

#include "common/Utility.h"
#include "tekkel/Registers.h"
#include "tekkel/Value.h"

namespace tekkel {

using namespace tekkel;

namespace {

// The records carry a count beside each vector; a count that disagrees with its vector (a
// hand-built record) is read as the smaller of the two, so no index ever leaves the vector.
std::int32_t usable(std::int32_t count, std::size_t vectorSize) {
    const auto held = static_cast<std::int64_t>(vectorSize) - 1;
    return static_cast<std::int32_t>(
        std::max<std::int64_t>(0, std::min<std::int64_t>(count, held)));
}

std::int32_t mapTotal(const AllocMap& m) {
    return usable(m.total, m.entries.size());
}

// Brings a map's vector in line with its usable total before it is changed.
void repair(AllocMap& m) {
    m.total = mapTotal(m);
    m.entries.resize(static_cast<std::size_t>(m.total) + 1, 0);
}

// The map named by a map parameter: 0 the run's own map, k in 1..table count the table's map.
AllocMap* mapFor(StepContext& ctx, std::int32_t m) {
    if (m == 0) return &ctx.run.ownMap;
    if (m >= 1 && m <= tableCount(ctx.machine))
        return &ctx.machine.allocTable[static_cast<std::size_t>(m)];
    return nullptr;
}

bool validShared(const Machine& w, std::int32_t n) {
    return n >= 1 && n <= sharedCount(w);
}

// Frees one map entry; false when it names no shared variable.
bool freeEntry(Machine& w, AllocMap& m, std::int32_t pos) {
    std::int32_t& e = m.entries[static_cast<std::size_t>(pos)];
    if (e == 0) return true;
    if (!validShared(w, e)) return false;
    w.sharedValues[static_cast<std::size_t>(e)] = Value();
    w.firstMaybeEmpty = std::min(w.firstMaybeEmpty, e);
    e = 0;
    return true;
}

// Reads the register number, area and count shared by Dim and Extend.
bool areaParams(StepContext& ctx, std::int16_t& reg, std::int32_t& area, std::int32_t& n) {
    return registerParam(ctx, *ctx.p1, reg) && int32Param(ctx, *ctx.p2, area) &&
           int32Param(ctx, *ctx.p3, n);
}

std::int32_t areaCount(StepContext& ctx, std::int32_t area) {
    if (area == 0) return usable(ctx.run.localCount, ctx.run.locals.size());
    if (area == 1) return sharedCount(ctx.machine);
    return tableCount(ctx.machine);
}

// Sets an area to `count` entries, keeping the first `keep`.
void resizeArea(StepContext& ctx, std::int32_t area, std::int32_t count, bool keep) {
    const auto size = static_cast<std::size_t>(count) + 1;
    auto resize = [&](auto& vec) {
        using T = typename std::decay_t<decltype(vec)>::value_type;
        if (keep) {
            vec.resize(size, T{});
        } else {
            vec.assign(size, T{});
        }
    };
    if (area == 0) {
        if (keep) ctx.run.locals.resize(static_cast<std::size_t>(areaCount(ctx, 0)) + 1);
        resize(ctx.run.locals);
        ctx.run.localCount = count;
        ctx.run.localsHeld = usable(count, ctx.run.locals.size());
    } else if (area == 1) {
        resize(ctx.machine.sharedValues);
        if (!keep) ctx.machine.firstMaybeEmpty = 1;
    } else {
        if (keep) ctx.machine.allocTable.resize(static_cast<std::size_t>(areaCount(ctx, 2)) + 1);
        resize(ctx.machine.allocTable);
    }
}

std::int64_t localValues(const tekkel::Run& run) {
    return usable(run.localCount, run.locals.size()) + mapTotal(run.ownMap);
}

// Values held by all variable areas together: every run's locals and own map, the shared
// variables, the allocation table and its maps. Only looked at when an area grows.
std::int64_t heldValues(StepContext& ctx) {
    const Machine& m = ctx.machine;
    std::int64_t n = sharedCount(m) + tableCount(m) + m.tableEntries;
    bool counted = false;
    if (ctx.host.eachRun) {
        ctx.host.eachRun(ctx.host.context, [&](const Run& run) {
            n += localValues(run);
            counted = counted || &ctx.run == &run;
        });
    }
    return counted ? n : n + localValues(ctx.run);
}

// Whether `more` values fit the budget after `freed` have gone.
bool withinBudget(StepContext& ctx, std::int64_t more, std::int64_t freed = 0) {
    return heldValues(ctx) - freed + more <= kMaxValues;
}

void listValues(std::ostream& out, const std::vector<Value>& values, std::int32_t count) {
    for (std::int32_t i = 1; i <= count; ++i) {
        const Value& v = values[static_cast<std::size_t>(i)];
        out << "  " << i << ": " << tekkel::kindName(v) << ' ' << common::toUtf8(tekkel::toText(v))
            << '\n';
    }
}

} // namespace

std::int32_t sharedCount(const Machine& machine) {
    return usable(INT32_MAX, machine.sharedValues.size());
}

std::int32_t tableCount(const Machine& machine) {
    return usable(INT32_MAX, machine.allocTable.size());
}

void sharedMadeEmpty(Machine& machine, const Value* dst) {
    const auto& shared = machine.sharedValues;
    // Compared as addresses, as `dst` may be any variable.
    const auto at = reinterpret_cast<std::uintptr_t>(dst);
    const auto first = reinterpret_cast<std::uintptr_t>(shared.data());
    if (at < first || at >= first + shared.size() * sizeof(Value)) return;
    const auto n = static_cast<std::int32_t>((at - first) / sizeof(Value));
    machine.firstMaybeEmpty = std::min(machine.firstMaybeEmpty, n);
}

Value* selectedVariableOther(StepContext& ctx, bool forWrite) {
    auto& run = ctx.run;
    auto& w = ctx.machine;
    const std::int32_t idx = run.varIndex;
    switch (run.space) {
    case 0:
        if (idx < 1 || idx > usable(run.localCount, run.locals.size())) return nullptr;
        return &run.locals[static_cast<std::size_t>(idx)];
    case 1:
        if (!validShared(w, idx)) return nullptr;
        return &w.sharedValues[static_cast<std::size_t>(idx)];
    case 2: {
        if (forWrite && run.mapSelect < 0) return nullptr;
        const AllocMap* m = mapFor(ctx, run.mapSelect);
        if (!m || idx < 1 || idx > mapTotal(*m)) return nullptr;
        const std::int32_t n = m->entries[static_cast<std::size_t>(idx)];
        if (!validShared(w, n)) return nullptr;
        return &w.sharedValues[static_cast<std::size_t>(n)];
    }
    default: ctx.error = kErrorReserved; return nullptr;
    }
}

StepResult selectCommand(StepContext& ctx) {
    // Each parameter is read just before its own write, as three register writes would.
    if (!writeRegister(ctx, Reg::Space, *ctx.p1)) return StepResult::Failed;
    if (!writeRegister(ctx, Reg::VarIndex, *ctx.p2)) return StepResult::Failed;
    if (!writeRegister(ctx, Reg::MapSelect, *ctx.p3)) return StepResult::Failed;
    return StepResult::Next;
}

StepResult dimCommand(StepContext& ctx) {
    std::int16_t reg;
    std::int32_t area, n;
    if (!areaParams(ctx, reg, area, n)) return StepResult::Failed;
    if (n < 1 || area < 0 || area > 2) return StepResult::Failed;
    const std::int64_t freed = areaCount(ctx, area) + (area == 2 ? ctx.machine.tableEntries : 0);
    if (!withinBudget(ctx, n, freed)) return fail(ctx, kErrorBadValue);
    if (!writeRegister(ctx, reg, Value::int32(areaCount(ctx, area)))) return StepResult::Failed;
    resizeArea(ctx, area, n, false);
    if (area == 2) ctx.machine.tableEntries = 0; // every map starts empty
    return StepResult::Next;
}

StepResult extendCommand(StepContext& ctx) {
    std::int16_t reg;
    std::int32_t area, n;
    if (!areaParams(ctx, reg, area, n)) return StepResult::Failed;
    if (n < 1 || area < 0 || area > 2) return StepResult::Failed;
    const std::int32_t old = areaCount(ctx, area);
    if (!withinBudget(ctx, n)) return fail(ctx, kErrorBadValue);
    if (!writeRegister(ctx, reg, Value::int32(old + 1))) return StepResult::Failed;
    resizeArea(ctx, area, old + n, true);
    return StepResult::Next;
}

StepResult allocCommand(StepContext& ctx) {
    std::int16_t reg;
    std::int32_t mapNo, n;
    if (!registerParam(ctx, *ctx.p1, reg) || !int32Param(ctx, *ctx.p2, mapNo) ||
        !int32Param(ctx, *ctx.p3, n))
        return StepResult::Failed;
    if (n < 1) return StepResult::Failed;
    if (n > kMaxValues) return fail(ctx, kErrorBadValue);
    AllocMap* m = mapFor(ctx, mapNo);
    if (!m) return StepResult::Failed;
    auto& w = ctx.machine;

    // Everything is worked out before anything changes, so a refused growth leaves no trace.
    std::vector<std::int32_t> chosen;
    chosen.reserve(static_cast<std::size_t>(n));
    const std::int32_t shared = sharedCount(w);
    // The shared variables from firstMaybeEmpty to shared: past a filled one, the next empty one
    // is searched for in an unrolled loop.
    const std::span<const Value> values(w.sharedValues.data() + (shared > 0), shared);
    const std::int32_t from =
        w.firstMaybeEmpty >= 1 && w.firstMaybeEmpty <= shared + 1 ? w.firstMaybeEmpty - 1 : 0;
    for (auto v = values.begin() + from; static_cast<std::int32_t>(chosen.size()) < n; ++v) {
        if (v != values.end() && !v->isEmpty())
            v = std::find_if(v + 1, values.end(), [](const Value& x) { return x.isEmpty(); });
        if (v == values.end()) break;
        chosen.push_back(static_cast<std::int32_t>(v - values.begin()) + 1);
    }
    const std::int32_t missing = n - static_cast<std::int32_t>(chosen.size());

    // Room for n entries and a terminating 0. The 0 after a block is its terminator, so a
    // nonzero entry sets the run to -1 and that 0 is not counted. Before searchFrom no run of
    // zeros counts, so the search starts there, at -1 or 0 as the entry before it says.
    const std::int32_t total = mapTotal(*m);
    const std::int32_t searchFrom = std::clamp(m->searchFrom, 1, total + 1);
    std::int32_t j =
        searchFrom > 1 && m->entries[static_cast<std::size_t>(searchFrom - 1)] != 0 ? -1 : 0;
    std::int32_t start = 0, newTotal = total, firstRoom = 0;
    for (std::int32_t pos = searchFrom; pos <= total; ++pos) {
        j = m->entries[static_cast<std::size_t>(pos)] != 0 ? -1 : j + 1;
        if (j == 1 && firstRoom == 0) firstRoom = pos;
        if (j == n + 1) {
            start = pos + 1 - j;
            break;
        }
    }
    if (start == 0) {
        if (static_cast<std::int64_t>(total) + n - j + 1 > kMaxValues)
            return fail(ctx, kErrorBadValue);
        newTotal = total + n - j + 1;
        start = total + 1 - j;
    }
    if ((missing > 0 || newTotal > total) && !withinBudget(ctx, missing + newTotal - total))
        return fail(ctx, kErrorBadValue);

    if (missing > 0) {
        w.sharedValues.resize(static_cast<std::size_t>(shared + missing) + 1);
        for (std::int32_t v = shared + 1; v <= shared + missing; ++v)
            chosen.push_back(v);
    }
    for (std::int32_t v : chosen)
        w.sharedValues[static_cast<std::size_t>(v)] = Value::null();
    // Those before the last chosen one were filled or chosen.
    w.firstMaybeEmpty = chosen.back() + 1;
    repair(*m);
    if (m != &ctx.run.ownMap) w.tableEntries += newTotal - total;
    m->total = newTotal;
    m->entries.resize(static_cast<std::size_t>(newTotal) + 1, 0);
    for (std::int32_t k = 0; k < n; ++k)
        m->entries[static_cast<std::size_t>(start + k)] = chosen[static_cast<std::size_t>(k)];
    m->entries[static_cast<std::size_t>(start + n)] = 0;
    // Room too small for this block may serve a smaller one; past this block, none was seen.
    m->searchFrom = firstRoom != 0 && firstRoom < start ? firstRoom : start + n + 1;
    if (!writeRegister(ctx, reg, Value::int32(start))) return StepResult::Failed;
    return StepResult::Next;
}

StepResult freeBlockCommand(StepContext& ctx) {
    std::int32_t mapNo, s;
    if (!int32Param(ctx, *ctx.p1, mapNo) || !int32Param(ctx, *ctx.p2, s)) return StepResult::Failed;
    AllocMap* m = mapFor(ctx, mapNo);
    if (!m) return StepResult::Failed;
    repair(*m);
    if (s < 1 || s > m->total) return StepResult::Failed;
    m->searchFrom = std::min(m->searchFrom, s); // room may open from s on
    for (std::int32_t pos = s; pos <= m->total; ++pos) {
        if (m->entries[static_cast<std::size_t>(pos)] == 0) break;
        if (!freeEntry(ctx.machine, *m, pos)) return StepResult::Failed;
    }
    return StepResult::Next;
}

StepResult freeRangeCommand(StepContext& ctx) {
    std::int32_t mapNo, s, c;
    if (!int32Param(ctx, *ctx.p1, mapNo) || !int32Param(ctx, *ctx.p2, s) ||
        !int32Param(ctx, *ctx.p3, c))
        return StepResult::Failed;
    AllocMap* m = mapFor(ctx, mapNo);
    if (!m) return StepResult::Failed;
    repair(*m);
    if (static_cast<std::int64_t>(s) + c - 1 > m->total) return StepResult::Failed;
    if (c <= 0) return StepResult::Next;
    if (s < 1) return fail(ctx, kErrorBadValue); // entry 0 and below are not part of a map
    m->searchFrom = std::min(m->searchFrom, s);
    for (std::int32_t pos = s; pos <= s + c - 1; ++pos)
        if (!freeEntry(ctx.machine, *m, pos)) return StepResult::Failed;
    return StepResult::Next;
}

StepResult dumpCommand(StepContext& ctx, tekkel::Op op) {
    std::ostream& out = ctx.listing;
    if (op == tekkel::Op::DumpLocals) {
        out << "[Local]\n";
        listValues(out, ctx.run.locals, usable(ctx.run.localCount, ctx.run.locals.size()));
    } else if (op == tekkel::Op::DumpShared) {
        out << "[Shared]\n";
        listValues(out, ctx.machine.sharedValues, sharedCount(ctx.machine));
    } else {
        std::int32_t mapNo;
        if (!int32Param(ctx, *ctx.p1, mapNo)) return StepResult::Failed;
        const AllocMap* m = mapFor(ctx, mapNo);
        if (!m) return StepResult::Failed;
        out << "[Alloced]\n";
        for (std::int32_t pos = 1; pos <= mapTotal(*m); ++pos)
            out << "  " << pos << ": " << m->entries[static_cast<std::size_t>(pos)] << '\n';
    }
    out.flush();
    return StepResult::Next;
}

} // namespace tekkel
