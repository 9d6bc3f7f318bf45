// The row and column walk, the shade per layer and the walk animation.
#include <gtest/gtest.h>

#include <vector>

#include "field/graphics/Composition.h"

using namespace field;

TEST(ChipDrawWalk, FirstColumnKeepsTheSignOfOddRows) {
    EXPECT_EQ(firstColumn(0, 514), -8);
    EXPECT_EQ(firstColumn(-2, 514), -8);
    EXPECT_EQ(firstColumn(1, 514), -7);
    EXPECT_EQ(firstColumn(15, 514), -7);
    EXPECT_EQ(firstColumn(-1, 514), -9);
    EXPECT_EQ(firstColumn(-3, 514), -9);
}

TEST(ChipDrawWalk, EachRowHoldsOneDiagonalOfCellsLeftToRight) {
    // With the player at (1, 2): row r holds the cells with X + Y = r + 3 - 8.
    for (int r : {-3, -2, -1, 0, 1, 7}) {
        SCOPED_TRACE(r);
        int prevX = -100;
        for (int k = firstColumn(r, 514); k <= 8; k += 2) {
            const CellPos c = rowCell(r, k, 1, 2, 514, 258);
            EXPECT_EQ(c.x + c.y, r + 1 + 2 - 8);
            EXPECT_EQ(c.x - c.y, k - 1); // moving right on screen: one column on, one row back
            EXPECT_GT(c.x, prevX);
            prevX = c.x;
        }
    }
    // Negative odd row: first column -9 gives X = -5 + 1 - 4, Y = 4 + 2 - 4.
    EXPECT_EQ(rowCell(-1, -9, 1, 2, 514, 258).x, -8);
    EXPECT_EQ(rowCell(-1, -9, 1, 2, 514, 258).y, 2);
}

TEST(ChipDrawWalk, HalfCellsRoundToEven) {
    // 290 / 32 = 9 rows per half screen: Y lands on halves and rounds to the even neighbour.
    EXPECT_EQ(rowCell(0, 0, 0, 2, 514, 290).y, -2); // -2.5
    EXPECT_EQ(rowCell(0, 0, 0, 3, 514, 290).y, -2); // -1.5
    EXPECT_EQ(rowCell(2, 0, 0, 3, 514, 290).y, 0);  // -0.5
    EXPECT_EQ(rowCell(4, 0, 0, 3, 514, 290).y, 0);  // 0.5
    EXPECT_EQ(rowCell(6, 0, 0, 3, 514, 290).y, 2);  // 1.5
}

TEST(ChipDrawWalk, LayerShadeIsBasePlusTwoAwayFromThePlayerCappedAtThree) {
    const int own[] = {0, 1, 2, 3};
    const int other[] = {2, 3, 3, 3};
    for (int base = 0; base <= 3; ++base) {
        SCOPED_TRACE(base);
        EXPECT_EQ(layerShade(base, 1, 1), own[base]);
        EXPECT_EQ(layerShade(base, 0, 1), other[base]);
        EXPECT_EQ(layerShade(base, 2, 1), other[base]);
    }
    // Never raised to a minimum: a negative base stays as it is on the player's layer.
    EXPECT_EQ(layerShade(-5, 0, 0), -5);
    EXPECT_EQ(layerShade(100, 0, 0), 3);
}

TEST(ChipDrawWalk, ChipSheetZeroIsCharactersOneIsEventsOthersNone) {
    const plat::Surface chars = plat::Surface::colour(1, 1);
    const plat::Surface events = plat::Surface::colour(1, 1);
    EXPECT_EQ(chipSheetSurface(0, chars, events), &chars);
    EXPECT_EQ(chipSheetSurface(1, chars, events), &events);
    EXPECT_EQ(chipSheetSurface(2, chars, events), nullptr);
    EXPECT_EQ(chipSheetSurface(-1, chars, events), nullptr);
    EXPECT_TRUE(usesCharacterSheet(0));
    EXPECT_FALSE(usesCharacterSheet(1));
    EXPECT_FALSE(usesCharacterSheet(2));
}

namespace {
std::vector<int> poses(field::CharState& ch, int threshold, int moving, int calls) {
    std::vector<int> seen;
    for (int i = 0; i < calls; ++i) {
        stepWalkAnimation(ch, threshold, moving);
        seen.push_back(ch.animColumn);
    }
    return seen;
}
} // namespace

TEST(ChipDrawWalk, WalkingCyclesStandStrideStandOtherStrideEveryThresholdPlusTwoCalls) {
    field::CharState ch;
    ch.animColumn = 1;
    const std::vector<int> seen = poses(ch, 3, -1, 20);
    // Ticks 0..3 count up, the 5th call changes the pose: every 5 calls for threshold 3.
    const std::vector<int> expected = {1, 1, 1, 1, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(ch.lastStride, 0);
}

TEST(ChipDrawWalk, StoppingReturnsToStandingAtTheNextChange) {
    field::CharState ch;
    ch.animColumn = 2;
    ch.lastStride = 2;
    ch.animTicks = 4;
    stepWalkAnimation(ch, 3, 0);
    EXPECT_EQ(ch.animColumn, 1);
    EXPECT_EQ(ch.animTicks, 0);
    // Standing still stays standing.
    const std::vector<int> seen = poses(ch, 3, 0, 10);
    EXPECT_EQ(seen, std::vector<int>(10, 1));
    // Any non-zero moving flag counts as moving.
    ch.animTicks = 4;
    stepWalkAnimation(ch, 3, 1);
    EXPECT_EQ(ch.animColumn, 0); // the stride after the last one (2)
}

TEST(ChipDrawWalk, EventObjectsShareTheWalk) {
    field::EventObject e;
    e.animColumn = 1;
    e.animTicks = 1;
    stepWalkAnimation(e, 0, -1);
    EXPECT_EQ(e.animColumn, 2);
    EXPECT_EQ(e.lastStride, 2);
}
