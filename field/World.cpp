#include "field/World.h"

namespace field {

void World::resizeMap(int newMaxX, int newMaxY, int newTopLayer) {
    maxX = newMaxX;
    maxY = newMaxY;
    topLayer = static_cast<std::int16_t>(newTopLayer);
    layers.assign(static_cast<std::size_t>(newTopLayer) + 1, MapLayer{});
    const std::size_t cells = static_cast<std::size_t>(newMaxX + 1) * (newMaxY + 1);
    for (MapLayer& layer : layers) {
        layer.rows = newMaxY + 1;
        for (auto& plane : layer.planes)
            plane.assign(cells, MapCell{});
    }
}

void initPlayer(World& world) {
    CharState& p = world.player;
    p.visible = -1;
    p.chipSheet = 0;
    p.layer = 0;
    p.plane = 2;
    p.x = 1;
    p.y = 2;
    p.stepX = p.stepY = 0;
    p.sheetX = p.sheetY = 0;
    p.facing = 3;
    p.stepDir = 3;
    p.animColumn = 1;
    p.chipWidth = 64;
    p.chipHeight = 64;
}

} // namespace field
