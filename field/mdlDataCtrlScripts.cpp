// The stored scripts, read from the built-in text (scenarios/demo/scripts.tkl): the wanderer,
// the opening scene, the runaway, the gatekeeper, the treasure and the goal. Slot 0 is the
// event slot; slots 7..20 stay without commands.
#include "field/mdlDataCtrl.h"
#include "field/script/mdlScriptAssembler.h"
#include "scenarios/Embedded.h"

namespace mdlDataCtrl {

namespace {

constexpr std::int32_t kScriptCount = 20;

} // namespace

bool pfDemoScripts(mdlScriptAssembler::Unit& unit) {
    std::vector<mdlScriptAssembler::Error> errors;
    return mdlScriptAssembler::pfAssemble(scenarios::pfDemoScripts(), unit, errors);
}

bool pfBuildScripts(field::World& world) {
    world.scriptCount = kScriptCount;
    world.scripts.assign(static_cast<std::size_t>(kScriptCount) + 1, mdlScriptProcesser::Script{});
    mdlScriptAssembler::Unit unit;
    return pfDemoScripts(unit) && mdlScriptAssembler::pfInstallScripts(world, unit);
}

} // namespace mdlDataCtrl
