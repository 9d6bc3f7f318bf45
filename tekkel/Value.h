// Tekkel's dynamically typed value and its rules: numbers read from strings, arithmetic with
// widening, text forms, conversions to 16/32-bit integers and truth values, comparison and the
// flag rule. Every operation answers with a status; nothing throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <cstring>

namespace tekkel {

enum class ValueKind : std::uint8_t { Empty, Null, Int16, Int32, Real32, Real64, Boolean, String };

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

struct Comparison {
    bool valid = false; // false: no common kind (the invalid flag is set)
    int sign = 0;       // -1, 0, 1: a below, equal to, above b
};
// Both numeric: the sign of a - b rounded to an integer (halves to even), so 1.2 equals 1.
// Both strings: code unit by code unit. Otherwise invalid.
Comparison compareValues(const Value& a, const Value& b);

struct Flags {
    bool zero, negative, invalid;
};
// The flag rule: numeric values set zero and negative; other strings set zero from their
// emptiness and keep negative; anything else sets invalid and keeps the other two.
void applyFlagRule(const Value& v, Flags& flags);

} // namespace tekkel
