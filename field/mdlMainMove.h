// The player's per-frame movement steps, run by the main loop in this order: action-key poll,
// mouse walk, keyboard movement, action step, step progress. Step progress, the enterable
// test and the direction table also serve the script commands.
#pragma once

#include <cstdint>

#include "field/FieldInput.h"
#include "field/World.h"
#include "field/mdlRxSGlue.h"
#include "platform/Seams.h"

namespace mdlMain {

// Everything the movement steps read or change besides the World.
struct MoveContext {
    plat::Services& sv;
    field::MouseState& mouse;
    mdlRxSGlue::Searchers& searchers;
    int drawX = 224; // player draw position on the composition surface
    int drawY = 64;
};

// Step results of step progress.
enum StepResult : std::int32_t { kStepNone = 0, kStepArrived = 1, kStepRefused = 2 };

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

// One frame of the player's pending step: kStepNone (no step, or still under way; a step
// completes on its sixth frame), kStepArrived (moved; the arrival events of the new cell were
// fired), kStepRefused (blocked or off the map; facing still turns, and a blocked cell inside
// the map is pushed against).
std::int32_t pfStepProgress(field::World& world, field::MouseState& mouse);

// Whether a character may enter the cell: inside the map, plane-0 ground of kind 1, and the
// cell of the given plane free or naming a detached object. Layers and planes out of range
// answer false.
bool pfIsEnterable(const field::World& world, std::int32_t layer, std::int32_t plane,
                   std::int32_t x, std::int32_t y);

// Direction table: 0 up, 1 right, 2 down, 3 left, 4 up-right, 5 down-right, 6 down-left,
// 7 up-left. False for any other code, leaving dx and dy unchanged.
bool pfDirLookup(std::int32_t code, std::int32_t& dx, std::int32_t& dy);

} // namespace mdlMain
