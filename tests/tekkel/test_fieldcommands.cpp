// The player, object and cell commands: get/set with the set switch, stepping across frames,
// talking, cell tests, and the refusals that keep the player and objects on the map.
#include <gtest/gtest.h>

#include <algorithm>

#include "TekkelKit.h"
#include "field/script/FieldCommands.h"

using namespace tekkel_test;

namespace {

// Two layers of 4 x 4 ground, the player at (1, 1), object 1 a character at (2, 2) facing up,
// object 2 a sign at (3, 3) on the event sheet, object 3 not on the map.
struct Field : Tekkel {
    Field() : Tekkel(3) {
        field::initPlayer(world);
        world.resizeMap(3, 3, 1);
        for (int l = 0; l <= 1; ++l)
            for (int x = 0; x <= 3; ++x)
                for (int y = 0; y <= 3; ++y)
                    world.cell(l, 0, x, y).kind = 1;
        world.player.x = 1;
        world.player.y = 1;
        put(1, 2, 2, 0);
        put(2, 3, 3, 1);
        world.systemRun.activeObject = 1;
    }
    void put(int n, int x, int y, int sheet) {
        auto& e = world.events[static_cast<std::size_t>(n)];
        e.visible = -1;
        e.enabled = -1;
        e.chipSheet = static_cast<std::int16_t>(sheet);
        e.plane = 2;
        e.x = x;
        e.y = y;
        world.cell(0, 2, x, y).eventId = static_cast<std::int16_t>(n);
    }
    field::EventObject& obj(int n) { return world.events[static_cast<std::size_t>(n)]; }
    // Runs the system script frame after frame until it ends; returns the frames it took.
    int framesUntilEnd(int limit = 100) {
        world.systemScriptActive = -1;
        for (int f = 1; f <= limit; ++f) {
            frame();
            if (!world.systemScriptActive) return f;
        }
        return -1;
    }
};

TEST(FieldCommands, SetSwitchChoosesBetweenSettingAndReading) {
    Field t;
    // P3 true: hide the active object.
    t.exec({C(Op::ObjectVisible, I(-1), B(false), I(1)), C(Op::End)});
    EXPECT_EQ(t.obj(1).visible, 0);
    // P3 omitted with D3 empty: read the flag into the register P2 names.
    t.exec({C(Op::ObjectVisible, I(-1), I(3)), C(Op::End)});
    EXPECT_EQ(t.sys().R3, B(false));
    EXPECT_EQ(t.obj(1).visible, 0);
    // P1 omitted: the facing comes from D1.
    t.exec({C(Op::Set, I(20), I(2)), C(Op::PlayerFacing, O, I(1)), C(Op::End)});
    EXPECT_EQ(t.world.player.facing, 2);
    // A null switch counts as false: the layer is read, not set.
    t.exec({C(Op::Set, I(22), Value::null()), C(Op::ObjectLayer, I(2), I(4)), C(Op::End)});
    EXPECT_EQ(t.sys().R4, I(0));
    EXPECT_EQ(t.reports(), 0u);
}

TEST(FieldCommands, GetsWriteTheFieldsKind) {
    Field t;
    t.obj(1).stepInterval = 70000;
    t.exec({C(Op::PlayerVisible, I(1)), C(Op::PlayerX, I(2)), C(Op::ObjectEnabled, I(1), I(3)),
            C(Op::ObjectSpeed, I(1), I(4)), C(Op::ObjectPlane, I(1), I(5)), C(Op::End)});
    EXPECT_EQ(t.sys().R1, B(true));
    EXPECT_EQ(t.sys().R2, L(1));
    EXPECT_EQ(t.sys().R3, B(true));
    EXPECT_EQ(t.sys().R4, L(70000));
    EXPECT_EQ(t.sys().R5, I(2));
}

TEST(FieldCommands, PlayerIsNeverSetOffTheMap) {
    Field t;
    const struct {
        std::int16_t code;
        Value v;
    } refused[] = {{211, I(2)}, {211, I(-1)}, {212, I(4)}, {213, I(-1)},
                   {213, I(4)}, {214, I(4)},  {218, I(2)}, {218, I(-1)}};
    for (const auto& r : refused) {
        t.exec({C(r.code, r.v, I(1)), C(Op::End)});
        EXPECT_EQ(t.lastErrorNumber(), 1) << r.code;
    }
    EXPECT_EQ(t.reports(), std::size(refused));
    const auto& p = t.world.player;
    EXPECT_EQ(std::make_tuple(p.layer, p.plane, p.x, p.y, p.chipSheet),
              std::make_tuple(0, 2, 1, 1, 0));
    // The far edges are still on the map.
    t.exec({C(Op::PlayerLayer, I(1), I(1)), C(Op::PlayerPlane, I(0), I(1)),
            C(Op::PlayerX, I(3), I(1)), C(Op::PlayerY, I(3), I(1)), C(Op::PlayerSheet, I(1), I(1)),
            C(Op::End)});
    EXPECT_EQ(std::make_tuple(p.layer, p.plane, p.x, p.y, p.chipSheet),
              std::make_tuple(1, 0, 3, 3, 1));
    // A number that does not fit a layer is refused, not wrapped.
    t.exec({C(Op::PlayerLayer, L(65536), I(1)), C(Op::End)});
    EXPECT_EQ(p.layer, 1);
}

TEST(FieldCommands, ObjectNumbersAndUnlistedCodesFailWithError1) {
    Field t;
    for (auto obj : {I(0), I(4), L(70000), S(u"x")}) {
        t.exec({C(Op::ObjectVisible, obj, I(1)), C(Op::End)});
        EXPECT_EQ(t.lastErrorNumber(), 1);
    }
    t.sys().activeObject = 0;
    t.exec({C(Op::Say, I(-1), S(u"hi")), C(Op::End)});
    EXPECT_EQ(t.lastErrorNumber(), 1);
    t.sys().activeObject = 1;
    for (std::int16_t code : {201, 216, 219, 299, 301, 316, 323, 352, 399}) {
        t.exec({C(code, I(1), I(1)), C(Op::End)});
        EXPECT_EQ(t.lastErrorNumber(), 1) << code;
    }
    EXPECT_EQ(t.reports(), 14u);
}

TEST(FieldCommands, ObjectCoordinatesMoveItsCellEntry) {
    Field t;
    t.exec({C(Op::ObjectX, I(1), I(0), I(1)), C(Op::ObjectY, I(1), I(3), I(1)),
            C(Op::ObjectLayer, I(1), I(1), I(1)), C(Op::End)});
    const auto& e = t.obj(1);
    EXPECT_EQ(std::make_tuple(e.layer, e.x, e.y), std::make_tuple(1, 0, 3));
    EXPECT_EQ(t.world.cell(0, 2, 2, 2).eventId, 0);
    EXPECT_EQ(t.world.cell(0, 2, 0, 3).eventId, 0);
    EXPECT_EQ(t.world.cell(1, 2, 0, 3).eventId, 1);
    // Off the map is refused and leaves the object where it was.
    t.exec({C(Op::ObjectX, I(1), I(4), I(1)), C(Op::End)});
    t.exec({C(Op::ObjectPlane, I(1), I(-1), I(1)), C(Op::End)});
    EXPECT_EQ(t.reports(), 2u);
    EXPECT_EQ(std::make_tuple(e.layer, e.plane, e.x, e.y), std::make_tuple(1, 2, 0, 3));
    EXPECT_EQ(t.world.cell(1, 2, 0, 3).eventId, 1);
}

TEST(FieldCommands, DetachingTakesTheObjectOffItsCellAndBack) {
    Field t;
    t.exec(
        {C(Op::ObjectDetached, I(1), B(true), I(1)), C(Op::ObjectX, I(1), I(0), I(1)), C(Op::End)});
    EXPECT_NE(t.obj(1).detached, 0);
    EXPECT_EQ(t.world.cell(0, 2, 2, 2).eventId, 0);
    EXPECT_EQ(t.world.cell(0, 2, 0, 2).eventId, 0);
    t.exec(
        {C(Op::ObjectDetached, I(1), I(0), I(1)), C(Op::ObjectDetached, I(1), I(2)), C(Op::End)});
    EXPECT_EQ(t.world.cell(0, 2, 0, 2).eventId, 1);
    EXPECT_EQ(t.sys().R2, B(false));
}

TEST(FieldCommands, ObjectStepSuspendsUntilItsStepEnds) {
    Field t;
    t.obj(1).stepInterval = 2;
    t.load(1, {C(Op::ObjectStep, I(-1), I(1)), C(Op::End)});
    t.world.systemRun.scriptNumber = 1;
    t.world.systemRun.address = 0;
    // A step completes on the (interval + 2)-th call: three suspended frames, then the move.
    EXPECT_EQ(t.framesUntilEnd(), 4);
    EXPECT_EQ(t.obj(1).x, 3);
    EXPECT_EQ(t.sys().R1, L(1));
    EXPECT_EQ(t.world.cell(0, 2, 3, 2).eventId, 1);
}

TEST(FieldCommands, ObjectStepIntoABlockedCellLeaves2InR1) {
    Field t;
    // Down from (2, 2) to (2, 3): no ground there.
    t.world.cell(0, 0, 2, 3).kind = 2;
    t.exec({C(Op::ObjectStep, I(1), I(2)), C(Op::End)});
    EXPECT_EQ(t.framesUntilEnd(), 1);
    EXPECT_EQ(t.sys().R1, L(2));
    EXPECT_FALSE(t.sys().zeroFlag);
    EXPECT_EQ(t.obj(1).y, 2);
    EXPECT_EQ(t.obj(1).facing, 2);
    // Toward the player's cell diagonally: refused, facing the vertical half of the diagonal.
    t.exec({C(Op::ObjectStep, I(1), I(7)), C(Op::End)});
    t.framesUntilEnd();
    EXPECT_EQ(t.sys().R1, L(2));
    EXPECT_EQ(t.obj(1).facing, 3);
}

TEST(FieldCommands, StepDirectionsOutsideTheTableFailWithoutANumber) {
    Field t;
    for (std::int16_t code : {200, 300}) {
        t.exec({C(Op::Jump, I(2)), C(Op::Nop), C(code, I(1), I(8)), C(Op::End)});
        EXPECT_EQ(t.lastErrorNumber(), 2) << "the jump's target stays in the slot";
        t.exec({C(Op::Jump, I(2)), C(Op::Nop), C(code, I(1), I(-2)), C(Op::End)});
        EXPECT_EQ(t.lastErrorNumber(), 2);
    }
    EXPECT_EQ(t.world.player.moving, 0);
    EXPECT_EQ(t.obj(1).moving, 0);
    EXPECT_EQ(t.reports(), 4u);
    // An object takes the direction modulo 4 before the direction is refused.
    EXPECT_EQ(t.obj(1).stepDir, -2);
    // The player's direction is a 16-bit number: one that does not fit is error 1.
    t.exec({C(Op::Jump, I(2)), C(Op::Nop), C(Op::PlayerStep, O, L(40000)), C(Op::End)});
    EXPECT_EQ(t.lastErrorNumber(), 1);
    t.exec({C(Op::Jump, I(2)), C(Op::Nop), C(Op::ObjectStep, I(1), L(40001)), C(Op::End)});
    EXPECT_EQ(t.lastErrorNumber(), 2);
    EXPECT_EQ(t.obj(1).stepDir, 1);
}

TEST(FieldCommands, RandomStepDirectionsAreOrthogonal) {
    Field t;
    t.obj(1).stepInterval = -1;
    for (int i = 0; i < 40; ++i) {
        t.obj(1).moving = 0;
        t.exec({C(Op::ObjectStep, I(1), I(-1)), C(Op::End)});
        EXPECT_LE(t.obj(1).stepDir, 3);
        EXPECT_EQ(std::abs(t.obj(1).stepX) + std::abs(t.obj(1).stepY), 1);
    }
}

TEST(FieldCommands, PlayerStepTakesSixFramesOfProgress) {
    Field t;
    t.load(1, {C(Op::PlayerStep, O, I(1)), C(Op::End)});
    t.world.systemRun.scriptNumber = 1;
    t.world.systemRun.address = 0;
    EXPECT_EQ(t.framesUntilEnd(), 6);
    EXPECT_EQ(std::make_tuple(t.world.player.x, t.world.player.y), std::make_tuple(2, 1));
    EXPECT_EQ(t.world.player.facing, 1);
    // A diagonal faces along one of its halves: a chip row, never 5.
    t.exec({C(Op::PlayerStep, O, I(5)), C(Op::End)});
    EXPECT_EQ(t.framesUntilEnd(), 5);
    EXPECT_EQ(std::make_tuple(t.world.player.x, t.world.player.y), std::make_tuple(3, 2));
    EXPECT_EQ(t.world.player.facing, 1);
}

TEST(FieldCommands, SayTurnsACharacterForOneFrameFirst) {
    Field t;
    // Object 1 at (2, 2) faces up; the player at (1, 1) is up (a tie counts as vertical).
    t.obj(1).facing = 1;
    t.exec({C(Op::Say, I(1), S(u"こんにちは")), C(Op::End)});
    EXPECT_TRUE(t.boxes().empty());
    EXPECT_EQ(t.obj(1).facing, 0);
    t.world.systemScriptActive = -1;
    t.frame();
    ASSERT_EQ(t.boxes().size(), 1u);
    EXPECT_EQ(t.boxes()[0].text, u"こんにちは");
    EXPECT_EQ(t.boxes()[0].buttons, plat::MsgButtons::Ok);
    // Already facing the player: at once.
    t.exec({C(Op::Say, I(1), S(u"a")), C(Op::End)});
    EXPECT_EQ(t.boxes().size(), 2u);
}

TEST(FieldCommands, SayOnAnEventSheetObjectShowsAtOnce) {
    Field t;
    t.obj(1).facing = 1;
    t.obj(2).facing = 1;
    t.exec({C(Op::Say, I(2), S(u"看板")), C(Op::SayPlain, I(1), S(u"b")), C(Op::End)});
    ASSERT_EQ(t.boxes().size(), 2u);
    EXPECT_EQ(t.boxes()[0].text, u"看板");
    EXPECT_EQ(t.obj(2).facing, 1);
    EXPECT_EQ(t.obj(1).facing, 1) << "SayPlain never turns";
}

TEST(FieldCommands, FacePlayerAndSetActive) {
    Field t;
    t.world.player.x = 0;
    t.world.player.y = 3;
    t.exec({C(Op::FacePlayerDir, I(1), I(2)), C(Op::SetActive, I(2)), C(Op::End)});
    EXPECT_EQ(t.sys().R2, L(3)); // two left, one down: left wins
    EXPECT_EQ(t.sys().activeObject, 2);
    EXPECT_FALSE(t.sys().zeroFlag);
    EXPECT_FALSE(t.sys().negativeFlag);
}

TEST(FieldCommands, TestCellAndDirVector) {
    Field t;
    t.exec({C(Op::Set, I(400), I(0)), C(Op::Set, I(401), I(2)), C(Op::Set, I(402), I(2)),
            C(Op::Set, I(403), I(2)), C(Op::TestCell, I(2)), C(Op::Set, I(402), I(1)),
            C(Op::Set, I(403), I(1)), C(Op::TestCell, I(3)), C(Op::Set, I(401), I(1)),
            C(Op::TestCell, I(5)), C(Op::Set, I(402), I(4)), C(Op::TestCell, I(4)), C(Op::End)});
    EXPECT_EQ(t.sys().R2, B(false)); // object 1 stands there
    // The player's own cell is taken, so a warp to a "free" cell cannot land on the player;
    // the same column and row on another plane is free.
    EXPECT_EQ(t.sys().R3, B(false));
    EXPECT_EQ(t.sys().R5, B(true));
    EXPECT_EQ(t.sys().R4, B(false)); // off the map
    EXPECT_TRUE(t.sys().zeroFlag);

    t.exec({C(Op::DirVector, I(402), I(403), I(6)), C(Op::End)});
    EXPECT_EQ(t.sys().testX, -1);
    EXPECT_EQ(t.sys().testY, 1);
    t.exec({C(Op::DirVector, I(1), I(2), I(8)), C(Op::End)});
    EXPECT_EQ(t.reports(), 1u);
    EXPECT_TRUE(t.sys().R1.isEmpty()) << "nothing written on failure";
}

// The host finds a code's command in one look: the same one a search of its table finds, for
// every code and none where the table has none.
TEST(FieldCommands, HostFindsEachCodeItsTableHolds) {
    Field t;
    const tekkel::Host host = field::scriptHost(t.world);
    const auto table = field::fieldCommands();
    for (int code = -2; code <= 1100; ++code) {
        const auto at = std::ranges::find(table, code, [](const tekkel::HostCommand& c) {
            return static_cast<int>(tekkel::opCode(c.op));
        });
        const tekkel::HostCommand* want = at == table.end() ? nullptr : &*at;
        EXPECT_EQ(host.command(static_cast<std::int16_t>(code)), want) << code;
    }
    EXPECT_EQ(tekkel::kNoHost.command(tekkel::opCode(Op::TestCell)), nullptr);
}

} // namespace
