// The stretch copy and the colour copy against a literal per-pixel reading of their rules.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "platform/Surface.h"

namespace {

using plat::Surface;

// Destination pixel (x + i, y + j) takes source pixel (sx + floor(i * sw / w),
// sy + floor(j * sh / h)); pixels outside either surface are skipped.
void referenceStretch(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy,
                      int sw, int sh) {
    for (long long j = 0; j < h; ++j) {
        for (long long i = 0; i < w; ++i) {
            const long long dx = x + i, dy = y + j;
            const long long px = sx + i * sw / w, py = sy + j * sh / h;
            if (dx < 0 || dy < 0 || dx >= dst.width() || dy >= dst.height()) continue;
            if (px < 0 || py < 0 || px >= src.width() || py >= src.height()) continue;
            dst.setPixel(int(dx), int(dy), src.pixel(int(px), int(py)));
        }
    }
}

Surface randomSurface(std::mt19937& rng, int w, int h, bool mono) {
    Surface s(w, h, mono);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            s.setPixel(x, y, rng() & (mono ? 1u : 0xFFFFFFu));
    }
    return s;
}

bool samePixels(const Surface& a, const Surface& b) {
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
        }
    }
    return true;
}

TEST(StretchBlt, MatchesThePerPixelRuleForRandomRectanglesAndDepths) {
    std::mt19937 rng(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 400; ++round) {
        const bool srcMono = pick(0, 5) == 0, dstMono = pick(0, 5) == 0;
        const Surface src = randomSurface(rng, pick(1, 40), pick(1, 40), srcMono);
        Surface a = randomSurface(rng, pick(1, 60), pick(1, 60), dstMono);
        Surface b = a;
        const int x = pick(-20, 50), y = pick(-20, 50), w = pick(1, 90), h = pick(1, 90);
        const int sx = pick(-10, 30), sy = pick(-10, 30), sw = pick(1, 50), sh = pick(1, 50);
        ASSERT_TRUE(plat::stretchBlt(a, x, y, w, h, src, sx, sy, sw, sh));
        referenceStretch(b, x, y, w, h, src, sx, sy, sw, sh);
        ASSERT_TRUE(samePixels(a, b)) << "round " << round;
    }
}

TEST(StretchBlt, DoublingRepeatsEachPixelAndHugeOffsetsAreHarmless) {
    std::mt19937 rng(3);
    const Surface src = randomSurface(rng, 64, 64, false);
    Surface dst(128, 128);
    ASSERT_TRUE(plat::stretchBlt(dst, 0, 0, 128, 128, src, 0, 0, 64, 64));
    for (int y = 0; y < 128; ++y) {
        for (int x = 0; x < 128; ++x)
            ASSERT_EQ(dst.pixel(x, y), src.pixel(x / 2, y / 2));
    }
    const Surface before = dst;
    EXPECT_TRUE(plat::stretchBlt(dst, INT_MAX - 3, INT_MIN + 2, INT_MAX, INT_MAX, src, INT_MIN,
                                 INT_MAX, 64, 64));
    EXPECT_TRUE(samePixels(dst, before));
    EXPECT_FALSE(plat::stretchBlt(dst, 0, 0, 0, 10, src, 0, 0, 64, 64));
    EXPECT_FALSE(plat::stretchBlt(dst, 0, 0, 10, 10, src, 0, 0, -1, 64));
}

TEST(BitBlt, ColourCopiesKeepTheirRasterRulesPixelForPixel) {
    std::mt19937 rng(11);
    for (plat::Rop rop :
         {plat::Rop::SrcCopy, plat::Rop::SrcAnd, plat::Rop::SrcInvert, plat::Rop::DSna}) {
        const Surface src = randomSurface(rng, 30, 20, false);
        Surface dst = randomSurface(rng, 25, 25, false);
        const Surface before = dst;
        ASSERT_TRUE(plat::bitBlt(dst, 3, -2, 40, 40, src, 1, 0, rop));
        for (int y = 0; y < 25; ++y) {
            for (int x = 0; x < 25; ++x) {
                const int px = x - 3 + 1, py = y + 2;
                plat::Color want = before.pixel(x, y);
                if (x >= 3 && px < 30 && py < 20) {
                    const plat::Color s = src.pixel(px, py), d = before.pixel(x, y);
                    switch (rop) {
                    case plat::Rop::SrcCopy: want = s; break;
                    case plat::Rop::SrcAnd: want = d & s; break;
                    case plat::Rop::SrcInvert: want = d ^ s; break;
                    case plat::Rop::DSna: want = d & ~s & 0xFFFFFF; break;
                    }
                }
                ASSERT_EQ(dst.pixel(x, y), want) << x << "," << y;
            }
        }
    }
}

} // namespace
