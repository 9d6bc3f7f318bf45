// Flow: jumps and labels, the label cache across slot replacement, Chain, Wait, Restart.
#include <gtest/gtest.h>

#include "TekkelKit.h"

using namespace tekkel_test;

TEST(TekkelFlow, JumpFindsTheFirstMatchingLabelOrFailsWithError10) {
    // The target written in the command, or named in D1 (Jump with none) as the script runs.
    for (const bool inD1 : {false, true}) {
        Tekkel t;
        const auto jump = [&](Value target, std::vector<Command> rest) {
            std::vector<Command> script{C(Op::Set, I(20), target), C(Op::Jump)};
            if (!inD1) script = {C(Op::Nop), C(Op::Jump, target)};
            script.insert(script.end(), rest.begin(), rest.end());
            return script;
        };
        // A Break names no error number: the report shows the jump's target.
        t.exec(jump(S(u"B"), {C(Op::Label, S(u"B")), C(Op::Break), C(Op::Label, S(u"B")),
                              C(Op::Set, I(1), I(9)), C(Op::End)}));
        EXPECT_EQ(t.lastErrorNumber(), 2);
        EXPECT_TRUE(t.sys().R1.isEmpty());
        // Labels compare exactly, and only code 10 with a string marks one.
        t.exec(jump(S(u"bxbb"), {C(Op::Nop, S(u"bxbb")), C(Op::Label, S(u"Bxbb")),
                                 C(Op::Label, S(u"bbbb")), C(Op::End)}));
        EXPECT_EQ(t.lastErrorNumber(), 10);
        t.exec(jump(I(-1), {C(Op::End)}));
        EXPECT_EQ(t.lastErrorNumber(), 1);
        t.exec(jump(S(u"x"), {C(Op::End)}));
        EXPECT_EQ(t.reports(), 4u);
    }
}

TEST(TekkelFlow, ConditionalJumpsFollowTheirFlags) {
    Tekkel t;
    // Each pair sets a flag state, then jumps over a Set of R5 when the condition holds.
    const struct {
        std::int16_t code;
        Value set;
        bool jumps;
    } cases[] = {{20, I(1), true},           {20, I(0), false},         {21, I(0), true},
                 {21, I(2), false},          {22, I(0), true},          {22, I(-1), false},
                 {23, I(-1), true},          {23, I(1), false},         {24, I(3), true},
                 {24, Value::null(), false}, {25, Value::null(), true}, {25, I(3), false}};
    for (const auto& c : cases) {
        t.exec({C(Op::Set, I(5), O), C(Op::Set, I(1), c.set), C(c.code, I(4)),
                C(Op::Set, I(5), I(7)), C(Op::End)});
        EXPECT_EQ(t.sys().R5.isEmpty(), c.jumps) << c.code;
    }
}

TEST(TekkelFlow, LoopCountsDownWithCachedLabels) {
    Tekkel t;
    t.exec({C(Op::Set, I(1), I(5)), C(Op::Set, I(2), I(0)), C(Op::Label, S(u"L")), C(Op::Inc, I(2)),
            C(Op::Dec, I(1)), C(Op::JumpIfNotZero, S(u"L")), C(Op::End)});
    EXPECT_EQ(t.sys().R2, I(5));
    EXPECT_EQ(t.sys().R1, I(0));
}

TEST(TekkelFlow, ReplacingSlot0NeverReusesTheOldScriptsLabels) {
    Tekkel t;
    field::EventObject a, b;
    a.ownScript = makeScript(
        {C(Op::Jump, S(u"L")), C(Op::Label, S(u"L")), C(Op::Set, I(1), I(1)), C(Op::End)});
    b.ownScript = makeScript({C(Op::Jump, S(u"L")), C(Op::Nop), C(Op::Label, S(u"L")),
                              C(Op::Set, I(1), I(2)), C(Op::End)});
    t.world.machine.scripts[0] = a.ownScript;
    t.start(0);
    EXPECT_EQ(t.sys().R1, I(1));
    t.world.machine.scripts[0] = b.ownScript; // what firing an object does
    t.start(0);
    EXPECT_EQ(t.sys().R1, I(2));
    EXPECT_EQ(t.sys().address, 4);
    // Moving a script in keeps a cache that belongs to its own commands.
    Script moved = makeScript({C(Op::Jump, S(u"L")), C(Op::Nop), C(Op::Nop), C(Op::Label, S(u"L")),
                               C(Op::Set, I(1), I(3)), C(Op::End)});
    t.world.machine.scripts[0] = std::move(moved);
    t.start(0);
    EXPECT_EQ(t.sys().R1, I(3));
    // A name that comes from D1 is looked up each time.
    t.exec({C(Op::Set, I(20), S(u"M")), C(Op::Label, S(u"Top")), C(Op::Jump), C(Op::Label, S(u"M")),
            C(Op::Inc, I(5)), C(Op::CompareValue, I(5), I(2)), C(Op::JumpIfZero, S(u"Stop")),
            C(Op::Set, I(20), S(u"N")), C(Op::Jump, S(u"Top")), C(Op::Label, S(u"N")),
            C(Op::Set, I(4), I(4)), C(Op::Label, S(u"Stop")), C(Op::End)});
    EXPECT_EQ(t.sys().R4, I(4));
}

TEST(TekkelFlow, ChainByNameTakesTheHighestNumberAndByNumberContinuesAtOnce) {
    Tekkel t;
    t.load(4, {C(Op::Set, I(1), I(4)), C(Op::End)}, u"門番");
    t.load(6, {C(Op::Set, I(1), I(6)), C(Op::End)}, u"門番");
    t.exec({C(Op::Chain, S(u"門番"))});
    EXPECT_EQ(t.sys().R1, I(6));
    EXPECT_EQ(t.sys().scriptNumber, 6);
    t.exec({C(Op::Chain, I(4))});
    EXPECT_EQ(t.sys().R1, I(4));
    t.exec({C(Op::Chain, S(u"無い"))});
    EXPECT_EQ(t.lastErrorNumber(), 10);
    for (std::int16_t n : {-1, 9, 21}) {
        t.exec({C(Op::Chain, I(n))});
        EXPECT_EQ(t.lastErrorNumber(), 1) << n;
    }
}

TEST(TekkelFlow, WaitSuspendsUntilItsPeriodHasPassedThenContinuesInTheSameFrame) {
    Tekkel t;
    t.load(1, {C(Op::Wait, I(3), I(500)), C(Op::Wait, I(3), I(100)), C(Op::Set, I(1), I(1)),
               C(Op::End)});
    t.sys().scriptNumber = 1;
    t.world.systemScriptActive = -1;
    const std::uint32_t start = t.ts.clock.timeGetTime();
    t.frame();
    EXPECT_EQ(t.sys().R3, L(static_cast<std::int32_t>(start)));
    EXPECT_TRUE(t.sys().suspended);
    t.ts.clock.advance(500);
    t.frame();
    EXPECT_EQ(t.sys().address, 0); // exactly start + 500 still waits
    t.ts.clock.advance(1);
    t.frame();
    // The second Wait measures its own period from now.
    EXPECT_EQ(t.sys().address, 1);
    EXPECT_EQ(t.sys().R3, L(static_cast<std::int32_t>(start + 501)));
    t.ts.clock.advance(101);
    t.frame();
    EXPECT_EQ(t.sys().R1, I(1));
    EXPECT_EQ(t.world.systemScriptActive, 0);
}

TEST(TekkelFlow, WaitMeasuresAcrossTheClockWrap) {
    Tekkel t;
    t.ts.clock.set(0xFFFFFF00u);
    t.load(1, {C(Op::Wait, I(30), I(0x200)), C(Op::End)});
    t.start(1);
    t.ts.clock.set(0x100u); // 0x200 ms later, past the wrap
    EXPECT_EQ(t.run(t.sys()), RunResult::Yielded);
    t.ts.clock.set(0x101u);
    EXPECT_EQ(t.run(t.sys()), RunResult::Ended);
}

TEST(TekkelFlow, YieldRestartAndRunningPastTheEnd) {
    Tekkel t;
    t.load(1, {C(Op::Inc, I(1)), C(Op::Yield), C(Op::Restart)});
    EXPECT_EQ(t.start(1), RunResult::Yielded); // Yield moves on, then yields
    EXPECT_EQ(t.sys().address, 2);
    EXPECT_EQ(t.run(t.sys()), RunResult::Yielded); // Restart yields before address 0 runs
    EXPECT_EQ(t.sys().address, 0);
    EXPECT_EQ(t.sys().R1, I(1));
    EXPECT_EQ(t.run(t.sys()), RunResult::Yielded);
    EXPECT_EQ(t.sys().R1, I(2));
    t.sys().address = 3;
    EXPECT_EQ(t.run(t.sys()), RunResult::Ended);
    EXPECT_EQ(t.ts.windows.boxes.size(), 0u);
}
