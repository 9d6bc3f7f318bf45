// The commands that reach the field, registered with Tekkel as host commands: the shade (160),
// the player (200..218), the event objects (300..351) and the map cells (410, 411). The
// interpreter hands each of them a context whose parameters are copies, so a command may fire
// an event (which replaces stored script 0) safely.
//
//   160  SetShade       level 0..3                              the World's shadeLevel
//
//   code name           P1            P2            P3          effect / step result
//   200  PlayerStep                   dir, -1 rnd               one step; Suspend until it ends
//   210  PlayerVisible  value / reg   set switch                visible (boolean)
//   211  PlayerLayer    value / reg   set switch                layer, 0..topLayer
//   212  PlayerPlane    value / reg   set switch                plane, 0..3
//   213  PlayerX        value / reg   set switch                x, 0..maxX
//   214  PlayerY        value / reg   set switch                y, 0..maxY
//   215  PlayerFacing   value / reg   set switch                facing (16-bit)
//   218  PlayerSheet    value / reg   set switch                chipSheet, 0 or 1
//   300  ObjectStep     object        dir, -1 rnd               one step; then R1 = 1 moved, 2 refused
//   310  ObjectVisible  object        value / reg   set switch  visible (boolean)
//   311  ObjectLayer    object        value / reg   set switch  layer; a set moves the object
//   312  ObjectPlane    object        value / reg   set switch  plane; a set moves the object
//   313  ObjectX        object        value / reg   set switch  x; a set moves the object
//   314  ObjectY        object        value / reg   set switch  y; a set moves the object
//   315  ObjectFacing   object        value / reg   set switch  facing (16-bit)
//   318  ObjectSheet    object        value / reg   set switch  chipSheet, 0 or 1
//   320  ObjectEnabled  object        value / reg   set switch  enabled (boolean)
//   321  ObjectDetached object        value / reg   set switch  detached; a set (re)attaches
//   322  ObjectSpeed    object        value / reg   set switch  stepInterval (32-bit)
//   330  SetActive      object                                  activeObject; flags from it
//   331  FacePlayerDir  object        reg                       reg = direction to the player
//   350  Say            object        text                      turn to the player first, then OK box
//   351  SayPlain       object        text                      OK box
//   410  TestCell       reg                                     reg = test cell enterable (boolean);
//                                                               the player's own cell is not
//   411  DirVector      reg           reg           direction   column and row change
// The set switch is a truth value (empty and null false); without it the field is written
// into the register the value parameter numbers. A set that would take the player off the
// map, an object off the map, or a chip sheet other than 0 and 1 fails with error 1, as do
// the unlisted codes of the groups. Directions outside 0..7 fail without an error number.
#pragma once

#include <cstdint>
#include <span>

#include "field/World.h"
#include "tekkel/Host.h"
#include "tekkel/Opcodes.h"
#include "tekkel/Step.h"

namespace field {

using tekkel::StepContext;
using tekkel::StepResult;

// Every command above, in code order; each works on the World that is the host's context.
std::span<const tekkel::HostCommand> fieldCommands();
// tekkel::hostSlots of fieldCommands(), made once.
std::span<const std::uint8_t> fieldCommandSlots();

// The World a field command works on.
inline World& hostWorld(StepContext& ctx) {
    return *static_cast<World*>(ctx.host.context);
}

} // namespace field
