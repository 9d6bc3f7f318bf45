#include "assets/field/FieldPictures.h"

namespace assets {

namespace {
plat::Surface keyFilled(int w, int h) {
    plat::Surface s = plat::Surface::colour(w, h);
    s.fill(kKeyGreen);
    return s;
}
} // namespace

plat::Surface makeMapChipSheet() { return keyFilled(192, 80); }
plat::Surface makeCharChipSheet() { return keyFilled(576, 256); }
plat::Surface makeEventChipSheet() { return keyFilled(256, 64); }

} // namespace assets
