// The shipped chip sheets, and frames composed from them on the built-in map.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "assets/field/FieldPictures.h"
#include "field/ScenarioReader.h"
#include "platform/testing/TestSeams.h"
#include "test_chipdraw_rig.h"

using namespace chipdraw_rig;

namespace {

int opaquePixels(const plat::Surface& s, int x, int y, int w, int h) {
    int n = 0;
    for (int j = y; j < y + h; ++j) {
        for (int i = x; i < x + w; ++i)
            n += s.pixel(i, j) != kKey;
    }
    return n;
}

bool sameChip(const plat::Surface& s, int ax, int ay, int bx, int by, int w, int h) {
    for (int j = 0; j < h; ++j) {
        for (int i = 0; i < w; ++i) {
            if (s.pixel(ax + i, ay + j) != s.pixel(bx + i, by + j)) return false;
        }
    }
    return true;
}

} // namespace

TEST(ChipDrawPictures, SheetsHaveTheirSizesAndTheKeyWhereNothingIsDrawn) {
    const plat::Surface map = assets::makeMapChipSheet();
    const plat::Surface chars = assets::makeCharChipSheet();
    const plat::Surface events = assets::makeEventChipSheet();
    EXPECT_EQ(map.width(), 192);
    EXPECT_EQ(map.height(), 80);
    EXPECT_EQ(chars.width(), 576);
    EXPECT_EQ(chars.height(), 256);
    EXPECT_EQ(events.width(), 256);
    EXPECT_EQ(events.height(), 64);
    EXPECT_EQ(chars.pixel(2, 2), kKey); // the program reads its key here
    EXPECT_EQ(assets::kKeyGreen, kKey);

    // Map chips 0, 3 and 5 are empty; 1, 2 and 4 are not; row 40 of each cell stays key.
    for (int n = 0; n < 6; ++n) {
        SCOPED_TRACE(n);
        const int x = (n % 3) * 64, y = (n / 3) * 40;
        const bool drawn = n == 1 || n == 2 || n == 4;
        EXPECT_EQ(opaquePixels(map, x, y, 64, 39) > 500, drawn);
        if (!drawn) {
            EXPECT_EQ(opaquePixels(map, x, y, 64, 39), 0);
        }
        EXPECT_EQ(opaquePixels(map, x, y + 39, 64, 1), 0);
    }
    // The six event rectangles all hold a picture.
    const Rect rects[] = {{0, 0, 64, 32},   {0, 32, 64, 32},   {64, 0, 64, 64},
                          {128, 0, 64, 32}, {128, 32, 64, 32}, {192, 0, 64, 64}};
    for (const Rect& r : rects)
        EXPECT_GT(opaquePixels(events, r.x, r.y, r.w, r.h), 150) << r;
}

TEST(ChipDrawPictures, BlocksTileIntoAFloorWithoutGaps) {
    const plat::Surface map = assets::makeMapChipSheet();
    for (int chip : {1, 2}) {
        SCOPED_TRACE(chip);
        plat::Surface floor = plat::Surface::colour(320, 200);
        floor.setBackColor(kBack);
        floor.clear();
        // A 5 x 5 field of cells, back to front, as the renderer places them.
        for (int r = 0; r <= 8; ++r) {
            for (int x = 0; x <= 4; ++x) {
                const int y = r - x;
                if (y < 0 || y > 4) continue;
                plat::maskedCopy(floor, (x - y) * 32 + 128, (x + y) * 16, 64, 39, map,
                                 (chip % 3) * 64, 0, kKey);
            }
        }
        // Inside the field's diamond (well away from its rim) every pixel is block.
        int holes = 0;
        for (int y = 24; y < 136; ++y) {
            for (int x = 40; x < 280; ++x) {
                const double u = std::abs(x + 0.5 - 160) / 160.0 + std::abs(y + 0.5 - 80) / 80.0;
                if (u < 0.8 && floor.pixel(x, y) == kBack) ++holes;
            }
        }
        EXPECT_EQ(holes, 0);
    }
}

TEST(ChipDrawPictures, PeopleFacingsAndPosesAreAllDistinct) {
    const plat::Surface chars = assets::makeCharChipSheet();
    std::set<std::vector<plat::Color>> chips;
    for (int person = 0; person < 3; ++person) {
        for (int facing = 0; facing < 4; ++facing) {
            for (int pose = 0; pose < 3; ++pose) {
                const int x = person * 192 + pose * 64, y = facing * 64;
                EXPECT_GT(opaquePixels(chars, x, y, 64, 64), 400);
                std::vector<plat::Color> px;
                for (int j = 0; j < 64; ++j) {
                    for (int i = 0; i < 64; ++i)
                        px.push_back(chars.pixel(x + i, y + j));
                }
                chips.insert(std::move(px));
            }
        }
    }
    EXPECT_EQ(chips.size(), 36u);
    // Nothing of one chip spills into its neighbour: the chip frame is key.
    for (int x = 0; x < 576; x += 64) {
        for (int y = 0; y < 256; y += 64) {
            EXPECT_EQ(opaquePixels(chars, x, y, 64, 1), 0);
            EXPECT_EQ(opaquePixels(chars, x, y, 1, 64), 0);
        }
    }
    EXPECT_FALSE(sameChip(chars, 0, 64, 192, 64, 64, 64));
}

namespace {

struct BuiltInFrame : ::testing::Test {
    Rig rig;
    field::World demo;

    void SetUp() override {
        rig.mapChips = assets::makeMapChipSheet();
        rig.charChips = assets::makeCharChipSheet();
        rig.eveChips = assets::makeEventChipSheet();
        std::vector<field::ScenarioError> errors;
        ASSERT_TRUE(field::readBuiltInScenario(demo, errors));
        // The built-in map alone: a test that wants the objects puts the whole demo in.
        rig.world = demo;
        for (field::MapLayer& layer : rig.world.layers)
            for (std::vector<field::MapCell>& plane : layer.planes)
                for (field::MapCell& cell : plane)
                    cell.eventId = 0;
    }
};

} // namespace

TEST_F(BuiltInFrame, PlayerChipIsAtTheDrawPositionAndTheBackShowsAroundTheMap) {
    rig.world.player.visible = 0;
    rig.render();
    const plat::Surface without = rig.primary;
    rig.world.player.visible = -1;
    rig.render();

    std::optional<Rect> changed;
    int x0 = kW, y0 = kH, x1 = -1, y1 = -1;
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            if (rig.primary.pixel(x, y) == without.pixel(x, y)) continue;
            x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
        }
    }
    ASSERT_GE(x1, 0);
    EXPECT_GE(x0, 224);
    EXPECT_GE(y0, 64);
    EXPECT_LE(x1, 287);
    EXPECT_LE(y1, 127);
    // A pixel of the hero's body, facing left and standing: chip (64, 192) of the sheet.
    EXPECT_EQ(rig.primary.pixel(224 + 32, 64 + 34), rig.charChips.pixel(64 + 32, 192 + 34));
    EXPECT_EQ(rig.positionLabel.caption, u"1,2");

    // Margins and the sky beyond the map's edge show the back colour.
    for (auto [x, y] : {std::pair{0, 0}, {513, 257}, {20, 130}, {500, 20}, {100, 250}}) {
        EXPECT_EQ(rig.primary.pixel(x, y), kBack) << x << "," << y;
    }
    // The ground of (4, 4) is at (256, 176), nothing in front of its middle.
    EXPECT_EQ(rig.primary.pixel(256 + 32, 176 + 16), rig.mapChips.pixel(64 + 32, 16));
}

TEST_F(BuiltInFrame, BuiltInObjectsAppearOnTheirCells) {
    rig.world = demo;
    rig.render();
    // The gatekeeper at (6, 4) stands at (320, 176): its eye.
    EXPECT_EQ(rig.primary.pixel(320 + 32, 176 + 28), rig.eveChips.pixel(64 + 32, 28));
    // The sign at (2, 3), plane 1, at (224, 128).
    EXPECT_EQ(rig.primary.pixel(224 + 32, 128 + 6), rig.eveChips.pixel(32, 32 + 6));
}

// Frames composed one after another on one surface (each clearing only what the last one drew,
// the chips put down in bands) equal frames composed from scratch, whatever moved in between.
TEST_F(BuiltInFrame, EachFrameEqualsAFreshComposition) {
    rig.world = demo;
    std::mt19937 rng(7);
    const auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(rng); };
    for (int frame = 0; frame < 40; ++frame) {
        field::World& w = rig.world;
        w.player.x = pick(-1, w.maxX + 1);
        w.player.y = pick(-1, w.maxY + 1);
        w.player.layer = static_cast<std::int16_t>(pick(0, w.topLayer));
        w.player.facing = static_cast<std::int16_t>(pick(0, 3));
        rig.planeBox[pick(0, 3)].value = pick(0, 3) != 0;
        if (frame % 7 == 3) rig.primary.setPixel(pick(0, kW - 1), pick(0, kH - 1), 0x123456);
        if (frame % 11 == 5) rig.primary.setBackColor(plat::rgb(pick(0, 255), 9, 9));
        const int shade = pick(0, 3);

        Rig fresh;
        fresh.world = w;
        fresh.mapChips = rig.mapChips;
        fresh.charChips = rig.charChips;
        fresh.eveChips = rig.eveChips;
        fresh.primary.setBackColor(rig.primary.backColor());
        fresh.primary.fill(0x654321);
        for (int i = 0; i < 4; ++i)
            fresh.planeBox[i].value = rig.planeBox[i].value;
        fresh.render(shade);
        rig.render(shade);
        ASSERT_EQ(rig.primary.width(), fresh.primary.width());
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                ASSERT_EQ(rig.primary.pixel(x, y), fresh.primary.pixel(x, y))
                    << "frame " << frame << " at " << x << "," << y;
            }
        }
    }
}
