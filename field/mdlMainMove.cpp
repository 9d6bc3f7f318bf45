#include "field/mdlMainMove.h"

namespace mdlMain {

void psActionKeyPoll(field::World&, MoveContext&) {}
void psMouseWalk(field::World&, MoveContext&) {}
void psKeyboardMove(field::World&, MoveContext&) {}
void psActionStep(field::World&, MoveContext&) {}
void psStepProgress(field::World&, MoveContext&) {}

} // namespace mdlMain
