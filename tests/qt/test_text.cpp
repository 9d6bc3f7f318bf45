// Text drawn onto pixel surfaces.
#include <gtest/gtest.h>

#include <climits>

#include "QtTestApp.h"
#include "platform/qt/QtText.h"

namespace {

int countColour(const plat::Surface& s, plat::Color c) {
    int n = 0;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x)
            n += s.pixel(x, y) == c;
    }
    return n;
}

TEST(QtText, DrawsInTheForeColourBelowThePointAndKeepsTopBytesZero) {
    qtTestApp();
    plat::qt::QtTextRenderer text;
    plat::Surface s = plat::Surface::colour(120, 40);
    s.setBackColor(plat::kWhite);
    s.clear();
    s.setForeColor(plat::rgb(200, 0, 0));
    s.setFontPixelSize(12);
    const auto before = s.generation();

    EXPECT_EQ(text.textOut(s, 4, 10, "FPS:25"), 1);
    EXPECT_GT(countColour(s, plat::rgb(200, 0, 0)), 20);
    // No antialiasing: every pixel is either the background or the text colour.
    EXPECT_EQ(countColour(s, plat::kWhite) + countColour(s, plat::rgb(200, 0, 0)), 120 * 40);
    for (int x = 0; x < 120; ++x) {
        EXPECT_EQ(s.pixel(x, 9), plat::kWhite) << "nothing above the text cell";
    }
    for (int i = 0; i < 120 * 40; ++i)
        ASSERT_EQ(s.data()[i] >> 24, 0u);
    EXPECT_NE(s.generation(), before);
}

TEST(QtText, JapaneseTextIsDrawnAndBadTargetsAreRefused) {
    qtTestApp();
    plat::qt::QtTextRenderer text;
    plat::Surface s = plat::Surface::colour(100, 30);
    s.clear();
    EXPECT_EQ(text.textOut(s, 0, 0, "門番"), 1);
    EXPECT_GT(countColour(s, plat::kBlack), 10);

    plat::Surface null;
    EXPECT_EQ(text.textOut(null, 0, 0, "x"), 0);
    plat::Surface mono = plat::Surface::monochrome(8, 8);
    EXPECT_EQ(text.textOut(mono, 0, 0, "x"), 0);
    // Far outside the surface: nothing to draw, nothing breaks.
    EXPECT_EQ(text.textOut(s, -100000, 100000, "x"), 1);
    EXPECT_EQ(text.textOut(s, INT_MIN, INT_MAX, "x"), 1);
    s.setFontPixelSize(-5);
    EXPECT_EQ(text.textOut(s, 0, 0, "x"), 1);
}

} // namespace

// Texts kept from an earlier drawing land exactly as the painter draws them, wherever they are
// put, also cut at the surface's edges and over any background.
TEST(QtText, KeptTextsEqualTextsPaintedEachTime) {
    qtTestApp();
    plat::qt::QtTextRenderer kept;
    plat::qt::QtTextRenderer painted(false);
    const char* texts[] = {"FPS:25", "HP :200", "残り枚数", "殴", "6", "門番 gj|Q"};
    for (int round = 0; round < 60; ++round) {
        plat::Surface a = plat::Surface::colour(90, 40);
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                a.setPixel(x, y, plat::rgb(x * 3, y * 6, round * 4));
        a.setForeColor(round % 3 == 0 ? plat::kBlack : plat::rgb(200, round, 7));
        a.setFontPixelSize(round % 4 == 0 ? 36 : 12 + round % 5);
        plat::Surface b = a;
        const int x = (round * 37) % 110 - 30, y = (round * 23) % 70 - 25;
        const char* text = texts[round % std::size(texts)];
        for (int again = 0; again < 2; ++again) { // the second time from what was kept
            ASSERT_EQ(kept.textOut(a, x + 31 * again, y + 9 * again, text), 1);
            ASSERT_EQ(painted.textOut(b, x + 31 * again, y + 9 * again, text), 1);
        }
        for (int py = 0; py < a.height(); ++py)
            for (int px = 0; px < a.width(); ++px)
                ASSERT_EQ(a.data()[py * a.width() + px], b.data()[py * b.width() + px])
                    << text << " at " << x << "," << y << " pixel " << px << "," << py;
    }
}
