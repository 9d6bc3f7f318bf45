// Arithmetic and text commands as scripts use them: results into R1, widening, IntDiv's
// remainder in R4, Random's range, and the string commands.
#include <gtest/gtest.h>

#include "TekkelKit.h"

using namespace tekkel_test;

TEST(TekkelArith, ResultsGoToR1AndIntDivLeavesTheRemainderInR4) {
    Tekkel t;
    t.exec({C(Op::Set, I(2), I(7)), C(Op::IntDivValue, I(2), I(2)), C(Op::End)});
    EXPECT_EQ(t.sys().R1, I(3));
    EXPECT_EQ(t.sys().R4, I(1));
    EXPECT_FALSE(t.sys().zeroFlag); // from R4 = 1
    EXPECT_FALSE(t.sys().negativeFlag);
    t.exec({C(Op::Set, I(2), I(6)), C(Op::Set, I(3), I(4)), C(Op::Add, I(2), I(3)),
            C(Op::Set, I(5), O), C(Op::Sub, I(2), I(3)), C(Op::End)});
    EXPECT_EQ(t.sys().R1, I(2));
    t.exec({C(Op::Set, I(2), I(300)), C(Op::MulValue, I(2), I(200)), C(Op::DivValue, I(1), I(4)),
            C(Op::End)});
    EXPECT_EQ(t.sys().R1, D(15000));
    EXPECT_EQ(t.reports(), 0u);
}

// A result moved over a text leaves none of it behind, with a register or a variable operand.
TEST(TekkelArith, AResultMovedOverATextKeepsNoText) {
    Tekkel t;
    for (const auto& [sum, expected] : {std::pair{C(Op::AddValue, I(2), I(3)), I(5)},
                                        {C(Op::AddValue, I(-1), I(3)), I(5)},
                                        {C(Op::Add, I(2), I(-1)), I(4)}}) {
        t.exec({C(Op::Dim, I(1), I(0), I(1)), C(Op::Select, I(0), I(1), I(0)),
                C(Op::Set, I(-1), I(2)), C(Op::Set, I(2), I(2)), C(Op::Set, I(3), S(u"a text")),
                sum, C(Op::Move, I(3), I(1)), C(Op::End)});
        EXPECT_EQ(t.sys().R3, expected);
        EXPECT_TRUE(t.sys().R3.s.empty());
    }
}

TEST(TekkelArith, IncAndDecWidenAndKeepTheFlagsRight) {
    Tekkel t;
    t.exec({C(Op::Set, I(1), I(32767)), C(Op::Inc, I(1)), C(Op::End)});
    EXPECT_EQ(t.sys().R1, L(32768));
    t.exec({C(Op::Set, I(1), L(2147483647)), C(Op::Inc, I(1)), C(Op::End)});
    EXPECT_EQ(t.sys().R1, D(2147483648.0));
    t.exec({C(Op::Set, I(2), I(1)), C(Op::Dec, I(2)), C(Op::End)});
    EXPECT_TRUE(t.sys().zeroFlag);
    t.exec({C(Op::Set, I(20), I(-1)), C(Op::Inc, I(20)), C(Op::Set, I(1), I(-1)), C(Op::Inc, I(20)),
            C(Op::End)});
    EXPECT_EQ(t.sys().D1, I(1));
    EXPECT_TRUE(t.sys().negativeFlag); // D1 is not a flag register
    t.exec({C(Op::Set, I(3), S(u"9")), C(Op::Inc, I(3)), C(Op::Inc, I(4)), C(Op::End)});
    EXPECT_EQ(t.sys().R3, D(10));
    EXPECT_EQ(t.sys().R4, I(1)); // empty counts as 0
    // A real steps as a real in a general register, a D register and a variable; only R1..R5
    // set the flags.
    t.exec({C(Op::Set, I(2), D(1.0)), C(Op::Dec, I(2)), C(Op::Set, I(21), D(2.5)),
            C(Op::Dec, I(21)), C(Op::Dim, I(1), I(0), I(1)), C(Op::Select, I(0), I(1), I(0)),
            C(Op::Set, I(-1), D(-1.5)), C(Op::Inc, I(-1)), C(Op::Inc, I(-1)), C(Op::End)});
    EXPECT_EQ(t.sys().R2, D(0.0));
    EXPECT_TRUE(t.sys().zeroFlag);
    EXPECT_EQ(t.sys().D2, D(1.5));
    EXPECT_EQ(t.sys().locals[1], D(0.5));
}

TEST(TekkelArith, UnusableOperandsFailWithError1) {
    const std::u16string kHalfTooLong(tekkel::kMaxTextLength / 2 + 1, u'a');
    const std::vector<std::vector<Command>> bad = {
        {C(Op::Set, I(1), S(u"abc")), C(Op::Inc, I(1))},             // Inc of text
        {C(Op::Set, I(1), I(4)), C(Op::DivValue, I(1), I(0))},       // real division by zero
        {C(Op::Set, I(1), I(4)), C(Op::IntDivValue, I(1), O)},       // integer division by empty
        {C(Op::Set, I(1), D(1e308)), C(Op::MulValue, I(1), I(10))},  // overflow
        {C(Op::Set, I(1), S(u"x")), C(Op::Int, I(1))},               // Int of text
        {C(Op::LeftValue, S(u"abc"), I(-1))},                        // negative count
        {C(Op::RightValue, S(u"abc"), S(u"two"))},                   // count that is not a number
        {C(Op::Set, I(1), S(u"9e999")), C(Op::ToNumber, I(1))},      // leading number too large
        {C(Op::Set, I(1), S(kHalfTooLong)), C(Op::Add, I(1), I(1))}, // text too long
        {C(Op::Set, I(2), S(kHalfTooLong)), C(Op::Concat, I(2), I(2), I(2))},
    };
    for (const auto& cmds : bad) {
        Tekkel t;
        auto withEnd = cmds;
        withEnd.push_back(C(Op::End));
        t.exec(withEnd);
        EXPECT_EQ(t.reports(), 1u);
        EXPECT_EQ(t.lastErrorNumber(), 1) << cmds.back().code;
    }
}

TEST(TekkelArith, NullPropagates) {
    Tekkel t;
    t.exec({C(Op::Set, I(2), Value::null()), C(Op::AddValue, I(2), I(1)), C(Op::End)});
    EXPECT_EQ(t.sys().R1, Value::null());
    EXPECT_TRUE(t.sys().invalidFlag);
    t.exec({C(Op::Set, I(2), Value::null()), C(Op::Concat, I(3), S(u"a"), I(2)),
            C(Op::Length, I(4), I(2)), C(Op::End)});
    EXPECT_EQ(t.sys().R3, Value::null());
    EXPECT_EQ(t.sys().R4, Value::null());
    EXPECT_EQ(t.reports(), 0u);
}

TEST(TekkelArith, IntAndSign) {
    Tekkel t;
    t.exec({C(Op::Set, I(2), D(-2.5)), C(Op::Int, I(2)), C(Op::Set, I(3), D(-0.5)),
            C(Op::Sign, I(4), I(3)), C(Op::End)});
    EXPECT_EQ(t.sys().R2, D(-3));
    EXPECT_EQ(t.sys().R4, I(-1));
}

TEST(TekkelArith, RandomStaysInsideItsRange) {
    Tekkel t;
    std::vector<int> seen(4, 0);
    for (int k = 0; k < 400; ++k) {
        t.exec({C(Op::RandomValue, I(21), I(3)), C(Op::End)});
        const Value& d = t.sys().D2;
        ASSERT_EQ(d.kind, ValueKind::Int16);
        ASSERT_GE(d.i, 0);
        ASSERT_LE(d.i, 3);
        ++seen[static_cast<std::size_t>(d.i)];
    }
    for (int n : seen)
        EXPECT_GT(n, 50);
    t.exec({C(Op::Set, I(2), I(0)), C(Op::Random, I(1), I(2)), C(Op::End)});
    EXPECT_EQ(t.sys().R1, I(0));
}

TEST(TekkelArith, CompareValueRoundsTheDifferenceAndComparesStrings) {
    Tekkel t;
    tekkel::Run& r = t.sys();
    t.exec({C(Op::Set, I(1), D(1.2)), C(Op::CompareValue, I(1), I(1)), C(Op::End)});
    EXPECT_TRUE(r.zeroFlag);
    t.exec({C(Op::Set, I(2), S(u"b")), C(Op::CompareValue, I(2), S(u"a")), C(Op::End)});
    EXPECT_FALSE(r.zeroFlag);
    EXPECT_FALSE(r.negativeFlag);
    t.exec({C(Op::Set, I(2), S(u"a")), C(Op::Set, I(3), S(u"b")), C(Op::Compare, I(2), I(3)),
            C(Op::End)});
    EXPECT_TRUE(r.negativeFlag);
    r.zeroFlag = true;
    t.exec({C(Op::Set, I(2), S(u"a")), C(Op::Set, I(1), I(-5)), C(Op::CompareValue, I(2), I(1)),
            C(Op::End)});
    EXPECT_TRUE(r.invalidFlag); // text against a number: no common kind, others kept
    EXPECT_FALSE(r.zeroFlag);
    EXPECT_TRUE(r.negativeFlag);
    t.exec({C(Op::Set, I(1), L(100000)), C(Op::CompareValue, I(1), L(100000)), C(Op::End)});
    EXPECT_TRUE(r.zeroFlag);
    EXPECT_FALSE(r.invalidFlag);
}

TEST(TekkelText, LengthConcatLeftRightAndToNumber) {
    Tekkel t;
    tekkel::Run& r = t.sys();
    t.exec({C(Op::Set, I(2), S(u"門番さん")), C(Op::Length, I(3), I(2)),
            C(Op::Concat, I(4), S(u"["), I(2)), C(Op::LeftValue, I(4), I(3)),
            C(Op::Set, I(5), I(2)), C(Op::Right, S(u"abcdef"), I(5)), C(Op::End)});
    EXPECT_EQ(r.R3, L(4));
    EXPECT_EQ(r.R4, S(u"[門番さん"));
    EXPECT_EQ(r.R1, S(u"ef"));
    t.exec({C(Op::RightValue, S(u"abc"), I(10)), C(Op::End)});
    EXPECT_EQ(r.R1, S(u"abc"));
    t.exec({C(Op::Set, I(2), D(2.5)), C(Op::Concat, I(3), I(2), S(u"!")), C(Op::Length, I(4), I(2)),
            C(Op::End)});
    EXPECT_EQ(r.R3, S(u"2.5!"));
    EXPECT_EQ(r.R4, L(3));
    // A join into a register that one of its texts is, in either place or both.
    t.exec({C(Op::Set, I(2), S(u"ab")), C(Op::Concat, I(3), S(u"<"), I(2)),
            C(Op::Concat, I(3), S(u">"), I(3)), C(Op::Concat, I(3), I(3), I(3)),
            C(Op::Set, I(5), I(7)), C(Op::Concat, I(2), I(5), I(2)), C(Op::End)});
    EXPECT_EQ(r.R3, S(u"><ab><ab"));
    EXPECT_EQ(r.R2, S(u"7ab"));
    t.exec({C(Op::Set, I(2), S(u" 12.5kg")), C(Op::ToNumber, I(2)), C(Op::Set, I(3), S(u"kg")),
            C(Op::ToNumber, I(3)), C(Op::End)});
    EXPECT_EQ(r.R2, D(12.5));
    EXPECT_EQ(r.R3, D(0));
    EXPECT_EQ(t.reports(), 0u);
}

TEST(TekkelText, MessageAndShade) {
    Tekkel t;
    t.exec({C(Op::Message, S(u"こんにちは")), C(Op::Message, I(42)), C(Op::SetShade, I(2)),
            C(Op::End)});
    ASSERT_EQ(t.boxes().size(), 2u);
    EXPECT_EQ(t.boxes()[0].text, u"こんにちは");
    EXPECT_EQ(t.boxes()[0].buttons, plat::MsgButtons::Ok);
    EXPECT_EQ(t.boxes()[1].text, u"42");
    EXPECT_EQ(t.world.shadeLevel, 2);
    t.exec({C(Op::SetShade, I(4)), C(Op::End)}); // no mask for level 4
    EXPECT_EQ(t.lastErrorNumber(), 1);
    EXPECT_EQ(t.world.shadeLevel, 2);
}
