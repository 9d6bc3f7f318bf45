// Tekkel's records: commands, scripts, run states, allocation maps, and the Machine that holds
// what every run of one program shares.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tekkel/Value.h"

namespace tekkel {

struct CompiledScript;
struct SourceMap; // tekkel/SourceMap.h

struct Command {
    std::int16_t code = 0;
    Value p1, p2, p3;
};

// The compiled form of a Script (Compiler.h), built when the script first runs.
//
// Rule: the compiled form belongs to the commands of the Script that holds it. Copying a
// Script (`world.scripts[0] = obj.ownScript` when an object fires) gives the copy none, and
// moving one moves it along with the commands it was built from, so replacing a slot can never
// leave records of the old script behind. It is rebuilt by itself when the command array
// moves or changes its size; code that edits commands of a script in place after it has run
// must call `compiled.clear()`.
class CompiledCache {
  public:
    CompiledCache() = default;
    CompiledCache(const CompiledCache&) {}
    CompiledCache& operator=(const CompiledCache&) {
        form_.reset();
        return *this;
    }
    CompiledCache(CompiledCache&& other) noexcept : form_(std::move(other.form_)) {}
    CompiledCache& operator=(CompiledCache&& other) noexcept {
        form_ = std::move(other.form_);
        return *this;
    }
    const tekkel::CompiledScript* get() const { return form_.get(); }
    void set(std::shared_ptr<const tekkel::CompiledScript> form) { form_ = std::move(form); }
    void clear() { form_.reset(); }

  private:
    std::shared_ptr<const tekkel::CompiledScript> form_;
};

struct Script {
    std::int32_t lastAddress = 0;
    std::vector<Command> commands; // 0..lastAddress, or none for an empty slot
    std::u16string name;
    mutable CompiledCache compiled; // see CompiledCache for when it must be cleared
    // Where the commands were written, shared by every copy; none for a script built in code.
    std::shared_ptr<const SourceMap> source;
};

// An allocation map: entries 1..total of shared-variable numbers (index 0 unused).
struct AllocMap {
    std::int32_t total = 0;
    // Every entry before this one belongs to a block or ends one, so Alloc's search for room
    // starts here: Alloc moves it, a free lowers it. Code that clears entries otherwise must
    // lower it too. (Beside total, it keeps the map, and so a run, as large as it was.)
    std::int32_t searchFrom = 1;
    std::vector<std::int32_t> entries; // size total + 1
};

// One run of a script: its registers, flags, locals and own allocation map. Registers 300 and
// 400..403 (activeObject, testLayer, testPlane, testX, testY) are typed and stored here like
// every other, but only the host's commands give them a meaning.
struct Run {
    Value R1, R2, R3, R4, R5;
    Value D1, D2, D3;
    std::int32_t space = 0;
    std::int32_t varIndex = 0;
    std::int32_t mapSelect = 0;
    std::int32_t work = 0;
    std::int32_t scriptNumber = 0;
    std::int32_t address = 0;
    bool zeroFlag = false;
    bool negativeFlag = false;
    bool invalidFlag = false;
    bool suspended = false;
    std::int32_t localCount = 0;
    std::vector<Value> locals; // 1..localCount (index 0 unused)
    // The locals a selection can name: localCount as far as the vector holds it, kept by the
    // commands that size the area, so that finding one is a single range test. A run made
    // otherwise keeps 0, and its locals are found the longer way.
    std::int32_t localsHeld = 0;
    AllocMap ownMap;
    std::int32_t activeObject = 0;
    std::int16_t testLayer = 0;
    std::int16_t testPlane = 0;
    std::int32_t testX = 0;
    std::int32_t testY = 0;
};

// What every run of one program shares: the stored scripts, the shared variables and the
// allocation table.
struct Machine {
    std::int32_t scriptCount = 0;
    std::vector<Script> scripts;      // 0..scriptCount
    std::vector<Value> sharedValues;  // 1..count (index 0 unused); count = size() - 1
    std::vector<AllocMap> allocTable; // 1..count (index 0 unused)
    // The entries of the table's maps together (each map's total, as far as its vector holds
    // it), kept by the commands that change them: the value budget is checked on every growth,
    // and a sum over every map each time made many growths of a large table quadratic.
    std::int64_t tableEntries = 0;
    // The shared variables below this one are known to hold a value, so that Alloc, which takes
    // the first empty ones, starts its search here. Whatever may leave one of them empty (a free,
    // a Dim, a write of an empty value through the selection) lowers it; code outside the
    // commands that empties one sets it to 1.
    std::int32_t firstMaybeEmpty = 1;
};

} // namespace tekkel
