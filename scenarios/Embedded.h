// The built-in scenario's text files, as built into the programs.
#pragma once

#include <string_view>

namespace scenarios {

// scenarios/demo/scripts.tkl: the stored scripts and the event objects' own scripts.
std::string_view pfDemoScripts();

} // namespace scenarios
