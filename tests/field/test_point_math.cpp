// Pixel-to-cell conversion held against the diamonds the frame composition draws.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "field/ViewGeometry.h"

using field::makePoint;
using field::pixelToMapCell;
using field::pixelToViewCell;
using field::Point;

namespace {

field::World playerAt(int x, int y) {
    field::World w;
    field::initPlayer(w);
    w.player.x = x;
    w.player.y = y;
    return w;
}

// The cell whose diamond strictly contains view pixel (px, py), from the composition's
// geometry: the diamond of the cell (player.x + dx, player.y + dy) has its left edge at
// surface x (dx - dy) * 32 + 224 and its top corner at surface y (dx + dy + 4) * 16 + 32,
// and the view shows the surface from (64, 32). Pixels on an edge have no answer.
std::optional<Point> drawnCell(const field::World& w, int px, int py) {
    const int sx = px + 64;
    const int sy = py + 32;
    // Rough cell from the inverse of the geometry, then the exact test on its neighbours.
    const int u = (sx - 224 - 32) / 32; // dx - dy
    const int v = (sy - 32) / 16 - 5;   // dx + dy
    for (int du = -2; du <= 2; ++du) {
        for (int dv = -2; dv <= 2; ++dv) {
            const int a = u + du, b = v + dv;
            if ((a + b) % 2 != 0) continue;
            const int dx = (a + b) / 2, dy = (b - a) / 2;
            const int cx = (dx - dy) * 32 + 224 + 32; // centre of the diamond
            const int cy = (dx + dy + 4) * 16 + 32 + 16;
            if (std::abs(sx - cx) + 2 * std::abs(sy - cy) < 32)
                return Point{w.player.x + dx, w.player.y + dy};
        }
    }
    return std::nullopt;
}

} // namespace

TEST(PointMath, WorkedPixelsOfThePlayersDiamond) {
    const field::World w = playerAt(1, 2);
    EXPECT_EQ(field::viewAnchor(), (Point{2, 2}));
    EXPECT_EQ(pixelToViewCell(makePoint(192, 80)), (Point{2, 2}));
    EXPECT_EQ(pixelToMapCell(w, makePoint(192, 80)), (Point{1, 2}));
    EXPECT_EQ(pixelToMapCell(w, makePoint(224, 96)), (Point{2, 2})) << "one column right";
    EXPECT_EQ(pixelToMapCell(w, makePoint(160, 96)), (Point{1, 3})) << "one row down";
}

TEST(PointMath, TopLeftCornerOfTheViewUsesFloorDivision) {
    // Pixel (20, 3) lies inside the diamond five columns left of the player; truncating
    // division named the cell one column to the right of it.
    const field::World w = playerAt(6, 2);
    EXPECT_EQ(pixelToMapCell(w, makePoint(20, 3)), (Point{1, 2}));
    ASSERT_EQ(drawnCell(w, 20, 3), (Point{1, 2}));
    // (0, 0) is the corner where four diamonds meet; the answer is one of them.
    const Point corner = pixelToMapCell(w, makePoint(0, 0));
    EXPECT_TRUE(corner.x == 1 || corner.x == 0) << corner.x;
    EXPECT_TRUE(corner.y == 2 || corner.y == 3) << corner.y;
}

TEST(PointMath, PlayerShiftMovesEveryCellAlike) {
    for (int px = -70; px < 450; px += 13) {
        for (int py = -70; py < 260; py += 7) {
            const Point a = pixelToMapCell(playerAt(1, 2), makePoint(px, py));
            const Point b = pixelToMapCell(playerAt(2, 2), makePoint(px, py));
            const Point c = pixelToMapCell(playerAt(1, 5), makePoint(px, py));
            EXPECT_EQ(b, (Point{a.x + 1, a.y}));
            EXPECT_EQ(c, (Point{a.x, a.y + 3}));
        }
    }
}

TEST(PointMath, AgreesWithTheDrawnDiamondsInAndAroundTheView) {
    for (const auto& [x, y] :
         {std::pair{1, 2}, std::pair{0, 0}, std::pair{8, 5}, std::pair{4, 3}, std::pair{-3, 7}}) {
        const field::World w = playerAt(x, y);
        int inside = 0;
        for (int py = -200; py < 192 + 200; ++py) {
            for (int px = -200; px < 384 + 200; ++px) {
                const std::optional<Point> drawn = drawnCell(w, px, py);
                if (!drawn) continue;
                ++inside;
                const Point got = pixelToMapCell(w, makePoint(px, py));
                ASSERT_EQ(got, *drawn)
                    << "pixel (" << px << ", " << py << "), player (" << x << ", " << y << ")";
            }
        }
        EXPECT_GT(inside, 784 * 592 * 9 / 10) << "nearly every pixel lies inside a diamond";
    }
}

TEST(PointMath, ExtremePixelsDoNotOverflow) {
    const field::World w = playerAt(1, 2);
    for (int v : {INT32_MIN, INT32_MIN + 1, -1, INT32_MAX - 1, INT32_MAX}) {
        const Point p = pixelToViewCell(makePoint(v, v));
        const Point q = pixelToViewCell(makePoint(v, -v - 1));
        // Far right and down are large columns; far up-left small ones.
        EXPECT_EQ(p.x > 0, v > 0) << v;
        EXPECT_EQ(q.y<0, v> 0) << v;
        (void)pixelToMapCell(w, makePoint(v, 0));
    }
}
