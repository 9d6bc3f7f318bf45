// The stored scripts, read from the built-in text (scenarios/demo/scripts.tkl): the wanderer,
// the opening scene, the runaway, the gatekeeper, the treasure and the goal. Slot 0 is the
// event slot; slots 7..20 stay without commands.
#include "field/BuiltInData.h"
#include "scenarios/Embedded.h"
#include "tekkel/Assembler.h"

namespace field {

namespace {

constexpr std::int32_t kScriptCount = 20;

} // namespace

bool demoScripts(tekkel::Unit& unit) {
    std::vector<tekkel::AssemblyError> errors;
    return tekkel::assemble(scenarios::demoScripts(), unit, errors);
}

bool buildScripts(field::World& world) {
    world.machine.scriptCount = kScriptCount;
    world.machine.scripts.assign(static_cast<std::size_t>(kScriptCount) + 1, tekkel::Script{});
    tekkel::Unit unit;
    return demoScripts(unit) && tekkel::installScripts(world.machine, unit);
}

} // namespace field
