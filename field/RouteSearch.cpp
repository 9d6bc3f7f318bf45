#include "field/RouteSearch.h"

#include <algorithm>

#include "field/DirectSearch.h"

namespace field {

namespace {

void clearWorkAreas(RouteSearcher& s) {
    const std::size_t cells =
        static_cast<std::size_t>(s.grid.width + 1) * static_cast<std::size_t>(s.grid.height + 1);
    s.visited.assign(cells, 0);
    s.distance.assign(cells, 0);
}

// The searchers' flags hold truth as -1, falsehood as 0.
std::int16_t truthValue(std::int32_t v) {
    return v != 0 ? -1 : 0;
}

} // namespace

void setGrid(RouteSearcher& s, const field::SearchGrid& grid) {
    if (!grid.wellFormed()) {
        s.gridReady = 0;
        s.grid = field::SearchGrid{};
        clearWorkAreas(s);
        return;
    }
    s.gridReady = -1;
    s.grid = grid;
    clearWorkAreas(s);
}

void resetSearch(RouteSearcher& s) {
    clearWorkAreas(s);
    s.routeA[0] = 0;
    s.routeB[0] = 0;
    s.position = 0;
    s.routeAActive = 0;
    s.gridReady = 0;
}

bool setOption(RouteSearcher& s, std::int32_t option, std::int32_t& value) {
    switch (option) {
    case 1:
        value = std::clamp<std::int32_t>(value, 0, kMaxRouteLength);
        s.lengthLimit = static_cast<std::int16_t>(value);
        return true;
    case 2:
        s.diagonal = truthValue(value);
        s.directionCount = s.diagonal != 0 ? 8 : 4;
        return true;
    case 3:
    case 4:
    case 5: return true;
    default: return false;
    }
}

void recordRoute(RouteSearcher& s, bool intoA, std::span<const std::uint8_t> codes) {
    auto& route = intoA ? s.routeA : s.routeB;
    const std::size_t n = std::min<std::size_t>(codes.size(), kMaxRouteLength);
    std::size_t i = 0;
    for (; i < n && codes[i] != 0; ++i)
        route[i] = codes[i];
    route[i] = 0;
    s.routeAActive = intoA ? -1 : 0;
    s.position = 0;
}

field::Step nextStep(RouteSearcher& s) {
    const auto& route = s.routeAActive != 0 ? s.routeA : s.routeB;
    const std::int16_t at = std::clamp<std::int16_t>(s.position, 0, kMaxRouteLength);
    const std::uint8_t code = route[static_cast<std::size_t>(at)];
    // Staying on the ending 0 keeps the playback from running into what an earlier, longer
    // route left behind it.
    if (code == 0) {
        s.position = at;
        return {0, 0};
    }
    if (at < kMaxRouteLength) s.position = static_cast<std::int16_t>(at + 1);
    return field::searchCodeStep(code);
}

} // namespace field
