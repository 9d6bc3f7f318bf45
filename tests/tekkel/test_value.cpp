// The value rules on their own: widening, strings as numbers, null and empty, rounding,
// truth, text forms and comparison.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "TekkelKit.h"
#include "tekkel/Value.h"

using namespace tekkel_test;
using namespace tekkel;

namespace {

Value add(const Value& a, const Value& b) {
    Value out;
    EXPECT_EQ(addValues(a, b, out), Status::Ok);
    return out;
}

} // namespace

TEST(TekkelValue, IntegersWidenStepByStepWhenTheResultDoesNotFit) {
    EXPECT_EQ(add(I(30000), I(2767)), I(32767));
    EXPECT_EQ(add(I(32767), I(1)), L(32768));
    EXPECT_EQ(add(I(-32768), I(-1)), L(-32769));
    EXPECT_EQ(add(L(2147483647), I(1)), D(2147483648.0));
    Value out;
    ASSERT_EQ(multiplyValues(L(65536), L(65536), out), Status::Ok);
    EXPECT_EQ(out, D(4294967296.0));
    ASSERT_EQ(subtractValues(I(5), L(7), out), Status::Ok);
    EXPECT_EQ(out, L(-2));
    // A 32-bit real stays one with 16-bit integers but meets a 32-bit integer as a 64-bit real.
    EXPECT_EQ(add(Value::real32(1.5f), I(2)), Value::real32(3.5f));
    EXPECT_EQ(add(Value::real32(1.5f), L(2)), D(3.5));
    EXPECT_EQ(add(B(true), B(true)), I(-2));
}

TEST(TekkelValue, StringsEmptyAndNullInArithmetic) {
    EXPECT_EQ(add(S(u"ab"), S(u"cd")), S(u"abcd"));
    EXPECT_EQ(add(S(u"ab"), O), S(u"ab"));
    EXPECT_EQ(add(S(u" 12 "), I(1)), D(13));
    EXPECT_EQ(add(S(u"1.5e1"), S(u"x")), S(u"1.5e1x")); // two strings always concatenate
    EXPECT_EQ(add(O, O), I(0));
    EXPECT_EQ(add(O, I(4)), I(4));
    EXPECT_EQ(add(Value::null(), I(4)), Value::null());
    EXPECT_EQ(add(S(u"abc"), Value::null()), Value::null());
    Value out;
    EXPECT_EQ(addValues(S(u"abc"), I(1), out), Status::Mismatch);
    EXPECT_EQ(subtractValues(S(u"3"), S(u"1"), out), Status::Ok);
    EXPECT_EQ(out, D(2));
    EXPECT_EQ(multiplyValues(S(u"1x"), I(2), out), Status::Mismatch);
    EXPECT_EQ(addValues(D(std::nan("")), I(1), out), Status::Mismatch);
    EXPECT_EQ(multiplyValues(D(1e300), D(1e300), out), Status::Overflow);
}

TEST(TekkelValue, DivisionKindsAndRefusals) {
    Value q, r;
    ASSERT_EQ(divideValues(I(7), I(2), q), Status::Ok);
    EXPECT_EQ(q, D(3.5));
    ASSERT_EQ(divideValues(Value::real32(1.0f), I(4), q), Status::Ok);
    EXPECT_EQ(q, Value::real32(0.25f));
    EXPECT_EQ(divideValues(I(1), O, q), Status::DivideByZero);
    ASSERT_EQ(intDivideValues(I(7), I(2), q, r), Status::Ok);
    EXPECT_EQ(q, I(3));
    EXPECT_EQ(r, I(1));
    ASSERT_EQ(intDivideValues(I(-7), L(2), q, r), Status::Ok);
    EXPECT_EQ(q, L(-3));
    EXPECT_EQ(r, L(-1));
    ASSERT_EQ(intDivideValues(D(7.5), I(2), q, r), Status::Ok); // 7.5 rounds to 8
    EXPECT_EQ(q, L(4));
    ASSERT_EQ(intDivideValues(I(-32768), I(-1), q, r), Status::Ok);
    EXPECT_EQ(q, L(32768));
    EXPECT_EQ(intDivideValues(L(INT32_MIN), I(-1), q, r), Status::Overflow);
    EXPECT_EQ(intDivideValues(I(5), I(0), q, r), Status::DivideByZero);
    EXPECT_EQ(intDivideValues(D(1e12), I(3), q, r), Status::Overflow);
}

TEST(TekkelValue, ConversionsRoundHalvesToEvenAndRefuseWhatDoesNotFit) {
    std::int32_t n = 99;
    std::int16_t h = 99;
    EXPECT_EQ(toInt32(D(2.5), n), Status::Ok);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(toInt32(D(3.5), n), Status::Ok);
    EXPECT_EQ(n, 4);
    EXPECT_EQ(toInt32(D(-2.5), n), Status::Ok);
    EXPECT_EQ(n, -2);
    EXPECT_EQ(toInt32(S(u"-0.5"), n), Status::Ok);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(toInt32(O, n), Status::Ok);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(toInt32(B(true), n), Status::Ok);
    EXPECT_EQ(n, -1);
    EXPECT_EQ(toInt16(D(32767.4), h), Status::Ok);
    EXPECT_EQ(h, 32767);
    EXPECT_EQ(toInt16(D(32767.5), h), Status::Overflow);
    EXPECT_EQ(toInt16(L(-32769), h), Status::Overflow);
    EXPECT_EQ(toInt16(L(32768), h), Status::Overflow);
    EXPECT_EQ(toInt32(D(2147483647.5), n), Status::Overflow);
    EXPECT_EQ(toInt32(D(INFINITY), n), Status::Mismatch);
    EXPECT_EQ(toInt32(S(u"seven"), n), Status::Mismatch);
    EXPECT_EQ(toInt32(Value::null(), n), Status::Mismatch);
}

TEST(TekkelValue, TruthValues) {
    bool b = true;
    for (const Value& f : {O, Value::null(), I(0), D(0.0), S(u"0"), S(u"false"), B(false)}) {
        b = true;
        EXPECT_EQ(toTruth(f, b), Status::Ok);
        EXPECT_FALSE(b) << kindName(f);
    }
    for (const Value& t : {I(5), D(-0.1), S(u"2"), S(u"TRUE"), B(true)}) {
        b = false;
        EXPECT_EQ(toTruth(t, b), Status::Ok);
        EXPECT_TRUE(b) << kindName(t);
    }
    EXPECT_EQ(toTruth(S(u"yes"), b), Status::Mismatch);
}

TEST(TekkelValue, NumbersReadFromText) {
    double d = 0;
    EXPECT_TRUE(parseNumber(u" -1.25E2 ", d));
    EXPECT_EQ(d, -125);
    EXPECT_TRUE(parseNumber(u".5", d));
    EXPECT_TRUE(parseNumber(u"3D2", d));
    EXPECT_EQ(d, 300);
    for (std::u16string bad : {u"", u" ", u"-", u".", u"1e", u"1 2", u"0x10", u"1e999", u"１"})
        EXPECT_FALSE(parseNumber(bad, d)) << bad.size();
    // Plain integers, read by a quicker way, as the whole scan reads them after a blank.
    for (const std::u16string t : {u"-0", u"007", u"-123456789012345", u"99999999999999999"}) {
        double quick = 0.5, whole = 1;
        EXPECT_TRUE(parseNumber(t, quick) && parseNumber(u" " + t, whole) && quick == whole &&
                    std::signbit(quick) == std::signbit(whole));
    }
    // Blanks anywhere are left out; the number ends where no number goes on.
    for (const auto& [text, number] : {std::pair<std::u16string, double>{u" 1 2abc", 12},
                                       {u"-3.5e1x", -35},
                                       {u"abc", 0},
                                       {u" 1 2e 3)4", 12000},
                                       {u"3 D 2+1", 300},
                                       {u"-.5)9", -0.5},
                                       {u"7-1", 7},
                                       {u"12 3", 123},
                                       {u"12+3", 12},
                                       {u"45.5", 45.5},
                                       {u"9876543210x", 9876543210}}) {
        EXPECT_EQ(leadingNumber(text, d), Status::Ok);
        EXPECT_EQ(d, number) << text.size();
    }
    EXPECT_EQ(leadingNumber(u"9e999", d), Status::Overflow);
}

TEST(TekkelValue, TextForms) {
    EXPECT_EQ(toText(O), u"");
    EXPECT_EQ(toText(Value::null()), u"");
    EXPECT_EQ(toText(B(true)), u"True");
    EXPECT_EQ(toText(B(false)), u"False");
    EXPECT_EQ(toText(I(-12)), u"-12");
    EXPECT_EQ(toText(L(2147483647)), u"2147483647");
    EXPECT_EQ(toText(D(3.5)), u"3.5");
    EXPECT_EQ(toText(D(0.1)), u"0.1");
    EXPECT_EQ(toText(D(1e20)), u"1E+20");
    EXPECT_EQ(toText(D(0.00001)), u"1E-05");
    EXPECT_EQ(toText(D(-0.0)), u"0");
    EXPECT_EQ(toText(Value::real32(0.1f)), u"0.1");
    // Whole reals up to where the general form turns to an exponent.
    EXPECT_EQ(toText(D(-999999999999999.0)), u"-999999999999999");
    EXPECT_EQ(toText(D(1e15)), u"1E+15");
    EXPECT_EQ(toText(Value::real32(1e7f)), u"1E+07");
}

TEST(TekkelValue, ComparisonRoundsTheDifferenceAndComparesTextByCodeUnit) {
    EXPECT_EQ(compareValues(D(1.2), I(1)).sign, 0);
    EXPECT_EQ(compareValues(D(1.5), I(1)).sign, 0); // 0.5 rounds to the even 0
    EXPECT_EQ(compareValues(D(2.5), I(1)).sign, 1);
    EXPECT_EQ(compareValues(S(u"10"), I(9)).sign, 1); // numeric strings compare as numbers
    EXPECT_EQ(compareValues(D(-1e12), I(0)).sign, -1);
    auto c = compareValues(S(u"b"), S(u"a"));
    EXPECT_TRUE(c.valid);
    EXPECT_EQ(c.sign, 1);
    EXPECT_EQ(compareValues(S(u"B"), S(u"a")).sign, -1);
    EXPECT_EQ(compareValues(S(u"a"), S(u"ab")).sign, -1);
    EXPECT_FALSE(compareValues(S(u"a"), I(1)).valid);
    EXPECT_FALSE(compareValues(Value::null(), I(1)).valid);
    EXPECT_FALSE(compareValues(O, S(u"a")).valid);
}

// Texts that are no number compare unit by unit as u16string::compare does, whatever the length
// of their common start and however high their units (compared as unsigned).
TEST(TekkelValue, TextsOrderAsTheirCodeUnits) {
    std::mt19937 draw(7);
    const char16_t units[] = {u'a', u'b', 0xe9, 0x8000, 0xffff};
    const auto text = [&](std::u16string start) {
        for (auto n = draw() % 7; n > 0; --n)
            start += units[draw() % std::size(units)];
        return start;
    };
    for (int i = 0; i < 20000; ++i) {
        const std::u16string common = text(u"a");
        const std::u16string a = text(common), b = text(common);
        const int expected = (a.compare(b) > 0) - (a.compare(b) < 0);
        const Comparison c = compareValues(S(a), S(b));
        ASSERT_TRUE(c.valid);
        ASSERT_EQ(c.sign, expected) << i;
    }
}

// Texts that are numbers by what they start with (a blank, a sign, a point, a digit) compare as
// numbers, where their order as texts would differ; texts that are none compare as texts.
TEST(TekkelValue, TextsCompareAsNumbersByWhatTheyStartWith) {
    const struct {
        Value a, b;
        bool valid;
        int sign;
    } cases[] = {
        {S(u".9"), S(u"0.2"), true, 1}, {S(u" 7"), I(7), true, 0},
        {S(u"+30"), S(u"4"), true, 1},  {S(u"-2"), I(-3), true, 1},
        {S(u"9"), S(u"10"), true, -1},  {S(u"1e1"), I(9), true, 1},
        {S(u"-"), S(u"+"), true, 1},    {S(u""), S(u"a"), true, -1},
        {S(u"a"), S(u" 1"), true, 1},   {S(u"3x"), S(u"30"), true, 1},
        {S(u"-"), I(0), false, 0},      {S(u"-12"), S(u"-9"), true, -1},
        {S(u"0"), S(u"-0"), true, 0},   {S(u"70000"), L(69999), true, 1},
    };
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const Comparison got = compareValues(cases[k].a, cases[k].b);
        EXPECT_EQ(std::pair(got.valid, got.sign), std::pair(cases[k].valid, cases[k].sign)) << k;
    }
}

TEST(TekkelValue, FlagRule) {
    Flags f{false, true, true};
    applyFlagRule(S(u"x"), f); // a string keeps negative
    EXPECT_FALSE(f.zero);
    EXPECT_TRUE(f.negative);
    EXPECT_FALSE(f.invalid);
    applyFlagRule(S(u""), f);
    EXPECT_TRUE(f.zero);
    applyFlagRule(S(u"-3"), f);
    EXPECT_FALSE(f.zero);
    EXPECT_TRUE(f.negative);
    applyFlagRule(O, f);
    EXPECT_TRUE(f.zero);
    EXPECT_FALSE(f.negative);
    f = {false, true, false};
    applyFlagRule(Value::null(), f);
    EXPECT_TRUE(f.invalid);
    EXPECT_FALSE(f.zero);
    EXPECT_TRUE(f.negative);
    // Texts told by their leading digits: as their reading as numbers tells.
    for (const auto* t : {u"12", u"000", u"12+3", u"12 ", u"12 x", u"12.5", u"0e5", u"7)"}) {
        f = {false, true, false};
        applyFlagRule(S(t), f);
        double d = 0;
        const bool number = parseNumber(t, d);
        EXPECT_EQ(std::pair(f.zero, f.negative), std::pair(number && d == 0, !number || d < 0));
    }
}

TEST(TekkelValue, FloorAndSignKeepKindsAndNull) {
    Value out;
    ASSERT_EQ(floorValue(D(-2.5), out), Status::Ok);
    EXPECT_EQ(out, D(-3));
    ASSERT_EQ(floorValue(Value::real32(2.7f), out), Status::Ok);
    EXPECT_EQ(out, Value::real32(2.0f));
    ASSERT_EQ(floorValue(B(true), out), Status::Ok);
    EXPECT_EQ(out, I(-1));
    ASSERT_EQ(floorValue(S(u"2.9"), out), Status::Ok);
    EXPECT_EQ(out, D(2));
    ASSERT_EQ(signValue(D(-0.25), out), Status::Ok);
    EXPECT_EQ(out, I(-1));
    ASSERT_EQ(signValue(Value::null(), out), Status::Ok);
    EXPECT_EQ(out, Value::null());
    EXPECT_EQ(signValue(S(u"?"), out), Status::Mismatch);
}

TEST(TekkelValue, SetTextTakesAnyPartOfItselfOrAnotherText) {
    const std::u16string whole = u"abcdefghijklmnopqrstuvwxyz0123";
    for (std::size_t size = 0; size <= whole.size(); size += 3) {
        for (std::size_t at = 0; at <= size; ++at) {
            for (std::size_t n = 0; at + n <= size; n += 2) {
                std::u16string text = whole.substr(0, size), other = u"xy";
                setText(text, std::u16string_view(text).substr(at, n));
                EXPECT_EQ(text, whole.substr(at, n)) << size << ' ' << at << ' ' << n;
                setText(other, std::u16string_view(whole).substr(at, n));
                EXPECT_EQ(other, whole.substr(at, n));
            }
        }
    }
}
