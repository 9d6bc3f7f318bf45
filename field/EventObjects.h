// Operations on the event objects: stepping, firing, turning towards the player, detaching
// and placing. An attached object is named by its cell (that cell's eventId is its number);
// these operations keep it so.
#pragma once

#include <cstdint>

#include "field/FieldInput.h"
#include "field/World.h"
#include "tekkel/Assembler.h"

namespace field {

// What stepEventObject did this frame; a stepping script reads 1 and 2 from its register.
enum ObjectStep : std::int32_t {
    kObjectWaiting = 0, // no step pending, or its wait not over
    kObjectMoved = 1,
    kObjectRefused = 2, // the target is not enterable or is the player's column and row
};

// Completes the object's pending step once its wait is over.
// A step completes on the (stepInterval + 2)-th call after it was started. A detached object
// moves but stays off the map. An object number outside 1..eventCount answers kObjectWaiting.
std::int32_t stepEventObject(field::World& world, std::int32_t n);

// Fires the object on the cell, if any: arrival -1 means the player has just arrived there
// (only onStep objects fire), 0 that the player examines or pushes against it. A firing copies
// the object's own script into stored-script slot 0, makes it the system script with the
// object as its active object, locks input, drops the object's pending step and releases the
// held mouse button (so a held button does not walk on after the event). True when an object
// fired.
bool triggerEvent(field::World& world, field::MouseState& mouse, std::int16_t arrival,
                  std::int32_t layer, std::int32_t plane, std::int32_t x, std::int32_t y);

// Direction in which the player stands, seen from the object: 0 up, 1 right, 2 down, 3 left.
// Ties and the player on the object's own cell give the vertical answer (2 on the same cell).
std::int32_t directionToPlayer(const field::World& world, std::int32_t n);

// Detaches (flag non-zero) or re-attaches (flag 0) the object.
void setDetached(field::World& world, std::int32_t n, std::int16_t flag);

// Moves the object to another cell, possibly on another layer and plane, keeping its
// attachment state.
void placeEventObject(field::World& world, std::int32_t n, std::int32_t layer, std::int32_t plane,
                      std::int32_t x, std::int32_t y);

// Puts the unit's own scripts into the World's event objects; false (and nothing changed) when
// a number lies outside 1..eventCount.
bool installOwnScripts(World& world, const tekkel::Unit& unit);

} // namespace field
