// The register table, default registers for omitted parameters, and the flag rule on writes.
#include <gtest/gtest.h>

#include "TekkelKit.h"

using namespace tekkel_test;

TEST(TekkelRegisters, OmittedParametersTakeTheDefaultRegisters) {
    Tekkel t;
    // D1 = 2 and D2 = "x": Set with both omitted writes "x" into R2.
    EXPECT_EQ(t.exec({C(Op::Set, I(20), I(2)), C(Op::Set, I(21), S(u"x")), C(Op::Set), C(Op::End)}),
              RunResult::Ended);
    EXPECT_EQ(t.sys().R2, S(u"x"));
    // Set with P1 20 and P2 7, then Move with P1 omitted: reg D1 = reg P2 writes register 7?
    // No: register 7 is not in the table, so reading it fails with error 1.
    EXPECT_EQ(t.exec({C(Op::Set, I(20), I(7)), C(Op::Move, O, I(7)), C(Op::End)}),
              RunResult::Ended);
    EXPECT_EQ(t.reports(), 1u);
    EXPECT_EQ(t.lastErrorNumber(), 1);
}

TEST(TekkelRegisters, WritingTheDefaultRegisterThroughItselfUsesTheOldValue) {
    Tekkel t;
    // Dim with P3 omitted reads the count from D3 before writing the old count into D3.
    t.exec({C(Op::Set, I(22), I(4)), C(Op::Dim, I(22), I(0)), C(Op::End)});
    EXPECT_EQ(t.sys().localCount, 4);
    EXPECT_EQ(t.sys().D3, L(0));
}

TEST(TekkelRegisters, TypedRegistersReadBackInTheirKinds) {
    Tekkel t;
    t.exec({C(Op::Set, I(80), I(5)), C(Op::Move, I(1), I(80)), C(Op::Set, I(400), D(2.5)),
            C(Op::Move, I(2), I(400)), C(Op::Set, I(300), S(u"7")), C(Op::Move, I(3), I(300)),
            C(Op::Move, I(4), I(0)), C(Op::End)});
    EXPECT_EQ(t.sys().R1, B(true));
    EXPECT_EQ(t.sys().R2, I(2));
    EXPECT_EQ(t.sys().R3, L(7));
    EXPECT_EQ(t.sys().R4, I(0));
    EXPECT_EQ(t.reports(), 0u);
}

TEST(TekkelRegisters, UnlistedNumbersAndRegister12ReadFailWithError1) {
    for (std::int16_t reg : {-2, 6, 12, 19, 23, 33, 83, 299, 301, 404}) {
        Tekkel t;
        t.exec({C(Op::Move, I(1), I(reg)), C(Op::End)});
        EXPECT_EQ(t.lastErrorNumber(), 1) << reg;
    }
    Tekkel t;
    t.exec({C(Op::Set, I(12), I(3)), C(Op::End)}); // writing 12 works
    EXPECT_EQ(t.sys().mapSelect, 3);
    EXPECT_EQ(t.reports(), 0u);
    t.exec({C(Op::Set, I(1), I(0)), C(Op::Set, L(70000), I(1)),
            C(Op::End)}); // register number overflows
    EXPECT_EQ(t.lastErrorNumber(), 1);
}

TEST(TekkelRegisters, ValuesThatDoNotFitATypedRegisterAreRefused) {
    Tekkel t;
    t.exec({C(Op::Set, I(400), L(40000)), C(Op::End)});
    EXPECT_EQ(t.lastErrorNumber(), 1);
    t.exec({C(Op::Set, I(30), S(u"many")), C(Op::End)});
    EXPECT_EQ(t.lastErrorNumber(), 1);
    t.exec({C(Op::Set, I(81), S(u"maybe")), C(Op::End)});
    EXPECT_EQ(t.lastErrorNumber(), 1);
    EXPECT_EQ(t.reports(), 3u);
}

TEST(TekkelRegisters, WritesToR1ToR5ApplyTheFlagRuleOthersLeaveFlags) {
    Tekkel t;
    tekkel::Run& r = t.sys();
    t.exec({C(Op::Set, I(1), I(-3)), C(Op::End)});
    EXPECT_FALSE(r.zeroFlag);
    EXPECT_TRUE(r.negativeFlag);
    t.exec({C(Op::Set, I(2), S(u"")), C(Op::End)}); // a string keeps negativeFlag
    EXPECT_TRUE(r.zeroFlag);
    EXPECT_TRUE(r.negativeFlag);
    t.exec({C(Op::Set, I(20), I(0)), C(Op::Set, I(30), I(0)),
            C(Op::End)}); // D1 and work leave the flags
    EXPECT_TRUE(r.negativeFlag);
    t.exec({C(Op::Set, I(1), Value::null()), C(Op::JumpIfInvalid, S(u"J")), C(Op::End),
            C(Op::Label, S(u"J")), C(Op::Set, I(5), I(1)), C(Op::End)});
    EXPECT_EQ(r.R5, I(1)); // JumpIfInvalid jumped after null was written to R1
    EXPECT_EQ(t.reports(), 0u);
}

TEST(TekkelRegisters, WritingTheProgramCounterAndScriptNumberRedirectsTheRun) {
    Tekkel t;
    std::vector<Command> cmds(12, C(Op::Nop));
    cmds[0] = C(Op::Set, I(32), I(10));
    cmds[10] = C(Op::Set, I(1), I(10)); // skipped: Next adds one to 10
    cmds[11] = C(Op::End);
    t.exec(cmds);
    EXPECT_TRUE(t.sys().R1.isEmpty());
    EXPECT_EQ(t.sys().address, 11);

    t.load(2, {C(Op::Set, I(2), I(22)), C(Op::Set, I(3), I(33)), C(Op::End)});
    t.exec({C(Op::Set, I(31), I(2)), C(Op::Set, I(2), I(11)), C(Op::End)});
    // Address 0 was executed in script 1; Next then took address 1 of script 2.
    EXPECT_EQ(t.sys().scriptNumber, 2);
    EXPECT_TRUE(t.sys().R2.isEmpty());
    EXPECT_EQ(t.sys().R3, I(33));

    t.exec({C(Op::Set, I(31), I(9)), C(Op::End)}); // slot 9 has no commands
    EXPECT_EQ(t.lastErrorNumber(), 1);
    t.exec({C(Op::Set, I(32), I(-1)), C(Op::End)});
    EXPECT_EQ(t.lastErrorNumber(), 1);
}
