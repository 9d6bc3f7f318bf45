// The built-in scenario's text files, as built into the programs.
#pragma once

#include <span>
#include <string_view>

namespace scenarios {

struct EmbeddedFile {
    std::string_view name; // the file name inside the scenario folder, e.g. "map.txt"
    std::string_view text;
};

// Every file of scenarios/demo/, sorted by name.
std::span<const EmbeddedFile> demoFiles();

} // namespace scenarios
