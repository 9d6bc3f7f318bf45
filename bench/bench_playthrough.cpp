// Cost of a whole frame's work (scripts, input, movement, composition, presentation; the
// frame wait is free on the virtual clock) over the demo played from start to end by the bot.
// Reports the median and the worst frame of each playthrough as counters.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "tests/support/playbot.h"

namespace {

void BM_PlaythroughFrame(benchmark::State& state) {
    std::vector<std::int64_t> all;
    for (auto _ : state) {
        std::vector<std::int64_t> nanos;
        playbot::Demo d(static_cast<std::uint64_t>(state.range(0)));
        d.frameNanos = &nanos;
        d.start();
        if (!d.playAll()) state.SkipWithError("the bot did not reach the end");
        all.insert(all.end(), nanos.begin(), nanos.end());
    }
    if (all.empty()) return;
    std::sort(all.begin(), all.end());
    state.counters["frames"] = static_cast<double>(all.size()) / state.iterations();
    state.counters["median_us"] = static_cast<double>(all[all.size() / 2]) / 1000.0;
    state.counters["p99_us"] = static_cast<double>(all[all.size() * 99 / 100]) / 1000.0;
    state.counters["worst_us"] = static_cast<double>(all.back()) / 1000.0;
}
BENCHMARK(BM_PlaythroughFrame)->Arg(12345)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
