// The built-in data: map, scripts and event objects. Each builder reports success.
#pragma once

#include "field/World.h"
#include "field/mdlRxSGlue.h"
#include "field/script/mdlScriptAssembler.h"
#include "platform/Seams.h"

namespace mdlDataCtrl {

bool pfBuildMap(field::World& world, plat::Services& sv);
bool pfBuildScripts(field::World& world);
// The built-in scripts text, assembled: stored scripts and the objects' own scripts.
bool pfDemoScripts(mdlScriptAssembler::Unit& unit);
bool pfBuildEventObjects(field::World& world, mdlRxSGlue::Searchers& searchers);

} // namespace mdlDataCtrl
