// Turns a pixel of the game view into the map cell drawn under it. The view is scrolled so
// that the player is always drawn at the same place, so the answer is relative to the
// player's cell.
#pragma once

#include <cstdint>

#include "field/World.h"

namespace field {

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

constexpr std::int32_t kTileWidth = 64;
constexpr std::int32_t kTileHeight = 32;
constexpr std::int32_t kTileSlope = kTileWidth / kTileHeight;

Point makePoint(std::int32_t x, std::int32_t y);
// Cell offset between the view's reference cell and the player's cell.
Point viewAnchor();
// Cell offset (from the view's reference cell) of the diamond under a view pixel. Any pixel
// is accepted, also left of or above the view (a held button dragged outside).
Point pixelToViewCell(Point pixel);
// The map cell under a view pixel; not clipped to the map.
Point pixelToMapCell(const field::World& world, Point pixel);

} // namespace field
