// The built-in map composed without a window: the shipped chip sheets and shade masks, the
// composition surface, and the World built from the built-in data with the player at the start.
// For the composition benchmark and the picture dump.
#pragma once

#include "assets/field/FieldPictures.h"
#include "field/World.h"
#include "field/graphics/mdlChipDraw.h"
#include "field/graphics/mdlGraphic.h"
#include "field/mdlDataCtrl.h"
#include "platform/testing/TestSeams.h"

namespace testsupport {

struct FieldScene {
    plat::testing::TestServices ts;
    field::World world;
    mdlRxSGlue::Searchers searchers;
    mdlGraphic::GraphicState g;
    plat::Surface masks[3];
    plat::Surface mapChips = assets::makeMapChipSheet();
    plat::Surface charChips = assets::makeCharChipSheet();
    plat::Surface eveChips = assets::makeEventChipSheet();
    plat::Surface primary = plat::Surface::colour(514, 258);
    mdlChipDraw::Sheets sheets{mapChips, charChips, eveChips, primary};

    FieldScene() = default;
    FieldScene(const FieldScene&) = delete; // sheets refers to the members
    FieldScene& operator=(const FieldScene&) = delete;

    // Shade masks, work surfaces, the player's start and the three builders; false when the
    // built-in data did not build.
    bool build() {
        for (int i = 0; i < 3; ++i)
            masks[i] = mdlGraphic::psMakeShadeMaskPicture(i + 1);
        mdlGraphic::pfInitShadeMasks(g, 64, 64, &masks[0], &masks[1], &masks[2]);
        primary.setBackColor(plat::fromBgr(16750230));
        mdlGraphic::pfInitTransWork(g, &primary, &primary);
        field::initPlayer(world);
        return mdlDataCtrl::pfBuildMap(world, ts.services) && mdlDataCtrl::pfBuildScripts(world) &&
               mdlDataCtrl::pfBuildEventObjects(world, searchers);
    }

    // Composes one frame on `primary` with every layer and plane shown.
    void render(int shade) {
        mdlChipDraw::psRenderFrame(g, charChips.pixel(2, 2), shade, sheets, world,
                                   mdlChipDraw::kPlayerDrawX, mdlChipDraw::kPlayerDrawY,
                                   primary.width(), primary.height(), {});
    }
};

} // namespace testsupport
