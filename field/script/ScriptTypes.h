// Tekkel's records: the dynamically typed value, commands, scripts, run states and
// allocation maps. The value rules themselves live in mdlScriptValue.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace mdlScriptCompiler {
struct CompiledScript;
}

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
    static Value int16(std::int16_t x) { return number(ValueKind::Int16, x); }
    static Value int32(std::int32_t x) { return number(ValueKind::Int32, x); }
    static Value real32(float x) {
        std::int32_t bits = 0;
        static_assert(sizeof bits == sizeof x);
        std::memcpy(&bits, &x, sizeof x);
        return number(ValueKind::Real32, bits);
    }
    static Value real64(double x) {
        Value v;
        v.kind = ValueKind::Real64;
        v.d = x;
        return v;
    }
    static Value boolean(bool b) { return number(ValueKind::Boolean, b ? -1 : 0); }
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

  private:
    // A value whose number is the four bytes `low`, written with the four after them as one
    // eight-byte store: a later eight-byte copy of the value then reads what one store wrote
    // instead of waiting for two to combine.
    static Value number(ValueKind k, std::int32_t low) {
        Value v;
        v.kind = k;
        const std::int32_t bytes[2] = {low, 0};
        static_assert(sizeof bytes == sizeof v.d);
        std::memcpy(&v.d, bytes, sizeof bytes);
        return v;
    }
};

struct ScriptCommand {
    std::int16_t code = 0;
    Value p1, p2, p3;
};

// The compiled form of a Script (mdlScriptCompiler), built when the script first runs.
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
    const mdlScriptCompiler::CompiledScript* get() const { return form_.get(); }
    void set(std::shared_ptr<const mdlScriptCompiler::CompiledScript> form) {
        form_ = std::move(form);
    }
    void clear() { form_.reset(); }

  private:
    std::shared_ptr<const mdlScriptCompiler::CompiledScript> form_;
};

struct Script {
    std::int32_t lastAddress = 0;
    std::vector<ScriptCommand> commands; // 0..lastAddress, or none for an empty slot
    std::u16string name;
    mutable CompiledCache compiled; // see CompiledCache for when it must be cleared
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
