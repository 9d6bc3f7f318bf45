// A quest as a folder of text files, read into a World:
//   map.txt      the three layers of 9 x 6 cells ("layer N" and six rows of nine values each)
//   *.tkl        the stored scripts (slots 1..20) and own scripts, in the Tekkel text form
//   objects.txt  the event objects, one `object N` block each (N 1..kMaxObjects)
//   *.lang       its texts in other languages, when it has them (ScenarioTranslations.h)
// The README's "Make your own quest" describes the formats. The reader knows nothing of
// windows: every fault comes back as an ScenarioError, and a scenario with any fault loads nothing.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "field/World.h"

namespace field {

struct ScenarioTranslations;

constexpr std::int32_t kMaxObjects = 64;
constexpr std::int32_t kMaxScripts = 20;
constexpr int kLayers = 3, kRows = 6, kColumns = 9;
// The player's start cell (layer 0, character plane), which the map must give ground.
constexpr int kStartX = 1, kStartY = 2;

struct ScenarioError {
    std::string file; // as the folder was named, joined with the file's name
    std::int32_t line = 1;
    std::int32_t column = 1; // in characters
    std::string message;     // what was expected
    bool warning = false;    // does not stop the reading (a command that never runs, a stray
                             // translation)
};

// "FILE:LINE:COLUMN: message", or "FILE:LINE:COLUMN: warning: message".
std::string errorText(const ScenarioError& error);

// One file of a scenario folder: its name inside the folder and its bytes.
struct File {
    std::string name;
    std::string_view text;
};

// Map values [layer][row][column], 0..6.
using MapValues = std::array<std::array<std::array<std::int8_t, kColumns>, kRows>, kLayers>;

// Reads map.txt alone; `file` names it in the errors.
bool readMapText(std::string_view file, std::string_view text, MapValues& map,
                 std::vector<ScenarioError>& errors);

// Sets a ground cell from a map value: its chip (three a row, 64 x 40 apart) and its kind.
void setMapCell(field::MapCell& cell, int value);

// Reads the scenario held by `files` (map.txt, objects.txt and every *.tkl, in any order) into
// `world`: the player at its start, the map, the scripts, the objects on their cells and the
// opening scene (stored script 2, when the scenario writes one) armed. `folder` prefixes the
// file names in errors. With any error, `errors` holds them all, in file and line order, and
// `world` is left as it was. The scripts are checked before they run (tekkel/Checks.h): their
// mistakes are errors, commands that never run go to `warnings` when given. `translations`,
// when given, receives the folder's translation files.
bool readScenario(std::string_view folder, std::span<const File> files, field::World& world,
                  std::vector<ScenarioError>& errors,
                  std::vector<ScenarioError>* warnings = nullptr,
                  ScenarioTranslations* translations = nullptr);

// The same, for a folder on disk (its files are read first; a missing file is an error).
bool readScenarioFolder(const std::string& folder, field::World& world,
                        std::vector<ScenarioError>& errors,
                        std::vector<ScenarioError>* warnings = nullptr,
                        ScenarioTranslations* translations = nullptr);

// `haruvel --scenario DIR --check`: reads the folder, writes every error, then every warning
// (of the scripts and of the translation files), a line to `err`, and answers the exit code:
// 0 valid (warnings or not), 1 errors.
int checkScenario(const std::string& folder, std::ostream& err);

// The built-in demo, scenarios/demo/ as compiled into the program: what the program starts on
// without --scenario, read the same way. Errors name the files under "scenarios/demo".
bool readBuiltInScenario(field::World& world, std::vector<ScenarioError>& errors,
                         ScenarioTranslations* translations = nullptr);

} // namespace field
