// The built-in map composed without a window: the shipped chip sheets and shade masks, the
// composition surface, and the World read from the embedded demo folder with the player at the
// start.
// For the composition benchmark and the picture dump.
#pragma once

#include "assets/field/FieldPictures.h"
#include "field/ScenarioReader.h"
#include "field/Searchers.h"
#include "field/World.h"
#include "field/graphics/Composition.h"
#include "field/graphics/FieldSurfaces.h"

namespace testsupport {

struct FieldScene {
    field::World world;
    field::Searchers searchers;
    field::FieldSurfaces g;
    plat::Surface masks[3];
    plat::Surface mapChips = assets::makeMapChipSheet();
    plat::Surface charChips = assets::makeCharChipSheet();
    plat::Surface eveChips = assets::makeEventChipSheet();
    plat::Surface primary = plat::Surface::colour(514, 258);
    field::Sheets sheets{mapChips, charChips, eveChips, primary};

    FieldScene() = default;
    FieldScene(const FieldScene&) = delete; // sheets refers to the members
    FieldScene& operator=(const FieldScene&) = delete;

    // Shade masks, work surfaces, the built-in demo read as the program reads it and the
    // searchers' grid; false when the demo did not read.
    bool build() {
        for (int i = 0; i < 3; ++i)
            masks[i] = field::makeShadeMaskPicture(i + 1);
        field::initShadeMasks(g, 64, 64, &masks[0], &masks[1], &masks[2]);
        primary.setBackColor(plat::fromBgr(16750230));
        field::initMaskedCopy(g, &primary, &primary);
        std::vector<field::ScenarioError> errors;
        if (!field::readBuiltInScenario(world, errors)) return false;
        field::setGrid(searchers, field::obstacleGrid(world));
        return true;
    }

    // Composes one frame on `primary` with every layer and plane shown.
    void render(int shade) {
        field::renderFrame(g, charChips.pixel(2, 2), shade, sheets, world, field::kPlayerDrawX,
                           field::kPlayerDrawY, primary.width(), primary.height(), {});
    }
};

} // namespace testsupport
