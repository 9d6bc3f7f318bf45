// Tekkel's register table and parameter conversions.
//
//   reg   reads / writes                         kind
//   -1    the selected variable (Variables.h)
//    0    reads 16-bit 0, discards writes
//   1..5  R1..R5; a write applies the flag rule  any
//   10    space                                  32-bit
//   11    varIndex                               32-bit
//   12    mapSelect, write only                  32-bit
//   20..22 D1..D3                                any
//   30    work                                   32-bit
//   31    scriptNumber (0..scriptCount, a slot with commands)  32-bit
//   32    address (not negative)                 32-bit
//   80..82 zeroFlag, negativeFlag, invalidFlag   boolean
//   300   activeObject                           32-bit
//   400, 401 testLayer, testPlane                16-bit
//   402, 403 testX, testY                        32-bit
// Any other number, and reading 12, fails with error 1; so does a value that cannot be
// converted to the register's kind.
#pragma once

#include <cstdint>
#include <cstring>

#include "tekkel/Opcodes.h"
#include "tekkel/Step.h"
#include "tekkel/Value.h"

namespace tekkel {

// The storage of a general register (1..5, 20..22), or nullptr for any other number.
inline Value* valueRegister(Run& run, std::int16_t reg) {
    switch (static_cast<Reg>(reg)) {
    case Reg::R1: return &run.R1;
    case Reg::R2: return &run.R2;
    case Reg::R3: return &run.R3;
    case Reg::R4: return &run.R4;
    case Reg::R5: return &run.R5;
    case Reg::D1: return &run.D1;
    case Reg::D2: return &run.D2;
    case Reg::D3: return &run.D3;
    default: return nullptr;
    }
}

// The flag rule (tekkel::applyFlagRule) for a finite number.
template <typename Number> [[gnu::always_inline]] inline void setNumberFlags(Run& run, Number x) {
    run.invalidFlag = false;
    run.zeroFlag = x == 0;
    run.negativeFlag = x < 0;
}
// A finite real is zero when its bits but the sign are (magnitudeBits): one integer test, where
// x == 0 also tests for the NaN that a finite number never is.
[[gnu::always_inline]] inline void setNumberFlags(Run& run, double x) {
    run.invalidFlag = false;
    run.zeroFlag = magnitudeBits(x) == 0;
    run.negativeFlag = x < 0;
}

// The flag rule on the run's flags: numbers inline, the rest out of line.
void setFlagsOther(Run& run, const Value& v);
[[gnu::always_inline]] inline void setFlags(Run& run, const Value& v) {
    switch (v.kind) {
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Boolean: setNumberFlags(run, v.i); return;
    case ValueKind::Real64:
        if (!finiteReal(v.d)) break;
        setNumberFlags(run, v.d);
        return;
    default: break;
    }
    setFlagsOther(run, v);
}

// Whether the flag rule sets all three flags for `v`, whatever they were: a number.
[[gnu::always_inline]] inline bool setsEveryFlag(const Value& v) {
    switch (v.kind) {
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Boolean: return true;
    case ValueKind::Real64: return finiteReal(v.d);
    default: return false;
    }
}

// Whether a write of register `reg` applies the flag rule: R1..R5 do.
[[gnu::always_inline]] constexpr bool flagsRegister(std::int16_t reg) {
    return reg >= regNumber(Reg::R1) && reg <= regNumber(Reg::R5);
}

// The flag rule after a write of register `reg`: R1..R5 apply it, the others do not.
[[gnu::always_inline]] inline void flagsAfterWrite(Run& run, std::int16_t reg, const Value& v) {
    if (flagsRegister(reg)) setFlags(run, v);
}

// Writes `dst`, the storage of a general register, applying the flag rule when `flags` (the
// register is one of R1..R5): every write of a general register goes through here.
[[gnu::always_inline]] inline void writeGeneral(Run& run, bool flags, Value& dst,
                                                const Value& src) {
    if (&dst != &src) assign(dst, src);
    if (flags) setFlags(run, dst);
}
// The same for general register `reg` (valueRegister).
[[gnu::always_inline]] inline void writeGeneral(Run& run, std::int16_t reg, Value& dst,
                                                const Value& src) {
    writeGeneral(run, flagsRegister(reg), dst, src);
}

// The flags of a comparison whose operands differ by `d`, finite, which compareReals rounds to
// 0 from -0.5 to 0.5: the flags come from the difference without making a sign.
[[gnu::always_inline]] inline void setDifferenceFlags(Run& run, double d) {
    run.invalidFlag = false;
    run.zeroFlag = std::fabs(d) <= 0.5;
    run.negativeFlag = d < -0.5;
}

// A comparison's flags when the values are two numbers that compare by their difference: two
// integers set them from it directly, as the flag rule does for a number (no sign to make and
// take apart again), and so do two reals whose difference is finite. False, nothing set, for
// the others (compareOtherIntoFlags).
[[gnu::always_inline]] inline bool compareNumbersIntoFlags(Run& run, const Value& a,
                                                           const Value& b) {
    if (bothIntegers(a, b)) [[likely]] {
        setNumberFlags(run, integerDifference(a, b));
        return true;
    }
    if (double d = 0; realDifference(a, b, d)) {
        setDifferenceFlags(run, d);
        return true;
    }
    return false;
}

// The flags of a comparison of the values compareNumbersIntoFlags leaves: invalid when they
// have no common kind, else zero and negative from its sign (compareValues); an invalid one
// keeps zero and negative.
[[gnu::always_inline]] inline void comparisonIntoFlags(Run& run, Comparison c) {
    run.invalidFlag = !c.valid;
    if (c.valid) {
        run.zeroFlag = c.sign == 0;
        run.negativeFlag = c.sign < 0;
    }
}

[[gnu::always_inline]] inline void compareOtherIntoFlags(Run& run, const Value& a, const Value& b) {
    comparisonIntoFlags(run, compareOther(a, b));
}

// A comparison's flags, for any two values.
[[gnu::always_inline]] inline void compareIntoFlags(Run& run, const Value& a, const Value& b) {
    if (!compareNumbersIntoFlags(run, a, b)) compareOtherIntoFlags(run, a, b);
}

// Whether `number` names a stored script that can run: inside 0..scriptCount and with
// commands. Switching to any other number fails with error 1.
bool isRunnableScript(const Machine& machine, std::int32_t number);

// Reads a register: a pointer to its storage, or to `scratch` holding the value of a typed
// register. nullptr when the read failed (`ctx.error` is already written where a number
// applies). The pointer is valid until the next write or allocation.
const Value* readRegister(StepContext& ctx, std::int16_t reg, Value& scratch);
// Writes a register; false when the write failed.
bool writeRegister(StepContext& ctx, std::int16_t reg, const Value& v);
inline bool writeRegister(StepContext& ctx, Reg reg, const Value& v) {
    return writeRegister(ctx, regNumber(reg), v);
}

// Parameter conversions; on failure they write error 1 and answer false.
bool int16Param(StepContext& ctx, const Value& v, std::int16_t& out);
bool int32Param(StepContext& ctx, const Value& v, std::int32_t& out);
// Writes a 32-bit register: an integer as it is, anything else converted by int32Param.
[[gnu::always_inline]] inline bool writeNumber(StepContext& ctx, std::int32_t& dst,
                                               const Value& v) {
    if (!isInteger(v.kind)) return int32Param(ctx, v, dst);
    dst = v.i;
    return true;
}
bool truthParam(StepContext& ctx, const Value& v, bool& out);
// A register number given by a parameter.
inline bool registerParam(StepContext& ctx, const Value& v, std::int16_t& reg) {
    return int16Param(ctx, v, reg);
}
// Reads the register numbered by a parameter.
const Value* readRegisterParam(StepContext& ctx, const Value& p, Value& scratch);
// X(P): the parameter itself when it is a string, else the register it numbers.
const Value* textOrRegister(StepContext& ctx, const Value& p, Value& scratch);

} // namespace tekkel
