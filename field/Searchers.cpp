#include "field/Searchers.h"

namespace field {

void configure(Searchers& s, std::int16_t routeOn, std::int16_t directOn,
               std::int16_t preferDirect) {
    s.routeOn = routeOn;
    s.directOn = directOn;
    s.preferDirect = preferDirect;
}

std::int16_t setOption(Searchers& s, std::int32_t option, std::int32_t& value) {
    std::int16_t result = -1;
    if (s.routeOn != 0) result = field::setOption(s.route, option, value);
    if (s.directOn != 0)
        result = static_cast<std::int16_t>(result & field::setOption(s.direct, option, value));
    return result;
}

std::int16_t setGrid(Searchers& s, const field::SearchGrid& grid) {
    std::int32_t result = -1;
    if (s.routeOn != 0) result = field::setGrid(s.route, grid);
    if (s.directOn != 0) result = result & field::setGrid(s.direct, grid);
    return static_cast<std::int16_t>(result);
}

std::int16_t resetSearch(Searchers& s) {
    std::int16_t result = -1;
    if (s.routeOn != 0) result = field::resetSearch(s.route);
    if (s.directOn != 0) result = static_cast<std::int16_t>(result & field::resetSearch(s.direct));
    return result;
}

field::Step nextStep(Searchers& s, plat::IWindowSystem& windows) {
    const bool route = s.routeOn != 0;
    const bool direct = s.directOn != 0;
    if (direct && (!route || s.preferDirect != 0)) return field::nextStep(s.direct, windows);
    if (route) return field::nextStep(s.route);
    return {0, 0};
}

void configureAtStartUp(Searchers& s) {
    configure(s, -1, -1, -1);
    resetSearch(s);
    // The answers are not needed: with both searchers on only option 2 is accepted by both.
    std::int32_t limit = 5;
    setOption(s, 1, limit);
    std::int32_t on = -1;
    setOption(s, 2, on);
    on = -1;
    setOption(s, 3, on);
    on = -1;
    setOption(s, 4, on);
    std::int32_t off = 0;
    setOption(s, 5, off);
}

field::SearchGrid obstacleGrid(const field::World& world) {
    field::SearchGrid grid = field::SearchGrid::make(world.maxX + 1, world.maxY + 1);
    bool blocked = true;
    if (world.inMap(0, field::kPlaneChar, 0, 0)) {
        const field::MapCell& c = world.cell(0, field::kPlaneChar, 0, 0);
        blocked = c.kind == 0 || c.kind == 2 || c.kind == 3 || c.eventId != 0;
    }
    grid.set(0, 0, blocked ? -1 : 0);
    return grid;
}

} // namespace field
