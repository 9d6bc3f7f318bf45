// libFuzzer entry: random Tekkel scripts on a World with a few objects.
#include <cstddef>
#include <cstdint>

#include "TekkelFuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Built once: its temporary folder would otherwise cost more than the run itself.
    static plat::testing::TestServices ts;
    tekkel_fuzz::runInput(ts, data, size);
    return 0;
}
