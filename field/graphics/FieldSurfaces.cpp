#include "field/graphics/FieldSurfaces.h"

#include <algorithm>

#include "platform/MaskedCopy.h"

namespace field {

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

plat::Surface makeShadeMaskPicture(int level, int width, int height) {
    if (level < 1 || level > 3 || !validTile(width, height)) return {};
    plat::Surface pic = plat::Surface::colour(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pic.setPixel(x, y, maskPixel(level, x, y));
    }
    return pic;
}

bool initMaskedCopy(FieldSurfaces& g, const plat::Surface* a, const plat::Surface* b) {
    if (!a || !b || a->isNull() || b->isNull()) return false;
    // The copy itself is computed per pixel; the work surface marks the span in which the fast
    // copy may run (from the loop's start to its end) and the largest chip it takes.
    g.sprite = plat::Surface::colour(kWorkWidth, kWorkHeight);
    return true;
}

bool initShadeMasks(FieldSurfaces& g, int width, int height, const plat::Surface* mask25,
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

const plat::Surface* shadeMask(const FieldSurfaces& g, int level) {
    if (level < 1 || level > 3) return nullptr;
    const plat::Surface& s = g.shade[level - 1];
    return s.isNull() ? nullptr : &s;
}

namespace {

// Copies onto the frame's composition surface are recorded so the next frame's clear can be
// limited to them.
plat::DrawnSpans* drawnOn(FieldSurfaces& g, const plat::Surface& dest) {
    return g.composition.surface == &dest ? &g.composition.drawn : nullptr;
}

} // namespace

bool maskedCopyFast(FieldSurfaces& g, plat::Surface& dest, int x, int y, int w, int h,
                    const plat::Surface& src, int sx, int sy, plat::Color key, int level) {
    if (g.sprite.isNull() || w > g.sprite.width() || h > g.sprite.height()) return false;
    return g.chipRuns.draw(dest, x, y, w, h, src, sx, sy, key, shadeMask(g, level),
                           drawnOn(g, dest));
}

bool maskedCopy(FieldSurfaces& g, plat::Surface& dest, int x, int y, int w, int h,
                const plat::Surface& src, int sx, int sy, plat::Color key, int level) {
    return g.chipRuns.draw(dest, x, y, w, h, src, sx, sy, key, shadeMask(g, level),
                           drawnOn(g, dest));
}

void clearComposition(FieldSurfaces& g, plat::Surface& surface) {
    FieldSurfaces::Composition& c = g.composition;
    const bool unchanged = c.surface == &surface && c.stamp == surface.generation() &&
                           c.back == surface.backColor() && c.width == surface.width() &&
                           c.height == surface.height() && c.drawn.height() == surface.height();
    g.chipRuns.endBatch();
    if (surface.isNull() || surface.isMono()) {
        surface.clear();
    } else {
        if (!unchanged) {
            c.drawn.reset(surface.height());
            c.drawn.add(0, surface.height(), 0, surface.width());
        }
        // The clear itself goes down with the frame's chips, band by band.
        g.chipRuns.beginBatch(surface, surface.backColor(), c.drawn);
    }
    c.surface = &surface;
    c.stamp = 0;
    c.back = surface.backColor();
    c.width = surface.width();
    c.height = surface.height();
    c.drawn.reset(surface.height());
}

void compositionDone(FieldSurfaces& g, const plat::Surface& surface) {
    g.chipRuns.endBatch();
    if (g.composition.surface == &surface) g.composition.stamp = surface.generation();
}

void releaseSurfaces(FieldSurfaces& g) {
    g.chipRuns.clear();
    g.composition = {};
    g.sprite.release();
    for (plat::Surface& s : g.shade)
        s.release();
}

} // namespace field
