#include "field/graphics/mdlChipDraw.h"

namespace mdlChipDraw {

void psRenderFrame(mdlGraphic::GraphicState&, plat::Color, int, const Sheets& sheets,
                   field::World&, int, int, int, int, const ViewControls&) {
    sheets.primary.clear();
}

} // namespace mdlChipDraw
