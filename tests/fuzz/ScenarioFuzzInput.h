// Turns arbitrary bytes into a scenario folder (map.txt, objects.txt and .tkl files, split at
// zero bytes) and reads it. Shared by the libFuzzer target and the fixed-seed run in the suite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace scenario_fuzz {

// Reads one input. The reader keeps its word when a refused folder comes with at least one
// well-formed "FILE:LINE:COLUMN: message" naming one of its files, and an accepted one is a
// World whose cells and objects agree.
enum class Outcome { Accepted, Refused, BrokenPromise };
Outcome runInput(const std::uint8_t* data, std::size_t size);

// What the reader said about one input, an error a line, to show a broken promise.
std::string describe(const std::uint8_t* data, std::size_t size);

// The built-in demo in the input's form: a start for mutations.
std::string demoInput();

} // namespace scenario_fuzz
