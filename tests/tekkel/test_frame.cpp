// The frame entry and the error report: who runs in a frame, what the report says, and what
// each answer does.
#include <algorithm>

#include <gtest/gtest.h>

#include "TekkelKit.h"
#include "tekkel/Compiler.h"

using namespace tekkel_test;

TEST(TekkelFrame, SystemScriptRunsAloneAndEndingItReleasesThePlayer) {
    Tekkel t;
    t.load(1, {C(Op::Set, I(1), I(1)), C(Op::End)});
    t.load(2, {C(Op::Inc, I(1)), C(Op::Yield), C(Op::End)});
    t.world.events[1].enabled = -1;
    t.world.events[1].autoScript = 1;
    t.world.systemScriptActive = -1;
    t.world.inputLocked = -1;
    t.sys().scriptNumber = 2;
    t.frame();
    EXPECT_EQ(t.world.events[1].run.scriptNumber, 0); // automatic scripts wait
    EXPECT_EQ(t.world.systemScriptActive, -1);
    t.frame();
    EXPECT_EQ(t.world.systemScriptActive, 0);
    EXPECT_EQ(t.world.inputLocked, 0);
    t.frame();
    EXPECT_EQ(t.world.events[1].run.R1, I(1));
    EXPECT_EQ(t.world.events[1].run.activeObject, 1);
}

TEST(TekkelFrame, AutomaticScriptsRunInObjectOrderAndStayWhereTheyStopped) {
    Tekkel t(3);
    // Each object appends its number to shared variable 1.
    t.world.machine.sharedValues.assign(2, Value{});
    t.load(3, {C(Op::Select, I(1), I(1), I(0)), C(Op::Move, I(2), I(-1)), C(Op::Move, I(3), I(300)),
               C(Op::Concat, I(-1), I(2), I(3)), C(Op::Yield), C(Op::End)});
    for (int i = 1; i <= 3; ++i)
        t.world.events[static_cast<std::size_t>(i)].autoScript = 3;
    t.world.events[1].enabled = -1;
    t.world.events[3].enabled = -1;
    t.frame();
    EXPECT_EQ(t.world.machine.sharedValues[1], S(u"13"));
    t.frame(); // both End now
    t.frame(); // and stay ended
    EXPECT_EQ(t.world.machine.sharedValues[1], S(u"13"));
    EXPECT_EQ(t.world.events[1].run.address, 5);
    EXPECT_EQ(t.world.events[2].run.scriptNumber, 0);
}

TEST(TekkelFrame, RestartInAnAutomaticScriptRunsAgainNextFrame) {
    Tekkel t(1);
    t.load(5, {C(Op::Inc, I(2)), C(Op::Restart)});
    t.world.events[1].enabled = -1;
    t.world.events[1].autoScript = 5;
    for (int f = 0; f < 3; ++f)
        t.frame();
    EXPECT_EQ(t.world.events[1].run.R2, I(3));
}

TEST(TekkelFrame, PumpRunsOncePerFrameOnAStillClockAndBeforeEveryBox) {
    Tekkel t;
    t.load(1, {C(Op::Set, I(1), L(1000)), C(Op::Label, S(u"L")), C(Op::Dec, I(1)),
               C(Op::JumpIfNotZero, S(u"L")), C(Op::Message, S(u"a")), C(Op::End)});
    t.world.systemScriptActive = -1;
    t.sys().scriptNumber = 1;
    long long boxPumps = -1;
    t.ts.windows.responder = [&](const plat::testing::RecordedBox&) {
        boxPumps = t.ts.windows.pumps;
        return MsgResult::Ok;
    };
    t.frame();
    EXPECT_EQ(boxPumps, 2); // the frame's first command, then before the box
    // With the clock moving, a long loop lets the window system in about once a millisecond.
    Tekkel u;
    u.ts.windows.onEvents = [&] { u.ts.clock.advance(1); };
    u.load(1, {C(Op::Set, I(1), L(12800)), C(Op::Label, S(u"L")), C(Op::Dec, I(1)),
               C(Op::JumpIfNotZero, S(u"L")), C(Op::End)});
    u.sys().scriptNumber = 1;
    u.run(u.sys());
    EXPECT_GE(u.ts.windows.pumps, 38'400 / Pump::kCheckInterval - 2);
    EXPECT_LE(u.ts.windows.pumps, 38'400 / Pump::kCheckInterval + 2);
}

// A budget ends a run after exactly its commands, however the records count them: in a loop
// whose rounds the pump's interval cuts anywhere, in one whose straight run is longer than the
// interval, and with the window system let in before every command; the full way agrees. The
// jump back names its label, or finds it by the name in D1.
TEST(TekkelFrame, ABudgetEndsTheRunAfterExactlyItsCommands) {
    for (const int incs : {1, 1500})
        for (const PumpPolicy policy : {PumpPolicy::Throttled, PumpPolicy::EveryCommand})
            for (const std::uint64_t budget : {1, 2, 1023, 1024, 1025, 5000})
                for (const bool fullWay : {false, true})
                    for (const bool named : {false, true}) {
                        // Set D1 or Nop; L: Inc R1 (incs times); a jump that goes on; Jump "L" or
                        // Jump: 1, then incs + 4 commands a round.
                        std::vector<Command> loop{named ? C(Op::Set, I(20), S(u"L")) : C(Op::Nop),
                                                  C(Op::Label, S(u"L"))};
                        loop.insert(loop.end(), static_cast<std::size_t>(incs), C(Op::Inc, I(1)));
                        loop.push_back(C(Op::CompareValue, I(1), I(0)));
                        loop.push_back(C(Op::JumpIfNegative, S(u"L")));
                        loop.push_back(named ? C(Op::Jump) : C(Op::Jump, S(u"L")));
                        loop.push_back(C(Op::End)); // never runs
                        Tekkel t;
                        Script& s = t.load(1, loop);
                        if (fullWay) tekkel::compileFullWay(s);
                        t.sys().scriptNumber = 1;
                        Pump pump(t.ts.services, policy, budget);
                        EXPECT_EQ(
                            field::runScript(t.world, t.sys(), t.ts.services, pump, t.listing),
                            RunResult::Yielded);
                        const auto round = static_cast<std::uint64_t>(incs) + 4;
                        const std::uint64_t rest = (budget - 1) % round;
                        const std::uint64_t ran =
                            (budget - 1) / round * static_cast<std::uint64_t>(incs) +
                            std::clamp<std::uint64_t>(rest, 1, incs + 1) - 1;
                        std::int32_t counted = 0;
                        EXPECT_EQ(tekkel::toInt32(t.sys().R1, counted), tekkel::Status::Ok);
                        EXPECT_EQ(static_cast<std::uint64_t>(counted), ran)
                            << incs << " a round, budget " << budget
                            << (fullWay ? ", full way" : "");
                    }
    // A loop that ends by not jumping, at the last command of the pump's interval (4 x 256).
    Tekkel t;
    t.load(1, {C(Op::Label, S(u"L")), C(Op::Inc, I(1)), C(Op::CompareValue, I(1), I(256)),
               C(Op::JumpIfNegative, S(u"L"))});
    t.sys().scriptNumber = 1;
    Pump pump(t.ts.services, PumpPolicy::Throttled, 5000);
    EXPECT_EQ(field::runScript(t.world, t.sys(), t.ts.services, pump, t.listing), RunResult::Ended);
    EXPECT_EQ(t.sys().R1, I(256));
    EXPECT_TRUE(t.boxes().empty());
}

TEST(TekkelErrorReport, FullTextTitleButtonsAndIcon) {
    Tekkel t;
    t.sys().activeObject = 7;
    t.exec({C(Op::Nop), C(Op::Break, S(u"p一"), B(true))});
    ASSERT_EQ(t.boxes().size(), 1u);
    const auto& box = t.boxes()[0];
    EXPECT_EQ(box.title, u"Tekkelスクリプト実行エラー");
    EXPECT_EQ(box.buttons, plat::MsgButtons::YesNoCancel);
    EXPECT_EQ(box.icon, plat::MsgIcon::Critical);
    EXPECT_EQ(box.text, u"エラーが発生しました。デバッグしますか？\r"
                        u"[Error Infomation]\r"
                        u"Error Number  : 0\r"
                        u"\r"
                        u"[Pointer States]\r"
                        u"Script Number : 1\r"
                        u"Address       : 1\r"
                        u"Active Object : 7\r"
                        u"\r"
                        u"[Command Data]\r"
                        u"Command       : 0\r"
                        u"Parameter1    : p一\r"
                        u"Parameter2    : True\r"
                        u"Parameter3    : ");
}

TEST(TekkelErrorReport, ErrorSlotCarriesEarlierJumpTargetsAndShowsStoredParameters) {
    Tekkel t;
    std::vector<Command> cmds(14, C(Op::Nop));
    cmds[0] = C(Op::Jump, I(12));
    cmds[12] = C(Op::Break, O, D(2.5));
    cmds[13] = C(Op::End);
    t.sys().D2 = S(u"default");
    t.exec(cmds);
    EXPECT_EQ(t.lastErrorNumber(), 12);
    EXPECT_NE(t.boxes()[0].text.find(u"Parameter2    : 2.5\rParameter3    : "),
              std::u16string::npos);
    EXPECT_EQ(t.boxes()[0].text.find(u"default"), std::u16string::npos);
    t.exec({C(Op::Jump, S(u"nowhere"))});
    EXPECT_EQ(t.lastErrorNumber(), 10);
    // A conditional jump taken through an already resolved label leaves its target too.
    t.load(1, {C(Op::Set, I(1), I(0)), C(Op::JumpIfZero, S(u"L")), C(Op::Nop),
               C(Op::Label, S(u"L")), C(Op::Break)});
    for (int call = 0; call < 2; ++call) {
        t.start(1);
        EXPECT_EQ(t.lastErrorNumber(), 3) << call;
    }
}

TEST(TekkelErrorReport, NoSkipsTheCommandAndTheCallStillReportsFailed) {
    Tekkel t;
    t.ts.windows.defaultAnswer = MsgResult::No;
    EXPECT_EQ(t.exec({C(2), C(Op::Set, I(1), I(1))}), RunResult::Failed);
    EXPECT_EQ(t.sys().R1, I(1));
    EXPECT_EQ(t.lastErrorNumber(), 2);
    // Failed is not Ended: the system script stays active.
    t.world.systemScriptActive = -1;
    t.load(1, {C(9), C(Op::Nop)});
    t.sys().address = 0;
    t.frame();
    EXPECT_EQ(t.world.systemScriptActive, -1);
    // Yielding after a skipped command returns Yielded.
    EXPECT_EQ(t.exec({C(8), C(Op::Yield), C(Op::End)}), RunResult::Yielded);
}

TEST(TekkelErrorReport, CancelEndsTheCallWhereItFailed) {
    Tekkel t;
    t.world.systemScriptActive = -1;
    t.world.inputLocked = -1;
    t.load(1, {C(Op::Nop), C(53), C(Op::End)});
    t.sys().scriptNumber = 1;
    t.frame();
    EXPECT_EQ(t.world.systemScriptActive, 0);
    EXPECT_EQ(t.world.inputLocked, 0);
    EXPECT_EQ(t.sys().address, 1);
    // In an automatic script the report comes back next frame.
    Tekkel u(1);
    u.load(4, {C(999)});
    u.world.events[1].enabled = -1;
    u.world.events[1].autoScript = 4;
    u.frame();
    u.frame();
    EXPECT_EQ(u.reports(), 2u);
    EXPECT_EQ(u.lastErrorNumber(), 1);
}

TEST(TekkelErrorReport, YesEndsTheProgram) {
    Tekkel t;
    t.ts.windows.defaultAnswer = MsgResult::Yes;
    EXPECT_THROW(t.exec({C(Op::Break)}), plat::testing::ProcessExit);
}

TEST(TekkelErrorReport, ScriptsThatNameNothingFailOnceAndEnd) {
    Tekkel t(2);
    t.ts.windows.defaultAnswer = MsgResult::No;
    t.world.events[1].enabled = -1;
    t.world.events[1].autoScript = 9; // a slot without commands
    t.world.events[2].enabled = -1;
    t.world.events[2].autoScript = 77; // no such slot
    t.frame();
    EXPECT_EQ(t.reports(), 2u);
    EXPECT_EQ(t.lastErrorNumber(), 1);
    t.frame();
    EXPECT_EQ(t.reports(), 2u);
    // An empty script table ends every run at once.
    t.world.machine.scriptCount = 0;
    EXPECT_EQ(t.start(1), RunResult::Ended);
}

TEST(TekkelErrorReport, CodesOutsideTheSetFailWithError1ReservedOnesWithError2) {
    for (std::int16_t code : {-1, 12, 26, 49, 78, 97, 100, 149, 161, 199, 412, 899, 903, 32767}) {
        Tekkel t;
        t.exec({C(code)});
        EXPECT_EQ(t.lastErrorNumber(), 1) << code;
    }
    for (std::int16_t code : {2, 8, 9, 52, 53}) {
        Tekkel t;
        t.exec({C(code)});
        EXPECT_EQ(t.lastErrorNumber(), 2) << code;
    }
    Tekkel t(2); // object numbers outside 1..eventCount
    for (std::int16_t object : {0, 3, -2}) {
        t.exec({C(Op::ObjectVisible, I(object), I(1))});
        EXPECT_EQ(t.lastErrorNumber(), 1) << object;
    }
}
