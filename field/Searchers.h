// Glue between the two movement searchers and their callers: remembers which searchers are on
// and which one is preferred, forwards configuration to every searcher that is on, and answers
// the request for the next step from the preferred one.
//
// Who calls what:
//   start-up            configureAtStartUp(searchers)
//   start-up            setGrid(searchers, obstacleGrid(world)), once, after the World is in
//   mouse walk          field::startSearch / nextDirection on searchers.direct,
//                       nextStep(searchers, windows) here
#pragma once

#include <cstdint>

#include "field/DirectSearch.h"
#include "field/RouteSearch.h"
#include "field/SearchGrid.h"
#include "field/World.h"
#include "platform/Seams.h"

namespace field {

// The glue's flags and both searchers' state; lives with the main window.
struct Searchers {
    std::int16_t routeOn = 0;
    std::int16_t directOn = 0;
    std::int16_t preferDirect = 0;
    field::RouteSearcher route;
    field::DirectSearcher direct;
};

void configure(Searchers& s, std::int16_t routeOn, std::int16_t directOn,
               std::int16_t preferDirect);
// True unless a searcher that is on refuses the option. The route searcher may clamp `value`
// in place; the direct searcher then sees the clamped value.
bool setOption(Searchers& s, std::int32_t option, std::int32_t& value);
// Hands the grid to every searcher that is on (a malformed grid leaves them without one).
void setGrid(Searchers& s, const field::SearchGrid& grid);
// Drops the grid and the search state of every searcher that is on.
void resetSearch(Searchers& s);
// The preferred searcher's next step when both are on, the one's that is on, else (0, 0).
field::Step nextStep(Searchers& s, plat::IWindowSystem& windows);

// Start-up configuration: both searchers on, direct preferred; reset; option 1 = 5,
// option 2 = true, options 3 and 4 = true, option 5 = false.
void configureAtStartUp(Searchers& s);

// The demo's obstacle grid: (maxX + 1) x (maxY + 1), all free except cell (0, 0), which is
// blocked when the character plane of layer 0 there has kind 0, 2 or 3 or names an object.
field::SearchGrid obstacleGrid(const field::World& world);

} // namespace field
