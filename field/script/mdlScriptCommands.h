// Tekkel's command set. reg P is the register numbered by P; X(P) is P itself when P is a
// string, else reg P. A target is a label name (string) or an address.
//
//   code name              P1          P2          P3      effect / step result
//    0   Break                                             Failed (the error report)
//    1   Nop                                               Next
//    2   (reserved)                                        Failed, error 2
//    3   Yield                                             NextAndYield
//    4   Jump              target                          Goto; unknown label error 10
//    5   Restart                                           GotoAndYield to 0
//    6   End                                               Ended
//    7   Chain             name/number                     SwitchScript; unknown name error 10
//   8,9  (reserved)                                        Failed, error 2
//   10   Label             name                            Next
//   11   Wait              reg start   ms                  Suspend until start + ms passed
//   20   JumpIfNotZero     target                          Goto when not zeroFlag
//   21   JumpIfZero        target                          Goto when zeroFlag
//   22   JumpIfNotNegative target                          Goto when not negativeFlag
//   23   JumpIfNegative    target                          Goto when negativeFlag
//   24   JumpIfValid       target                          Goto when not invalidFlag
//   25   JumpIfInvalid     target                          Goto when invalidFlag
//   50   Set               reg         value               reg P1 = P2
//   51   Move              reg         reg                 reg P1 = reg P2
//  52,53 (reserved)                                        Failed, error 2
//  54-59 Alloc FreeBlock FreeRange Select Dim Extend       see mdlScriptVariables.h
//   60   Add               reg         reg                 R1 = reg P1 + reg P2
//   61   AddValue          reg         value               R1 = reg P1 + P2
//   62   Sub / 63 SubValue, 64 Mul / 65 MulValue            likewise
//   66   IntDiv            reg         reg                 R1 = quotient, then R4 = remainder
//   67   IntDivValue       reg         value               likewise
//   68   Inc               reg                             reg P1 = reg P1 + 1
//   69   Dec               reg                             reg P1 = reg P1 - 1
//   70   Div / 71 DivValue                                 R1 = real quotient
//   72   Int               reg                             reg P1 = floor(reg P1)
//   73   Sign              reg         reg                 reg P1 = sign(reg P2), 16-bit
//   74   Random            reg         reg                 reg P1 = int(rnd * (reg P2 + 1))
//   75   RandomValue       reg         value               reg P1 = int(rnd * (P2 + 1))
//   76   Compare           reg         reg                 flags from reg P1 against reg P2
//   77   CompareValue      reg         value               flags from reg P1 against P2
//   90   Length            reg         X                   reg P1 = length of X(P2)
//   91   Concat            reg         X           X       reg P1 = X(P2) & X(P3)
//   92   Left / 93 LeftValue   X       reg / count         R1 = first characters of X(P1)
//   94   Right / 95 RightValue X       reg / count         R1 = last characters of X(P1)
//   96   ToNumber          reg                             reg P1 = leading number, 64-bit real
//  150   Message           text                            OK box; Next
//  160   SetShade          level 0..3                      World shadeLevel; Next
//  200-411                                                 see mdlScriptFieldCommands.h
//  900-902 DumpLocals DumpShared DumpAlloced               see mdlScriptVariables.h
// Every other code fails with error 1. Values that cannot be converted where a number is
// needed, results that overflow and division by zero fail with error 1 as well.
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
