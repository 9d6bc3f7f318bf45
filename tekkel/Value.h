// Tekkel's dynamically typed value and its rules: numbers read from strings, arithmetic with
// widening, text forms, conversions to 16/32-bit integers and truth values, comparison and the
// flag rule. Every operation answers with a status; nothing throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <cmath>
#include <cstring>

namespace tekkel {

// The integers come first, so that one unsigned comparison tells an integer (isInteger).
enum class ValueKind : std::uint8_t { Int16, Int32, Empty, Null, Real32, Real64, Boolean, String };
static_assert(static_cast<int>(ValueKind::Int16) == 0 && static_cast<int>(ValueKind::Int32) == 1);

// One dynamically typed value. Booleans store true as -1 and false as 0 in `i`. The string is
// a member rather than a pointer so that values copy and compare without sharing; the hot
// commands work on values in place and never copy one.
struct Value {
    ValueKind kind = ValueKind::Empty;
    union {
        std::int32_t i; // Int16 (in range), Int32, Boolean
        float f;        // Real32
        double d;       // Real64
    };
    std::u16string s; // String

    Value() : d(0) {}
    static Value empty() { return Value(); }
    static Value null() {
        Value v;
        v.kind = ValueKind::Null;
        return v;
    }
    static Value int16(std::int16_t x) { return number(ValueKind::Int16, x); }
    static Value int32(std::int32_t x) { return number(ValueKind::Int32, x); }
    static Value real32(float x) {
        std::int32_t bits = 0;
        static_assert(sizeof bits == sizeof x);
        std::memcpy(&bits, &x, sizeof x);
        return number(ValueKind::Real32, bits);
    }
    static Value real64(double x) {
        Value v;
        v.kind = ValueKind::Real64;
        v.d = x;
        return v;
    }
    static Value boolean(bool b) { return number(ValueKind::Boolean, b ? -1 : 0); }
    static Value string(std::u16string text) {
        Value v;
        v.kind = ValueKind::String;
        v.s = std::move(text);
        return v;
    }
    bool isEmpty() const { return kind == ValueKind::Empty; }
    bool isNull() const { return kind == ValueKind::Null; }
    bool isString() const { return kind == ValueKind::String; }

    // Same kind and same contents (reals bit for bit, so a NaN equals itself).
    friend bool operator==(const Value& a, const Value& b);

  private:
    // A value whose number is the four bytes `low`, written with the four after them as one
    // eight-byte store: a later eight-byte copy of the value then reads what one store wrote
    // instead of waiting for two to combine.
    static Value number(ValueKind k, std::int32_t low) {
        Value v;
        v.kind = k;
        const std::int32_t bytes[2] = {low, 0};
        static_assert(sizeof bytes == sizeof v.d);
        std::memcpy(&v.d, bytes, sizeof bytes);
        return v;
    }
};

enum class Status {
    Ok,
    Mismatch,     // a string that is not a number, or null, where a number is needed
    Overflow,     // the result or conversion does not fit
    DivideByZero, // integer or real division by zero
};

// Most values all variable areas may hold together (every run's locals, the shared variables,
// the entries of every allocation map): growth past it is refused, so a script that keeps
// doubling an area stops before it exhausts memory.
constexpr std::int64_t kMaxValues = 1 << 24;
// Longest text a concatenation may produce (code units); longer results are refused, so a
// loop that doubles a string cannot exhaust memory either.
constexpr std::size_t kMaxTextLength = 1 << 24;

// Whole-string number: optional blanks, sign, digits with an optional decimal point (at least
// one digit), optional exponent (E or D), optional blanks. Non-finite results are refused.
bool parseNumber(std::u16string_view text, double& out);

// The leading number of a text (blanks anywhere are skipped, as the old Val did); 0 when the
// text does not start with one. Overflow when the number is too large for a real.
Status leadingNumber(std::u16string_view text, double& out);

// Numeric in the flag-rule sense: a finite number, a boolean, empty, or a string that reads as
// a number. Null, non-numeric strings and non-finite reals are not.
bool isNumeric(const Value& v);

// The value as a real (empty 0, boolean -1/0, numeric strings read). False when not numeric.
bool toDouble(const Value& v, double& out);

Status toInt16(const Value& v, std::int16_t& out);
Status toInt32(const Value& v, std::int32_t& out);
// 0, empty and null are false, every other number true; "True"/"False" in any case read as
// named. Other strings are a mismatch.
Status toTruth(const Value& v, bool& out);

// The text form: empty and null give "", booleans "True"/"False", integers in decimal, reals
// with 7 (32-bit) or 15 (64-bit) significant digits, switching to an exponent like "1E+20".
std::u16string toText(const Value& v);

// "Empty", "Null", "Int16", ... for listings.
const char* kindName(const Value& v);

// Arithmetic. Null in either operand gives null. Integers widen 16 -> 32-bit -> 64-bit real
// when a result does not fit; a 32-bit real with a 32-bit integer gives a 64-bit real. Adding
// two strings, or a string and empty, concatenates (Overflow past kMaxTextLength).
Status addValues(const Value& a, const Value& b, Value& out);
Status subtractValues(const Value& a, const Value& b, Value& out);
Status multiplyValues(const Value& a, const Value& b, Value& out);
// Real division: a 32-bit real when the operands are at most 32-bit reals and 16-bit integers,
// else a 64-bit real.
Status divideValues(const Value& a, const Value& b, Value& out);
// Integer division truncating toward zero; reals are first rounded to 32-bit integers. The
// remainder takes the dividend's sign. Both are 16-bit when both operands were, else 32-bit.
Status intDivideValues(const Value& a, const Value& b, Value& quotient, Value& remainder);
// Largest integer not above v, keeping v's kind (booleans and empty give 16-bit).
Status floorValue(const Value& v, Value& out);
// -1, 0 or 1 as a 16-bit integer.
Status signValue(const Value& v, Value& out);

// Two integers compare by their difference, which never overflows 64 bits.
[[gnu::always_inline]] inline bool bothIntegers(const Value& a, const Value& b) {
    return (static_cast<unsigned>(a.kind) | static_cast<unsigned>(b.kind)) <=
           static_cast<unsigned>(ValueKind::Int32);
}
[[gnu::always_inline]] inline std::int64_t integerDifference(const Value& a, const Value& b) {
    return static_cast<std::int64_t>(a.i) - b.i;
}

inline bool isInteger(ValueKind k) {
    return static_cast<unsigned>(k) <= static_cast<unsigned>(ValueKind::Int32);
}

// The bits of a real past its sign: 0 for either zero, below kInfiniteMagnitude for every finite
// real. The flag rule and the finite test of an arithmetic result share them, one integer shift.
[[gnu::always_inline]] inline std::uint64_t magnitudeBits(double x) {
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof x);
    std::memcpy(&bits, &x, sizeof x);
    return bits << 1;
}
inline constexpr std::uint64_t kInfiniteMagnitude = 0xffe0'0000'0000'0000;
[[gnu::always_inline]] inline bool finiteReal(double x) {
    return magnitudeBits(x) < kInfiniteMagnitude;
}

// The number of an integer or a 64-bit real; false for every other kind.
[[gnu::always_inline]] inline bool plainNumber(const Value& v, double& d) {
    if (isInteger(v.kind)) {
        d = v.i;
        return true;
    }
    d = v.d;
    return v.kind == ValueKind::Real64;
}

// a - b of two plain numbers whose difference is finite, which an infinite or NaN operand
// never gives: one test for both. False for the operands compareOther takes (two finite ones
// far enough apart for an infinite difference go there too, which rounds it to the same sign).
[[gnu::always_inline]] inline bool realDifference(const Value& a, const Value& b, double& d) {
    double x = 0, y = 0;
    if (!plainNumber(a, x) || !plainNumber(b, y)) return false;
    d = x - y;
    return finiteReal(d);
}

// Two plain numbers, not both integers: the difference rounded half to even is 0 from -0.5 to
// 0.5 and has the difference's sign past them, so its sign needs no rounding. False for the
// operands compareOther takes.
[[gnu::always_inline]] inline bool compareReals(const Value& a, const Value& b, int& sign) {
    double d = 0;
    if (!realDifference(a, b, d)) return false;
    sign = (d > 0.5) - (d < -0.5);
    return true;
}

struct Comparison {
    bool valid = false; // false: no common kind (the invalid flag is set)
    int sign = 0;       // -1, 0, 1: a below, equal to, above b
};
// The cases compareValues does not take inline.
Comparison compareOther(const Value& a, const Value& b);
// Both numeric: the sign of a - b rounded to an integer (halves to even), so 1.2 equals 1.
// Both strings: code unit by code unit. Otherwise invalid.
[[gnu::always_inline]] inline Comparison compareValues(const Value& a, const Value& b) {
    if (bothIntegers(a, b)) {
        const std::int64_t d = integerDifference(a, b);
        return {true, (d > 0) - (d < 0)};
    }
    if (int sign = 0; compareReals(a, b, sign)) return {true, sign};
    return compareOther(a, b);
}

struct Flags {
    bool zero, negative, invalid;
};
// The flag rule: numeric values set zero and negative; other strings set zero from their
// emptiness and keep negative; anything else sets invalid and keeps the other two.
void applyFlagRule(const Value& v, Flags& flags);

// The negative flag the flag rule leaves after a text: its sign when it reads as a number,
// `negative` as it was when it reads as none. False, `negative` untouched, when only reading
// the number in full could tell.
bool textNegativeFlag(std::u16string_view text, bool& negative);

// The hot loop's share of the rules above: every way of running a command calls these, so the
// cases they take inline are the rules' own, never a second copy of them.

// Writes an integer into all eight bytes of the number, so that a later eight-byte copy of
// the value (assign) reads what one store wrote instead of waiting for two to combine.
[[gnu::always_inline]] inline void storeInteger(Value& v, ValueKind kind, std::int32_t i) {
    const std::int32_t bytes[2] = {i, 0};
    static_assert(sizeof bytes == sizeof v.d);
    v.kind = kind;
    std::memcpy(&v.d, bytes, sizeof v.d);
}

// A 32-bit integer result, 16-bit when `narrow` and it fits.
[[gnu::always_inline]] inline void setInt32(Value& v, bool narrow, std::int32_t x) {
    if (v.kind == ValueKind::String) [[unlikely]]
        v.s.clear();
    const bool fits = narrow && x == static_cast<std::int16_t>(x);
    storeInteger(v, fits ? ValueKind::Int16 : ValueKind::Int32, x);
}

// A result past the 32-bit integers, as a 64-bit real.
[[gnu::always_inline]] inline void setWide(Value& v, std::int64_t x) {
    if (v.kind == ValueKind::String) [[unlikely]]
        v.s.clear();
    v.kind = ValueKind::Real64;
    v.d = static_cast<double>(x);
}

// dst = src. Only a string value holds text, so a value without one copies as its kind and
// eight bytes.
[[gnu::always_inline]] inline void assign(Value& dst, const Value& src) {
    if (src.kind != ValueKind::String && dst.s.empty()) {
        dst.kind = src.kind;
        std::memcpy(&dst.d, &src.d, sizeof dst.d);
    } else {
        dst = src;
    }
}

// text = part, where `part` may lie within `text` itself (a cut of the register it goes into),
// without the library's general replace, which a loop that cuts one character at a time would
// call on every cut at several times the cost of the copy.
inline void setText(std::u16string& text, std::u16string_view part) {
    const std::size_t n = part.size();
    if (n > text.size()) { // longer than the text, so not within it
        text.clear();
        text.append(part.data(), n);
        return;
    }
    std::char_traits<char16_t>::move(text.data(), part.data(), n);
    text.resize(n);
}

// Most texts that are no number tell so by their first character, which no number starts with
// (a digit, a blank, a sign or a point, all below 64: one bit each of a mask): those take one
// look, the rest a scan.
[[gnu::always_inline]] inline bool plainlyNoNumber(std::u16string_view t) {
    constexpr std::uint64_t kMayStart = [] {
        std::uint64_t mask = 0;
        for (const char c : std::string_view(" \t\r\n+-.0123456789"))
            mask |= std::uint64_t{1} << c;
        return mask;
    }();
    return t.empty() || t[0] >= 64 || !((kMayStart >> t[0]) & 1);
}

enum class ArithOp : std::uint8_t { Add, Sub, Mul, Div };

// p op q for Add, Sub, Mul of two 32-bit integers: false when it does not fit 32 bits, which
// the processor's overflow flag tells at no cost.
template <ArithOp Op>
[[gnu::always_inline]] inline bool int32Op(std::int32_t p, std::int32_t q, std::int32_t& r) {
    if constexpr (Op == ArithOp::Add) return !__builtin_add_overflow(p, q, &r);
    if constexpr (Op == ArithOp::Sub) return !__builtin_sub_overflow(p, q, &r);
    return !__builtin_mul_overflow(p, q, &r);
}

// Takes the number a plain operation wrote, for a caller that has nothing to do with it.
struct IgnoreNumber {
    void operator()(std::int32_t) const {}
    void operator()(std::int64_t) const {}
    void operator()(double) const {}
};

// Told which plain case plainArith took, for a caller that orders its tests by what it meets.
struct IgnoreCase {
    void integers() const {}
    void reals() const {}
};

// out = a op b for the operands whose result the rules give without a status: integers, and
// 64-bit reals with a finite result (an infinite or NaN operand of +, - or * gives no finite
// result; a divisor must be finite and not 0). False, `out` untouched, for everything else,
// which arithmetic() works out. Both operands are read before `out` is written. `written` is
// called with the number written (as an integer or a real), so that the flag rule can take it
// without reading the value back. `RealsFirst` tests for a 64-bit real `a` before two
// integers (the result is the same either way); `seen` hears of two integers, and of a real
// `a` with a plain `b` found after them.
// `bReal` is `b`, or `b` as a 64-bit real where it is an integer, which a real `a` found first
// (RealsFirst) takes. RealPair: `bReal` is a 64-bit real whatever `b` is (NaN where `b` is no
// integer nor 64-bit real, which no real result survives).
template <ArithOp Op, bool RealsFirst = false, bool RealPair = false,
          typename Written = IgnoreNumber, typename Seen = IgnoreCase>
[[gnu::always_inline]] inline bool plainArithPair(const Value& a, const Value& b,
                                                  const Value& bReal, Value& out,
                                                  Written written = {}, Seen seen = {}) {
    double x = 0, y = 0;
    if (RealsFirst && a.kind == ValueKind::Real64) [[likely]] {
        x = a.d;
        if (RealPair || bReal.kind == ValueKind::Real64) [[likely]]
            y = bReal.d;
        else if (isInteger(bReal.kind))
            y = bReal.i;
        else
            return false;
    } else if (Op != ArithOp::Div && isInteger(a.kind) && isInteger(b.kind)) {
        seen.integers();
        if (std::int32_t r = 0; int32Op<Op>(a.i, b.i, r)) [[likely]] {
            setInt32(out, a.kind == ValueKind::Int16 && b.kind == ValueKind::Int16, r);
            written(r);
            return true;
        }
        const std::int64_t p = a.i, q = b.i;
        const std::int64_t r = Op == ArithOp::Add ? p + q : Op == ArithOp::Sub ? p - q : p * q;
        setWide(out, r);
        written(r);
        return true;
    } else if (!RealsFirst && a.kind == ValueKind::Real64 && b.kind == ValueKind::Real64) {
        seen.reals();
        x = a.d, y = b.d;
    } else if (!plainNumber(a, x) || !plainNumber(b, y)) {
        return false;
    } else if (a.kind == ValueKind::Real64) {
        seen.reals();
    }
    const double r = Op == ArithOp::Add   ? x + y
                     : Op == ArithOp::Sub ? x - y
                     : Op == ArithOp::Mul ? x * y
                                          : x / y;
    if (!finiteReal(r)) [[unlikely]]
        return false;
    // The divisor is looked at only here: by 0 or NaN no quotient is finite, and a finite
    // number over an infinite one is the only finite quotient of a divisor the rules refuse.
    if (Op == ArithOp::Div && magnitudeBits(r) == 0 && !finiteReal(y)) [[unlikely]]
        return false;
    if (out.kind == ValueKind::String) [[unlikely]]
        out.s.clear();
    out.kind = ValueKind::Real64;
    out.d = r;
    written(r);
    return true;
}

template <ArithOp Op, bool RealsFirst = false, typename Written = IgnoreNumber,
          typename Seen = IgnoreCase>
[[gnu::always_inline]] inline bool plainArith(const Value& a, const Value& b, Value& out,
                                              Written written = {}, Seen seen = {}) {
    return plainArithPair<Op, RealsFirst>(a, b, b, out, written, seen);
}

// addValues, subtractValues, multiplyValues or divideValues.
Status arithmetic(ArithOp op, const Value& a, const Value& b, Value& out);

// a op b by the rules: the plain cases inline, the rest by arithmetic().
template <ArithOp Op> inline Status arithValues(const Value& a, const Value& b, Value& out) {
    if (plainArith<Op>(a, b, out)) return Status::Ok;
    return arithmetic(Op, a, b, out);
}

// Integer division of two integers (not by 0, nor INT32_MIN by -1); false, nothing written, for
// what intDivideValues works out. Both operands are read before either result is written.
[[gnu::always_inline]] inline bool plainIntDiv(const Value& a, const Value& b, Value& quotient,
                                               Value& remainder) {
    if (!isInteger(a.kind) || !isInteger(b.kind) || b.i == 0 || (a.i == INT32_MIN && b.i == -1))
        return false;
    const bool narrow = a.kind == ValueKind::Int16 && b.kind == ValueKind::Int16;
    const std::int32_t n = a.i, m = b.i;
    setInt32(quotient, narrow, n / m);
    setInt32(remainder, narrow, n % m);
    return true;
}

// The same where an operand may be a finite 64-bit real, which intDivideValues rounds half to
// even to an integer; false, nothing written, for everything else, a divisor of 0 and a
// quotient past the 32-bit integers.
bool roundedIntDiv(const Value& a, const Value& b, Value& quotient, Value& remainder);

inline Status intDivide(const Value& a, const Value& b, Value& quotient, Value& remainder) {
    if (plainIntDiv(a, b, quotient, remainder)) return Status::Ok;
    return intDivideValues(a, b, quotient, remainder);
}

// Integer v + 1 (Inc) or v - 1 (Dec) into `out`: the number written.
[[gnu::always_inline]] inline std::int64_t stepInteger(const Value& v, bool down, Value& out) {
    if (std::int32_t r = 0; !__builtin_add_overflow(v.i, down ? -1 : 1, &r)) [[likely]] {
        setInt32(out, v.kind == ValueKind::Int16, r);
        return r;
    }
    const std::int64_t x = static_cast<std::int64_t>(v.i) + (down ? -1 : 1);
    setWide(out, x);
    return x;
}

// v + 1 (Inc) or v - 1 (Dec): an integer here, everything else by addValues / subtractValues.
Status stepOther(const Value& v, bool down, Value& out);
[[gnu::always_inline]] inline Status stepValue(const Value& v, bool down, Value& out) {
    if (!isInteger(v.kind)) return stepOther(v, down, out);
    stepInteger(v, down, out);
    return Status::Ok;
}

} // namespace tekkel
