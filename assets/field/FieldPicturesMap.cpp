// The map chip sheet: isometric blocks whose top faces tile into one floor.
#include <cmath>

#include "assets/field/FieldPictures.h"
#include "assets/field/PixelArt.h"

namespace assets {

namespace {

using art::noise;
using art::Sprite;
using art::tint;

constexpr int kChipW = 64;
constexpr int kCellH = 40;
constexpr int kSide = 7; // block side below the 32-pixel top face

// Pixel centres inside the 64 x 32 diamond. The test is strict with no ties, so neighbouring
// cells (offset 32, 16) share no pixel and leave no gap.
bool inTop(int x, int y) {
    return std::abs(2 * x - 63) + 2 * std::abs(2 * y - 31) <= 64;
}

bool inBlock(int x, int y) {
    for (int s = 0; s <= kSide; ++s) {
        if (inTop(x, y - s)) return true;
    }
    return false;
}

// Iso coordinates of a top-face pixel: a runs down-right along the column axis, b down-left along
// the row axis; both 0..32 across one face.
double isoA(int x, int y) {
    return (y + 0.5) + (x + 0.5 - 32) / 2;
}
double isoB(int x, int y) {
    return (y + 0.5) - (x + 0.5 - 32) / 2;
}

struct BlockColours {
    plat::Color top, left, right, lip;
};

// Shared block body: the side faces with a lip of the top colour, darker at the bottom edge.
void sides(Sprite& s, const BlockColours& c, int seed) {
    for (int y = 0; y < kCellH - 1; ++y) {
        for (int x = 0; x < kChipW; ++x) {
            if (!inBlock(x, y) || inTop(x, y)) continue;
            int depth = 0; // rows below the top face's edge
            while (depth < kSide && !inTop(x, y - depth - 1))
                ++depth;
            const bool leftFace = x < 32;
            plat::Color col = leftFace ? c.left : c.right;
            if (depth == 0)
                col = c.lip;
            else if (depth == kSide - 1)
                col = tint(col, 0.75);
            else if (noise(x, y, seed) < 40)
                col = tint(col, 0.88);
            s.set(x, y, col);
        }
    }
}

Sprite grassBlock() {
    Sprite s(kChipW, kCellH);
    const plat::Color grass = plat::rgb(92, 176, 64);
    sides(s, {grass, plat::rgb(156, 108, 60), plat::rgb(118, 80, 46), plat::rgb(70, 146, 52)}, 11);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < kChipW; ++x) {
            if (!inTop(x, y)) continue;
            const int n = noise(x, y, 7);
            plat::Color c = grass;
            if (n < 22)
                c = plat::rgb(70, 150, 52);
            else if (n > 236)
                c = plat::rgb(134, 206, 92);
            // Short blades: a light pixel with a dark one under it.
            if (noise(x, y - 1, 7) > 246) c = plat::rgb(64, 136, 48);
            s.set(x, y, c);
        }
    }
    return s;
}

Sprite brickBlock() {
    Sprite s(kChipW, kCellH);
    const plat::Color brick = plat::rgb(190, 64, 52);
    const plat::Color grout = plat::rgb(120, 36, 34);
    sides(s, {brick, plat::rgb(160, 52, 44), plat::rgb(118, 36, 34), plat::rgb(214, 92, 76)}, 13);
    // Brick courses on the side faces.
    for (int y = 0; y < kCellH - 1; ++y) {
        for (int x = 0; x < kChipW; ++x) {
            if (!inBlock(x, y) || inTop(x, y) || inTop(x, y - 1)) continue;
            if (!inTop(x, y - 4) && inTop(x, y - 5)) s.set(x, y, tint(s.at(x, y), 0.7));
        }
    }
    // Flagstones on top: grout along the two far edges of each quarter, so neighbours continue the
    // pattern across cell borders.
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < kChipW; ++x) {
            if (!inTop(x, y)) continue;
            const int a = static_cast<int>(std::floor(isoA(x, y)));
            const int b = static_cast<int>(std::floor(isoB(x, y)));
            plat::Color c = brick;
            if (a % 16 == 0 || b % 16 == 0) {
                c = grout;
            } else {
                const int stone = (a / 16) * 2 + (b / 16);
                c = tint(brick, 0.92 + 0.05 * stone);
                if (a % 16 == 1 || b % 16 == 1) c = tint(c, 1.15); // lit stone edge
                if (noise(x, y, 5) < 18) c = tint(c, 0.9);
            }
            s.set(x, y, c);
        }
    }
    return s;
}

Sprite ladderChip() {
    Sprite s(kChipW, kCellH);
    const plat::Color wood = plat::rgb(176, 120, 64);
    const plat::Color dark = plat::rgb(112, 70, 36);
    for (int y = 3; y < 38; y += 5)
        s.rect(24, y, 16, 2, wood);
    s.rect(21, 1, 3, 37, wood);
    s.rect(40, 1, 3, 37, wood);
    s.rect(23, 1, 1, 37, dark);
    s.rect(42, 1, 1, 37, dark);
    s.outline(plat::rgb(60, 36, 20));
    return s;
}

} // namespace

plat::Surface makeMapChipSheet() {
    plat::Surface sheet = plat::Surface::colour(3 * kChipW, 2 * kCellH);
    sheet.fill(kKeyGreen);
    grassBlock().stamp(sheet, 64, 0, kKeyGreen);
    brickBlock().stamp(sheet, 128, 0, kKeyGreen);
    ladderChip().stamp(sheet, 64, 40, kKeyGreen);
    // The 40th row of every cell is never drawn; keep it key so chips stay apart.
    for (int x = 0; x < sheet.width(); ++x) {
        sheet.setPixel(x, kCellH - 1, kKeyGreen);
        sheet.setPixel(x, 2 * kCellH - 1, kKeyGreen);
    }
    return sheet;
}

} // namespace assets
