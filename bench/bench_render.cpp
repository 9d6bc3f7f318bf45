// Time of one frame composition of the built-in map at the start position, all layers and
// planes shown, with the shipped sheets and the built-in event objects; the counter "clears"
// gives it in clears of the composition surface, timed in the same run. The player turns
// between frames, so every frame is composed; the still case repeats one frame, which the chip
// queue recognises and leaves on the surface.
#include <benchmark/benchmark.h>

#include <ctime>

#include "tests/support/FieldScene.h"

namespace {

double threadMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

void renderAt(benchmark::State& state, int shade, bool still = false) {
    testsupport::FieldScene scene;
    if (!scene.build()) {
        state.SkipWithError("the built-in demo did not read");
        return;
    }
    const auto frame = [&] {
        if (!still) scene.world.player.facing ^= 1;
        scene.render(shade);
        benchmark::DoNotOptimize(scene.primary.data());
        benchmark::ClobberMemory();
    };
    for (auto _ : state)
        frame();
    // The frame in clears of the same surface, timed here in alternating blocks so that both
    // see the same load on the machine.
    plat::Surface surface = plat::Surface::colour(514, 258);
    double frames = 0, clears = 0;
    for (int block = 0; block < 20; ++block) {
        const double t0 = threadMicros();
        for (int i = 0; i < 50; ++i)
            frame();
        const double t1 = threadMicros();
        for (int i = 0; i < 50; ++i) {
            surface.clear();
            benchmark::DoNotOptimize(surface.data());
            benchmark::ClobberMemory();
        }
        frames += t1 - t0;
        clears += threadMicros() - t1;
    }
    state.counters["clears"] = clears > 0 ? frames / clears : 0;
}

void BM_RenderFrameStart(benchmark::State& state) {
    renderAt(state, 0);
}
void BM_RenderFrameShade2(benchmark::State& state) {
    renderAt(state, 2);
}
void BM_RenderFrameStill(benchmark::State& state) {
    renderAt(state, 0, true);
}

// The floor every frame pays: clearing the 514 x 258 composition surface.
void BM_ClearComposition(benchmark::State& state) {
    plat::Surface primary = plat::Surface::colour(514, 258);
    for (auto _ : state) {
        primary.clear();
        benchmark::DoNotOptimize(primary.data());
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_RenderFrameStart)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderFrameShade2)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RenderFrameStill)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClearComposition)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
