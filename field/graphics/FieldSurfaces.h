// Surfaces of the field program, the shade masks and the masked chip copy.
#pragma once

#include <cstdint>

#include "platform/ChipRuns.h"
#include "platform/Surface.h"

namespace field {

// Size of the cached work surface: the largest chip maskedCopyFast accepts.
constexpr int kWorkWidth = 64;
constexpr int kWorkHeight = 100;
// Largest shade tile accepted; the shipped masks are 64 x 64.
constexpr int kMaxShadeTile = 1024;

// Module state: the cached work surface of the fast masked copy and the private shade
// surfaces. One per program, owned by the window's start-up scope. The copy is computed per
// pixel, so the one-bit and colour masks of the work set are not kept.
struct FieldSurfaces {
    plat::Surface sprite; // kWorkWidth x kWorkHeight
    int shadeTileWidth = 0;
    int shadeTileHeight = 0;
    plat::Surface shade[3]; // private copies of the 25 %, 50 %, 75 % masks

    // The chips' opaque runs, prepared on first use (both masked copies draw through them).
    plat::ChipRunCache chipRuns;
    // The composition surface of the last frame and what that frame drew on it: as long as
    // nothing else has touched the surface since, only those spans need clearing again.
    struct Composition {
        const plat::Surface* surface = nullptr;
        std::uint64_t stamp = 0; // the surface's stamp when the frame ended; 0 = unknown
        plat::Color back = 0;
        int width = 0, height = 0;
        plat::DrawnSpans drawn;
    } composition;
};

// Draws one of the three shade mask pictures (level 1, 2, 3) at the given size from its table.
// Any other level, or a size outside 1..kMaxShadeTile, gives a null surface.
plat::Surface makeShadeMaskPicture(int level, int width = 64, int height = 64);

// Creates the cached work surface. Does nothing (and answers false) when either surface is
// null; both are the composition surface, whose format the work surface follows.
bool initMaskedCopy(FieldSurfaces& g, const plat::Surface* a, const plat::Surface* b);
// Stores the shade tile size and makes a private copy of each non-null mask. A tile size
// outside 1..kMaxShadeTile is refused: nothing is stored and the answer is false.
bool initShadeMasks(FieldSurfaces& g, int width, int height, const plat::Surface* mask25,
                    const plat::Surface* mask50, const plat::Surface* mask75);
// Level 1, 2, 3 gives the private shade surface; any other level, or a mask that was never
// copied, gives nullptr.
const plat::Surface* shadeMask(const FieldSurfaces& g, int level);
// Masked copy for chips of up to kWorkWidth x kWorkHeight (map chips and the player);
// allocates nothing.
// Refused (false, nothing drawn) before initMaskedCopy, after releaseSurfaces, for a larger
// chip and for null surfaces.
bool maskedCopyFast(FieldSurfaces& g, plat::Surface& dest, int x, int y, int w, int h,
                    const plat::Surface& src, int sx, int sy, plat::Color key, int level);
// Masked copy of any size (event objects). False only for null surfaces.
bool maskedCopy(FieldSurfaces& g, plat::Surface& dest, int x, int y, int w, int h,
                const plat::Surface& src, int sx, int sy, plat::Color key, int level);
// Starts a frame on the composition surface: the frame is drawn as if the surface held only its
// back colour. When it still holds the last frame, untouched since, only what that frame drew is
// cleared. The clear and the chips go down together at compositionDone, which must follow
// before the surface is read.
void clearComposition(FieldSurfaces& g, plat::Surface& surface);
// Ends the frame begun by clearComposition: what was drawn on the surface since is known.
void compositionDone(FieldSurfaces& g, const plat::Surface& surface);
// Releases the work and shade surfaces; calling it again is harmless.
void releaseSurfaces(FieldSurfaces& g);

} // namespace field
