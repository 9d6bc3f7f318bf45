// Cost of the movement decisions made every frame: pixel to cell, one direct-search planning,
// and a whole mouse-walk step.
#include <benchmark/benchmark.h>

#include "field/DirectSearch.h"
#include "field/PlayerMovement.h"
#include "field/Searchers.h"
#include "field/ViewGeometry.h"
#include "platform/testing/TestSeams.h"

namespace {

field::World benchWorld() {
    field::World w;
    field::initPlayer(w);
    w.resizeMap(8, 5, 2);
    for (int x = 0; x <= 8; ++x)
        for (int y = 0; y <= 5; ++y)
            w.cell(0, field::kPlaneGround, x, y).kind = 1;
    w.events.resize(1);
    w.machine.scripts.resize(1);
    return w;
}

void BM_PixelToMapCell(benchmark::State& state) {
    const field::World w = benchWorld();
    int px = -200, py = -200;
    for (auto _ : state) {
        benchmark::DoNotOptimize(field::pixelToMapCell(w, field::makePoint(px, py)));
        px = px > 580 ? -200 : px + 7;
        py = py > 390 ? -200 : py + 3;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PixelToMapCell);

void BM_DirectSearchPlanning(benchmark::State& state) {
    plat::testing::ScriptedWindowSystem windows;
    field::Searchers s;
    field::configureAtStartUp(s);
    field::setGrid(s, field::obstacleGrid(benchWorld()));
    int t = 0;
    for (auto _ : state) {
        field::startSearch(s.direct, 4, 3, t % 9, (t / 9) % 6);
        for (int i = 0; i < 3; ++i) {
            benchmark::DoNotOptimize(field::nextDirection(s.direct, windows));
            if (field::nextStep(s, windows).isZero()) break;
        }
        ++t;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DirectSearchPlanning);

void BM_MouseWalkFrame(benchmark::State& state) {
    plat::testing::TestServices ts;
    field::World w = benchWorld();
    field::MouseState mouse;
    field::Searchers s;
    field::configureAtStartUp(s);
    field::setGrid(s, field::obstacleGrid(w));
    field::MoveContext ctx{ts.services, mouse, s};
    mouse.held = -1;
    mouse.x = 300;
    mouse.y = 120;
    for (auto _ : state) {
        field::mouseWalk(w, ctx);
        w.player.moving = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MouseWalkFrame);

} // namespace

BENCHMARK_MAIN();
