#include "field/graphics/mdlGraphic.h"

namespace mdlGraphic {

plat::Surface psMakeShadeMaskPicture(int, int width, int height) {
    return plat::Surface::colour(width, height);
}
bool pfInitTransWork(GraphicState&, const plat::Surface*, const plat::Surface*) { return true; }
bool pfInitShadeMasks(GraphicState&, int, int, const plat::Surface*, const plat::Surface*,
                      const plat::Surface*) {
    return true;
}
const plat::Surface* pfGetShadeMask(const GraphicState&, int) { return nullptr; }
bool pfTransBltFast(GraphicState&, plat::Surface&, int, int, int, int, const plat::Surface&, int,
                    int, plat::Color, int) {
    return true;
}
bool pfTransBlt(GraphicState&, plat::Surface&, int, int, int, int, const plat::Surface&, int, int,
                plat::Color, int) {
    return true;
}
void pfReleaseGraphics(GraphicState&) {}

} // namespace mdlGraphic
