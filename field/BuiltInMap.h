// The built-in map as text rows, and the builder that turns any such table into the World's
// layers. The table is data of its own so that a test can build from other texts.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "field/World.h"
#include "platform/Seams.h"

namespace field {

constexpr int kMapLayers = 3;
constexpr int kMapMaxX = 8;
constexpr int kMapMaxY = 5;

// rows[layer][plane] holds that plane's row texts, row 0 first; each text is the cell values of
// columns 0, 1, 2, ... joined by ",". A valid table has exactly rows 0..5 for every plane.
struct MapTexts {
    std::array<std::array<std::vector<std::string>, field::kPlaneCount>, kMapLayers> rows;
};

// The shipped map: plane 0 of layers 0..2 carries terrain, every other plane six empty rows.
MapTexts builtInMapTexts();

// Builds the World's map from a table. On a malformed table (too many values in a row, a value
// that is not a whole number 0..6, rows other than 0..5) shows the read-error box and returns
// false; cells set before the failure stay set.
bool buildMapFrom(field::World& world, plat::Services& sv, MapTexts texts);

} // namespace field
