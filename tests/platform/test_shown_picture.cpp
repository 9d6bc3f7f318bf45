// What a window shows: a presentation is skipped only when the picture is bit-identical to the
// one shown, and a changed picture always reaches the screen whole.
#include <gtest/gtest.h>

#include <random>

#include "platform/ShownPicture.h"

using namespace plat;

TEST(ShownPicture, EveryChangeIsShownAndOnlyUnchangedPicturesAreSkipped) {
    std::mt19937 rng(11);
    const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
    Surface s = Surface::colour(37, 23);
    ShownPicture shown;
    Surface onScreen; // the picture as the repaints so far have left it
    for (int step = 0; step < 600; ++step) {
        const Surface before = s;
        switch (pick(0, 9)) {
        case 0: break;            // nothing changes
        case 1: s.touch(); break; // touched, unchanged
        case 2: s.setPixel(pick(0, s.width() - 1), pick(0, s.height() - 1), 0x00FF00); break;
        case 3: s.setPixel(pick(0, s.width() - 1), pick(0, s.height() - 1), pick(0, 1)); break;
        case 4: s.resize(pick(1, 40), pick(1, 30)); break;
        case 5: s.setBackColor(pick(0, 1) ? kWhite : kBlack); break;
        case 6: s.fill(pick(0, 2)); break;
        default: // a small rectangle, sometimes rewriting what is already there
            bitBlt(s, pick(-3, 35), pick(-3, 20), pick(1, 6), pick(1, 6), before, pick(0, 30),
                   pick(0, 15), Rop::SrcCopy);
            s.setPixel(pick(0, s.width() - 1), 0, static_cast<Color>(pick(0, 3)));
        }
        const PixelRect r = shown.take(s);
        // Repaint what was named; every pixel outside keeps what the screen showed.
        if (onScreen.width() != shown.width() || onScreen.height() != shown.height()) {
            ASSERT_EQ(r.width, s.width()) << step;
            ASSERT_EQ(r.height, s.height()) << step;
            onScreen = Surface::colour(s.width(), s.height());
        }
        for (int y = r.y; y < r.y + r.height; ++y) {
            for (int x = r.x; x < r.x + r.width; ++x)
                onScreen.setPixel(x, y, shown.data()[y * shown.width() + x]);
        }
        bool same = before.width() == s.width() && before.height() == s.height() &&
                    before.backColor() == s.backColor();
        for (int y = 0; y < s.height(); ++y) {
            for (int x = 0; x < s.width(); ++x) {
                ASSERT_EQ(onScreen.pixel(x, y), s.pixel(x, y)) << "step " << step;
                ASSERT_EQ(shown.data()[y * shown.width() + x], s.pixel(x, y)) << "step " << step;
                same = same && before.pixel(x, y) == s.pixel(x, y);
            }
        }
        if (step > 0) { // the first picture is always shown
            EXPECT_EQ(r.empty(), same) << "step " << step;
        }
        ASSERT_EQ(shown.backColor(), s.backColor());
    }
}
