// Event objects: stepping, firing, turning to the player, detaching and placing, always
// checking that an attached object is named by exactly its cell.
#include <gtest/gtest.h>

#include "field/EventObjects.h"
#include "field/PlayerMovement.h"
#include "test_move_rig.h"

using movetest::addObject;
using movetest::groundMap;
using movetest::ObjectDef;

namespace {

// Every cell of every plane that names object n.
std::vector<std::tuple<int, int, int, int>> cellsNaming(const field::World& w, int n) {
    std::vector<std::tuple<int, int, int, int>> found;
    for (int l = 0; l <= w.topLayer; ++l)
        for (int p = 0; p < field::kPlaneCount; ++p)
            for (int x = 0; x <= w.maxX; ++x)
                for (int y = 0; y <= w.maxY; ++y)
                    if (w.cell(l, p, x, y).eventId == n) found.emplace_back(l, p, x, y);
    return found;
}

// The object is attached and named by exactly its own cell.
void expectOnItsCell(const field::World& w, int n) {
    const field::EventObject& e = w.events[n];
    EXPECT_EQ(e.detached, 0);
    EXPECT_EQ(cellsNaming(w, n),
              (std::vector<std::tuple<int, int, int, int>>{{e.layer, e.plane, e.x, e.y}}))
        << "object " << n;
}

void startStep(field::World& w, int n, int dir) {
    field::EventObject& e = w.events[n];
    std::int32_t dx = 0, dy = 0;
    ASSERT_TRUE(field::directionStep(dir, dx, dy));
    e.stepDir = static_cast<std::int16_t>(dir);
    e.stepX = dx;
    e.stepY = dy;
    e.moving = -1;
}

// Calls stepEventObject once per frame, as a stepping script command does, until it answers.
std::vector<int> stepUntilDone(field::World& w, int n) {
    std::vector<int> results;
    for (int i = 0; i < 100; ++i) {
        results.push_back(field::stepEventObject(w, n));
        if (results.back() != 0) break;
    }
    return results;
}

} // namespace

// ---- stepping --------------------------------------------------------------------------

TEST(EventStep, IntervalTwoMovesOnTheFourthCall) {
    field::World w = groundMap(5, 5, 0, 0, 0);
    const int n = addObject(w, {.x = 3, .y = 3, .stepInterval = 2});
    startStep(w, n, 1);
    EXPECT_EQ(stepUntilDone(w, n), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(w.events[n].x, 4);
    EXPECT_EQ(w.events[n].facing, 1);
    EXPECT_EQ(w.events[n].moving, 0);
    expectOnItsCell(w, n);
    EXPECT_EQ(field::stepEventObject(w, n), 0) << "no step pending";
}

TEST(EventStep, RefusedStepsTurnAndKeepTheVector) {
    field::World w = groundMap(5, 5, 1, 0, 0);
    const int n = addObject(w, {.x = 3, .y = 3});
    const int other = addObject(w, {.x = 4, .y = 3});
    w.cell(0, field::kPlaneGround, 3, 2).kind = 2;

    startStep(w, n, 0); // wall
    EXPECT_EQ(stepUntilDone(w, n).back(), 2);
    startStep(w, n, 1); // attached object
    EXPECT_EQ(stepUntilDone(w, n).back(), 2);
    EXPECT_EQ(w.events[n].facing, 1);
    EXPECT_EQ(w.events[n].stepX, 1);
    EXPECT_EQ(w.events[n].moving, 0);

    // The player's column and row refuse the step even on another layer and plane.
    w.player.layer = 1;
    w.player.plane = field::kPlaneGround;
    w.player.x = 2;
    w.player.y = 3;
    startStep(w, n, 3);
    EXPECT_EQ(stepUntilDone(w, n).back(), 2);

    // Off the map.
    field::placeEventObject(w, n, 0, field::kPlaneChar, 0, 0);
    startStep(w, n, 7);
    EXPECT_EQ(stepUntilDone(w, n).back(), 2);
    expectOnItsCell(w, n);
    expectOnItsCell(w, other);
}

TEST(EventStep, DetachedObjectMovesButStaysOffTheMap) {
    field::World w = groundMap(5, 5, 0, 0, 0);
    const int n = addObject(w, {.x = 3, .y = 3});
    field::setDetached(w, n, -1);
    startStep(w, n, 2);
    EXPECT_EQ(stepUntilDone(w, n).back(), 1);
    EXPECT_EQ(w.events[n].y, 4);
    EXPECT_TRUE(cellsNaming(w, n).empty());
    field::setDetached(w, n, 0);
    expectOnItsCell(w, n);
}

TEST(EventStep, ObjectNumbersOutOfRangeDoNothing) {
    field::World w = groundMap(2, 2, 0, 0, 0);
    addObject(w, {.x = 1, .y = 1});
    for (int n : {-1, 0, 2, 40000}) {
        EXPECT_EQ(field::stepEventObject(w, n), 0);
        field::setDetached(w, n, -1);
        field::placeEventObject(w, n, 0, 2, 0, 0);
    }
    expectOnItsCell(w, 1);
}

// ---- firing --------------------------------------------------------------------------------

TEST(EventTrigger, FiringMakesTheOwnScriptTheSystemScript) {
    field::World w = groundMap(3, 3, 0, 0, 0);
    w.machine.scripts.resize(3);
    const int n = addObject(w, {.x = 1, .y = 1});
    w.events[n].ownScript.name = u"own";
    w.events[n].moving = -1;
    w.systemRun.scriptNumber = 2;
    w.systemRun.address = 17;
    field::MouseState mouse;
    mouse.held = -1;
    EXPECT_TRUE(field::triggerEvent(w, mouse, 0, 0, field::kPlaneChar, 1, 1));
    EXPECT_EQ(w.machine.scripts[0].name, u"own");
    EXPECT_EQ(w.machine.scripts[0].commands.size(), 1u);
    EXPECT_EQ(w.systemRun.scriptNumber, 0);
    EXPECT_EQ(w.systemRun.address, 0);
    EXPECT_EQ(w.systemRun.activeObject, n);
    EXPECT_NE(w.systemScriptActive, 0);
    EXPECT_NE(w.inputLocked, 0);
    EXPECT_EQ(w.events[n].moving, 0) << "a pending step of the object is dropped";
    EXPECT_EQ(mouse.held, 0);
    // Slot 0 is a copy: changing it leaves the object's own script alone.
    w.machine.scripts[0].commands.clear();
    EXPECT_EQ(w.events[n].ownScript.commands.size(), 1u);
}

TEST(EventTrigger, WhoFiresOnArrivalAndOnExamining) {
    struct Case {
        ObjectDef def;
        std::int16_t arrival;
        std::int16_t fires;
    };
    const std::vector<Case> cases = {
        {{.x = 1, .y = 1}, 0, -1},
        {{.x = 1, .y = 1}, -1, 0}, // onStep false: arrival does nothing
        {{.x = 1, .y = 1, .onStep = true}, -1, -1},
        {{.x = 1, .y = 1, .enabled = false}, 0, 0},
        {{.x = 1, .y = 1, .triggerable = false}, 0, 0},
    };
    for (const Case& c : cases) {
        field::World w = groundMap(3, 3, 0, 0, 0);
        addObject(w, c.def);
        field::MouseState mouse;
        mouse.held = -1;
        EXPECT_EQ(field::triggerEvent(w, mouse, c.arrival, 0, field::kPlaneChar, 1, 1),
                  c.fires != 0);
        EXPECT_EQ(w.systemScriptActive, c.fires);
        EXPECT_EQ(mouse.held, c.fires ? 0 : -1);
    }
}

TEST(EventTrigger, EmptyCellsCellsOffTheMapAndDetachedObjectsNeverFire) {
    field::World w = groundMap(3, 3, 0, 0, 0);
    const int n = addObject(w, {.x = 1, .y = 1});
    field::MouseState mouse;
    EXPECT_FALSE(field::triggerEvent(w, mouse, 0, 0, field::kPlaneChar, 2, 2));
    EXPECT_FALSE(field::triggerEvent(w, mouse, 0, 0, field::kPlaneChar, -1, 0));
    EXPECT_FALSE(field::triggerEvent(w, mouse, 0, 5, field::kPlaneChar, 1, 1));
    EXPECT_FALSE(field::triggerEvent(w, mouse, 0, 0, 4, 1, 1));
    w.cell(0, field::kPlaneBase, 2, 2).eventId = 99; // names no object
    EXPECT_FALSE(field::triggerEvent(w, mouse, 0, 0, field::kPlaneBase, 2, 2));
    field::setDetached(w, n, -1);
    EXPECT_FALSE(field::triggerEvent(w, mouse, 0, 0, field::kPlaneChar, 1, 1));
    EXPECT_EQ(w.systemScriptActive, 0);
}

// ---- turning ------------------------------------------------------------------------------

TEST(DirToPlayer, DirectionsAndTies) {
    field::World w = groundMap(8, 8, 0, 0, 0);
    const int n = addObject(w, {.x = 4, .y = 4});
    struct Case {
        int px, py, dir;
    };
    for (const Case& c : std::vector<Case>{{2, 2, 0}, // two left, two up: the tie is vertical
                                           {4, 4, 2}, // same cell
                                           {1, 3, 3},
                                           {7, 5, 1},
                                           {4, 0, 0},
                                           {5, 8, 2},
                                           {6, 6, 2}}) {
        w.player.x = c.px;
        w.player.y = c.py;
        EXPECT_EQ(field::directionToPlayer(w, n), c.dir) << c.px << "," << c.py;
    }
}

// ---- detaching and placing ---------------------------------------------------------------

TEST(Detach, DetachPlaceAndReattach) {
    field::World w = groundMap(5, 5, 1, 0, 0);
    const int n = addObject(w, {.x = 2, .y = 2});
    field::setDetached(w, n, -1);
    EXPECT_TRUE(cellsNaming(w, n).empty());
    EXPECT_TRUE(field::isEnterable(w, 0, field::kPlaneChar, 2, 2));

    field::placeEventObject(w, n, 1, field::kPlaneBase, 4, 1);
    EXPECT_TRUE(cellsNaming(w, n).empty()) << "placing does not make it reappear";
    EXPECT_EQ(w.events[n].layer, 1);
    EXPECT_EQ(w.events[n].plane, field::kPlaneBase);

    field::setDetached(w, n, 0);
    expectOnItsCell(w, n);
    EXPECT_FALSE(field::isEnterable(w, 1, field::kPlaneBase, 4, 1));

    field::placeEventObject(w, n, 0, field::kPlaneChar, 0, 5);
    expectOnItsCell(w, n);
}

TEST(Detach, WarpPassingOverAWandererKeepsBothOnTheMap) {
    // The runaway's warp sets its column, then its row: the intermediate cell holds a
    // wanderer, which must keep its cell.
    field::World w = groundMap(8, 5, 0, 0, 5);
    const int runaway = addObject(w, {.x = 8, .y = 0});
    const int wanderer = addObject(w, {.x = 3, .y = 0});
    field::placeEventObject(w, runaway, 0, field::kPlaneChar, 3, 0); // column first
    expectOnItsCell(w, wanderer);
    EXPECT_TRUE(cellsNaming(w, runaway).empty());
    field::placeEventObject(w, runaway, 0, field::kPlaneChar, 3, 4); // then the row
    expectOnItsCell(w, wanderer);
    expectOnItsCell(w, runaway);

    // The wanderer walks on and leaves nothing behind.
    startStep(w, wanderer, 2);
    EXPECT_EQ(stepUntilDone(w, wanderer).back(), 1);
    expectOnItsCell(w, wanderer);
    expectOnItsCell(w, runaway);
    EXPECT_EQ(w.cell(0, field::kPlaneChar, 3, 0).eventId, 0);
}

TEST(Detach, ObjectThatLandedOnAnOccupiedCellIsNamedOnceItMovesOn) {
    field::World w = groundMap(5, 5, 0, 0, 5);
    const int a = addObject(w, {.x = 1, .y = 1});
    const int b = addObject(w, {.x = 3, .y = 3});
    field::placeEventObject(w, b, 0, field::kPlaneChar, 1, 1);
    expectOnItsCell(w, a);
    startStep(w, b, 1);
    EXPECT_EQ(stepUntilDone(w, b).back(), 1);
    expectOnItsCell(w, a);
    expectOnItsCell(w, b);
}

TEST(Detach, CoordinatesOffTheMapWriteNoCell) {
    field::World w = groundMap(3, 3, 0, 0, 0);
    const int n = addObject(w, {.x = 1, .y = 1});
    field::placeEventObject(w, n, 0, field::kPlaneChar, 50, -7);
    EXPECT_TRUE(cellsNaming(w, n).empty());
    field::placeEventObject(w, n, 7, 9, 1, 1);
    EXPECT_TRUE(cellsNaming(w, n).empty());
    field::setDetached(w, n, -1);
    field::setDetached(w, n, 0);
    field::placeEventObject(w, n, 0, field::kPlaneChar, 2, 2);
    expectOnItsCell(w, n);
}

// ---- the enterable test and the direction table -----------------------------------------

TEST(Enterable, KindsPlanesAndRanges) {
    field::World w = groundMap(3, 3, 0, 0, 0);
    for (std::int16_t kind : {0, 1, 2, 3}) {
        w.cell(0, field::kPlaneGround, 1, 1).kind = kind;
        EXPECT_EQ(field::isEnterable(w, 0, field::kPlaneChar, 1, 1), kind == 1) << kind;
    }
    EXPECT_FALSE(field::isEnterable(w, 0, field::kPlaneChar, 4, 0));
    EXPECT_FALSE(field::isEnterable(w, 0, field::kPlaneChar, 0, 4));
    EXPECT_FALSE(field::isEnterable(w, 0, field::kPlaneChar, -1, 0));
    EXPECT_FALSE(field::isEnterable(w, 0, field::kPlaneChar, 0, -1));
    EXPECT_FALSE(field::isEnterable(w, 0, 4, 0, 0));
    EXPECT_FALSE(field::isEnterable(w, 0, -1, 0, 0));
    EXPECT_FALSE(field::isEnterable(w, 1, field::kPlaneChar, 0, 0));
    EXPECT_TRUE(field::isEnterable(w, 0, field::kPlaneGround, 0, 0));
}

TEST(DirLookup, EightCodesAndNothingElse) {
    const int expected[8][2] = {{0, -1}, {1, 0}, {0, 1},  {-1, 0},
                                {1, -1}, {1, 1}, {-1, 1}, {-1, -1}};
    for (int code = 0; code < 8; ++code) {
        std::int32_t dx = 9, dy = 9;
        ASSERT_TRUE(field::directionStep(code, dx, dy));
        EXPECT_EQ(dx, expected[code][0]);
        EXPECT_EQ(dy, expected[code][1]);
    }
    for (int code : {-1, 8, 1000, INT32_MIN}) {
        std::int32_t dx = 9, dy = 9;
        EXPECT_FALSE(field::directionStep(code, dx, dy));
        EXPECT_EQ(dx, 9);
        EXPECT_EQ(dy, 9);
    }
}
