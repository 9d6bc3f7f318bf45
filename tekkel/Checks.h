// Mistakes a script read from text shows before it runs: a jump to a label the script does
// not have, a Chain to no script, a literal divisor of 0, a literal outside the range the
// command table gives its parameter (errors), and commands after an End, Jump or Restart that
// no label leads to and a label name written twice in one script (warnings). Findings are
// placed by the script's source map; a script built in code has none and is not looked at.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "tekkel/Assembler.h"

namespace tekkel {

struct CheckContext {
    // Object parameters name -1 (the active object) or 1..objectCount.
    std::int32_t objectCount = 0;
    // Whether a Chain to this name or number finds a script; unset: chains are not looked at.
    std::function<bool(const Value&)> chainFinds;
};

// Appends what `script` shows to `found`, in address order.
void checkScript(const Script& script, const CheckContext& context,
                 std::vector<AssemblyError>& found);

// Every script of `unit`, sorted by line; a Chain may go to any script of the unit or to one
// `alsoFinds` knows (a field the scripts are loaded into).
std::vector<AssemblyError> checkUnit(const Unit& unit, std::int32_t objectCount,
                                     const std::function<bool(const Value&)>& alsoFinds = {});

} // namespace tekkel
