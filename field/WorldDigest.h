// The digest of the field program's game state, which a recorded session stores now and then
// and a replay compares.
#pragma once

#include <cstdint>

#include "field/World.h"

namespace field {

// A 64-bit digest of everything in the World that decides how the game goes on: the player,
// the map's cells, the event objects with their scripts and run states, the stored scripts,
// the shared variables and allocation maps, the system run and the per-frame flags. Equal
// Worlds give equal digests on every machine; compiled script forms are left out.
std::uint64_t worldDigest(const field::World& world);

} // namespace field
