// Time of one frame composition of the built-in map at the start position, all layers and
// planes shown, with the shipped sheets and the built-in event objects.
#include <benchmark/benchmark.h>

#include "assets/field/FieldPictures.h"
#include "field/World.h"
#include "field/graphics/mdlChipDraw.h"
#include "field/graphics/mdlGraphic.h"
#include "field/mdlDataCtrl.h"
#include "platform/testing/TestSeams.h"

namespace {

struct StartScene {
    plat::testing::TestServices ts;
    field::World world;
    mdlRxSGlue::Searchers searchers;
    mdlGraphic::GraphicState g;
    plat::Surface masks[3];
    plat::Surface mapChips = assets::makeMapChipSheet();
    plat::Surface charChips = assets::makeCharChipSheet();
    plat::Surface eveChips = assets::makeEventChipSheet();
    plat::Surface primary = plat::Surface::colour(514, 258);
    mdlChipDraw::Sheets sheets{mapChips, charChips, eveChips, primary};
    mdlChipDraw::ViewControls view; // no boxes: everything shown
    bool ok = false;

    StartScene() {
        for (int i = 0; i < 3; ++i)
            masks[i] = mdlGraphic::psMakeShadeMaskPicture(i + 1);
        mdlGraphic::pfInitShadeMasks(g, 64, 64, &masks[0], &masks[1], &masks[2]);
        primary.setBackColor(plat::fromBgr(16750230));
        mdlGraphic::pfInitTransWork(g, &primary, &primary);
        field::initPlayer(world);
        ok = mdlDataCtrl::pfBuildMap(world, ts.services) && mdlDataCtrl::pfBuildScripts(world) &&
             mdlDataCtrl::pfBuildEventObjects(world, searchers);
    }
};

void renderAt(benchmark::State& state, int shade) {
    StartScene scene;
    if (!scene.ok) {
        state.SkipWithError("built-in data did not build");
        return;
    }
    const plat::Color key = scene.charChips.pixel(2, 2);
    for (auto _ : state) {
        mdlChipDraw::psRenderFrame(scene.g, key, shade, scene.sheets, scene.world, 224, 64, 514,
                                   258, scene.view);
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
BENCHMARK(BM_ClearComposition)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
