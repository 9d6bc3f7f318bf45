// libFuzzer entry: the scenario reader on arbitrary folders. A broken promise aborts, so the
// fuzzer keeps the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "ScenarioFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (scenario_fuzz::runInput(data, size) == scenario_fuzz::Outcome::BrokenPromise) {
        std::fputs(scenario_fuzz::describe(data, size).c_str(), stderr);
        std::abort();
    }
    return 0;
}
