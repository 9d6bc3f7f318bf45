// Arithmetic and text commands as scripts use them: results into R1, widening, IntDiv's
// remainder in R4, Random's range, and the string commands.
#include <gtest/gtest.h>

#include "TekkelKit.h"

using namespace tekkel_test;

TEST(TekkelArith, ResultsGoToR1AndIntDivLeavesTheRemainderInR4) {
    Tekkel t;
    t.exec({C(50, I(2), I(7)), C(67, I(2), I(2)), C(6)});
    EXPECT_EQ(t.sys().R1, I(3));
    EXPECT_EQ(t.sys().R4, I(1));
    EXPECT_FALSE(t.sys().zeroFlag); // from R4 = 1
    EXPECT_FALSE(t.sys().negativeFlag);
    t.exec({C(50, I(2), I(6)), C(50, I(3), I(4)), C(60, I(2), I(3)), C(50, I(5), O),
            C(62, I(2), I(3)), C(6)});
    EXPECT_EQ(t.sys().R1, I(2));
    t.exec({C(50, I(2), I(300)), C(65, I(2), I(200)), C(71, I(1), I(4)), C(6)});
    EXPECT_EQ(t.sys().R1, D(15000));
    EXPECT_EQ(t.reports(), 0u);
}

TEST(TekkelArith, IncAndDecWidenAndKeepTheFlagsRight) {
    Tekkel t;
    t.exec({C(50, I(1), I(32767)), C(68, I(1)), C(6)});
    EXPECT_EQ(t.sys().R1, L(32768));
    t.exec({C(50, I(1), L(2147483647)), C(68, I(1)), C(6)});
    EXPECT_EQ(t.sys().R1, D(2147483648.0));
    t.exec({C(50, I(2), I(1)), C(69, I(2)), C(6)});
    EXPECT_TRUE(t.sys().zeroFlag);
    t.exec({C(50, I(20), I(-1)), C(68, I(20)), C(50, I(1), I(-1)), C(68, I(20)), C(6)});
    EXPECT_EQ(t.sys().D1, I(1));
    EXPECT_TRUE(t.sys().negativeFlag); // D1 is not a flag register
    t.exec({C(50, I(3), S(u"9")), C(68, I(3)), C(68, I(4)), C(6)});
    EXPECT_EQ(t.sys().R3, D(10));
    EXPECT_EQ(t.sys().R4, I(1)); // empty counts as 0
}

TEST(TekkelArith, UnusableOperandsFailWithError1) {
    const std::vector<std::vector<ScriptCommand>> bad = {
        {C(50, I(1), S(u"abc")), C(68, I(1))},       // Inc of text
        {C(50, I(1), I(4)), C(71, I(1), I(0))},      // real division by zero
        {C(50, I(1), I(4)), C(67, I(1), O)},         // integer division by empty
        {C(50, I(1), D(1e308)), C(65, I(1), I(10))}, // overflow
        {C(50, I(1), S(u"x")), C(72, I(1))},         // Int of text
        {C(93, S(u"abc"), I(-1))},                   // negative count
        {C(95, S(u"abc"), S(u"two"))},               // count that is not a number
        {C(50, I(1), S(u"9e999")), C(96, I(1))},     // leading number too large
        {C(50, I(1), S(std::u16string(40000, u'a'))), C(60, I(1), I(1))}, // text too long
        {C(50, I(2), S(std::u16string(40000, u'a'))), C(91, I(2), I(2), I(2))},
    };
    for (const auto& cmds : bad) {
        Tekkel t;
        auto withEnd = cmds;
        withEnd.push_back(C(6));
        t.exec(withEnd);
        EXPECT_EQ(t.reports(), 1u);
        EXPECT_EQ(t.lastErrorNumber(), 1) << cmds.back().code;
    }
}

TEST(TekkelArith, NullPropagates) {
    Tekkel t;
    t.exec({C(50, I(2), Value::null()), C(61, I(2), I(1)), C(6)});
    EXPECT_EQ(t.sys().R1, Value::null());
    EXPECT_TRUE(t.sys().invalidFlag);
    t.exec({C(50, I(2), Value::null()), C(91, I(3), S(u"a"), I(2)), C(90, I(4), I(2)), C(6)});
    EXPECT_EQ(t.sys().R3, Value::null());
    EXPECT_EQ(t.sys().R4, Value::null());
    EXPECT_EQ(t.reports(), 0u);
}

TEST(TekkelArith, IntAndSign) {
    Tekkel t;
    t.exec({C(50, I(2), D(-2.5)), C(72, I(2)), C(50, I(3), D(-0.5)), C(73, I(4), I(3)), C(6)});
    EXPECT_EQ(t.sys().R2, D(-3));
    EXPECT_EQ(t.sys().R4, I(-1));
}

TEST(TekkelArith, RandomStaysInsideItsRange) {
    Tekkel t;
    std::vector<int> seen(4, 0);
    for (int k = 0; k < 400; ++k) {
        t.exec({C(75, I(21), I(3)), C(6)});
        const Value& d = t.sys().D2;
        ASSERT_EQ(d.kind, ValueKind::Int16);
        ASSERT_GE(d.i, 0);
        ASSERT_LE(d.i, 3);
        ++seen[static_cast<std::size_t>(d.i)];
    }
    for (int n : seen)
        EXPECT_GT(n, 50);
    t.exec({C(50, I(2), I(0)), C(74, I(1), I(2)), C(6)});
    EXPECT_EQ(t.sys().R1, I(0));
}

TEST(TekkelArith, CompareValueRoundsTheDifferenceAndComparesStrings) {
    Tekkel t;
    ScriptRun& r = t.sys();
    t.exec({C(50, I(1), D(1.2)), C(77, I(1), I(1)), C(6)});
    EXPECT_TRUE(r.zeroFlag);
    t.exec({C(50, I(2), S(u"b")), C(77, I(2), S(u"a")), C(6)});
    EXPECT_FALSE(r.zeroFlag);
    EXPECT_FALSE(r.negativeFlag);
    t.exec({C(50, I(2), S(u"a")), C(50, I(3), S(u"b")), C(76, I(2), I(3)), C(6)});
    EXPECT_TRUE(r.negativeFlag);
    r.zeroFlag = true;
    t.exec({C(50, I(2), S(u"a")), C(50, I(1), I(-5)), C(77, I(2), I(1)), C(6)});
    EXPECT_TRUE(r.invalidFlag); // text against a number: no common kind, others kept
    EXPECT_FALSE(r.zeroFlag);
    EXPECT_TRUE(r.negativeFlag);
    t.exec({C(50, I(1), L(100000)), C(77, I(1), L(100000)), C(6)});
    EXPECT_TRUE(r.zeroFlag);
    EXPECT_FALSE(r.invalidFlag);
}

TEST(TekkelText, LengthConcatLeftRightAndToNumber) {
    Tekkel t;
    ScriptRun& r = t.sys();
    t.exec({C(50, I(2), S(u"門番さん")), C(90, I(3), I(2)), C(91, I(4), S(u"["), I(2)),
            C(93, I(4), I(3)), C(50, I(5), I(2)), C(94, S(u"abcdef"), I(5)), C(6)});
    EXPECT_EQ(r.R3, L(4));
    EXPECT_EQ(r.R4, S(u"[門番さん"));
    EXPECT_EQ(r.R1, S(u"ef"));
    t.exec({C(95, S(u"abc"), I(10)), C(6)});
    EXPECT_EQ(r.R1, S(u"abc"));
    t.exec({C(50, I(2), D(2.5)), C(91, I(3), I(2), S(u"!")), C(90, I(4), I(2)), C(6)});
    EXPECT_EQ(r.R3, S(u"2.5!"));
    EXPECT_EQ(r.R4, L(3));
    t.exec({C(50, I(2), S(u" 12.5kg")), C(96, I(2)), C(50, I(3), S(u"kg")), C(96, I(3)), C(6)});
    EXPECT_EQ(r.R2, D(12.5));
    EXPECT_EQ(r.R3, D(0));
    EXPECT_EQ(t.reports(), 0u);
}

TEST(TekkelText, MessageAndShade) {
    Tekkel t;
    t.exec({C(150, S(u"こんにちは")), C(150, I(42)), C(160, I(2)), C(6)});
    ASSERT_EQ(t.boxes().size(), 2u);
    EXPECT_EQ(t.boxes()[0].text, u"こんにちは");
    EXPECT_EQ(t.boxes()[0].buttons, plat::MsgButtons::Ok);
    EXPECT_EQ(t.boxes()[1].text, u"42");
    EXPECT_EQ(t.world.shadeLevel, 2);
    t.exec({C(160, I(4)), C(6)}); // no mask for level 4
    EXPECT_EQ(t.lastErrorNumber(), 1);
    EXPECT_EQ(t.world.shadeLevel, 2);
}
