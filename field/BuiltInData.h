// The built-in data: map, scripts and event objects. Each builder reports success.
#pragma once

#include "field/Searchers.h"
#include "field/World.h"
#include "platform/Seams.h"
#include "tekkel/Assembler.h"

namespace field {

bool buildMap(field::World& world, plat::Services& sv);
bool buildScripts(field::World& world);
// The built-in scripts text, assembled: stored scripts and the objects' own scripts.
bool demoScripts(tekkel::Unit& unit);
bool buildEventObjects(field::World& world, field::Searchers& searchers);

} // namespace field
