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
    std::size_t boxes = 0;
    for (int k = 0; k < 60000; ++k) {
        input.resize(16 + random.next32() % 700);
        for (auto& b : input)
            b = static_cast<std::uint8_t>(random.next32());
        tekkel_fuzz::runInput(ts, input.data(), input.size());
        boxes += ts.windows.boxes.size();
    }
    // The inputs reach the commands: messages and error reports were shown.
    EXPECT_GT(boxes, 60000u);
    tekkel_fuzz::runInput(ts, nullptr, 0);
}
