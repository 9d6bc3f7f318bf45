// Which flag writes no one reads: a pass over a script's records that marks `quiet` each write
// of R1..R5 whose flags the next flag write, further down the same straight run of records,
// replaces before anything can read them. A quiet record still writes its register; what it
// leaves out are the flags, owed until the next write sets them all (see FlagLiveness.cpp for
// why every place that could see them settles them first).
#pragma once

#include <cstdint>
#include <vector>

#include "tekkel/Compiler.h"

namespace tekkel {

// How one record meets the flags, seen alone (a fused kind as its first command).
enum class FlagUse : std::uint8_t {
    None,  // leaves them alone
    Write, // writes R1..R5 or compares; on a finite number or a valid comparison it sets all
           // three, and before any other value its slow path settles owed flags
    Read,  // reads them or needs them exact: a jump on a flag, a flag register as an operand,
           // a handler, and every writer that does not settle owed flags
};
FlagUse flagUse(const Record& r);

// Marks `quiet` on each record whose flag work can be left out; answers, per address, the
// register whose flag rule gives the flags owed on entry there (nullptr: none owed).
std::vector<Value Run::*> markQuietWrites(std::vector<Record>& records);

} // namespace tekkel
