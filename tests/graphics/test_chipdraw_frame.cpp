// Where the composition puts map chips, event objects and the player, what the boxes hide, the
// shade per layer, the cuts, and the position label.
#include "test_chipdraw_rig.h"

using namespace chipdraw_rig;
using namespace field;

namespace {

struct ChipDrawFrame : ::testing::Test {
    Rig rig;
};

} // namespace

TEST_F(ChipDrawFrame, GroundChipsAreDrawnAtTheirDiamondOrSkippedWholeAtTheMargin) {
    DrawContext c = rig.context();
    rig.ground(0, 0, 0, 64, 0);
    drawMapChip(c, 0, 0, 0, 0, 0);
    EXPECT_EQ(drawnBounds(rig.primary), (Rect{256, 48, 64, 39}));
    EXPECT_EQ(rig.primary.pixel(256, 48), coded(64, 0));
    EXPECT_EQ(rig.primary.pixel(319, 86), coded(127, 38)); // the 40th row is never drawn

    // (8, 5) would be at (352, 256): its bottom passes H - 16.
    rig.primary.clear();
    rig.ground(0, 8, 5);
    drawMapChip(c, 0, 0, 0, 8, 5);
    EXPECT_EQ(drawnBounds(rig.primary), std::nullopt);

    // (0, 0) of layer 1 would be at (256, -16), above the top margin.
    rig.ground(1, 0, 0);
    drawMapChip(c, 0, 1, 0, 0, 0);
    EXPECT_EQ(drawnBounds(rig.primary), std::nullopt);

    // Kind 0 has no chip at all.
    rig.world.cell(0, 0, 1, 2).kind = 0;
    drawMapChip(c, 0, 0, 0, 1, 2);
    EXPECT_EQ(drawnBounds(rig.primary), std::nullopt);
}

TEST_F(ChipDrawFrame, EventChipsStandOnTheirCell) {
    DrawContext c = rig.context();
    rig.place(1, 0, 1, 1, 2, 1, 0, 0, 64, 32);
    drawEventObject(c, 0, 1);
    EXPECT_EQ(drawnBounds(rig.primary), (Rect{224, 96, 64, 32}));
    EXPECT_EQ(rig.primary.pixel(224, 96), coded(0, 0));

    rig.primary.clear();
    field::EventObject& tall = rig.place(2, 0, 1, 1, 2, 1, 64, 0, 64, 64);
    tall.facing = 0;
    drawEventObject(c, 0, 2);
    EXPECT_EQ(drawnBounds(rig.primary), (Rect{224, 64, 64, 64}));
    EXPECT_EQ(rig.primary.pixel(224, 64), coded(64, 0));

    // Drawn where the object stands, whatever cell is being visited.
    rig.primary.clear();
    rig.world.events[2].x = 2;
    drawEventObject(c, 0, 2);
    EXPECT_EQ(drawnBounds(rig.primary), (Rect{256, 80, 64, 64}));
}

TEST_F(ChipDrawFrame, EventChipRectangleFollowsPoseAndFacing) {
    DrawContext c = rig.context();
    field::EventObject& e = rig.place(3, 0, 2, 1, 2, 0, 192, 0, 64, 64);
    e.animColumn = 2;
    e.facing = 3;
    rig.world.inputLocked = -1; // keep the pose still
    drawEventObject(c, 0, 3);
    EXPECT_EQ(rig.primary.pixel(224, 64), coded(192 + 128, 192));
    EXPECT_EQ(rig.primary.pixel(287, 127), coded(192 + 191, 255));
}

TEST_F(ChipDrawFrame, OffMarginObjectsAreNotDrawnButStillAnimate) {
    DrawContext c = rig.context();
    // With the player at (4, 0), the diamond of (0, 4) begins at x -32.
    rig.world.player.x = 4;
    rig.world.player.y = 0;
    field::EventObject& e = rig.place(4, 0, 2, 0, 4, 0, 0, 0, 64, 64);
    e.animColumn = 1;
    e.moving = -1;
    e.stepInterval = 4; // threshold 3
    e.animTicks = 4;
    drawEventObject(c, 0, 4);
    EXPECT_EQ(drawnBounds(rig.primary), std::nullopt);
    EXPECT_EQ(e.animColumn, 2);

    // Bottom past H - 16: not drawn, still animates.
    rig.world.player.x = 0;
    rig.world.player.y = 0;
    field::EventObject& low = rig.place(5, 0, 2, 5, 5, 0, 0, 0, 64, 64);
    low.stepInterval = 20;
    low.animTicks = 2;
    drawEventObject(c, 0, 5);
    EXPECT_EQ(drawnBounds(rig.primary), std::nullopt);
    EXPECT_EQ(low.animTicks, 3);
}

TEST_F(ChipDrawFrame, ObjectAnimationFollowsSheetVisibilityAndTheOwningScript) {
    DrawContext c = rig.context();
    field::EventObject& onEvents = rig.place(1, 0, 1, 1, 2, 1, 0, 0, 64, 32);
    drawEventObject(c, 0, 1);
    EXPECT_EQ(onEvents.animTicks, 0); // event-sheet chips never animate

    field::EventObject& hidden = rig.place(2, 0, 1, 2, 2, 0, 0, 0, 64, 64);
    hidden.visible = 0;
    rig.primary.clear();
    drawEventObject(c, 0, 2);
    EXPECT_EQ(hidden.animTicks, 0);
    EXPECT_EQ(drawnBounds(rig.primary), std::nullopt);

    // While a script owns the game, only its own object animates.
    field::EventObject& a = rig.place(3, 0, 2, 2, 2, 0, 0, 0, 64, 64);
    field::EventObject& b = rig.place(4, 0, 2, 3, 2, 0, 0, 0, 64, 64);
    rig.world.inputLocked = -1;
    rig.world.systemRun.activeObject = 4;
    drawEventObject(c, 0, 3);
    drawEventObject(c, 0, 4);
    EXPECT_EQ(a.animTicks, 0);
    EXPECT_EQ(b.animTicks, 1);

    // An invalid sheet is neither drawn nor animated; neither is a number outside the table.
    field::EventObject& bad = rig.place(5, 0, 2, 4, 2, 2, 0, 0, 64, 64);
    rig.world.inputLocked = 0;
    rig.primary.clear();
    drawEventObject(c, 0, 5);
    drawEventObject(c, 0, 6);
    drawEventObject(c, 0, -1);
    EXPECT_EQ(bad.animTicks, 0);
    EXPECT_EQ(drawnBounds(rig.primary), std::nullopt);
}

TEST_F(ChipDrawFrame, StepIntervalThresholdRoundsHalfToEven) {
    DrawContext c = rig.context();
    // 2 x 3 / 4 = 1.5 rounds to 2: the pose changes on the 4th call. 6 x 3 / 4 = 4.5 rounds to 4.
    for (auto [interval, changeCall] : {std::pair{2, 4}, std::pair{6, 6}}) {
        SCOPED_TRACE(interval);
        field::EventObject& e = rig.place(1, 0, 2, 2, 2, 0, 0, 0, 64, 64);
        e.animColumn = 1;
        e.moving = -1;
        e.stepInterval = interval;
        int call = 0;
        while (e.animColumn == 1 && call < 20) {
            drawEventObject(c, 0, 1);
            ++call;
        }
        EXPECT_EQ(call, changeCall);
    }
}

TEST_F(ChipDrawFrame, ChipsPastTheRightEdgeAreCutAtTheMarginAndAboveTheTopAtZero) {
    DrawContext c = rig.context();
    // Player at (0, 5); an object at (8, 5) of layer 1 starts at x 480.
    rig.world.player.x = 0;
    rig.world.player.y = 5;
    rig.place(1, 1, 1, 8, 5, 1, 0, 0, 64, 64);
    drawEventObject(c, 0, 1);
    EXPECT_EQ(drawnBounds(rig.primary), (Rect{480, 128, 2, 64}));

    // Player at (1, 2); an object at (1, 1) of layer 1 would start at y -16: its top 16 rows go.
    rig.primary.clear();
    rig.world.player.x = 1;
    rig.world.player.y = 2;
    rig.place(2, 1, 1, 1, 1, 1, 64, 0, 64, 64);
    drawEventObject(c, 0, 2);
    EXPECT_EQ(drawnBounds(rig.primary), (Rect{256, 0, 64, 48}));
    EXPECT_EQ(rig.primary.pixel(256, 0), coded(64, 16));
}

TEST_F(ChipDrawFrame, PlayerIsDrawnAtTheDrawPositionOverTheObjectOfItsCell) {
    rig.place(1, 0, 2, 1, 2, 1, 64, 0, 64, 64);
    rig.world.inputLocked = -1;
    rig.render();
    // Player facing left (row 3), standing (column 1) from the character sheet.
    EXPECT_EQ(rig.primary.pixel(224, 64), coded(64, 192));
    EXPECT_EQ(rig.primary.pixel(287, 127), coded(127, 255));
    EXPECT_EQ(drawnBounds(rig.primary), (Rect{224, 64, 64, 64}));
    EXPECT_EQ(rig.positionLabel.caption, u"1,2");
}

TEST_F(ChipDrawFrame, HiddenPlanesAndLayersAreNotDrawn) {
    for (int x = 0; x <= 2; ++x)
        rig.ground(0, x, 2);
    rig.place(1, 0, 2, 2, 2, 1, 0, 0, 64, 32);
    rig.render();
    const std::optional<Rect> all = drawnBounds(rig.primary);

    // Plane 2 off: player and object go, the ground stays.
    rig.planeBox[2].value = 0;
    rig.positionLabel.caption = u"unchanged";
    rig.render();
    EXPECT_EQ(rig.primary.pixel(256, 70), kBack);                       // where the player stood
    EXPECT_EQ(rig.primary.pixel(256 + 32, 112 + 8), coded(64 + 32, 8)); // ground of (2, 2)
    EXPECT_EQ(rig.positionLabel.caption, u"unchanged");
    EXPECT_NE(drawnBounds(rig.primary), all);

    // The player's layer off hides the player as well.
    rig.planeBox[2].value = 1;
    rig.layerBox[0].value = 0;
    rig.render();
    EXPECT_EQ(drawnBounds(rig.primary), std::nullopt);
    EXPECT_EQ(rig.positionLabel.caption, u"unchanged");

    // Any non-zero box value counts as ticked.
    rig.layerBox[0].value = 2;
    rig.render();
    EXPECT_EQ(drawnBounds(rig.primary), all);
    EXPECT_EQ(rig.positionLabel.caption, u"1,2");
}

TEST_F(ChipDrawFrame, EveryBoxClearedLeavesOnlyTheBackColour) {
    for (int x = 0; x <= 8; ++x) {
        for (int y = 0; y <= 5; ++y)
            rig.ground(0, x, y);
    }
    rig.primary.fill(plat::rgb(1, 2, 3));
    for (auto& b : rig.layerBox)
        b.value = 0;
    for (auto& b : rig.planeBox)
        b.value = 0;
    rig.render();
    EXPECT_EQ(drawnBounds(rig.primary), std::nullopt);
    EXPECT_EQ(rig.positionLabel.caption, u"unchanged");
}

TEST_F(ChipDrawFrame, InvisiblePlayerLeavesTheLabelAlone) {
    rig.world.player.visible = 0;
    rig.render();
    EXPECT_EQ(drawnBounds(rig.primary), std::nullopt);
    EXPECT_EQ(rig.positionLabel.caption, u"unchanged");
    rig.world.player.visible = -1;
    rig.world.player.x = 0;
    rig.world.player.y = 4;
    rig.render();
    EXPECT_EQ(rig.positionLabel.caption, u"0,4");
}

TEST_F(ChipDrawFrame, PlayerLayerUsesTheBaseShadeAndOtherLayersTwoMore) {
    // One ground chip on the player's layer at (2, 2) and one on layer 1 at (3, 3).
    rig.ground(0, 2, 2);
    rig.ground(1, 3, 3);
    rig.world.player.visible = 0;
    for (int base = 0; base <= 3; ++base) {
        SCOPED_TRACE(base);
        rig.render(base);
        // What each chip must look like with its layer's shade.
        plat::Surface expect = plat::Surface::colour(kW, kH);
        expect.setBackColor(kBack);
        expect.clear();
        plat::maskedCopy(expect, 256, 112, 64, 39, rig.mapChips, 64, 0, kKey,
                         field::shadeMask(rig.g, base));
        plat::maskedCopy(expect, 256, 80, 64, 39, rig.mapChips, 64, 0, kKey,
                         field::shadeMask(rig.g, std::min(base + 2, 3)));
        int differing = 0;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x)
                differing += rig.primary.pixel(x, y) != expect.pixel(x, y);
        }
        EXPECT_EQ(differing, 0);
    }
}

TEST_F(ChipDrawFrame, NearerRowsAndHigherLayersCoverFartherOnes) {
    rig.world.player.visible = 0;
    rig.ground(0, 2, 2, 64, 0); // at (256, 112)
    rig.render();
    EXPECT_EQ(rig.primary.pixel(260, 130), coded(64 + 4, 18));
    EXPECT_EQ(rig.primary.pixel(260, 120), coded(64 + 4, 8));

    rig.ground(0, 2, 3, 0, 40); // one row nearer, at (224, 128)
    rig.render();
    EXPECT_EQ(rig.primary.pixel(260, 130), coded(36, 42));

    rig.ground(1, 3, 4, 128, 40); // a layer up, at (224, 96)
    rig.render();
    EXPECT_EQ(rig.primary.pixel(260, 120), coded(128 + 36, 40 + 24));
}

TEST_F(ChipDrawFrame, GroundFirstThenBaseAndCharacterRowByRowThenAbove) {
    // Event-sheet chips (they never animate) standing on layer 0 around the player's cell.
    rig.world.player.visible = 0;
    rig.ground(0, 2, 3, 0, 40);                  // at (224, 128)
    rig.place(1, 0, 1, 2, 2, 1, 192, 0, 64, 64); // base plane, one row farther, at (256, 80)
    rig.render();
    // The ground of the whole layer is drawn before anything standing on it, even on a nearer row.
    EXPECT_EQ(rig.primary.pixel(260, 130), coded(192 + 4, 50));

    rig.place(2, 0, 2, 2, 2, 1, 0, 0, 64, 64);   // character plane, same cell, at (256, 80)
    rig.place(3, 0, 1, 2, 3, 1, 64, 0, 64, 64);  // base plane, one row nearer, at (224, 96)
    rig.place(4, 0, 3, 1, 1, 1, 128, 0, 64, 64); // above plane, two rows farther, at (256, 48)
    rig.render();
    // On one cell the character plane covers the base plane.
    EXPECT_EQ(rig.primary.pixel(300, 130), coded(44, 50));
    // A nearer row's base plane covers a farther row's character plane.
    EXPECT_EQ(rig.primary.pixel(260, 130), coded(64 + 36, 34));
    // The above plane covers everything of its layer, whatever the row.
    EXPECT_EQ(rig.primary.pixel(260, 100), coded(128 + 4, 52));
}

TEST_F(ChipDrawFrame, OnlyCellsOfTheRowAndColumnWalkAreVisited) {
    // A walking character-sheet object changes its pose on the next visit; one the walk does not
    // reach keeps it.
    auto walker = [&](int n, int layer, int x, int y) -> field::EventObject& {
        field::EventObject& e = rig.place(n, layer, 2, x, y, 0, 0, 0, 64, 64);
        e.animColumn = 1;
        e.moving = -1;
        e.stepInterval = 4;
        e.animTicks = 100;
        return e;
    };
    rig.world.player.visible = 0;
    // Player at (1, 2): rows -2..15 of its own layer reach X + Y up to 10, rows 2..19 of the layer
    // above every cell of the map.
    const field::EventObject& lastRow = walker(1, 0, 6, 4);  // row 15
    const field::EventObject& pastRows = walker(2, 0, 7, 4); // row 16
    const field::EventObject& above = walker(3, 1, 8, 5);    // row 18 of layer 1
    rig.render();
    EXPECT_EQ(lastRow.animColumn, 2);
    EXPECT_EQ(pastRows.animColumn, 1);
    EXPECT_EQ(above.animColumn, 2);

    // Player at (8, 5): the first row -2 holds X + Y = 3; row -3 is never walked.
    rig.world.player.x = 8;
    rig.world.player.y = 5;
    const field::EventObject& firstRow = walker(4, 0, 1, 2);
    const field::EventObject& beforeRows = walker(5, 0, 1, 1);
    rig.render();
    EXPECT_EQ(firstRow.animColumn, 2);
    EXPECT_EQ(beforeRows.animColumn, 1);

    // Player at (8, 0): row 1 is odd and positive, so its first column is -7 and cell (0, 1),
    // nine columns to the left, is never visited; (0, 0) on even row 0 is.
    rig.world.player.y = 0;
    const field::EventObject& leftEven = walker(6, 0, 0, 0);
    const field::EventObject& leftOdd = walker(7, 0, 0, 1);
    rig.render();
    EXPECT_EQ(leftEven.animColumn, 2);
    EXPECT_EQ(leftOdd.animColumn, 1);
}
