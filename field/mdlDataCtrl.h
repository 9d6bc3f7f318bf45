// The built-in data: map, scripts and event objects. Each builder reports success.
#pragma once

#include "field/World.h"
#include "field/mdlRxSGlue.h"
#include "platform/Seams.h"

namespace mdlDataCtrl {

bool pfBuildMap(field::World& world, plat::Services& sv);
bool pfBuildScripts(field::World& world);
bool pfBuildEventObjects(field::World& world, mdlRxSGlue::Searchers& searchers);

} // namespace mdlDataCtrl
