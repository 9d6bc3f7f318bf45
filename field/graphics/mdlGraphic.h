// Surfaces of the field program, the shade masks and the masked chip copy.
#pragma once

#include "platform/Surface.h"

namespace mdlGraphic {

// Module state: the cached work surfaces of the fast masked copy and the private shade
// surfaces. One per program, owned by the window's start-up scope.
struct GraphicState {
    plat::Surface monoMask;   // 64 x 100, one bit per pixel
    plat::Surface colourMask; // 64 x 100
    plat::Surface sprite;     // 64 x 100
    int shadeTileWidth = 0;
    int shadeTileHeight = 0;
    plat::Surface shade[3]; // private copies of the 25 %, 50 %, 75 % masks
};

// Draws one of the three shade mask pictures (level 1, 2, 3) at the given size from its table.
plat::Surface psMakeShadeMaskPicture(int level, int width = 64, int height = 64);

bool pfInitTransWork(GraphicState& g, const plat::Surface* a, const plat::Surface* b);
bool pfInitShadeMasks(GraphicState& g, int width, int height, const plat::Surface* mask25,
                      const plat::Surface* mask50, const plat::Surface* mask75);
// Level 1, 2, 3 gives the private shade surface; any other level gives nullptr.
const plat::Surface* pfGetShadeMask(const GraphicState& g, int level);
// Masked copy through the cached work surfaces; w up to 64, h up to 100.
bool pfTransBltFast(GraphicState& g, plat::Surface& dest, int x, int y, int w, int h,
                    const plat::Surface& src, int sx, int sy, plat::Color key, int level);
// Masked copy of any size.
bool pfTransBlt(GraphicState& g, plat::Surface& dest, int x, int y, int w, int h,
                const plat::Surface& src, int sx, int sy, plat::Color key, int level);
void pfReleaseGraphics(GraphicState& g);

} // namespace mdlGraphic
