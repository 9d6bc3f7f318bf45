// Tekkel: the interpreter's entry points.
#pragma once

#include "field/World.h"
#include "platform/Seams.h"

namespace mdlScriptProcesser {

// Runs this frame's scripts: the system script alone, or the enabled objects' automatic
// scripts in object order.
void psRunFrameScripts(field::World& world, plat::Services& sv);

} // namespace mdlScriptProcesser
