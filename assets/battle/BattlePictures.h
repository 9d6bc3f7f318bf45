// The battle program's pictures, drawn in code. The key colour (pure green) marks every pixel
// a transparent copy leaves alone; the first cursor picture starts with it.
#pragma once

#include "platform/Surface.h"

namespace assets {

constexpr plat::Color kBattleKey = plat::rgb(0, 255, 0);

constexpr int kBattleCardWidth = 72;
constexpr int kBattleCardHeight = 120;

plat::Surface makeMyCardBack();    // 72 x 120, blue frame and the player's crest
plat::Surface makeEnemyCardBack(); // 72 x 120, purple frame and a small skull
plat::Surface makeMyFace();        // 105 x 88, the player's portrait
plat::Surface makeEnemyFace();     // 108 x 86, the skull monster's portrait
plat::Surface makeSkullMonster();  // 180 x 210, the monster standing on the stage
plat::Surface makeStoredMask();    // 72 x 120, overlay of a stored card
plat::Surface makeChosenMask();    // 72 x 120, overlay of the chosen card
plat::Surface makePointerCursor(); // 24 x 20, arrow pointing down at the card
plat::Surface makeCardCursor();    // 72 x 120, frame around the card under the pointer
plat::Surface makeRedBar();        // 60 x 15, bar background
plat::Surface makeBlueBar();       // 60 x 15, bar fill

} // namespace assets
