#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "platform/ChipRuns.h"
#include "platform/MaskedCopy.h"
#include "platform/Surface.h"

using namespace plat;

TEST(Surface, ColourToMonoAndBackUsesTheSourceBackground) {
    Surface src = Surface::colour(3, 1);
    src.setPixel(0, 0, rgb(0, 255, 0));
    src.setPixel(1, 0, rgb(1, 2, 3));
    src.setPixel(2, 0, rgb(0, 255, 0));
    src.setBkColor(rgb(0, 255, 0));
    Surface mono = Surface::monochrome(3, 1);
    ASSERT_TRUE(bitBlt(mono, 0, 0, 3, 1, src, 0, 0, Rop::SrcCopy));
    Surface back = Surface::colour(3, 1);
    bitBlt(back, 0, 0, 3, 1, mono, 0, 0, Rop::SrcCopy);
    EXPECT_EQ(back.pixel(0, 0), kWhite);
    EXPECT_EQ(back.pixel(1, 0), kBlack);
    EXPECT_EQ(back.pixel(2, 0), kWhite);
}

TEST(Surface, RasterOperationsCombinePerPixel) {
    Surface dst = Surface::colour(1, 1);
    Surface src = Surface::colour(1, 1);
    src.setPixel(0, 0, 0x00F0F0F0);
    dst.setPixel(0, 0, 0x00FF00FF);
    bitBlt(dst, 0, 0, 1, 1, src, 0, 0, Rop::SrcAnd);
    EXPECT_EQ(dst.pixel(0, 0), 0x00F000F0u);
    bitBlt(dst, 0, 0, 1, 1, src, 0, 0, Rop::SrcInvert);
    EXPECT_EQ(dst.pixel(0, 0), 0x0000F000u);
    dst.setPixel(0, 0, 0x00FFFFFF);
    bitBlt(dst, 0, 0, 1, 1, src, 0, 0, Rop::DSna);
    EXPECT_EQ(dst.pixel(0, 0), 0x000F0F0Fu);
}

TEST(Surface, CopiesAreClippedToBothSurfaces) {
    Surface dst = Surface::colour(4, 4);
    dst.fill(kBlack);
    Surface src = Surface::colour(4, 4);
    src.fill(kWhite);
    EXPECT_TRUE(bitBlt(dst, -2, 3, 4, 4, src, 0, 0, Rop::SrcCopy));
    EXPECT_EQ(dst.pixel(0, 3), kWhite);
    EXPECT_EQ(dst.pixel(2, 3), kBlack);
    EXPECT_EQ(dst.pixel(0, 2), kBlack);
    EXPECT_TRUE(bitBlt(dst, 0, 0, 100, 100, src, 3, 3, Rop::SrcCopy));
    EXPECT_EQ(dst.pixel(0, 0), kWhite);
    EXPECT_EQ(dst.pixel(1, 0), kBlack);
}

TEST(Surface, NullSurfacesRefuseCopiesAndReleaseTwiceIsHarmless) {
    Surface a = Surface::colour(2, 2);
    Surface none;
    EXPECT_FALSE(bitBlt(a, 0, 0, 2, 2, none, 0, 0, Rop::SrcCopy));
    a.release();
    a.release();
    EXPECT_TRUE(a.isNull());
    EXPECT_EQ(a.pixel(0, 0), 0u);
}

TEST(Surface, StretchDoublesEachPixel) {
    Surface src = Surface::colour(2, 1);
    src.setPixel(0, 0, rgb(10, 0, 0));
    src.setPixel(1, 0, rgb(20, 0, 0));
    Surface dst = Surface::colour(4, 2);
    stretchBlt(dst, 0, 0, 4, 2, src, 0, 0, 2, 1);
    EXPECT_EQ(dst.pixel(1, 1), rgb(10, 0, 0));
    EXPECT_EQ(dst.pixel(2, 0), rgb(20, 0, 0));
    EXPECT_EQ(dst.pixel(3, 1), rgb(20, 0, 0));
}

// Shaded chips come from pixels prepared per shade tile: one batch shades the same chip with
// more tiles than are kept, and again after every tile changed; each picture equals the masked
// copies made one by one.
TEST(ChipRunCache, ShadedChipsFollowTheirShadeTiles) {
    std::mt19937 rnd(3);
    const auto noise = [&](plat::Surface& s) {
        for (int y = 0; y < s.height(); ++y)
            for (int x = 0; x < s.width(); ++x)
                s.setPixel(x, y, rnd() % 4 == 0 ? 0xFF00FF : rnd() & 0xFFFFFF);
    };
    plat::Surface sheet = plat::Surface::colour(40, 24);
    noise(sheet);
    std::vector<plat::Surface> tiles(6, plat::Surface::colour(32, 4));
    plat::ChipRunCache cache;
    for (int round = 0; round < 3; ++round) {
        for (plat::Surface& t : tiles)
            noise(t);
        plat::Surface got = plat::Surface::colour(260, 30), want = got;
        plat::DrawnSpans none;
        none.reset(got.height());
        cache.beginBatch(got, plat::kWhite, none);
        for (std::size_t i = 0; i < tiles.size() * 2; ++i) {
            const int x = static_cast<int>(i) * 20, sx = static_cast<int>(i / tiles.size()) * 8;
            const plat::Surface& tile = tiles[i % tiles.size()];
            cache.draw(got, x, 3, 32, 24, sheet, sx, 0, 0xFF00FF, &tile);
            plat::maskedCopy(want, x, 3, 32, 24, sheet, sx, 0, 0xFF00FF, &tile);
        }
        cache.endBatch();
        ASSERT_TRUE(std::equal(got.data(), got.data() + 260 * 30, want.data())) << round;
    }
}
