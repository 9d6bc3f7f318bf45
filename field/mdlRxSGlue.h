// Glue between the two movement searchers and their callers: remembers which searchers are on
// and which one is preferred, forwards configuration to every searcher that is on, and answers
// the request for the next step from the preferred one.
//
// Who calls what:
//   start-up            psConfigureAtStartup(searchers)
//   event builder       pfSetGrid(searchers, pfObstacleGrid(world)), once, after the map exists
//   mouse walk          mdlRouteDirctSearch::pfStart / pfNextDirection on searchers.direct,
//                       pfNextStep(searchers, windows) here
#pragma once

#include <cstdint>

#include "field/SearchGrid.h"
#include "field/World.h"
#include "field/mdlRouteDirctSearch.h"
#include "field/mdlRouteSearch.h"
#include "platform/Seams.h"

namespace mdlRxSGlue {

// The glue's flags and both searchers' state; lives with the main window.
struct Searchers {
    std::int16_t routeOn = 0;
    std::int16_t directOn = 0;
    std::int16_t preferDirect = 0;
    mdlRouteSearch::State route;
    mdlRouteDirctSearch::State direct;
};

void psConfigure(Searchers& s, std::int16_t routeOn, std::int16_t directOn,
                 std::int16_t preferDirect);
// -1 unless a searcher that is on refuses the option (bitwise and of the -1/0 answers). The
// route searcher may clamp `value` in place; the direct searcher then sees the clamped value.
std::int16_t pfSetOption(Searchers& s, std::int32_t option, std::int32_t& value);
// Hands the grid to every searcher that is on. Both searchers answer 0, so the result is 0
// whenever one is on (-1 only when neither is).
std::int16_t pfSetGrid(Searchers& s, const field::SearchGrid& grid);
std::int16_t pfReset(Searchers& s);
// The preferred searcher's next step when both are on, the one's that is on, else (0, 0).
field::Step pfNextStep(Searchers& s, plat::IWindowSystem& windows);

// Start-up configuration: both searchers on, direct preferred; reset; option 1 = 5,
// option 2 = true, options 3 and 4 = true, option 5 = false.
void psConfigureAtStartup(Searchers& s);

// The demo's obstacle grid: (maxX + 1) x (maxY + 1), all free except cell (0, 0), which is
// blocked when the character plane of layer 0 there has kind 0, 2 or 3 or names an object.
field::SearchGrid pfObstacleGrid(const field::World& world);

} // namespace mdlRxSGlue
