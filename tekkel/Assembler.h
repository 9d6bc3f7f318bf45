// Tekkel's text form, read (the form is described in Disassembler.h). Each line holds
// one of:
//   script N ["name"] [last K]   starts stored-script slot N; `last K` makes commands up to
//                                address K, the ones not written never filled (code 0)
//   own N ["name"] [last K]      starts event object N's own script
//   name:                        the command Label "name"
//   name: Command P1, P2, P3     the label, then the command
//   Command P1, P2, P3           a command by its name (any case) or its decimal code; a
//                                parameter left blank, or left out at the end, is omitted
// `;` starts a comment. Register names (R1..R5, D1..D3, var, space, varIndex, mapSelect, work,
// scriptNumber, address, zeroFlag, negativeFlag, invalidFlag, activeObject, testLayer,
// testPlane, testX, testY; any case) stand for their numbers where a parameter numbers a
// register, and are refused elsewhere.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tekkel/Script.h"

namespace tekkel {

struct NumberedScript {
    std::int32_t number = 0; // slot, or event-object number
    Script script;
};

// What one text holds, in the order written.
struct Unit {
    std::vector<NumberedScript> scripts;
    std::vector<NumberedScript> ownScripts;
};

struct AssemblyError {
    std::int32_t line = 0;   // from 1
    std::int32_t column = 0; // from 1, in characters
    std::string message;
    bool warning = false; // the checks' warnings (Checks.h); the text form has only errors
};

struct Limits {
    std::int32_t maxScript = 20;     // slots 1..maxScript
    std::int32_t maxObject = 16;     // objects 1..maxObject
    std::int32_t maxAddress = 65535; // the highest address a script may reach
};

// Where a text comes from: the file its scripts' source maps name (SourceMap.h), and the
// number of its first line (a script written inside another file starts further down).
struct TextOrigin {
    std::string file;
    std::int32_t firstLine = 1;
};

// Reads a whole text. With any error, `errors` holds them all in order of lines and `unit` is
// left empty: a text with an error loads nothing. Answers whether there was none. Every script
// read keeps where its commands were written (Script::source).
bool assemble(std::string_view text, Unit& unit, std::vector<AssemblyError>& errors,
              const Limits& limits = {}, const TextOrigin& origin = {});

// "FILE:LINE:COLUMN: message", or "FILE:LINE:COLUMN: warning: message".
std::string errorText(std::string_view file, const AssemblyError& error);

// Puts the unit's stored scripts into the machine's slots; false (and nothing changed) when a
// number lies outside 1..scriptCount. (Own scripts belong to the host's objects.)
bool installScripts(Machine& machine, const Unit& unit);

} // namespace tekkel
