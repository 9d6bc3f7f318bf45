// Tekkel's text form, written: any script as lines that Assembler.h reads back to the
// same commands, unknown codes, never-filled commands and every value kind included.
//
//   script 4 "門番" last 30        ; slot 4, named, commands 0..30 (the rest never filled)
//       Select 2, 1, 1
//       CompareValue var, 4
//       JumpIfZero "FlagON"
//   FlagON:                        ; the command Label "FlagON"
//       ObjectSpeed 11, 0          ; P3 omitted: D3 stands in
//       PlayerFacing , 1           ; P1 omitted
//   own 11 last 40                 ; event object 11's own script
//
// Values: 5 (16-bit), 5L or 70000 (32-bit), 1.5 (64-bit real), 1.5f (32-bit real), inf, -inf
// and nan (with f for 32-bit), true, false, null, "text" with \r \n \t \" \\ \uXXXX. A 16-bit
// number in a register position is written as the register's name (R1, var, testX).
#pragma once

#include <cstdint>
#include <string>

#include "tekkel/Script.h"

namespace tekkel {

// One value; `asRegister` writes a 16-bit number that numbers a register by its name.
std::string valueText(const Value& v, bool asRegister = false);
// One command without indentation or line end: "Set R1, 5", "Label 7", "999 , 1".
std::string commandText(const Command& c);
// Stored-script slot `number` (header and commands, each line ending in '\n').
std::string listScript(std::int32_t number, const Script& script);
// Event object `object`'s own script.
std::string listOwnScript(std::int32_t object, const Script& script);

} // namespace tekkel
