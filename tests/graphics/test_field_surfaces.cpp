#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <random>
#include <string>
#include <vector>

#include "field/graphics/FieldSurfaces.h"
#include "platform/MaskedCopy.h"

using namespace field;
using plat::Color;
using plat::Rop;
using plat::Surface;

namespace {

constexpr Color kKey = plat::rgb(0, 255, 0);

// The masked copy exactly as the raster recipe spells it out: one-bit mask, colour mask and
// sprite of w x h, shade tiles ANDed onto the sprite, then AND and XOR onto the destination.
void recipeCopy(const FieldSurfaces& g, Surface& dest, int x, int y, int w, int h, Surface& src,
                int sx, int sy, Color key, int level) {
    Surface mono = Surface::monochrome(w, h);
    Surface colourMask = Surface::colour(w, h);
    Surface sprite = Surface::colour(w, h);
    const Color savedBk = src.bkColor();
    src.setBkColor(key);
    bitBlt(mono, 0, 0, w, h, src, sx, sy, Rop::SrcCopy);
    src.setBkColor(savedBk);
    bitBlt(colourMask, 0, 0, w, h, mono, 0, 0, Rop::SrcCopy);
    bitBlt(sprite, 0, 0, w, h, src, sx, sy, Rop::SrcCopy);
    bitBlt(sprite, 0, 0, w, h, mono, 0, 0, Rop::DSna);
    if (level != 0) {
        if (const Surface* shade = shadeMask(g, level)) {
            const int tw = g.shadeTileWidth, th = g.shadeTileHeight;
            for (int i = 0; i <= (w - 1) / tw; ++i) {
                for (int j = 0; j <= (h - 1) / th; ++j) {
                    const int cw = i == (w - 1) / tw ? (w - 1) % tw + 1 : tw;
                    const int ch = j == (h - 1) / th ? (h - 1) % th + 1 : th;
                    bitBlt(sprite, i * tw, j * th, cw, ch, *shade, 0, 0, Rop::SrcAnd);
                }
            }
        }
    }
    bitBlt(dest, x, y, w, h, colourMask, 0, 0, Rop::SrcAnd);
    bitBlt(dest, x, y, w, h, sprite, 0, 0, Rop::SrcInvert);
}

// Shade state built from the three pictures, as start-up does.
struct Shades {
    Surface m25 = makeShadeMaskPicture(1);
    Surface m50 = makeShadeMaskPicture(2);
    Surface m75 = makeShadeMaskPicture(3);
    Surface primary = Surface::colour(514, 258);
    FieldSurfaces g;
    Shades() {
        initShadeMasks(g, m25.width(), m25.height(), &m25, &m50, &m75);
        initMaskedCopy(g, &primary, &primary);
    }
};

// Random chip: mostly key colour, near-key colours (one bit off) and arbitrary colours.
Surface randomSheet(std::mt19937& rng, int w, int h) {
    Surface s = Surface::colour(w, h);
    std::uniform_int_distribution<int> kind(0, 3);
    std::uniform_int_distribution<std::uint32_t> any(0, 0xFFFFFF);
    std::uniform_int_distribution<int> bit(0, 23);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int k = kind(rng);
            const Color c = k <= 1 ? kKey : k == 2 ? (kKey ^ (1u << bit(rng))) : any(rng);
            s.setPixel(x, y, c);
        }
    }
    return s;
}

Surface randomDest(std::mt19937& rng, int w, int h) {
    Surface d = Surface::colour(w, h);
    std::uniform_int_distribution<std::uint32_t> any(0, 0xFFFFFF);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            d.setPixel(x, y, any(rng));
    return d;
}

// Position of the first differing pixel, or "" when the surfaces are equal.
std::string firstDifference(const Surface& a, const Surface& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return std::string("(")
                    .append(std::to_string(x))
                    .append(",")
                    .append(std::to_string(y))
                    .append(")");
    return "";
}

// A mask written as the shade table reads: '#' black, 'W' white, 'n' near-white (253).
std::vector<std::string> maskRows(const Surface& m, int w, int h) {
    std::vector<std::string> rows;
    for (int y = 0; y < h; ++y) {
        std::string r;
        for (int x = 0; x < w; ++x) {
            const Color c = m.pixel(x, y);
            r += c == plat::kBlack               ? '#'
                 : c == plat::kWhite             ? 'W'
                 : c == plat::rgb(253, 253, 253) ? 'n'
                                                 : '?';
        }
        rows.push_back(r);
    }
    return rows;
}

} // namespace

TEST(MaskedCopyRecipe, DirectComputationEqualsTheRasterRecipe) {
    Shades s;
    std::mt19937 rng(20240131);
    std::uniform_int_distribution<int> levelDist(-2, 5);
    std::uniform_int_distribution<int> posDist(-80, 120);
    for (int round = 0; round < 400; ++round) {
        const bool fast = round % 2 == 0;
        const int maxW = fast ? kWorkWidth : 70;
        const int w = std::uniform_int_distribution<int>(1, maxW)(rng);
        const int h = std::uniform_int_distribution<int>(1, 70)(rng);
        Surface sheet = randomSheet(rng, 90, 90);
        const int sx = std::uniform_int_distribution<int>(0, 90 - w)(rng);
        const int sy = std::uniform_int_distribution<int>(0, 90 - h)(rng);
        const int x = posDist(rng), y = posDist(rng);
        const int level = levelDist(rng);
        Surface expected = randomDest(rng, 130, 110);
        Surface actual = expected;
        recipeCopy(s.g, expected, x, y, w, h, sheet, sx, sy, kKey, level);
        const bool ok = fast ? maskedCopyFast(s.g, actual, x, y, w, h, sheet, sx, sy, kKey, level)
                             : maskedCopy(s.g, actual, x, y, w, h, sheet, sx, sy, kKey, level);
        ASSERT_TRUE(ok);
        ASSERT_EQ(firstDifference(actual, expected), "")
            << "round " << round << " fast " << fast << " " << w << "x" << h << " at " << x << ","
            << y << " level " << level;
    }
}

TEST(ShadeMasks, PicturesFollowTheirTables) {
    const Surface m25 = makeShadeMaskPicture(1);
    const Surface m50 = makeShadeMaskPicture(2);
    const Surface m75 = makeShadeMaskPicture(3);
    for (const Surface* m : {&m25, &m50, &m75}) {
        EXPECT_EQ(m->width(), 64);
        EXPECT_EQ(m->height(), 64);
    }
    // Every period of the pattern repeats across the whole picture.
    const std::vector<std::string> p25 = {"W#WW", "WWW#"};
    const std::vector<std::string> p50 = {"W##W", "#WW#"};
    const std::vector<std::string> p75 = {"##n#", "n###", "###W", "#n##"};
    const auto full25 = maskRows(m25, 64, 64);
    const auto full50 = maskRows(m50, 64, 64);
    const auto full75 = maskRows(m75, 64, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(full25[y][x], p25[y % 2][x % 4]) << x << "," << y;
            ASSERT_EQ(full50[y][x], p50[y % 2][x % 4]) << x << "," << y;
            ASSERT_EQ(full75[y][x], p75[y % 4][x % 4]) << x << "," << y;
        }
    }
}

TEST(ShadeMasks, OtherLevelsAndSizesGiveNoPicture) {
    EXPECT_TRUE(makeShadeMaskPicture(0).isNull());
    EXPECT_TRUE(makeShadeMaskPicture(4).isNull());
    EXPECT_TRUE(makeShadeMaskPicture(-1).isNull());
    EXPECT_TRUE(makeShadeMaskPicture(1, 0, 64).isNull());
    EXPECT_TRUE(makeShadeMaskPicture(1, INT_MAX, INT_MAX).isNull());
    EXPECT_EQ(makeShadeMaskPicture(2, 6, 3).width(), 6);
}

TEST(ShadeLevels, WhatEachLevelKeepsOfASolidChip) {
    Shades s;
    Surface chip = Surface::colour(8, 4);
    chip.fill(plat::rgb(0x0F, 0x0F, 0x0F)); // every channel has the bit of value 2 set
    auto draw = [&](int level) {
        Surface dest = Surface::colour(8, 4);
        dest.fill(plat::rgb(200, 10, 10));
        maskedCopyFast(s.g, dest, 0, 0, 8, 4, chip, 0, 0, kKey, level);
        std::vector<std::string> rows;
        for (int y = 0; y < 4; ++y) {
            std::string r;
            for (int x = 0; x < 8; ++x) {
                const Color c = dest.pixel(x, y);
                r += c == plat::kBlack ? '.' : c == 0x0F0F0F ? 'o' : c == 0x0D0D0D ? 'd' : '?';
            }
            rows.push_back(r);
        }
        return rows;
    };
    using Rows = std::vector<std::string>;
    EXPECT_EQ(draw(0), (Rows{"oooooooo", "oooooooo", "oooooooo", "oooooooo"}));
    EXPECT_EQ(draw(1), (Rows{"o.ooo.oo", "ooo.ooo.", "o.ooo.oo", "ooo.ooo."}));
    // Pairs of two, shifted by two from one row to the next.
    EXPECT_EQ(draw(2), (Rows{"o..oo..o", ".oo..oo.", "o..oo..o", ".oo..oo."}));
    // One in four; the kept pixels of rows 0, 1 and 3 lose the bit of value 2.
    EXPECT_EQ(draw(3), (Rows{"..d...d.", "d...d...", "...o...o", ".d...d.."}));
    // No mask to tile: drawn as level 0.
    for (int level : {-1, 4, 99, INT_MIN, INT_MAX})
        EXPECT_EQ(draw(level), draw(0)) << level;
}

TEST(ShadeLevels, PatternIsAnchoredAtTheChipNotTheScreen) {
    Shades s;
    Surface chip = Surface::colour(70, 70);
    chip.fill(plat::kWhite);
    Surface dest = Surface::colour(200, 200);
    dest.fill(plat::rgb(1, 2, 3));
    // A 70 x 70 chip uses tiles of 64 x 64, 6 x 64, 64 x 6 and 6 x 6, each restarting the
    // pattern at its own corner.
    ASSERT_TRUE(maskedCopy(s.g, dest, 3, 5, 70, 70, chip, 0, 0, kKey, 1));
    const Surface& mask = s.m25;
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 70; ++x)
            ASSERT_EQ(dest.pixel(3 + x, 5 + y), mask.pixel(x % 64, y % 64)) << x << "," << y;
    EXPECT_EQ(dest.pixel(2, 5), plat::rgb(1, 2, 3));
    EXPECT_EQ(dest.pixel(73, 5), plat::rgb(1, 2, 3));

    // A chip clipped at the left edge keeps the pattern it has when drawn in full.
    Surface clipped = Surface::colour(64, 39);
    clipped.fill(plat::rgb(9, 9, 9));
    ASSERT_TRUE(maskedCopyFast(s.g, clipped, -3, -1, 64, 39, chip, 0, 0, kKey, 2));
    for (int y = 0; y < 38; ++y)
        for (int x = 0; x < 61; ++x)
            ASSERT_EQ(clipped.pixel(x, y), s.m50.pixel((x + 3) % 64, (y + 1) % 64));
}

TEST(MaskedCopyEdges, KeyPixelsLeaveTheDestination) {
    Shades s;
    Surface allKey = Surface::colour(64, 39);
    allKey.fill(kKey);
    std::mt19937 rng(7);
    const Surface before = randomDest(rng, 100, 60);
    for (int level : {0, 1, 2, 3}) {
        Surface dest = before;
        EXPECT_TRUE(maskedCopyFast(s.g, dest, 10, 10, 64, 39, allKey, 0, 0, kKey, level));
        EXPECT_EQ(firstDifference(dest, before), "") << level;
    }
    // Only the exact key is transparent; one bit off is drawn.
    Surface nearKey = Surface::colour(1, 1);
    nearKey.setPixel(0, 0, kKey ^ 1u);
    Surface dest = before;
    maskedCopyFast(s.g, dest, 0, 0, 1, 1, nearKey, 0, 0, kKey, 0);
    EXPECT_EQ(dest.pixel(0, 0), kKey ^ 1u);
}

TEST(MaskedCopyEdges, SourceOutsideTheSheetIsTransparentAndHugeCoordinatesAreSafe) {
    Shades s;
    Surface sheet = Surface::colour(4, 4);
    sheet.fill(plat::rgb(50, 60, 70));
    Surface dest = Surface::colour(8, 8);
    dest.fill(plat::kBlack);
    ASSERT_TRUE(maskedCopyFast(s.g, dest, 0, 0, 8, 8, sheet, -2, -2, kKey, 0));
    EXPECT_EQ(dest.pixel(1, 1), plat::kBlack);
    EXPECT_EQ(dest.pixel(2, 2), plat::rgb(50, 60, 70));
    EXPECT_EQ(dest.pixel(5, 5), plat::rgb(50, 60, 70));
    EXPECT_EQ(dest.pixel(6, 6), plat::kBlack);

    const Surface before = dest;
    EXPECT_TRUE(maskedCopy(s.g, dest, INT_MAX, INT_MAX, INT_MAX, INT_MAX, sheet, 0, 0, kKey, 1));
    EXPECT_TRUE(
        maskedCopy(s.g, dest, INT_MIN, INT_MIN, INT_MAX, INT_MAX, sheet, INT_MAX, 0, kKey, 2));
    EXPECT_TRUE(maskedCopyFast(s.g, dest, 0, 0, -5, -5, sheet, 0, 0, kKey, 0));
    EXPECT_EQ(firstDifference(dest, before), "");
}

TEST(MaskedCopyEdges, CopyWithinOneSurfaceReadsTheChipBeforeWriting) {
    Shades s;
    std::mt19937 rng(99);
    Surface sheet = randomSheet(rng, 40, 40);
    Surface expected = sheet;
    const Surface snapshot = sheet;
    plat::maskedCopy(expected, 3, 2, 30, 30, snapshot, 0, 0, kKey);
    ASSERT_TRUE(maskedCopyFast(s.g, sheet, 3, 2, 30, 30, sheet, 0, 0, kKey, 0));
    EXPECT_EQ(firstDifference(sheet, expected), "");
}

TEST(MaskedCopyEdges, OneBitSurfacesAndNullSurfacesAreRefused) {
    Surface colour = Surface::colour(4, 4);
    Surface mono = Surface::monochrome(4, 4);
    Surface null;
    EXPECT_FALSE(plat::maskedCopy(mono, 0, 0, 4, 4, colour, 0, 0, kKey));
    EXPECT_FALSE(plat::maskedCopy(colour, 0, 0, 4, 4, mono, 0, 0, kKey));
    EXPECT_FALSE(plat::maskedCopy(null, 0, 0, 4, 4, colour, 0, 0, kKey));
    EXPECT_FALSE(plat::maskedCopy(colour, 0, 0, 4, 4, null, 0, 0, kKey));
}

TEST(WorkSurfaces, FastCopyRunsOnlyBetweenInitAndRelease) {
    Surface primary = Surface::colour(514, 258);
    Surface chip = Surface::colour(70, 101);
    chip.fill(plat::kWhite);
    Surface dest = Surface::colour(100, 120);
    dest.fill(plat::kBlack);
    FieldSurfaces g;
    EXPECT_FALSE(maskedCopyFast(g, dest, 0, 0, 64, 39, chip, 0, 0, kKey, 0));
    Surface null;
    EXPECT_FALSE(initMaskedCopy(g, &primary, &null));
    EXPECT_FALSE(initMaskedCopy(g, nullptr, &primary));
    EXPECT_TRUE(g.sprite.isNull());
    EXPECT_EQ(dest.pixel(0, 0), plat::kBlack);

    ASSERT_TRUE(initMaskedCopy(g, &primary, &primary));
    EXPECT_EQ(g.sprite.width(), 64);
    EXPECT_EQ(g.sprite.height(), 100);
    EXPECT_TRUE(maskedCopyFast(g, dest, 0, 0, 64, 100, chip, 0, 0, kKey, 0));
    // Larger than the cached surfaces: refused whole rather than cut at 64 x 100.
    dest.fill(plat::kBlack);
    EXPECT_FALSE(maskedCopyFast(g, dest, 0, 0, 65, 39, chip, 0, 0, kKey, 0));
    EXPECT_FALSE(maskedCopyFast(g, dest, 0, 0, 64, 101, chip, 0, 0, kKey, 0));
    EXPECT_EQ(dest.pixel(0, 0), plat::kBlack);
    EXPECT_TRUE(maskedCopy(g, dest, 0, 0, 70, 101, chip, 0, 0, kKey, 0));
    EXPECT_EQ(dest.pixel(69, 100), plat::kWhite);

    releaseSurfaces(g);
    EXPECT_TRUE(g.sprite.isNull());
    releaseSurfaces(g);
    EXPECT_FALSE(maskedCopyFast(g, dest, 0, 0, 64, 39, chip, 0, 0, kKey, 0));
}

TEST(WorkSurfaces, ShadeSurfacesArePrivateCopiesReleasedWithTheWork) {
    Surface m25 = makeShadeMaskPicture(1);
    Surface m75 = makeShadeMaskPicture(3);
    FieldSurfaces g;
    EXPECT_FALSE(initShadeMasks(g, 0, 64, &m25, nullptr, &m75));
    EXPECT_FALSE(initShadeMasks(g, 64, INT_MAX, &m25, nullptr, &m75));
    EXPECT_EQ(shadeMask(g, 1), nullptr);

    ASSERT_TRUE(initShadeMasks(g, 64, 64, &m25, nullptr, &m75));
    EXPECT_EQ(g.shadeTileWidth, 64);
    EXPECT_EQ(g.shadeTileHeight, 64);
    ASSERT_NE(shadeMask(g, 1), nullptr);
    EXPECT_EQ(shadeMask(g, 2), nullptr); // its mask was not given
    ASSERT_NE(shadeMask(g, 3), nullptr);
    EXPECT_EQ(shadeMask(g, 0), nullptr);
    EXPECT_EQ(shadeMask(g, 4), nullptr);
    EXPECT_EQ(shadeMask(g, -1), nullptr);

    // Later changes to the picture box do not reach the copy.
    m25.fill(plat::kBlack);
    EXPECT_EQ(shadeMask(g, 1)->pixel(0, 0), plat::kWhite);

    // A level whose mask is missing draws unshaded.
    Surface primary = Surface::colour(10, 10);
    initMaskedCopy(g, &primary, &primary);
    Surface chip = Surface::colour(4, 1);
    chip.fill(plat::rgb(10, 20, 30));
    Surface dest = Surface::colour(4, 1);
    ASSERT_TRUE(maskedCopyFast(g, dest, 0, 0, 4, 1, chip, 0, 0, kKey, 2));
    EXPECT_EQ(dest.pixel(1, 0), plat::rgb(10, 20, 30));

    releaseSurfaces(g);
    EXPECT_EQ(shadeMask(g, 1), nullptr);
    EXPECT_EQ(shadeMask(g, 3), nullptr);
}

// Frames with a small change or none equal the same chips put down on a fresh surface; most
// repeated frames keep the surface's stamp (one right after a change may write again).
TEST(Composition, EachFrameEqualsAFreshOneAndARepeatedFrameWritesNothing) {
    Shades s;
    std::mt19937 rng(11);
    const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
    std::vector<Surface> sheets;
    std::vector<std::array<int, 8>> chips; // sheet, sx, sy, w, h, x, y, shade level
    for (int i = 0; i < 6; ++i) {
        sheets.push_back(randomSheet(rng, 96, 64));
        chips.push_back({i, pick(0, 56), pick(0, 32), pick(8, 40), pick(8, 32), pick(0, 474),
                         pick(0, 226), pick(0, 3)});
    }
    int still = 0, kept = 0;
    for (int frame = 0; frame < 800; ++frame) {
        auto& c = chips[pick(0, 1) ? 0 : pick(1, 5)]; // the first is put down with none queued
        const int change = pick(0, 19), field = pick(1, 7);
        if (change < 3) c[field] = field == 7 ? pick(0, 3) : c[field] + pick(0, 1) * 2 - 1;
        if (change == 3) sheets[c[0]].setPixel(c[1] + pick(0, c[3] - 1), c[2], pick(0, 1) * kKey);
        if (change == 4) s.primary.setPixel(pick(0, 513), pick(0, 257), 5);
        if (change == 5) std::swap(c, chips[pick(0, 5)]);
        if (change == 6) initShadeMasks(s.g, 64, 64, &s.m75, &s.m25, &s.m50); // other tiles
        if (change == 7) s.primary.setBackColor(plat::rgb(pick(0, 1) * 200, 50, 9));
        const std::uint64_t stamp = s.primary.generation();
        Surface fresh = Surface::colour(514, 258);
        fresh.fill(s.primary.backColor());
        clearComposition(s.g, s.primary);
        for (Surface* onto : {&s.primary, &fresh}) { // the fresh one is not batched
            for (const auto& [sheet, sx, sy, w, h, x, y, level] : chips)
                maskedCopy(s.g, *onto, x, y, w, h, sheets[sheet], sx, sy, kKey, level);
        }
        compositionDone(s.g, s.primary);
        ASSERT_EQ(firstDifference(s.primary, fresh), "") << "frame " << frame;
        still += change > 7;
        kept += change > 7 && s.primary.generation() == stamp;
    }
    EXPECT_GT(kept, still / 2) << "repeated frames were written again";
}
