#include <gtest/gtest.h>

#include "field/BuiltInData.h"
#include "field/BuiltInMap.h"
#include "platform/testing/TestSeams.h"

using namespace field;
using field::MapCell;
using field::World;

namespace {

const std::u16string kReadError = u"＠＠＠＠＠ふぁいるよみこみえらー";

struct MapBuild : ::testing::Test {
    plat::testing::TestServices ts;
    World world;

    // Six empty rows for every plane; a test fills in what it needs.
    static MapTexts emptyTexts() {
        MapTexts t;
        for (auto& layer : t.rows) {
            for (auto& plane : layer)
                plane.assign(6, std::string());
        }
        return t;
    }
    bool build(const MapTexts& t) { return buildMapFrom(world, ts.services, t); }
    const MapCell& ground(int layer, int x, int y) const { return world.cell(layer, 0, x, y); }

    void expectReadErrorBox() const {
        ASSERT_EQ(ts.windows.boxes.size(), 1u);
        const plat::testing::RecordedBox& box = ts.windows.boxes[0];
        EXPECT_EQ(box.text, kReadError);
        EXPECT_EQ(box.title, u"haruvel");
        EXPECT_EQ(box.buttons, plat::MsgButtons::Ok);
    }
};

} // namespace

TEST_F(MapBuild, BuiltInMapHasItsExtentTerrainAndNoBox) {
    ASSERT_TRUE(buildMap(world, ts.services));
    EXPECT_TRUE(ts.windows.boxes.empty());
    EXPECT_EQ(world.maxX, 8);
    EXPECT_EQ(world.maxY, 5);
    EXPECT_EQ(world.topLayer, 2);
    ASSERT_EQ(world.layers.size(), 3u);

    // The player's start cell is ground, the cell above it a wall.
    EXPECT_EQ(ground(0, 1, 2).kind, 1);
    EXPECT_EQ(ground(0, 1, 2).chipX, 64);
    EXPECT_EQ(ground(0, 1, 1).kind, 2);
    EXPECT_EQ(ground(0, 1, 1).chipX, 128);
    // Value 3 is walkable ground with the chip at (0, 40).
    EXPECT_EQ(ground(1, 5, 2).kind, 1);
    EXPECT_EQ(ground(1, 5, 2).chipX, 0);
    EXPECT_EQ(ground(1, 5, 2).chipY, 40);
    EXPECT_EQ(ground(2, 0, 3).chipY, 40);
    // Holes of the upper layers.
    EXPECT_EQ(ground(1, 0, 0).kind, 0);
    EXPECT_EQ(ground(2, 8, 5).kind, 0);
    EXPECT_EQ(ground(2, 4, 1).kind, 2);

    int cellsWithKind[3] = {};
    for (int layer = 0; layer <= 2; ++layer) {
        for (int x = 0; x <= 8; ++x) {
            for (int y = 0; y <= 5; ++y) {
                if (ground(layer, x, y).kind != 0) ++cellsWithKind[layer];
                EXPECT_EQ(ground(layer, x, y).eventId, 0);
                for (int plane = 1; plane < 4; ++plane) {
                    const MapCell& c = world.cell(layer, plane, x, y);
                    EXPECT_EQ(c.kind | c.chipX | c.chipY | c.eventId, 0);
                }
            }
        }
    }
    EXPECT_EQ(cellsWithKind[0], 54);
    EXPECT_EQ(cellsWithKind[1], 22);
    EXPECT_EQ(cellsWithKind[2], 19);
}

TEST_F(MapBuild, EveryCellValueSelectsItsChipAndKind) {
    MapTexts t = emptyTexts();
    t.rows[1][0][3] = "0,1,2,3,4,5,6";
    ASSERT_TRUE(build(t));
    const int chipX[] = {0, 64, 128, 0, 64, 128, 0};
    const int chipY[] = {0, 0, 0, 40, 40, 40, 80};
    const int kind[] = {0, 1, 2, 1, 1, 1, 1};
    for (int v = 0; v <= 6; ++v) {
        SCOPED_TRACE(v);
        EXPECT_EQ(ground(1, v, 3).chipX, chipX[v]);
        EXPECT_EQ(ground(1, v, 3).chipY, chipY[v]);
        EXPECT_EQ(ground(1, v, 3).kind, kind[v]);
    }
}

TEST_F(MapBuild, GroundRowsArePaddedButUpperLayersAreNot) {
    MapTexts t = emptyTexts();
    t.rows[0][0][0] = "2,2";    // short: filled up with ground
    t.rows[0][0][4] = " 2 , 0"; // spaces around a number are allowed
    t.rows[1][0][2] = "2,2";    // short on layer 1: the rest stays empty
    ASSERT_TRUE(build(t));
    EXPECT_EQ(ground(0, 0, 0).kind, 2);
    EXPECT_EQ(ground(0, 1, 0).kind, 2);
    for (int x = 2; x <= 8; ++x)
        EXPECT_EQ(ground(0, x, 0).kind, 1) << x;
    // Missing rows of layer 0 become whole rows of ground.
    for (int x = 0; x <= 8; ++x) {
        EXPECT_EQ(ground(0, x, 5).kind, 1) << x;
        EXPECT_EQ(ground(0, x, 5).chipX, 64) << x;
    }
    EXPECT_EQ(ground(0, 0, 4).kind, 2);
    EXPECT_EQ(ground(0, 1, 4).kind, 0);
    EXPECT_EQ(ground(0, 2, 4).kind, 1);
    EXPECT_EQ(ground(1, 1, 2).kind, 2);
    for (int x = 2; x <= 8; ++x)
        EXPECT_EQ(ground(1, x, 2).kind, 0) << x;
    EXPECT_EQ(ground(2, 0, 0).kind, 0);
}

TEST_F(MapBuild, BadValuesShowTheReadErrorAndFail) {
    const char* const bad[] = {
        "1,1,1,1,1,1,1,1,1,1", // ten values
        "1,7",                 // above 6
        "1,-1",                // below 0
        "1,x",                 // not a number
        "1,1.5",               // not a whole number
        "1,,1",                // an empty value
        "1,2+",                // trailing junk
        "1,99999999999999999999999",
    };
    for (const char* row : bad) {
        SCOPED_TRACE(row);
        ts.windows.boxes.clear();
        world = World{};
        MapTexts t = emptyTexts();
        t.rows[0][0][1] = "2,2,2,2,2,2,2,2,2";
        t.rows[1][0][0] = row;
        EXPECT_FALSE(build(t));
        expectReadErrorBox();
        // What was read before the failure stays.
        EXPECT_EQ(ground(0, 4, 1).kind, 2);
        EXPECT_EQ(ground(0, 4, 5).kind, 1);
    }
}

TEST_F(MapBuild, AGroundRowWithTooManyValuesIsNotRescuedByPadding) {
    MapTexts t = emptyTexts();
    t.rows[0][0][2] = "1,1,1,1,1,1,1,1,1,1";
    EXPECT_FALSE(build(t));
    expectReadErrorBox();
}

TEST_F(MapBuild, RowRangeOtherThanZeroToFiveFails) {
    for (std::size_t rows : {5u, 7u, 0u}) {
        SCOPED_TRACE(rows);
        ts.windows.boxes.clear();
        MapTexts t = emptyTexts();
        t.rows[2][3].assign(rows, std::string());
        EXPECT_FALSE(build(t));
        expectReadErrorBox();
    }
    // A short ground table fails too rather than reading past its end.
    ts.windows.boxes.clear();
    MapTexts t = emptyTexts();
    t.rows[0][0].resize(3);
    EXPECT_FALSE(build(t));
    expectReadErrorBox();
}
