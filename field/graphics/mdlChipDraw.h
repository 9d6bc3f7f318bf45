// Frame composition: the isometric, back-to-front drawing of the map, objects and player.
#pragma once

#include <array>

#include "field/World.h"
#include "field/graphics/mdlGraphic.h"
#include "platform/Form.h"

namespace mdlChipDraw {

// The sheets and surfaces one composition uses.
struct Sheets {
    const plat::Surface& mapChips;
    const plat::Surface& charChips;
    const plat::Surface& eveChips;
    plat::Surface& primary;
    plat::Surface& flip; // passed along, not used
};

// The window controls the renderer reads (layer and plane boxes) and writes (lblXY).
struct ViewControls {
    std::array<const plat::CheckBox*, 3> chkLayerSet{};
    std::array<const plat::CheckBox*, 4> chkLayer{};
    plat::Label* lblXY = nullptr;
};

void psRenderFrame(mdlGraphic::GraphicState& g, plat::Color key, int baseShade,
                   const Sheets& sheets, field::World& world, int drawX, int drawY, int width,
                   int height, const ViewControls& view);

} // namespace mdlChipDraw
