// The player's per-frame movement steps, run by the main loop in this order: action-key poll,
// mouse walk, keyboard movement, action step, step progress. Step progress itself, the
// enterable test and the direction table are in StepRules.h.
#pragma once

#include <cstdint>

#include "field/FieldInput.h"
#include "field/Searchers.h"
#include "field/StepRules.h"
#include "field/World.h"
#include "platform/Seams.h"

namespace field {

// Everything the movement steps read or change besides the World.
struct MoveContext {
    plat::Services& sv;
    field::MouseState& mouse;
    field::Searchers& searchers;
};

// The action key (Enter, Space, keypad 5) fires on its fourth held frame, then every fourth.
void pollActionKey(field::World& world, MoveContext& ctx);
// While the left button is held over the view: plan one step towards the pointer's cell, or
// request the action when the pointer is on the player's own cell.
void mouseWalk(field::World& world, MoveContext& ctx);
// Arrow keys and keypad start a step; Shift keeps the facing, Control holds the player still.
void keyboardMove(field::World& world, MoveContext& ctx);
// Examines the player's own cell (planes 0 up to the player's) when the action was requested.
void actionStep(field::World& world, MoveContext& ctx);
// One frame of the pending step; see advanceStep.
void stepProgress(field::World& world, MoveContext& ctx);

} // namespace field
