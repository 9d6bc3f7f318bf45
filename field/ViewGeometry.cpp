#include "field/ViewGeometry.h"

namespace field {

namespace {

// Floor division and a modulo with the divisor's sign (b > 0). Truncating division would
// name the wrong diamond for the view's top-left 32 x 16 pixels and for every pixel left of
// or above the view; flooring makes the tile grid the same on both sides of zero.
std::int32_t floorDiv(std::int32_t a, std::int32_t b) {
    const std::int32_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

std::int32_t floorMod(std::int32_t a, std::int32_t b) {
    const std::int32_t r = a % b;
    return r < 0 ? r + b : r;
}

} // namespace

Point makePoint(std::int32_t x, std::int32_t y) {
    return {x, y};
}

Point viewAnchor() {
    return {2, 2};
}

Point pixelToViewCell(Point pixel) {
    const Point anchor = viewAnchor();
    // Position inside the tile's bounding box.
    const std::int32_t rx = floorMod(pixel.x, kTileWidth);
    const std::int32_t ry = floorMod(pixel.y, kTileHeight);
    // Half-tile grid: g counts half-tiles along the diamond rows, b across them.
    const std::int32_t a = floorDiv(pixel.x, kTileWidth / 2);
    const std::int32_t q = floorDiv(pixel.y, kTileHeight / 2);
    const std::int32_t g = a + q;
    const std::int32_t b = q - a;
    const std::int32_t h = floorDiv(g - 1, 2);
    Point cell;
    if (floorMod(g, 2) == 0) {
        cell.x = h - anchor.x;
        // Which side of the tile's rising diagonal edge the pixel lies on.
        cell.y = floorDiv(b + 2, 2) + anchor.y - (rx < ry * kTileSlope ? 0 : 1);
    } else {
        // Which side of the falling diagonal edge.
        cell.x = h - anchor.x - (rx < (kTileHeight - ry) * kTileSlope ? 1 : 0);
        cell.y = floorDiv(b + 1, 2) + anchor.y;
    }
    return cell;
}

Point pixelToMapCell(const field::World& world, Point pixel) {
    const Point anchor = viewAnchor();
    const Point offset = pixelToViewCell(pixel);
    return {world.player.x - anchor.x + offset.x, world.player.y - anchor.y + offset.y};
}

} // namespace field
