// The cases the hot loop takes inline (Value.h, Registers.h) against the rules they shortcut:
// for every pair of a table of values of every kind and edge, an inline answer must be the
// rule's own answer, flags included.
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "TekkelKit.h"
#include "tekkel/Registers.h"
#include "tekkel/Value.h"

using namespace tekkel_test;
using namespace tekkel;

namespace {

std::vector<Value> samples() {
    const double inf = std::numeric_limits<double>::infinity();
    return {Value(),
            Value::null(),
            I(0),
            I(1),
            I(-1),
            I(32767),
            I(-32768),
            L(0),
            L(65536),
            L(INT32_MAX),
            L(INT32_MIN),
            L(-1),
            D(0.0),
            D(-0.0),
            D(2.5),
            D(0.5),
            D(-0.5),
            D(1.5),
            D(0.49999999999999994),
            D(-1.0000000000000002),
            D(-1e300),
            D(1e308),
            D(inf),
            D(std::nan("")),
            Value::real32(1.5f),
            B(true),
            B(false),
            S(u"12"),
            S(u"abc"),
            S(u"")};
}

Flags ruleFlags(const Value& v) {
    Flags f{true, true, false};
    applyFlagRule(v, f);
    return f;
}

void expectRunFlags(const Run& run, const Flags& f, const char* what) {
    EXPECT_EQ(run.zeroFlag, f.zero) << what;
    EXPECT_EQ(run.negativeFlag, f.negative) << what;
    EXPECT_EQ(run.invalidFlag, f.invalid) << what;
}

template <ArithOp Op> void expectPlainArithIsTheRule(const Value& a, const Value& b) {
    Value fast, rule;
    Run run;
    const auto flags = [&run](auto x) { setNumberFlags(run, x); };
    if (!plainArith<Op>(a, b, fast, flags)) return;
    ASSERT_EQ(arithmetic(Op, a, b, rule), Status::Ok);
    EXPECT_EQ(fast, rule);
    expectRunFlags(run, ruleFlags(rule), "arithmetic");
}

} // namespace

TEST(TekkelPrimitives, InlineCasesGiveTheRulesAnswers) {
    const std::vector<Value> values = samples();
    for (const Value& a : values) {
        SCOPED_TRACE(::testing::PrintToString(a));
        tekkel::Run run;
        run.zeroFlag = run.negativeFlag = run.invalidFlag = true;
        setFlags(run, a);
        expectRunFlags(run, ruleFlags(a), "flag rule");

        Value stepped, rule;
        const Status st = stepValue(a, true, stepped);
        EXPECT_EQ(st, stepOther(a, true, rule));
        if (st == Status::Ok) {
            EXPECT_EQ(stepped, rule);
        }

        for (const Value& b : values) {
            SCOPED_TRACE(::testing::PrintToString(b));
            expectPlainArithIsTheRule<ArithOp::Add>(a, b);
            expectPlainArithIsTheRule<ArithOp::Sub>(a, b);
            expectPlainArithIsTheRule<ArithOp::Mul>(a, b);
            expectPlainArithIsTheRule<ArithOp::Div>(a, b);
            const Comparison fast = compareValues(a, b), slow = compareOther(a, b);
            EXPECT_EQ(fast.valid, slow.valid);
            EXPECT_EQ(fast.sign, slow.sign);
            Value q, r, ruleQ, ruleR;
            if (plainIntDiv(a, b, q, r)) {
                ASSERT_EQ(intDivideValues(a, b, ruleQ, ruleR), Status::Ok);
                EXPECT_EQ(q, ruleQ);
                EXPECT_EQ(r, ruleR);
            }
        }
    }
}

// Texts decide the flag rule and comparisons by one look at their characters where they can:
// every text of a random few from the number grammar's characters, and long mantissas at the
// edge of a real's range, must give what reading the text as a number gives.
TEST(TekkelPrimitives, TextsReadAsNumbersWhereTheConversionSaysSo) {
    std::vector<std::u16string> texts = {u"0." + std::u16string(400, u'0') + u"1",
                                         std::u16string(299, u'9'),
                                         std::u16string(301, u'9'),
                                         u"-" + std::u16string(320, u'0'),
                                         u"1e-400",
                                         u"1" + std::u16string(308, u'0'),
                                         u"17976931348623157" + std::u16string(292, u'0'),
                                         u"17976931348623159" + std::u16string(292, u'0'),
                                         u"-00" + std::u16string(310, u'9') + u".5 ",
                                         u"0." + std::u16string(320, u'9'),
                                         std::u16string(400, u'9') + u"x",
                                         u"-0"};
    const std::u16string alphabet = u" +-.00129eEdD x";
    std::mt19937 random(7);
    for (int k = 0; k < 20000; ++k) {
        std::u16string t(random() % 7, u' ');
        for (char16_t& c : t)
            c = alphabet[random() % alphabet.size()];
        texts.push_back(t);
    }
    for (const std::u16string& t : texts) {
        SCOPED_TRACE(::testing::PrintToString(common::toUtf8(t)));
        double d = 0;
        const bool number = parseNumber(t, d);
        const Flags f = ruleFlags(S(t));
        EXPECT_EQ(f.zero, number ? d == 0 : t.empty());
        EXPECT_EQ(f.negative, number ? d < 0 : true);
        EXPECT_FALSE(f.invalid);
        const Comparison c = compareOther(S(t), S(u"1"));
        const double r = common::roundHalfEven(d - 1);
        const int sign = number ? (r > 0) - (r < 0) : (t > u"1") - (t < u"1");
        EXPECT_TRUE(c.valid);
        EXPECT_EQ(c.sign, sign);
    }
}
