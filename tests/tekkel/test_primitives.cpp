// The cases the hot loop takes inline (Value.h, Registers.h) against the rules they shortcut:
// for every pair of a table of values of every kind and edge, an inline answer must be the
// rule's own answer, flags included.
#include <gtest/gtest.h>

#include <limits>
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
        run.zeroFlag = run.negativeFlag = true;
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
