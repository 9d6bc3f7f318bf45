// The window's mouse state over the game view, shared by the window's handlers, the mouse
// walk and the event operations (which drop the held flag when an event fires).
#pragma once

#include <cstdint>

namespace field {

struct MouseState {
    std::int32_t x = 0; // last pointer position over the view, pixels
    std::int32_t y = 0;
    std::int16_t held = 0; // -1 while the left button is down over the view
};

} // namespace field
