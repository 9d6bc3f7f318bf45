// The player's per-frame movement steps, run by the main loop in this order: action-key poll,
// mouse walk, keyboard movement, action step, step progress. Step progress itself, the
// enterable test and the direction table are in mdlMainStep.h.
#pragma once

#include <cstdint>

#include "field/FieldInput.h"
#include "field/World.h"
#include "field/mdlMainStep.h"
#include "field/mdlRxSGlue.h"
#include "platform/Seams.h"

namespace mdlMain {

// Everything the movement steps read or change besides the World.
struct MoveContext {
    plat::Services& sv;
    field::MouseState& mouse;
    mdlRxSGlue::Searchers& searchers;
};

// The action key (Enter, Space, keypad 5) fires on its fourth held frame, then every fourth.
void psActionKeyPoll(field::World& world, MoveContext& ctx);
// While the left button is held over the view: plan one step towards the pointer's cell, or
// request the action when the pointer is on the player's own cell.
void psMouseWalk(field::World& world, MoveContext& ctx);
// Arrow keys and keypad start a step; Shift keeps the facing, Control holds the player still.
void psKeyboardMove(field::World& world, MoveContext& ctx);
// Examines the player's own cell (planes 0 up to the player's) when the action was requested.
void psActionStep(field::World& world, MoveContext& ctx);
// One frame of the pending step; see pfStepProgress.
void psStepProgress(field::World& world, MoveContext& ctx);

} // namespace mdlMain
