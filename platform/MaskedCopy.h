// The masked (colour-keyed) copy computed per pixel: where the source pixel equals the key the
// destination is unchanged; elsewhere it becomes the source pixel, ANDed with the shade tile's
// pixel at (px mod tile width, py mod tile height) when a shade tile is given.
#pragma once

#include "platform/Surface.h"

namespace plat {

// Copies the w x h rectangle at (sx, sy) of src to (x, y) of dst. The shade pattern is
// anchored at the copied rectangle's top-left corner, so a chip clipped at the edge of dst keeps
// the pattern it would have had in full. Source positions outside src count as transparent.
// Returns false for a null dst or src; an empty rectangle draws nothing and returns true.
// Allocates nothing, unless dst and src are the same surface and the rectangles overlap.
bool maskedCopy(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                Color key, const Surface* shade = nullptr);

} // namespace plat
