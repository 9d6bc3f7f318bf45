// Tekkel's records: the dynamically typed value, commands, scripts, run states and
// allocation maps. The value rules themselves live in mdlScriptValue.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mdlScriptProcesser {

enum class ValueKind : std::uint8_t { Empty, Null, Int16, Int32, Real32, Real64, Boolean, String };

// One dynamically typed value. Booleans store true as -1 and false as 0 in `i`. The string is
// a member rather than a pointer so that values copy and compare without sharing; the hot
// commands work on values in place and never copy one.
struct Value {
    ValueKind kind = ValueKind::Empty;
    union {
        std::int32_t i; // Int16 (in range), Int32, Boolean
        float f;        // Real32
        double d;       // Real64
    };
    std::u16string s; // String

    Value() : d(0) {}
    static Value empty() { return Value(); }
    static Value null() {
        Value v;
        v.kind = ValueKind::Null;
        return v;
    }
    static Value int16(std::int16_t x) {
        Value v;
        v.kind = ValueKind::Int16;
        v.i = x;
        return v;
    }
    static Value int32(std::int32_t x) {
        Value v;
        v.kind = ValueKind::Int32;
        v.i = x;
        return v;
    }
    static Value real32(float x) {
        Value v;
        v.kind = ValueKind::Real32;
        v.f = x;
        return v;
    }
    static Value real64(double x) {
        Value v;
        v.kind = ValueKind::Real64;
        v.d = x;
        return v;
    }
    static Value boolean(bool b) {
        Value v;
        v.kind = ValueKind::Boolean;
        v.i = b ? -1 : 0;
        return v;
    }
    static Value string(std::u16string text) {
        Value v;
        v.kind = ValueKind::String;
        v.s = std::move(text);
        return v;
    }
    bool isEmpty() const { return kind == ValueKind::Empty; }
    bool isNull() const { return kind == ValueKind::Null; }
    bool isString() const { return kind == ValueKind::String; }

    // Same kind and same contents (reals bit for bit, so a NaN equals itself).
    friend bool operator==(const Value& a, const Value& b);
};

struct ScriptCommand {
    std::int16_t code = 0;
    Value p1, p2, p3;
};

// Jump targets already resolved from `Label` names, one entry per command address: 0 not
// resolved yet, otherwise the label's address + 1.
//
// Rule: the cache belongs to the commands of the Script that holds it. Copying a Script
// (`world.scripts[0] = obj.ownScript` when an object fires) gives the copy an empty cache,
// and moving one moves the cache along with the commands it was built from, so replacing a
// slot can never leave targets of the old script behind. Code that edits `commands` of a
// script in place after it has run must call `labels.clear()`.
class LabelCache {
  public:
    LabelCache() = default;
    LabelCache(const LabelCache&) {}
    LabelCache& operator=(const LabelCache&) {
        targets_.clear();
        return *this;
    }
    LabelCache(LabelCache&& other) noexcept : targets_(std::move(other.targets_)) {
        other.targets_.clear();
    }
    LabelCache& operator=(LabelCache&& other) noexcept {
        targets_ = std::move(other.targets_);
        other.targets_.clear();
        return *this;
    }

    // The cached target of the jump at `address`, or -1 when unknown.
    std::int32_t find(std::int32_t address) const {
        const auto a = static_cast<std::size_t>(address);
        return a < targets_.size() ? targets_[a] - 1 : -1;
    }
    void store(std::int32_t address, std::int32_t target, std::size_t commandCount) {
        if (targets_.size() < commandCount) targets_.resize(commandCount, 0);
        const auto a = static_cast<std::size_t>(address);
        if (a < targets_.size()) targets_[a] = target + 1;
    }
    void clear() { targets_.clear(); }

  private:
    std::vector<std::int32_t> targets_;
};

struct Script {
    std::int32_t lastAddress = 0;
    std::vector<ScriptCommand> commands; // 0..lastAddress, or none for an empty slot
    std::u16string name;
    mutable LabelCache labels; // see LabelCache for when it must be cleared
};

// An allocation map: entries 1..total of shared-variable numbers (index 0 unused).
struct AllocMap {
    std::int32_t total = 0;
    std::vector<std::int32_t> entries; // size total + 1
};

struct ScriptRun {
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
    AllocMap ownMap;
    std::int32_t activeObject = 0;
    std::int16_t testLayer = 0;
    std::int16_t testPlane = 0;
    std::int32_t testX = 0;
    std::int32_t testY = 0;
};

} // namespace mdlScriptProcesser
