// The direct searcher: from one cell, which one-cell steps lead towards a target cell and are
// free on the obstacle grid. It looks one step ahead only; the mouse walk picks among the
// candidates at random.
#pragma once

#include <array>
#include <cstdint>

#include "field/SearchGrid.h"
#include "platform/Seams.h"

namespace field {

// Search direction codes, 1-based; 0 is none. Code k is code k - 1 of the player's direction
// table.
enum Code : std::uint8_t {
    kNone = 0,
    kUp = 1,
    kRight = 2,
    kDown = 3,
    kLeft = 4,
    kUpRight = 5,
    kDownRight = 6,
    kDownLeft = 7,
    kUpLeft = 8,
};

struct DirectSearcher {
    std::int16_t gridReady = 0;
    field::SearchGrid grid;
    std::int16_t diagonal = 0;
    std::array<std::uint8_t, 9> order{};      // entries 1..3 hold the ranking, entry 0 is 0
    std::uint8_t primaryCount = 0;            // leading entries of order that are primary
    std::uint8_t totalCount = 0;              // primary plus fallbacks
    std::array<std::uint8_t, 4> candidates{}; // free codes found, ended by 0
    std::uint8_t cursor = 0;                  // next candidate to hand out; 0..2 valid
};

// (column change, row change) of a search code; any other code, 0 included, gives (0, 0).
field::Step searchCodeStep(int code);

// Copies the grid and makes the searcher ready. A malformed grid (size and cells disagree)
// is not taken: the searcher then stays without a grid.
void setGrid(DirectSearcher& s, const field::SearchGrid& grid);
// Drops the grid and the candidates.
void resetSearch(DirectSearcher& s);
// Option 2 sets eight-direction mode to the truth of the value and is taken (true); every
// other option is ignored (false).
bool setOption(DirectSearcher& s, std::int32_t option, std::int32_t value);
// Ranks and filters the steps from (x, y) towards (tx, ty). True when candidates were
// prepared; false without a grid or when already there (candidates untouched), or when the
// start lies outside the grid (candidates emptied).
bool startSearch(DirectSearcher& s, std::int32_t x, std::int32_t y, std::int32_t tx,
                 std::int32_t ty);
// Facing (0 up, 1 right, 2 down, 3 left) of the candidate under the cursor, cursor unmoved;
// diagonals give the facing of their vertical half turned: up-right up, down-right right,
// down-left down, up-left left. 0 past the end (where it also pumps window messages).
std::int32_t nextDirection(DirectSearcher& s, plat::IWindowSystem& windows);
// Step of the candidate under the cursor, advancing the cursor; past the end (0, 0), the
// cursor stays and window messages are pumped.
field::Step nextStep(DirectSearcher& s, plat::IWindowSystem& windows);

} // namespace field
