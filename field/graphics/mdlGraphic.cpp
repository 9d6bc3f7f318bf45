#include "field/graphics/mdlGraphic.h"

#include "platform/MaskedCopy.h"

namespace mdlGraphic {

namespace {

constexpr plat::Color kMaskBlack = plat::rgb(0, 0, 0);
constexpr plat::Color kMaskWhite = plat::rgb(255, 255, 255);
// Clears the bit of value 2 in each channel of the pixels the 75 % mask lets through.
constexpr plat::Color kMaskNearWhite = plat::rgb(253, 253, 253);

plat::Color maskPixel(int level, int x, int y) {
    const int mx = x % 4;
    switch (level) {
    case 1: {
        const bool black = (y % 2 == 0) ? mx == 1 : mx == 3;
        return black ? kMaskBlack : kMaskWhite;
    }
    case 2: {
        const bool black = (y % 2 == 0) ? (mx == 1 || mx == 2) : (mx == 0 || mx == 3);
        return black ? kMaskBlack : kMaskWhite;
    }
    default: {
        static constexpr int kOpenColumn[4] = {2, 0, 3, 1};
        const int my = y % 4;
        if (mx != kOpenColumn[my]) return kMaskBlack;
        return my == 2 ? kMaskWhite : kMaskNearWhite;
    }
    }
}

bool validTile(int width, int height) {
    return width >= 1 && height >= 1 && width <= kMaxShadeTile && height <= kMaxShadeTile;
}

} // namespace

plat::Surface psMakeShadeMaskPicture(int level, int width, int height) {
    if (level < 1 || level > 3 || !validTile(width, height)) return {};
    plat::Surface pic = plat::Surface::colour(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pic.setPixel(x, y, maskPixel(level, x, y));
    }
    return pic;
}

bool pfInitTransWork(GraphicState& g, const plat::Surface* a, const plat::Surface* b) {
    if (!a || !b || a->isNull() || b->isNull()) return false;
    // The copy itself is computed per pixel; the work surface marks the span in which the fast
    // copy may run (from the loop's start to its end) and the largest chip it takes.
    g.sprite = plat::Surface::colour(kWorkWidth, kWorkHeight);
    return true;
}

bool pfInitShadeMasks(GraphicState& g, int width, int height, const plat::Surface* mask25,
                      const plat::Surface* mask50, const plat::Surface* mask75) {
    if (!validTile(width, height)) return false;
    g.shadeTileWidth = width;
    g.shadeTileHeight = height;
    const plat::Surface* masks[3] = {mask25, mask50, mask75};
    for (int i = 0; i < 3; ++i) {
        g.shade[i].release();
        if (!masks[i] || masks[i]->isNull()) continue;
        g.shade[i] = plat::Surface::colour(width, height);
        plat::bitBlt(g.shade[i], 0, 0, width, height, *masks[i], 0, 0, plat::Rop::SrcCopy);
    }
    return true;
}

const plat::Surface* pfGetShadeMask(const GraphicState& g, int level) {
    if (level < 1 || level > 3) return nullptr;
    const plat::Surface& s = g.shade[level - 1];
    return s.isNull() ? nullptr : &s;
}

bool pfTransBltFast(GraphicState& g, plat::Surface& dest, int x, int y, int w, int h,
                    const plat::Surface& src, int sx, int sy, plat::Color key, int level) {
    if (g.sprite.isNull() || w > g.sprite.width() || h > g.sprite.height()) return false;
    return plat::maskedCopy(dest, x, y, w, h, src, sx, sy, key, pfGetShadeMask(g, level));
}

bool pfTransBlt(GraphicState& g, plat::Surface& dest, int x, int y, int w, int h,
                const plat::Surface& src, int sx, int sy, plat::Color key, int level) {
    return plat::maskedCopy(dest, x, y, w, h, src, sx, sy, key, pfGetShadeMask(g, level));
}

void pfReleaseGraphics(GraphicState& g) {
    g.sprite.release();
    for (plat::Surface& s : g.shade)
        s.release();
}

} // namespace mdlGraphic
