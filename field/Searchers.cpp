#include "field/Searchers.h"

namespace field {

void configure(Searchers& s, std::int16_t routeOn, std::int16_t directOn,
               std::int16_t preferDirect) {
    s.routeOn = routeOn;
    s.directOn = directOn;
    s.preferDirect = preferDirect;
}

bool setOption(Searchers& s, std::int32_t option, std::int32_t& value) {
    bool taken = true;
    if (s.routeOn != 0) taken = field::setOption(s.route, option, value);
    // The direct searcher sees the option even when the route searcher refused it.
    if (s.directOn != 0) taken = field::setOption(s.direct, option, value) && taken;
    return taken;
}

void setGrid(Searchers& s, const field::SearchGrid& grid) {
    if (s.routeOn != 0) field::setGrid(s.route, grid);
    if (s.directOn != 0) field::setGrid(s.direct, grid);
}

void resetSearch(Searchers& s) {
    if (s.routeOn != 0) field::resetSearch(s.route);
    if (s.directOn != 0) field::resetSearch(s.direct);
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
