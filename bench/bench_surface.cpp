// Cost of the masked chip copy: one map chip (64 x 39) at shade levels 0 and 2, and one frame
// of clearing the composition surface and drawing 100 such chips.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "field/graphics/FieldSurfaces.h"

namespace {

constexpr plat::Color kKey = plat::rgb(0, 255, 0);

// An isometric block like the map chips: a diamond top face over two side faces, key colour
// around it, so about a third of the pixels are transparent in an irregular pattern.
plat::Surface makeBlockSheet() {
    plat::Surface s = plat::Surface::colour(192, 80);
    s.fill(kKey);
    for (int y = 0; y < 39; ++y) {
        for (int x = 0; x < 64; ++x) {
            const int dx = std::abs(2 * x - 63); // distance from the centre line, doubled
            const bool inTop = dx <= 4 * std::min(y, 31 - y) + 3;
            const bool inSides = y >= 16 && y <= 38 - dx / 4;
            if (!inTop && !inSides) continue;
            const plat::Color c = inTop && y < 32 ? plat::rgb(40, 160 + (x + y) % 40, 50)
                                  : x < 32        ? plat::rgb(90, 60, 30)
                                                  : plat::rgb(120, 80, 40);
            s.setPixel(x + 64, y, c);
        }
    }
    return s;
}

struct Fixture {
    plat::Surface primary = plat::Surface::colour(514, 258);
    plat::Surface sheet = makeBlockSheet();
    plat::Surface m25 = field::makeShadeMaskPicture(1);
    plat::Surface m50 = field::makeShadeMaskPicture(2);
    plat::Surface m75 = field::makeShadeMaskPicture(3);
    field::FieldSurfaces g;
    Fixture() {
        primary.setBackColor(plat::fromBgr(16750230));
        primary.clear();
        field::initShadeMasks(g, 64, 64, &m25, &m50, &m75);
        field::initMaskedCopy(g, &primary, &primary);
    }
};

void BM_TransBltFastChip(benchmark::State& state) {
    Fixture f;
    const int level = static_cast<int>(state.range(0));
    for (auto _ : state) {
        field::maskedCopyFast(f.g, f.primary, 200, 100, 64, 39, f.sheet, 64, 0, kKey, level);
        benchmark::DoNotOptimize(f.primary.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TransBltFastChip)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

// 100 chips on a 10 x 10 staggered grid covering the surface, the outer ones clipped at its
// edges, as a composed map frame has them.
void BM_Frame(benchmark::State& state) {
    Fixture f;
    const int level = static_cast<int>(state.range(0));
    for (auto _ : state) {
        f.primary.clear();
        for (int row = 0; row < 10; ++row) {
            for (int col = 0; col < 10; ++col) {
                const int x = -32 + col * 56 + (row % 2) * 28;
                const int y = -20 + row * 28;
                field::maskedCopyFast(f.g, f.primary, x, y, 64, 39, f.sheet, 64, 0, kKey, level);
            }
        }
        benchmark::DoNotOptimize(f.primary.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Frame)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
