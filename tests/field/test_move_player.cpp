// The player's movement steps as the main loop runs them: keys and the mouse through the test
// seams, one real frame at a time on the virtual clock.
#include <gtest/gtest.h>

#include <set>

#include "field/EventObjects.h"
#include "tekkel/Opcodes.h"
#include "test_move_rig.h"

using movetest::addObject;
using movetest::groundMap;
using movetest::ObjectDef;
using movetest::Rig;
namespace vk = plat::vk;

namespace {

// A 6 x 6 ground map with the player at (2, 2).
field::World openField() {
    return groundMap(5, 5, 0, 2, 2);
}

} // namespace

// ---- keyboard ----------------------------------------------------------------------------

TEST(KeyboardMove, StepTakesSixFramesAndTurnsOnlyAtTheEnd) {
    Rig rig;
    rig.startOn(openField());
    rig.ts.keyboard.press(vk::Down);
    rig.frames(1);
    rig.ts.keyboard.release(vk::Down);
    EXPECT_NE(rig.world.player.moving, 0);
    rig.frames(4);
    EXPECT_EQ(rig.world.player.y, 2);
    EXPECT_EQ(rig.world.player.facing, 3) << "facing changes only when the step ends";
    rig.frames(1);
    EXPECT_EQ(rig.world.player.y, 3);
    EXPECT_EQ(rig.world.player.facing, 2);
    EXPECT_EQ(rig.world.player.moving, 0);
    EXPECT_EQ(rig.world.player.stepFrames, 0);
}

TEST(KeyboardMove, HeldKeyWalksOneCellPerSixFrames) {
    Rig rig;
    rig.startOn(openField());
    rig.ts.keyboard.press(vk::Right);
    rig.frames(18);
    EXPECT_EQ(rig.world.player.x, 5);
    rig.frames(6);
    EXPECT_EQ(rig.world.player.x, 5) << "the map edge stops the player";
    EXPECT_EQ(rig.world.player.facing, 1);
}

TEST(KeyboardMove, KeyGroupsAndDiagonals) {
    struct Case {
        std::vector<int> keys;
        int dx, dy, dir;
    };
    const std::vector<Case> cases = {
        {{vk::Up}, 0, -1, 0},
        {{vk::numpad(8)}, 0, -1, 0},
        {{vk::numpad(9)}, 0, -1, 0}, // up the screen and right: one row up
        {{vk::Down}, 0, 1, 2},
        {{vk::numpad(1)}, 0, 1, 2},
        {{vk::Left}, -1, 0, 3},
        {{vk::numpad(7)}, -1, 0, 3},
        {{vk::Right}, 1, 0, 1},
        {{vk::numpad(3)}, 1, 0, 1},
        {{vk::Up, vk::Right}, 1, -1, 1},
        {{vk::Down, vk::Left}, -1, 1, 3},
        {{vk::Up, vk::Down}, 0, 1, 2}, // the later group wins
        {{vk::Left, vk::Right}, 1, 0, 1},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.startOn(openField());
        for (int k : c.keys)
            rig.ts.keyboard.press(k);
        rig.frames(1);
        rig.ts.keyboard.releaseAll();
        rig.frames(5);
        EXPECT_EQ(rig.world.player.x, 2 + c.dx) << "first key " << c.keys[0];
        EXPECT_EQ(rig.world.player.y, 2 + c.dy) << "first key " << c.keys[0];
        EXPECT_EQ(rig.world.player.facing, c.dir) << "first key " << c.keys[0];
    }
}

TEST(KeyboardMove, ShiftKeepsTheFacing) {
    Rig rig;
    rig.startOn(openField());
    rig.ts.keyboard.press(vk::Shift);
    rig.ts.keyboard.press(vk::Up);
    rig.frames(6);
    EXPECT_EQ(rig.world.player.y, 1);
    EXPECT_EQ(rig.world.player.facing, 3);
}

TEST(KeyboardMove, ControlNeverMoves) {
    Rig rig;
    rig.startOn(openField());
    rig.ts.keyboard.press(vk::Control);
    for (int k : {vk::Up, vk::Right, vk::numpad(2)}) {
        rig.ts.keyboard.press(k);
        rig.frames(12);
        rig.ts.keyboard.release(k);
        EXPECT_EQ(rig.world.player.x, 2);
        EXPECT_EQ(rig.world.player.y, 2);
        EXPECT_EQ(rig.world.player.moving, 0);
    }
}

TEST(KeyboardMove, LockedInputStartsNothingButAStepUnderWayCompletes) {
    Rig rig;
    field::World w = openField();
    w.inputLocked = -1;
    rig.startOn(std::move(w));
    rig.ts.keyboard.press(vk::Left);
    rig.frames(12);
    EXPECT_EQ(rig.world.player.x, 2);

    rig.world.inputLocked = 0;
    rig.frames(1);
    rig.world.inputLocked = -1;
    rig.ts.keyboard.releaseAll();
    rig.frames(5);
    EXPECT_EQ(rig.world.player.x, 1);
}

// ---- collision -----------------------------------------------------------------------------

TEST(StepProgress, WallsEmptyCellsAndTheEdgeRefuseAndTurn) {
    for (int kind : {0, 2, 3}) {
        Rig rig;
        field::World w = openField();
        w.cell(0, field::kPlaneGround, 2, 1).kind = static_cast<std::int16_t>(kind);
        rig.startOn(std::move(w));
        rig.ts.keyboard.press(vk::Up);
        rig.frames(6);
        EXPECT_EQ(rig.world.player.y, 2) << "kind " << kind;
        EXPECT_EQ(rig.world.player.facing, 0) << "kind " << kind;
    }
    Rig rig;
    rig.startOn(groundMap(3, 3, 0, 0, 0));
    rig.ts.keyboard.press(vk::Left);
    rig.frames(6);
    EXPECT_EQ(rig.world.player.x, 0);
    EXPECT_EQ(rig.world.player.facing, 3);
    EXPECT_EQ(rig.world.systemScriptActive, 0);
}

TEST(StepProgress, AttachedObjectBlocksAndIsPushedDetachedOneIsWalkedThrough) {
    Rig rig;
    field::World w = openField();
    const int n = addObject(w, {.x = 3, .y = 2});
    rig.startOn(std::move(w));
    rig.holdMouseAt(0, 0); // held somewhere off to the side; firing must release it
    rig.form.mouse.held = 0;
    rig.ts.keyboard.press(vk::Right);
    rig.frames(6);
    rig.ts.keyboard.releaseAll();
    EXPECT_EQ(rig.world.player.x, 2);
    EXPECT_EQ(rig.world.player.facing, 1);
    EXPECT_EQ(rig.world.systemRun.activeObject, n) << "pushing fires the object";
    EXPECT_TRUE(rig.takeFiring());

    field::setDetached(rig.world, n, -1);
    rig.ts.keyboard.press(vk::Right);
    rig.frames(6);
    EXPECT_EQ(rig.world.player.x, 3);
    EXPECT_FALSE(rig.takeFiring()) << "a detached object is not fired";
}

TEST(StepProgress, DisabledObjectStillBlocksButNeverFires) {
    Rig rig;
    field::World w = openField();
    addObject(w, {.x = 2, .y = 3, .enabled = false});
    rig.startOn(std::move(w));
    rig.ts.keyboard.press(vk::Down);
    rig.frames(6);
    EXPECT_EQ(rig.world.player.y, 2);
    EXPECT_FALSE(rig.takeFiring());
}

TEST(StepProgress, ObjectOnAnotherPlaneDoesNotBlock) {
    Rig rig;
    field::World w = openField();
    addObject(w, {.plane = field::kPlaneAbove, .x = 2, .y = 3});
    rig.startOn(std::move(w));
    rig.ts.keyboard.press(vk::Down);
    rig.frames(6);
    EXPECT_EQ(rig.world.player.y, 3);
    EXPECT_FALSE(rig.takeFiring()) << "plane 3 lies above the player's plane";
}

TEST(StepProgress, ArrivalFiresOnlyStepObjectsOnPlanesUpToThePlayers) {
    Rig rig;
    field::World w = openField();
    const int heap = addObject(w, {.plane = field::kPlaneBase, .x = 2, .y = 3, .onStep = true});
    const int sign = addObject(w, {.plane = field::kPlaneBase, .x = 1, .y = 2});
    rig.startOn(std::move(w));
    rig.holdMouseOnCell(2, 3);
    rig.frames(6);
    EXPECT_EQ(rig.world.player.y, 3);
    EXPECT_EQ(rig.world.systemRun.activeObject, heap);
    EXPECT_EQ(rig.form.mouse.held, 0) << "a firing drops the held button";
    EXPECT_TRUE(rig.takeFiring());

    // Walk onto the sign, which does not react to arrival, then examine it.
    rig.ts.keyboard.press(vk::Up);
    rig.frames(6);
    rig.ts.keyboard.releaseAll();
    rig.ts.keyboard.press(vk::Left);
    rig.frames(6);
    rig.ts.keyboard.releaseAll();
    EXPECT_EQ(rig.world.player.x, 1);
    EXPECT_FALSE(rig.takeFiring());
    rig.ts.keyboard.press(vk::Space);
    rig.frames(4);
    EXPECT_EQ(rig.world.systemRun.activeObject, sign);
    EXPECT_TRUE(rig.takeFiring());
}

// ---- action key ----------------------------------------------------------------------------

TEST(ActionKey, HeldEightFramesFiresOnFramesFourAndEight) {
    for (int key : {vk::Enter, vk::Space, vk::numpad(5)}) {
        Rig rig;
        field::World w = openField();
        addObject(w, {.plane = field::kPlaneBase, .x = 2, .y = 2});
        rig.startOn(std::move(w));
        rig.ts.keyboard.press(key);
        std::vector<int> fired;
        for (int f = 1; f <= 8; ++f) {
            rig.frames(1);
            if (rig.takeFiring()) fired.push_back(f);
        }
        EXPECT_EQ(fired, (std::vector<int>{4, 8})) << "key " << key;
    }
}

TEST(ActionKey, ReleaseResetsTheCountAndLockedInputDropsTheRequest) {
    Rig rig;
    field::World w = openField();
    addObject(w, {.plane = field::kPlaneBase, .x = 2, .y = 2});
    rig.startOn(std::move(w));
    rig.ts.keyboard.press(vk::Enter);
    rig.frames(3);
    rig.ts.keyboard.release(vk::Enter);
    rig.frames(1);
    rig.ts.keyboard.press(vk::Enter);
    rig.frames(3);
    EXPECT_FALSE(rig.takeFiring());

    rig.world.inputLocked = -1;
    rig.frames(1); // fourth held frame: requested, but dropped while locked
    EXPECT_EQ(rig.world.actionRequested, 0);
    EXPECT_EQ(rig.world.systemScriptActive, 0);
}

// ---- mouse ---------------------------------------------------------------------------------

TEST(MouseWalk, ClickOnOwnCellFiresTheActionInTheSameFrame) {
    Rig rig;
    field::World w = openField();
    const int n = addObject(w, {.plane = field::kPlaneBase, .x = 2, .y = 2});
    rig.startOn(std::move(w));
    rig.holdMouseOnCell(2, 2);
    rig.frames(1);
    EXPECT_EQ(rig.world.systemRun.activeObject, n);
    EXPECT_EQ(rig.form.mouse.held, 0);
    EXPECT_TRUE(rig.takeFiring());
}

TEST(MouseWalk, HeldButtonWalksToThePointerCell) {
    Rig rig;
    rig.startOn(groundMap(8, 8, 0, 1, 1));
    // The pointer stays on one screen pixel while the map scrolls: re-aim every frame at the
    // target cell as the player would.
    for (int f = 0; f < 60; ++f) {
        rig.holdMouseOnCell(4, 1);
        rig.frames(1);
    }
    EXPECT_EQ(rig.world.player.x, 4);
    EXPECT_EQ(rig.world.player.y, 1);
}

TEST(MouseWalk, FixedPointerWalksTheWayTheScrolledViewShows) {
    // A pointer held still names a new cell each time the view scrolls; holding it right of
    // the player keeps walking right (the cell right of the player's diamond on screen is
    // one column right and one row up).
    Rig rig;
    rig.startOn(groundMap(8, 8, 0, 1, 4));
    rig.holdMouseAt(192 + 64, 80);
    rig.frames(30);
    EXPECT_GT(rig.world.player.x, 1);
    EXPECT_LT(rig.world.player.y, 4);
}

TEST(MouseWalk, ReplansEveryFrameAndTheLastPickWins) {
    Rig rig;
    rig.startOn(openField());
    rig.holdMouseOnCell(2, 0); // straight up: one candidate
    rig.frames(3);
    rig.holdMouseOnCell(2, 5); // straight down
    rig.frames(3);
    EXPECT_EQ(rig.world.player.x, 2);
    EXPECT_EQ(rig.world.player.y, 3);
    EXPECT_EQ(rig.world.player.facing, 2);
}

TEST(MouseWalk, PicksUniformlyAmongTheCandidates) {
    // Two columns right and one row down: down-right, right and down are all primary.
    std::set<std::pair<int, int>> picked;
    for (std::uint64_t seed = 1; seed <= 24; ++seed) {
        Rig rig(seed);
        rig.startOn(openField());
        rig.ts.clock.advance(static_cast<std::uint32_t>(seed * 7));
        rig.holdMouseOnCell(4, 3);
        rig.frames(1);
        picked.insert({rig.world.player.stepX, rig.world.player.stepY});
        EXPECT_NE(rig.world.player.moving, 0);
    }
    EXPECT_EQ(picked, (std::set<std::pair<int, int>>{{1, 1}, {1, 0}, {0, 1}}));
}

TEST(MouseWalk, RunningPastThreeCandidatesLetsTheWindowProcessMessages) {
    // Three candidates: the fourth request runs past the direct searcher's list and pumps
    // (once for the direction, once for the step). A window event there (the button let go)
    // does not undo the step already chosen.
    Rig rig;
    rig.startOn(openField());
    rig.holdMouseOnCell(4, 3);
    int released = 0;
    rig.ts.windows.onEvents = [&] {
        ++released;
        rig.releaseMouse();
    };
    const long long before = rig.ts.windows.pumps;
    field::mouseWalk(rig.world, rig.loop->moveContext());
    EXPECT_EQ(rig.ts.windows.pumps - before, 2);
    EXPECT_EQ(released, 2);
    EXPECT_EQ(rig.form.mouse.held, 0);
    EXPECT_NE(rig.world.player.moving, 0);

    // One candidate (straight up): the list ends on its 0 entry, no pumping.
    rig.ts.windows.onEvents = nullptr;
    rig.world.player.moving = 0;
    rig.holdMouseOnCell(2, 0);
    const long long again = rig.ts.windows.pumps;
    field::mouseWalk(rig.world, rig.loop->moveContext());
    EXPECT_EQ(rig.ts.windows.pumps - again, 0);
    EXPECT_EQ(rig.world.player.stepY, -1);
}

TEST(MouseWalk, NothingWhenLockedReleasedOrSearchersOff) {
    {
        Rig rig;
        field::World w = openField();
        w.inputLocked = -1;
        rig.startOn(std::move(w));
        rig.holdMouseOnCell(4, 2);
        rig.frames(12);
        EXPECT_EQ(rig.world.player.x, 2);
    }
    {
        Rig rig;
        rig.startOn(openField());
        rig.holdMouseOnCell(4, 2);
        rig.releaseMouse();
        rig.frames(12);
        EXPECT_EQ(rig.world.player.x, 2);
    }
    {
        Rig rig;
        rig.startOn(openField());
        field::configure(rig.form.searchers, 0, 0, 0);
        rig.holdMouseOnCell(4, 2);
        rig.frames(12);
        EXPECT_EQ(rig.world.player.x, 2);
        EXPECT_EQ(rig.world.player.moving, 0);
    }
}

TEST(MouseWalk, RightButtonNeverWalks) {
    Rig rig;
    rig.startOn(openField());
    const auto [px, py] = movetest::cellCentre(rig.world, 4, 2);
    rig.form.gameViewMouseMove(0, 0, static_cast<float>(px), static_cast<float>(py));
    rig.form.gameViewMouseDown(plat::kRightButton, 0, static_cast<float>(px),
                               static_cast<float>(py));
    rig.frames(12);
    EXPECT_EQ(rig.world.player.x, 2);
}

TEST(MouseWalk, PointerDraggedLeftOfTheViewWalksLeftOfThePlayer) {
    // Left of the view lie cells with smaller column and larger row; with the pointer there the
    // player must never walk right or up.
    Rig rig;
    rig.startOn(groundMap(9, 9, 0, 5, 2));
    rig.holdMouseAt(-40, 100);
    rig.frames(12);
    EXPECT_LE(rig.world.player.x, 5);
    EXPECT_GE(rig.world.player.y, 2);
    EXPECT_TRUE(rig.world.player.x < 5 || rig.world.player.y > 2);
}

TEST(MouseWalk, FallsBackToTheDiagonalWhenStraightAheadIsBlocked) {
    Rig rig;
    // The obstacle grid blocks (0, 0): the character plane there has no ground kind.
    rig.startOn(groundMap(5, 5, 0, 0, 1));
    rig.holdMouseOnCell(0, -3);
    rig.frames(6);
    EXPECT_EQ(rig.world.player.x, 1);
    EXPECT_EQ(rig.world.player.y, 0);
    EXPECT_EQ(rig.world.player.facing, 0) << "up-right faces up";
}

TEST(MouseWalk, BlockedOnEveryApproachStillPushesTowardsTheTarget) {
    Rig rig;
    field::World w = groundMap(5, 5, 0, 1, 1);
    const int n = addObject(w, {.x = 1, .y = 0});
    rig.startOn(std::move(w));
    field::SearchGrid grid = field::SearchGrid::make(6, 6);
    for (int x = 0; x <= 2; ++x)
        grid.set(x, 0, -1);
    field::setGrid(rig.form.searchers, grid);
    rig.holdMouseOnCell(1, -3);
    rig.frames(6);
    EXPECT_EQ(rig.world.player.y, 1);
    EXPECT_EQ(rig.world.player.facing, 0);
    EXPECT_EQ(rig.world.systemRun.activeObject, n);
    EXPECT_TRUE(rig.takeFiring());
}

// ---- the built-in map --------------------------------------------------------------------

TEST(BuiltInMap, UpFromTheStartCellIsRefusedAndPushesAgainstTheWall) {
    Rig rig;
    rig.startBuiltIn();
    // The opening scene is not the subject here: end it so input is free.
    rig.world.systemScriptActive = 0;
    rig.world.inputLocked = 0;
    ASSERT_EQ(rig.world.player.x, 1);
    ASSERT_EQ(rig.world.player.y, 2);
    // A marker on the wall's character plane shows the push reaching (1, 1) with flag 0.
    const int marker = 3; // the empty slot: on no cell until placed
    field::EventObject& m = rig.world.events[marker];
    m.enabled = m.triggerable = -1;
    m.onStep = 0;
    m.ownScript.commands.resize(1);
    m.ownScript.commands[0].code = tekkel::opCode(tekkel::Op::End);
    field::placeEventObject(rig.world, marker, 0, field::kPlaneChar, 1, 1);

    rig.ts.keyboard.press(vk::Up);
    rig.frames(5);
    EXPECT_EQ(rig.world.player.facing, 3);
    EXPECT_FALSE(rig.takeFiring());
    rig.frames(1);
    EXPECT_EQ(rig.world.player.x, 1);
    EXPECT_EQ(rig.world.player.y, 2);
    EXPECT_EQ(rig.world.player.facing, 0);
    EXPECT_EQ(rig.world.systemRun.activeObject, marker);
    EXPECT_TRUE(rig.takeFiring());
}

TEST(BuiltInMap, InputIsLockedRightAfterStartUp) {
    Rig rig;
    rig.startBuiltIn();
    EXPECT_NE(rig.world.inputLocked, 0);
    EXPECT_NE(rig.world.systemScriptActive, 0);
}

TEST(BuiltInMap, AfterTheOpeningSceneUpIsRefusedByTheWall) {
    Rig rig;
    rig.startBuiltIn();
    int frames = 0;
    while (rig.world.inputLocked != 0 && frames < 3000) {
        rig.frames(1);
        ++frames;
    }
    ASSERT_EQ(rig.world.inputLocked, 0) << "the opening scene ends by itself";
    for (const auto& box : rig.ts.windows.boxes)
        ASSERT_NE(box.icon, plat::MsgIcon::Critical) << "no script error on the way";
    const int x = rig.world.player.x;
    const int y = rig.world.player.y;
    ASSERT_EQ(x, 1);
    ASSERT_EQ(y, 2);
    rig.ts.keyboard.press(vk::Up);
    rig.frames(6);
    EXPECT_EQ(rig.world.player.x, 1);
    EXPECT_EQ(rig.world.player.y, 2);
    EXPECT_EQ(rig.world.player.facing, 0);
    EXPECT_EQ(rig.world.inputLocked, 0) << "nothing stands on the wall";
}
