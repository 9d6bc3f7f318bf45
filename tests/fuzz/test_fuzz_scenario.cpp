// The scenario reader on the demo folder damaged at random: the fuzzer's contract, checked on
// fixed-seed inputs in the ordinary suite.
#include <gtest/gtest.h>

#include "ScenarioFuzzInput.h"
#include "platform/Random.h"

namespace {

using scenario_fuzz::Outcome;

Outcome run(const std::string& input) {
    return scenario_fuzz::runInput(reinterpret_cast<const std::uint8_t*>(input.data()),
                                   input.size());
}

TEST(ScenarioFuzzInputs, DamagedDemoFoldersAreReadOrRefusedWithLocatedErrors) {
    const std::string demo = scenario_fuzz::demoInput();
    ASSERT_EQ(run(demo), Outcome::Accepted);
    plat::Random random(20241208);
    int outcomes[3] = {};
    for (int k = 0; k < 1500; ++k) {
        std::string input = demo;
        // A few damages each: a byte changed, a stretch cut out, a stretch repeated.
        for (int d = 1 + static_cast<int>(random.next32() % 3); d > 0; --d) {
            const std::size_t at = random.next32() % input.size();
            const std::size_t length = 1 + random.next32() % 40;
            switch (random.next32() % 3) {
            case 0: input[at] = static_cast<char>(random.next32()); break;
            case 1: input.erase(at, length); break;
            default: input.insert(at, input.substr(at, length)); break;
            }
        }
        const Outcome o = run(input);
        ASSERT_NE(o, Outcome::BrokenPromise) << "input " << k;
        ++outcomes[static_cast<int>(o)];
    }
    // Comments absorb some damage: both outcomes are exercised.
    EXPECT_GT(outcomes[static_cast<int>(Outcome::Accepted)], 50);
    EXPECT_GT(outcomes[static_cast<int>(Outcome::Refused)], 500);
    EXPECT_EQ(scenario_fuzz::runInput(nullptr, 0), Outcome::Refused);
}

} // namespace
