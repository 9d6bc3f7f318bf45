// Qt key events to the virtual-key codes the programs read, in one table.
#pragma once

#include <cstdint>

namespace plat::qt {

// Virtual-key code for a key event, 0 when the programs never read that key.
// qtKey is the Qt::Key, keypad whether Qt::KeypadModifier was set, nativeKey the platform's
// native virtual key (the X keysym under xcb and Wayland; 0 when unknown). The native key wins
// when it is known, so keypad 8 with NumLock off stays keypad 8 rather than Up.
int virtualKeyFor(int qtKey, bool keypad, std::uint32_t nativeKey);

} // namespace plat::qt
