// Turns arbitrary bytes into a World with a few scripts and objects and runs some frames of
// it. Shared by the libFuzzer target and the fixed-seed run in the test suite.
#pragma once

#include <cstddef>
#include <cstdint>

#include "field/World.h"
#include "platform/testing/TestSeams.h"

namespace tekkel_fuzz {

// Runs one input on the given seams (reset first, so they can be reused across inputs); never
// fails on any byte sequence (sanitizers catch what goes wrong). Answers the World as the
// input left it. With `fullWay` every command runs through the full command handlers instead
// of the compiled records.
field::World runInput(plat::testing::TestServices& ts, const std::uint8_t* data, std::size_t size,
                      bool fullWay = false);

} // namespace tekkel_fuzz
