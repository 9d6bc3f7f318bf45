// The route searcher: plays back a recorded route of up to 200 search direction codes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "field/SearchGrid.h"

namespace field {

constexpr int kRouteEntries = 201; // entries 0..200; a 0 code ends a route
constexpr int kMaxRouteLength = 200;

struct RouteSearcher {
    std::int16_t gridReady = 0;
    field::SearchGrid grid;
    // Work areas of (width + 1) x (height + 1) cells, cleared on every grid and reset.
    std::vector<std::int16_t> visited;
    std::vector<std::int16_t> distance;
    std::array<std::uint8_t, kRouteEntries> routeA{};
    std::array<std::uint8_t, kRouteEntries> routeB{};
    std::int16_t routeAActive = 0;
    std::int16_t position = 0; // next entry to play back, 0..200
    std::int16_t lengthLimit = 0;
    std::int16_t diagonal = 0;
    std::uint8_t directionCount = 0;
};

// Takes a copy of the grid and clears the work areas. A malformed grid is not taken (the
// searcher stays without one).
void setGrid(RouteSearcher& s, const field::SearchGrid& grid);
// Clears work areas and routes, rewinds, then drops the grid.
void resetSearch(RouteSearcher& s);
// Options 1..5 are taken (true), any other refused (false, and changes nothing). Option 1 clamps the value to
// 0..200 and writes the clamped value back into `value`. Options 3..5 are accepted and kept
// nowhere: nothing in the program reads them.
bool setOption(RouteSearcher& s, std::int32_t option, std::int32_t& value);
// Records a route (search codes) into route A or B and makes it the one played back from its
// start. Codes past 200 are dropped; the route is always ended by a 0.
void recordRoute(RouteSearcher& s, bool intoA, std::span<const std::uint8_t> codes);
// Next step of the active route. Playback stops on the route's ending 0 (it keeps answering
// (0, 0) there), so it never reads past the recorded route or the 201 entries.
field::Step nextStep(RouteSearcher& s);

} // namespace field
