// Frame composition: the isometric, back-to-front drawing of the map, objects and player.
#pragma once

#include <array>

#include "field/World.h"
#include "field/graphics/FieldSurfaces.h"
#include "platform/Form.h"

namespace field {

// The sheets and surfaces one composition uses.
struct Sheets {
    const plat::Surface& mapChips;
    const plat::Surface& charChips;
    const plat::Surface& eveChips;
    plat::Surface& primary;
};

// The window controls the renderer reads (layer and plane boxes) and writes (positionLabel). A missing
// box counts as ticked, so a composition without a window draws everything.
struct ViewControls {
    std::array<const plat::CheckBox*, 3> layerBoxes{};
    std::array<const plat::CheckBox*, 4> planeBoxes{};
    plat::Label* positionLabel = nullptr;
};

// Where the player is drawn on the composition surface: the top-left corner of the player's
// chip, and the left edge of the diamond of the player's cell, around which the map is laid.
constexpr int kPlayerDrawX = 224;
constexpr int kPlayerDrawY = 64;

// What every drawing call of one composition shares.
struct DrawContext {
    field::FieldSurfaces& g;
    plat::Color key;
    const Sheets& sheets;
    field::World& world;
    int drawX;
    int drawY;
    const ViewControls& view;
};

// A map cell, by column and row.
struct CellPos {
    int x;
    int y;
};

// Composes one frame on sheets.primary: layers bottom to top, screen rows back to front.
// width and height are the composition surface's outer size, which fixes the row and column walk.
void renderFrame(field::FieldSurfaces& g, plat::Color key, int baseShade, const Sheets& sheets,
                 field::World& world, int drawX, int drawY, int width, int height,
                 const ViewControls& view);

// The shade of a layer: the base level on the player's layer, two darker elsewhere, at most 3.
int layerShade(int baseShade, int layer, int playerLayer);
// First screen column of row r; r mod 2 keeps the sign of r.
int firstColumn(int r, int width);
// The cell at screen row r, column k of the walk (rounded half to even).
CellPos rowCell(int r, int k, int playerX, int playerY, int width, int height);

// Map chip, event object and player of one cell of one plane, in that order.
void drawCell(DrawContext& c, int shade, int layer, int plane, int x, int y);
void drawMapChip(DrawContext& c, int shade, int layer, int plane, int x, int y);
// Draws object eventNo where it stands (its own cell, not the visited one) and ticks its walk.
void drawEventObject(DrawContext& c, int shade, int eventNo);
// Draws the player at the draw position, ticks its walk and writes its cell to positionLabel.
void drawPlayer(DrawContext& c, int shade);

// 0 the character sheet, 1 the event sheet, anything else none (nothing is drawn).
const plat::Surface* chipSheetSurface(int chipSheet, const plat::Surface& charChips,
                                      const plat::Surface& eveChips);
bool usesCharacterSheet(int chipSheet);

// One tick of the walk animation: poses 1, 2, 1, 0, ... while moving, changing every
// threshold + 2 calls; back to 1 when stopped.
void stepWalkAnimation(field::CharState& ch, int threshold, int moving);
void stepWalkAnimation(field::EventObject& ch, int threshold, int moving);

} // namespace field
