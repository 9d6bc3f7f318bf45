// The field program's chip sheets, drawn in code. Key colour pure green outside every chip.
#pragma once

#include "platform/Surface.h"

namespace assets {

constexpr plat::Color kKeyGreen = plat::rgb(0, 255, 0);

plat::Surface makeMapChipSheet();   // 192 x 80
plat::Surface makeCharChipSheet();  // 576 x 256
plat::Surface makeEventChipSheet(); // 256 x 64

} // namespace assets
