// The player's per-frame movement steps, run by the main loop in this order.
#pragma once

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

void psActionKeyPoll(field::World& world, MoveContext& ctx);
void psMouseWalk(field::World& world, MoveContext& ctx);
void psKeyboardMove(field::World& world, MoveContext& ctx);
void psActionStep(field::World& world, MoveContext& ctx);
void psStepProgress(field::World& world, MoveContext& ctx);

} // namespace mdlMain
