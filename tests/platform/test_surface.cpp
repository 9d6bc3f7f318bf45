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

// One batch shades a chip with more tiles than are kept, and again after every tile changed;
// the picture equals the masked copies made one by one.
TEST(ChipRunCache, ShadedChipsFollowTheirShadeTiles) {
    std::mt19937 rnd(3);
    const auto noise = [&](Surface& s) {
        for (int i = 0; i < s.width() * s.height(); ++i)
            s.setPixel(i % s.width(), i / s.width(), rnd() % 4 ? rnd() & 0xFFFFFF : 0xFF00FF);
    };
    Surface sheet = Surface::colour(40, 24);
    noise(sheet);
    std::vector<Surface> tiles(6, Surface::colour(32, 4));
    ChipRunCache cache;
    for (int round = 0; round < 3; ++round) {
        std::for_each(tiles.begin(), tiles.end(), noise);
        Surface got = Surface::colour(260, 30), want = got;
        DrawnSpans none;
        cache.beginBatch(got, kWhite, none);
        for (int i = 0; i < 12; ++i) {
            cache.draw(got, i * 20, 3, 32, 24, sheet, i / 6 * 8, 0, 0xFF00FF, &tiles[i % 6]);
            maskedCopy(want, i * 20, 3, 32, 24, sheet, i / 6 * 8, 0, 0xFF00FF, &tiles[i % 6]);
        }
        cache.endBatch();
        ASSERT_TRUE(std::equal(got.data(), got.data() + 260 * 30, want.data())) << round;
    }
}
