// Tekkel's canonical layout: the one the listing (Disassembler.h) writes, applied to a text a
// person wrote, keeping its comments and blank lines.
//
//   ; a comment line stays where it is      <- column 1, or indented by four when it was indented
//   script 4 "門番" last 30                 <- headers at column 1, one blank between words
//       CompareValue var, 4                 <- commands indented by four, one blank after the
//       JumpIfZero "FlagON"                    name, ", " between operands
//   FlagON:                                 <- labels at column 1 (`FlagON: End` is split in two)
//       ObjectSpeed 11, 0               ; a comment after code starts at column 37
//
// Names take the command table's spelling (`set r1` -> `Set R1`; a known code -> its name),
// true/false/null and numbers are lower case but for the L of a 32-bit integer, strings stay as
// written, and `Label "x"` becomes `x:` wherever the listing would write it so. Runs of blank
// lines become one, trailing blanks go, every line ends in '\n'.
#pragma once

#include <string>
#include <string_view>

#include "tekkel/Assembler.h"

namespace tekkel {

// The text in the canonical layout. Meant for a text that assembles: a line the layout cannot
// read (a stray quote, an unknown token) keeps its words as written.
std::string formatText(std::string_view text);

// Whether two units hold the same scripts, number for number and command for command.
bool sameProgram(const Unit& a, const Unit& b);

} // namespace tekkel
