// A few seconds of the fuzzer's work in the ordinary suite: deterministic pseudo-random inputs
// fed to the same entry point.
#include <gtest/gtest.h>

#include <vector>

#include "TekkelFuzzInput.h"
#include "platform/Random.h"

TEST(TekkelFuzzInputs, FixedSeedInputsRunWithoutFault) {
    plat::testing::TestServices ts;
    plat::Random random(20240131);
    std::vector<std::uint8_t> input;
    for (int k = 0; k < 3000; ++k) {
        input.resize(16 + random.next32() % 700);
        for (auto& b : input)
            b = static_cast<std::uint8_t>(random.next32());
        tekkel_fuzz::runInput(ts, input.data(), input.size());
    }
    tekkel_fuzz::runInput(ts, nullptr, 0);
    SUCCEED();
}
