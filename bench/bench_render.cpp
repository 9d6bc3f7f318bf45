// Time of one frame composition of the built-in map at the start position, all layers and
// planes shown, with the shipped sheets and the built-in event objects.
#include <benchmark/benchmark.h>

#include "tests/support/FieldScene.h"

namespace {

void renderAt(benchmark::State& state, int shade) {
    testsupport::FieldScene scene;
    if (!scene.build()) {
        state.SkipWithError("built-in data did not build");
        return;
    }
    for (auto _ : state) {
        scene.render(shade);
        benchmark::DoNotOptimize(scene.primary.data());
        benchmark::ClobberMemory();
    }
}

void BM_RenderFrameStart(benchmark::State& state) {
    renderAt(state, 0);
}
void BM_RenderFrameShade2(benchmark::State& state) {
    renderAt(state, 2);
}

} // namespace

BENCHMARK(BM_RenderFrameStart)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderFrameShade2)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
