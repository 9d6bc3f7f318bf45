// The battle's pictures, drawn with a few shape primitives so every build gives the same pixels.
#include "assets/battle/BattlePictures.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace assets {

namespace {

using plat::Color;
using plat::rgb;
using plat::Surface;

// Shapes onto a surface, clipped at its edges.
struct Canvas {
    Surface& s;

    void px(int x, int y, Color c) { s.setPixel(x, y, c); }
    void rect(int x, int y, int w, int h, Color c) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                px(i, j, c);
    }
    void frame(int x, int y, int w, int h, int t, Color c) {
        rect(x, y, w, t, c);
        rect(x, y + h - t, w, t, c);
        rect(x, y, t, h, c);
        rect(x + w - t, y, t, h, c);
    }
    // Filled ellipse centred on (cx, cy).
    void ellipse(double cx, double cy, double rx, double ry, Color c) {
        for (int j = static_cast<int>(cy - ry) - 1; j <= static_cast<int>(cy + ry) + 1; ++j) {
            for (int i = static_cast<int>(cx - rx) - 1; i <= static_cast<int>(cx + rx) + 1; ++i) {
                const double dx = (i + 0.5 - cx) / rx;
                const double dy = (j + 0.5 - cy) / ry;
                if (dx * dx + dy * dy <= 1.0) px(i, j, c);
            }
        }
    }
    // Thick line of round pen.
    void line(double x0, double y0, double x1, double y1, double width, Color c) {
        const double len = std::max(1.0, std::hypot(x1 - x0, y1 - y0));
        const int steps = static_cast<int>(len * 2);
        for (int k = 0; k <= steps; ++k) {
            const double t = static_cast<double>(k) / steps;
            ellipse(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, width / 2, c);
        }
    }
    // Filled triangle.
    void triangle(double ax, double ay, double bx, double by, double cx, double cy, Color c) {
        const int minX = static_cast<int>(std::floor(std::min({ax, bx, cx})));
        const int maxX = static_cast<int>(std::ceil(std::max({ax, bx, cx})));
        const int minY = static_cast<int>(std::floor(std::min({ay, by, cy})));
        const int maxY = static_cast<int>(std::ceil(std::max({ay, by, cy})));
        auto edge = [](double x0, double y0, double x1, double y1, double x, double y) {
            return (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0);
        };
        for (int j = minY; j <= maxY; ++j) {
            for (int i = minX; i <= maxX; ++i) {
                const double x = i + 0.5, y = j + 0.5;
                const double e0 = edge(ax, ay, bx, by, x, y);
                const double e1 = edge(bx, by, cx, cy, x, y);
                const double e2 = edge(cx, cy, ax, ay, x, y);
                if ((e0 >= 0 && e1 >= 0 && e2 >= 0) || (e0 <= 0 && e1 <= 0 && e2 <= 0)) {
                    px(i, j, c);
                }
            }
        }
    }
    // Knocks the corners off a w x h rectangle at (x, y) back to the key colour.
    void roundCorners(int x, int y, int w, int h, int r) {
        for (int j = 0; j < r; ++j) {
            for (int i = 0; i < r; ++i) {
                const double dx = r - i - 0.5, dy = r - j - 0.5;
                if (dx * dx + dy * dy <= static_cast<double>(r * r)) continue;
                px(x + i, y + j, kBattleKey);
                px(x + w - 1 - i, y + j, kBattleKey);
                px(x + i, y + h - 1 - j, kBattleKey);
                px(x + w - 1 - i, y + h - 1 - j, kBattleKey);
            }
        }
    }
};

Surface keyed(int w, int h) {
    Surface s = Surface::colour(w, h);
    s.setBackColor(kBattleKey);
    s.fill(kBattleKey);
    return s;
}

// A small skull, used on the monster's cards and inside its portrait's scale.
void skull(Canvas& c, double cx, double cy, double size, Color bone, Color hole) {
    c.ellipse(cx, cy, size, size * 0.9, bone);
    c.rect(static_cast<int>(cx - size * 0.55), static_cast<int>(cy + size * 0.5),
           static_cast<int>(size * 1.1) + 1, static_cast<int>(size * 0.55) + 1, bone);
    c.ellipse(cx - size * 0.4, cy + size * 0.05, size * 0.27, size * 0.3, hole);
    c.ellipse(cx + size * 0.4, cy + size * 0.05, size * 0.27, size * 0.3, hole);
    c.triangle(cx, cy + size * 0.35, cx - size * 0.12, cy + size * 0.58, cx + size * 0.12,
               cy + size * 0.58, hole);
    for (int t = -1; t <= 1; ++t) {
        c.rect(static_cast<int>(cx + t * size * 0.3), static_cast<int>(cy + size * 0.72), 1,
               static_cast<int>(size * 0.33) + 1, hole);
    }
}

// The card both sides share: a coloured frame, a light field where the number and the action
// are written, and a panel of the side's colour below.
Surface cardBase(Color frameColor, Color panelColor, Color panelLight) {
    Surface s = keyed(kBattleCardWidth, kBattleCardHeight);
    Canvas c{s};
    const int w = kBattleCardWidth, h = kBattleCardHeight;
    c.rect(0, 0, w, h, frameColor);
    c.rect(3, 3, w - 6, h - 6, rgb(252, 248, 232));
    c.frame(3, 3, w - 6, h - 6, 1, rgb(200, 190, 160));
    c.rect(6, 62, w - 12, h - 68, panelColor);
    for (int j = 62; j < h - 6; ++j) {
        for (int i = 6; i < w - 6; ++i) {
            if (((i + j) % 8) == 0 || ((i - j + 400) % 8) == 0) c.px(i, j, panelLight);
        }
    }
    c.roundCorners(0, 0, w, h, 6);
    return s;
}

} // namespace

Surface makeMyCardBack() {
    Surface s = cardBase(rgb(28, 56, 150), rgb(48, 88, 190), rgb(80, 124, 224));
    Canvas c{s};
    // A sword, point up, for the player's side.
    const Color steel = rgb(230, 236, 246), gold = rgb(236, 196, 60), dark = rgb(20, 36, 96);
    c.rect(33, 68, 6, 28, dark);
    c.rect(34, 68, 4, 27, steel);
    c.triangle(33, 68, 39, 68, 36, 63, steel);
    c.rect(26, 95, 20, 4, gold);
    c.rect(34, 99, 4, 8, rgb(120, 70, 30));
    c.ellipse(36, 109, 3, 3, gold);
    return s;
}

Surface makeEnemyCardBack() {
    Surface s = cardBase(rgb(96, 24, 110), rgb(120, 40, 130), rgb(150, 70, 160));
    Canvas c{s};
    skull(c, 36, 84, 13, rgb(240, 236, 220), rgb(40, 10, 40));
    return s;
}

Surface makeMyFace() {
    Surface s = Surface::colour(105, 88);
    Canvas c{s};
    for (int j = 0; j < 88; ++j)
        c.rect(0, j, 105, 1, rgb(150 + j / 2, 200 + j / 4, 250));
    const Color skin = rgb(250, 214, 180), hair = rgb(120, 64, 24), line = rgb(60, 30, 10);
    const Color tunic = rgb(40, 80, 180);
    // Shoulders and tunic.
    c.ellipse(52, 92, 44, 22, tunic);
    c.triangle(44, 72, 60, 72, 52, 84, rgb(250, 250, 250));
    c.rect(46, 62, 12, 12, skin);
    // Head.
    c.ellipse(52, 42, 26, 29, line);
    c.ellipse(52, 42, 25, 28, skin);
    // Spiky hair over the top of the head.
    c.ellipse(52, 24, 28, 17, hair);
    for (int k = 0; k < 6; ++k) {
        const double x = 28 + k * 9.5;
        c.triangle(x - 6, 22, x + 6, 22, x + (k % 2 ? 4 : -4), 2 + (k % 3) * 2, hair);
    }
    c.triangle(24, 22, 34, 22, 26, 44, hair);
    c.triangle(70, 22, 80, 22, 78, 44, hair);
    // Eyes, brows, mouth.
    c.rect(38, 32, 9, 2, line);
    c.rect(58, 32, 9, 2, line);
    c.ellipse(42, 40, 3.5, 4.5, rgb(30, 30, 60));
    c.ellipse(62, 40, 3.5, 4.5, rgb(30, 30, 60));
    c.px(41, 38, rgb(255, 255, 255));
    c.px(61, 38, rgb(255, 255, 255));
    c.rect(51, 44, 2, 6, rgb(220, 170, 140));
    c.rect(46, 56, 12, 2, rgb(170, 60, 60));
    c.frame(0, 0, 105, 88, 2, rgb(28, 56, 150));
    return s;
}

Surface makeEnemyFace() {
    Surface s = Surface::colour(108, 86);
    Canvas c{s};
    for (int j = 0; j < 86; ++j)
        c.rect(0, j, 108, 1, rgb(40 + j / 3, 10, 50 + j / 3));
    const Color bone = rgb(238, 232, 210), hole = rgb(24, 8, 24), glow = rgb(255, 60, 40);
    c.ellipse(54, 38, 34, 31, bone);
    c.rect(32, 56, 44, 22, bone);
    c.ellipse(41, 40, 10, 11, hole);
    c.ellipse(67, 40, 10, 11, hole);
    c.ellipse(41, 42, 3, 3, glow);
    c.ellipse(67, 42, 3, 3, glow);
    c.triangle(54, 50, 49, 60, 59, 60, hole);
    c.rect(32, 66, 44, 2, hole);
    for (int x = 36; x < 76; x += 6)
        c.rect(x, 62, 1, 14, hole);
    c.line(30, 14, 40, 24, 2, rgb(180, 170, 150)); // a crack in the crown
    c.frame(0, 0, 108, 86, 2, rgb(96, 24, 110));
    return s;
}

Surface makeSkullMonster() {
    Surface s = keyed(180, 210);
    Canvas c{s};
    const Color bone = rgb(236, 230, 206), shade = rgb(190, 182, 156), hole = rgb(30, 10, 30);
    const Color glow = rgb(255, 50, 30), outline = rgb(70, 60, 50);
    // Arms first, so the body overlaps them: bony arms reaching forward with claws.
    for (int side = -1; side <= 1; side += 2) {
        const double sx = 100 + side * 36, sy = 118;
        const double ex = 100 + side * 54, ey = 152;
        const double hx = 100 + side * 50, hy = 194;
        c.line(sx, sy, ex, ey, 11, outline);
        c.line(sx, sy, ex, ey, 8, bone);
        c.line(ex, ey, hx, hy, 9, outline);
        c.line(ex, ey, hx, hy, 6, bone);
        c.ellipse(ex, ey, 6, 6, shade);
        for (int f = -1; f <= 1; ++f) {
            c.line(hx, hy, hx + f * 8 - side * 2, hy + 12, 3, bone);
        }
    }
    // Spine and ribs.
    c.line(100, 100, 100, 200, 10, outline);
    c.line(100, 100, 100, 200, 7, shade);
    for (int r = 0; r < 5; ++r) {
        const double y = 118 + r * 15;
        const double span = 34 - r * 4;
        for (int side = -1; side <= 1; side += 2) {
            c.line(100, y, 100 + side * span, y + 6, 6, outline);
            c.line(100, y, 100 + side * span, y + 6, 4, bone);
        }
    }
    // The skull.
    c.ellipse(100, 56, 56, 50, outline);
    c.ellipse(100, 56, 54, 48, bone);
    c.ellipse(100, 38, 40, 24, rgb(248, 244, 226));
    c.rect(66, 86, 68, 26, outline);
    c.rect(68, 86, 64, 24, bone);
    c.ellipse(78, 62, 16, 17, hole);
    c.ellipse(122, 62, 16, 17, hole);
    c.ellipse(79, 65, 5, 5, glow);
    c.ellipse(121, 65, 5, 5, glow);
    c.ellipse(79, 65, 2, 2, rgb(255, 220, 120));
    c.ellipse(121, 65, 2, 2, rgb(255, 220, 120));
    c.triangle(100, 76, 92, 92, 108, 92, hole);
    c.rect(68, 98, 64, 2, hole);
    for (int x = 72; x < 132; x += 7)
        c.rect(x, 92, 2, 18, hole);
    c.line(60, 30, 76, 44, 2, shade);
    c.line(76, 44, 72, 54, 2, shade);
    return s;
}

Surface makeStoredMask() {
    Surface s = keyed(kBattleCardWidth, kBattleCardHeight);
    Canvas c{s};
    const Color teal = rgb(0, 150, 140);
    c.frame(0, 0, kBattleCardWidth, kBattleCardHeight, 4, teal);
    // Cross-hatching over the panel: the card is set aside, not played.
    for (int j = 62; j < kBattleCardHeight - 4; ++j) {
        for (int i = 4; i < kBattleCardWidth - 4; ++i) {
            if ((i + j) % 4 == 0) c.px(i, j, teal);
        }
    }
    // A banner across the bottom with three bars, like a stack of stored power.
    c.rect(14, 100, 44, 14, rgb(0, 110, 100));
    for (int k = 0; k < 3; ++k)
        c.rect(19 + k * 13, 103, 8, 8, rgb(160, 250, 230));
    c.roundCorners(0, 0, kBattleCardWidth, kBattleCardHeight, 6);
    return s;
}

Surface makeChosenMask() {
    Surface s = keyed(kBattleCardWidth, kBattleCardHeight);
    Canvas c{s};
    const Color red = rgb(225, 30, 30);
    c.frame(0, 0, kBattleCardWidth, kBattleCardHeight, 5, red);
    c.frame(6, 6, kBattleCardWidth - 12, kBattleCardHeight - 12, 1, rgb(255, 140, 120));
    c.triangle(0, 0, 18, 0, 0, 18, red);
    c.triangle(71, 0, 53, 0, 71, 18, red);
    c.triangle(0, 119, 18, 119, 0, 101, red);
    c.triangle(71, 119, 53, 119, 71, 101, red);
    c.roundCorners(0, 0, kBattleCardWidth, kBattleCardHeight, 6);
    return s;
}

Surface makePointerCursor() {
    Surface s = keyed(24, 20);
    Canvas c{s};
    c.triangle(1, 1, 23, 1, 12, 19, rgb(20, 20, 20));
    c.triangle(4, 3, 20, 3, 12, 16, rgb(255, 200, 0));
    s.setPixel(0, 0, kBattleKey); // the battle's transparency key is read from here
    return s;
}

Surface makeCardCursor() {
    Surface s = keyed(kBattleCardWidth, kBattleCardHeight);
    Canvas c{s};
    c.frame(0, 0, kBattleCardWidth, kBattleCardHeight, 3, rgb(255, 200, 0));
    c.frame(3, 3, kBattleCardWidth - 6, kBattleCardHeight - 6, 1, rgb(20, 20, 20));
    c.roundCorners(0, 0, kBattleCardWidth, kBattleCardHeight, 6);
    return s;
}

Surface makeRedBar() {
    Surface s = Surface::colour(60, 15);
    Canvas c{s};
    c.rect(0, 0, 60, 15, rgb(150, 20, 20));
    c.frame(0, 0, 60, 15, 1, rgb(80, 0, 0));
    return s;
}

Surface makeBlueBar() {
    Surface s = Surface::colour(60, 15);
    Canvas c{s};
    c.rect(0, 0, 60, 15, rgb(40, 90, 230));
    c.rect(0, 2, 60, 3, rgb(120, 170, 255));
    c.rect(0, 14, 60, 1, rgb(10, 40, 140));
    return s;
}

} // namespace assets
