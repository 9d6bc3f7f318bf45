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

#include "tekkel/Opcodes.h"
#include "tekkel/Step.h"

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

void setFlags(Run& run, const Value& v);

// Whether `number` names a stored script that can run: inside 0..scriptCount and with
// commands. Switching to any other number fails with error 1.
bool isRunnableScript(const Machine& machine, std::int32_t number);

// Reads a register: a pointer to its storage, or to `scratch` holding the value of a typed
// register. nullptr when the read failed (the error slot is already written where a number
// applies). The pointer is valid until the next write or allocation.
const Value* readRegister(StepContext& ctx, std::int16_t reg, Value& scratch);
// Writes a register; false when the write failed.
bool writeRegister(StepContext& ctx, std::int16_t reg, const Value& v);

// Parameter conversions; on failure they write error 1 and answer false.
bool int16Param(StepContext& ctx, const Value& v, std::int16_t& out);
bool int32Param(StepContext& ctx, const Value& v, std::int32_t& out);
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
