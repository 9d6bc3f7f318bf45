// Cost of the movement decisions made every frame: pixel to cell, one direct-search planning,
// and a whole mouse-walk step.
#include <benchmark/benchmark.h>

#include "field/mdlMainMove.h"
#include "field/mdlPointMath.h"
#include "field/mdlRouteDirctSearch.h"
#include "field/mdlRxSGlue.h"
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
    w.scripts.resize(1);
    return w;
}

void BM_PixelToMapCell(benchmark::State& state) {
    const field::World w = benchWorld();
    int px = -200, py = -200;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            mdlPointMath::pfPixelToMapCell(w, mdlPointMath::pfMakePoint(px, py)));
        px = px > 580 ? -200 : px + 7;
        py = py > 390 ? -200 : py + 3;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PixelToMapCell);

void BM_DirectSearchPlanning(benchmark::State& state) {
    plat::testing::ScriptedWindowSystem windows;
    mdlRxSGlue::Searchers s;
    mdlRxSGlue::psConfigureAtStartup(s);
    mdlRxSGlue::pfSetGrid(s, mdlRxSGlue::pfObstacleGrid(benchWorld()));
    int t = 0;
    for (auto _ : state) {
        mdlRouteDirctSearch::pfStart(s.direct, 4, 3, t % 9, (t / 9) % 6);
        for (int i = 0; i < 3; ++i) {
            benchmark::DoNotOptimize(mdlRouteDirctSearch::pfNextDirection(s.direct, windows));
            if (mdlRxSGlue::pfNextStep(s, windows).isZero()) break;
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
    mdlRxSGlue::Searchers s;
    mdlRxSGlue::psConfigureAtStartup(s);
    mdlRxSGlue::pfSetGrid(s, mdlRxSGlue::pfObstacleGrid(w));
    mdlMain::MoveContext ctx{ts.services, mouse, s};
    mouse.held = -1;
    mouse.x = 300;
    mouse.y = 120;
    for (auto _ : state) {
        mdlMain::psMouseWalk(w, ctx);
        w.player.moving = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_MouseWalkFrame);

} // namespace

BENCHMARK_MAIN();
