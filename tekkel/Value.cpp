#include "tekkel/Value.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/Utility.h"

namespace tekkel {

bool operator==(const Value& a, const Value& b) {
    if (a.kind != b.kind) return false;
    switch (a.kind) {
    case ValueKind::Empty:
    case ValueKind::Null: return true;
    case ValueKind::Int16:
    case ValueKind::Int32:
    case ValueKind::Boolean: return a.i == b.i;
    case ValueKind::Real32: return std::memcmp(&a.f, &b.f, sizeof a.f) == 0;
    case ValueKind::Real64: return std::memcmp(&a.d, &b.d, sizeof a.d) == 0;
    case ValueKind::String: return a.s == b.s;
    }
    return false;
}

} // namespace tekkel

namespace tekkel {

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}
bool isDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}
// The characters a number may have, blanks aside.
bool inNumbers(char16_t c) {
    return isDigit(c) || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E' ||
           c == u'd' || c == u'D';
}

// Reads [sign] digits [. digits] [exponent] from `t` at `pos` into `ascii`; returns whether at
// least one mantissa digit was seen. `pos` ends after the last character taken.
bool scanNumber(std::u16string_view t, std::size_t& pos, std::string& ascii) {
    if (pos < t.size() && (t[pos] == u'+' || t[pos] == u'-')) ascii += static_cast<char>(t[pos++]);
    bool digits = false;
    while (pos < t.size() && isDigit(t[pos])) {
        ascii += static_cast<char>(t[pos++]);
        digits = true;
    }
    if (pos < t.size() && t[pos] == u'.') {
        ascii += '.';
        ++pos;
        while (pos < t.size() && isDigit(t[pos])) {
            ascii += static_cast<char>(t[pos++]);
            digits = true;
        }
    }
    if (!digits) return false;
    if (pos < t.size() && (t[pos] == u'e' || t[pos] == u'E' || t[pos] == u'd' || t[pos] == u'D')) {
        std::size_t p = pos + 1;
        std::string exp = "e";
        if (p < t.size() && (t[p] == u'+' || t[p] == u'-')) exp += static_cast<char>(t[p++]);
        bool expDigits = false;
        while (p < t.size() && isDigit(t[p])) {
            exp += static_cast<char>(t[p++]);
            expDigits = true;
        }
        if (expDigits) {
            ascii += exp;
            pos = p;
        }
    }
    return true;
}

// from_chars is locale-independent, unlike strtod under a Qt application's locale.
bool asciiToDouble(const std::string& ascii, double& out) {
    const char* first = ascii.data();
    if (*first == '+') ++first;
    double v = 0;
    auto [ptr, ec] = std::from_chars(first, ascii.data() + ascii.size(), v);
    if (ec != std::errc() || !std::isfinite(v)) return false;
    out = v;
    return true;
}

// What parseNumber makes of a text, found by one look at its characters where the answer
// needs no conversion: the flag rule and a comparison of a text that is no number only ask
// whether it is one, and its sign. A text with an exponent, or a mantissa long enough to
// overflow or underflow a real, is Unsure: only the conversion knows whether it is finite. One
// with more integer digits than the largest real, after its leading zeros, is No: it overflows.
enum class TextNumber { No, Zero, Negative, Positive, Unsure };
constexpr std::size_t kPlainMantissa = 300;
constexpr std::size_t kRealIntegerDigits = 309; // of the largest finite real, 1.8e308

// The digits of a mantissa before its point, from the first that is not 0.
std::size_t integerDigits(std::u16string_view mantissa) {
    const std::size_t point = std::min(mantissa.find(u'.'), mantissa.size());
    const std::size_t first = std::min(mantissa.find_first_not_of(u'0'), point);
    return point - first;
}

// The common texts are told by their leading digits: those that are nothing else but blanks
// after them, and those whose digits go on with a character that no number goes on with
// ("12+3", "7)", "3 4 +"). A point or an exponent is left to the whole scan.
bool digitsTell(std::u16string_view t, TextNumber& answer) {
    std::size_t pos = 0;
    bool nonzero = false;
    for (; pos < t.size() && isDigit(t[pos]); ++pos)
        nonzero = nonzero || t[pos] != u'0';
    if (pos == 0 || pos > kPlainMantissa) return false;
    if (pos < t.size()) {
        const char16_t c = t[pos];
        if (c == u'.' || c == u'e' || c == u'E' || c == u'd' || c == u'D') return false;
        while (pos < t.size() && isBlank(t[pos]))
            ++pos;
    }
    answer = pos < t.size() ? TextNumber::No : nonzero ? TextNumber::Positive : TextNumber::Zero;
    return true;
}

TextNumber scanTextNumber(std::u16string_view t) {
    if (TextNumber answer; digitsTell(t, answer)) return answer;
    std::size_t pos = 0;
    const std::size_t n = t.size();
    while (pos < n && isBlank(t[pos]))
        ++pos;
    const bool minus = pos < n && t[pos] == u'-';
    if (pos < n && (t[pos] == u'+' || minus)) ++pos;
    const std::size_t start = pos;
    bool digits = false, nonzero = false, point = false;
    for (; pos < n; ++pos) {
        const char16_t c = t[pos];
        if (isDigit(c)) {
            digits = true;
            nonzero = nonzero || c != u'0';
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits) return TextNumber::No;
    const std::size_t mantissa = pos - start;
    if (pos < n && (t[pos] == u'e' || t[pos] == u'E' || t[pos] == u'd' || t[pos] == u'D'))
        return TextNumber::Unsure;
    while (pos < n && isBlank(t[pos]))
        ++pos;
    if (pos != n) return TextNumber::No;
    if (mantissa > kPlainMantissa)
        return integerDigits(t.substr(start, mantissa)) > kRealIntegerDigits ? TextNumber::No
                                                                             : TextNumber::Unsure;
    return !nonzero ? TextNumber::Zero : minus ? TextNumber::Negative : TextNumber::Positive;
}

[[gnu::always_inline]] inline TextNumber textNumber(std::u16string_view t) {
    if (plainlyNoNumber(t)) return TextNumber::No;
    return scanTextNumber(t);
}

// Numeric operand of arithmetic, ranked for widening.
enum class Rank { I16, I32, R32, R64 };
struct Num {
    Rank rank;
    std::int64_t i; // I16, I32
    double d;       // every rank, exact for the integer ranks
};

Status classify(const Value& v, Num& n) {
    switch (v.kind) {
    case ValueKind::Empty: n = {Rank::I16, 0, 0.0}; return Status::Ok;
    case ValueKind::Boolean:
    case ValueKind::Int16: n = {Rank::I16, v.i, static_cast<double>(v.i)}; return Status::Ok;
    case ValueKind::Int32: n = {Rank::I32, v.i, static_cast<double>(v.i)}; return Status::Ok;
    case ValueKind::Real32:
        if (!std::isfinite(v.f)) return Status::Mismatch;
        n = {Rank::R32, 0, static_cast<double>(v.f)};
        return Status::Ok;
    case ValueKind::Real64:
        if (!std::isfinite(v.d)) return Status::Mismatch;
        n = {Rank::R64, 0, v.d};
        return Status::Ok;
    case ValueKind::String: {
        double d = 0;
        if (!parseNumber(v.s, d)) return Status::Mismatch;
        n = {Rank::R64, 0, d};
        return Status::Ok;
    }
    case ValueKind::Null: return Status::Mismatch;
    }
    return Status::Mismatch;
}

Rank widen(Rank a, Rank b) {
    if (a == Rank::R64 || b == Rank::R64) return Rank::R64;
    if ((a == Rank::R32 && b == Rank::I32) || (a == Rank::I32 && b == Rank::R32)) return Rank::R64;
    if (a == Rank::R32 || b == Rank::R32) return Rank::R32;
    if (a == Rank::I32 || b == Rank::I32) return Rank::I32;
    return Rank::I16;
}

bool fits16(std::int64_t x) {
    return x >= INT16_MIN && x <= INT16_MAX;
}
bool fits32(std::int64_t x) {
    return x >= INT32_MIN && x <= INT32_MAX;
}

// An integer result of rank I16 or I32, widened as far as needed.
Value integerResult(Rank rank, std::int64_t r) {
    if (rank == Rank::I16 && fits16(r)) return Value::int16(static_cast<std::int16_t>(r));
    if (fits32(r)) return Value::int32(static_cast<std::int32_t>(r));
    return Value::real64(static_cast<double>(r));
}

Status realResult(Rank rank, float f, double d, Value& out) {
    if (rank == Rank::R32 && std::isfinite(f)) {
        out = Value::real32(f);
        return Status::Ok;
    }
    if (!std::isfinite(d)) return Status::Overflow;
    out = Value::real64(d);
    return Status::Ok;
}

enum class Op { Add, Sub, Mul };

Status arith(Op op, const Value& a, const Value& b, Value& out) {
    if (a.isNull() || b.isNull()) {
        out = Value::null();
        return Status::Ok;
    }
    if (op == Op::Add && (a.isString() || a.isEmpty()) && (b.isString() || b.isEmpty()) &&
        (a.isString() || b.isString())) {
        if (a.s.size() + b.s.size() > kMaxTextLength) return Status::Overflow;
        out = Value::string(a.s + b.s);
        return Status::Ok;
    }
    Num x, y;
    if (classify(a, x) != Status::Ok || classify(b, y) != Status::Ok) return Status::Mismatch;
    const Rank rank = widen(x.rank, y.rank);
    if (rank == Rank::I16 || rank == Rank::I32) {
        // Both operands are at most 32-bit, so the int64 result is exact.
        const std::int64_t r = op == Op::Add ? x.i + y.i : op == Op::Sub ? x.i - y.i : x.i * y.i;
        out = integerResult(rank, r);
        return Status::Ok;
    }
    const auto fx = static_cast<float>(x.d), fy = static_cast<float>(y.d);
    const float f = op == Op::Add ? fx + fy : op == Op::Sub ? fx - fy : fx * fy;
    const double d = op == Op::Add ? x.d + y.d : op == Op::Sub ? x.d - y.d : x.d * y.d;
    return realResult(rank, f, d, out);
}

Status toInteger(const Value& v, double lo, double hi, std::int64_t& out) {
    Num n;
    const Status st = classify(v, n);
    if (st != Status::Ok) return st;
    if (n.rank == Rank::I16 || n.rank == Rank::I32) {
        out = n.i;
    } else {
        const double r = common::roundHalfEven(n.d);
        if (r < lo || r > hi) return Status::Overflow;
        out = static_cast<std::int64_t>(r);
    }
    return out < lo || out > hi ? Status::Overflow : Status::Ok;
}

std::u16string asciiToU16(const char* first, const char* last) {
    std::u16string s;
    s.reserve(static_cast<std::size_t>(last - first));
    for (const char* p = first; p != last; ++p)
        s += static_cast<char16_t>(*p == 'e' ? 'E' : *p);
    return s;
}

// A whole real below 10^precision prints as its integer does; below that bound it has no
// exponent and no point in the general form, and that quick way spares the precise formatting.
template <typename T> std::u16string realText(T x, int precision, T bound) {
    if (x == 0) return u"0"; // also for -0, which the old runtime printed as 0
    if (x > -bound && x < bound && x == std::trunc(x))
        return common::decimal(static_cast<std::int64_t>(x));
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, precision);
    if (ec != std::errc()) return u"";
    return asciiToU16(buf, ptr);
}

// An integer, or a finite 64-bit real rounded half to even within the 32-bit integers.
bool roundedInt32(const Value& v, std::int64_t& out) {
    if (isInteger(v.kind)) {
        out = v.i;
        return true;
    }
    if (v.kind != ValueKind::Real64) return false;
    const double r = common::roundHalfEven(v.d); // NaN fails both tests
    if (!(r >= INT32_MIN && r <= INT32_MAX)) return false;
    out = static_cast<std::int64_t>(r);
    return true;
}

// Most numbers kept as texts are integers of up to 15 digits, which a real holds exactly: they
// are read here, with no copy and no conversion.
bool plainInteger(std::u16string_view text, double& out) {
    const bool minus = !text.empty() && text[0] == u'-';
    const std::size_t first = minus ? 1 : 0;
    if (text.size() == first || text.size() - first > 15) return false;
    std::int64_t whole = 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        if (!isDigit(text[i])) return false;
        whole = whole * 10 + (text[i] - u'0');
    }
    out = minus ? -static_cast<double>(whole) : static_cast<double>(whole);
    return true;
}

} // namespace

bool parseNumber(std::u16string_view text, double& out) {
    if (plainInteger(text, out)) return true;
    std::size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    std::string ascii;
    if (!scanNumber(text, pos, ascii)) return false;
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    if (pos != text.size()) return false;
    return asciiToDouble(ascii, out);
}

Status leadingNumber(std::u16string_view text, double& out) {
    // Most texts start with up to nine digits (an int32 holds them) and end there or at a
    // character that goes on no integer (a sign starts the next number): those are their
    // integer, with no copy and no conversion. A tenth digit, a point, an exponent or a blank,
    // which the number may go on after, go on below.
    std::size_t digits = 0;
    std::int32_t whole = 0;
    while (digits < std::min<std::size_t>(text.size(), 9) && isDigit(text[digits]))
        whole = whole * 10 + (text[digits++] - u'0');
    const auto endsInteger = [](char16_t c) {
        return !inNumbers(c) ? !isBlank(c) : c == u'+' || c == u'-';
    };
    if (digits > 0 && (digits == text.size() || endsInteger(text[digits]))) {
        out = whole;
        return Status::Ok;
    }
    // The text without its blanks, up to the first character no number has, where scanNumber
    // stops as it does at the text's end: a long text is not copied past its number.
    std::u16string packed;
    for (const char16_t c : text) {
        if (isBlank(c)) continue;
        if (!inNumbers(c)) break;
        packed += c;
    }
    std::size_t pos = 0;
    std::string ascii;
    if (!scanNumber(packed, pos, ascii)) {
        out = 0;
        return Status::Ok;
    }
    return asciiToDouble(ascii, out) ? Status::Ok : Status::Overflow;
}

bool isNumeric(const Value& v) {
    Num n;
    return classify(v, n) == Status::Ok;
}

bool toDouble(const Value& v, double& out) {
    Num n;
    if (classify(v, n) != Status::Ok) return false;
    out = n.d;
    return true;
}

Status toInt16(const Value& v, std::int16_t& out) {
    // Most are register numbers written as integers.
    if (isInteger(v.kind) && v.i >= INT16_MIN && v.i <= INT16_MAX) {
        out = static_cast<std::int16_t>(v.i);
        return Status::Ok;
    }
    std::int64_t r = 0;
    const Status st = toInteger(v, INT16_MIN, INT16_MAX, r);
    if (st == Status::Ok) out = static_cast<std::int16_t>(r);
    return st;
}

Status toInt32(const Value& v, std::int32_t& out) {
    if (isInteger(v.kind)) {
        out = v.i;
        return Status::Ok;
    }
    // The reals that numbers read from texts are, the short way too.
    if (std::int64_t n = 0; roundedInt32(v, n)) {
        out = static_cast<std::int32_t>(n);
        return Status::Ok;
    }
    std::int64_t r = 0;
    const Status st = toInteger(v, INT32_MIN, INT32_MAX, r);
    if (st == Status::Ok) out = static_cast<std::int32_t>(r);
    return st;
}

Status toTruth(const Value& v, bool& out) {
    if (v.isNull()) {
        out = false;
        return Status::Ok;
    }
    if (v.isString()) {
        std::u16string lower;
        for (char16_t c : v.s)
            lower += (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
        if (lower == u"true" || lower == u"false") {
            out = lower == u"true";
            return Status::Ok;
        }
    }
    Num n;
    const Status st = classify(v, n);
    if (st == Status::Ok) out = n.d != 0;
    return st;
}

std::u16string toText(const Value& v) {
    switch (v.kind) {
    case ValueKind::Empty:
    case ValueKind::Null: return u"";
    case ValueKind::Boolean: return v.i ? u"True" : u"False";
    case ValueKind::Int16:
    case ValueKind::Int32: return common::decimal(v.i);
    case ValueKind::Real32: return realText(v.f, 7, 1e7f);
    case ValueKind::Real64: return realText(v.d, 15, 1e15);
    case ValueKind::String: return v.s;
    }
    return u"";
}

const char* kindName(const Value& v) {
    switch (v.kind) {
    case ValueKind::Empty: return "Empty";
    case ValueKind::Null: return "Null";
    case ValueKind::Int16: return "Int16";
    case ValueKind::Int32: return "Int32";
    case ValueKind::Real32: return "Real32";
    case ValueKind::Real64: return "Real64";
    case ValueKind::Boolean: return "Boolean";
    case ValueKind::String: return "String";
    }
    return "?";
}

Status addValues(const Value& a, const Value& b, Value& out) {
    return arith(Op::Add, a, b, out);
}
Status subtractValues(const Value& a, const Value& b, Value& out) {
    return arith(Op::Sub, a, b, out);
}
Status multiplyValues(const Value& a, const Value& b, Value& out) {
    return arith(Op::Mul, a, b, out);
}

Status divideValues(const Value& a, const Value& b, Value& out) {
    if (a.isNull() || b.isNull()) {
        out = Value::null();
        return Status::Ok;
    }
    Num x, y;
    if (classify(a, x) != Status::Ok || classify(b, y) != Status::Ok) return Status::Mismatch;
    if (y.d == 0) return Status::DivideByZero;
    const Rank rank = widen(x.rank, y.rank) == Rank::R32 ? Rank::R32 : Rank::R64;
    return realResult(rank, static_cast<float>(x.d) / static_cast<float>(y.d), x.d / y.d, out);
}

Status intDivideValues(const Value& a, const Value& b, Value& quotient, Value& remainder) {
    if (a.isNull() || b.isNull()) {
        quotient = remainder = Value::null();
        return Status::Ok;
    }
    Num x, y;
    if (classify(a, x) != Status::Ok || classify(b, y) != Status::Ok) return Status::Mismatch;
    std::int64_t n = 0, m = 0;
    Status st = toInteger(a, INT32_MIN, INT32_MAX, n);
    if (st == Status::Ok) st = toInteger(b, INT32_MIN, INT32_MAX, m);
    if (st != Status::Ok) return st;
    if (m == 0) return Status::DivideByZero;
    const Rank rank = (x.rank == Rank::I16 && y.rank == Rank::I16) ? Rank::I16 : Rank::I32;
    const std::int64_t q = n / m, r = n % m;
    if (!fits32(q)) return Status::Overflow; // only INT32_MIN \ -1
    quotient = integerResult(rank, q);
    remainder = integerResult(rank, r);
    return Status::Ok;
}

bool roundedIntDiv(const Value& a, const Value& b, Value& quotient, Value& remainder) {
    std::int64_t n = 0, m = 0;
    if (!roundedInt32(a, n) || !roundedInt32(b, m) || m == 0 || !fits32(n / m)) return false;
    // Only two 16-bit integers keep to 16 bits; a real is ranked past them.
    const bool narrow = a.kind == ValueKind::Int16 && b.kind == ValueKind::Int16;
    setInt32(quotient, narrow, static_cast<std::int32_t>(n / m));
    setInt32(remainder, narrow, static_cast<std::int32_t>(n % m));
    return true;
}

Status floorValue(const Value& v, Value& out) {
    switch (v.kind) {
    case ValueKind::Null: out = Value::null(); return Status::Ok;
    case ValueKind::Empty: out = Value::int16(0); return Status::Ok;
    case ValueKind::Boolean: out = Value::int16(static_cast<std::int16_t>(v.i)); return Status::Ok;
    case ValueKind::Int16:
    case ValueKind::Int32: out = v; return Status::Ok;
    case ValueKind::Real32:
        if (!std::isfinite(v.f)) return Status::Mismatch;
        out = Value::real32(std::floor(v.f));
        return Status::Ok;
    default: break;
    }
    double d = 0;
    if (!toDouble(v, d)) return Status::Mismatch;
    out = Value::real64(std::floor(d));
    return Status::Ok;
}

Status signValue(const Value& v, Value& out) {
    if (v.isNull()) {
        out = Value::null();
        return Status::Ok;
    }
    double d = 0;
    if (!toDouble(v, d)) return Status::Mismatch;
    out = Value::int16(static_cast<std::int16_t>((d > 0) - (d < 0)));
    return Status::Ok;
}

Status arithmetic(ArithOp op, const Value& a, const Value& b, Value& out) {
    switch (op) {
    case ArithOp::Add: return addValues(a, b, out);
    case ArithOp::Sub: return subtractValues(a, b, out);
    case ArithOp::Mul: return multiplyValues(a, b, out);
    case ArithOp::Div: return divideValues(a, b, out);
    }
    return Status::Mismatch;
}

Status stepOther(const Value& v, bool down, Value& out) {
    const Value one = Value::int16(1);
    return down ? subtractValues(v, one, out) : addValues(v, one, out);
}

namespace {

// The order of the first `n` code units of p and q: -1, 0 or 1. Four units at a time, the first
// that differs told by the lowest bit the two words differ in (the first unit is the low one).
int compareUnits(const char16_t* p, const char16_t* q, std::size_t n) {
    std::size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; i + 4 <= n; i += 4) {
            std::uint64_t x = 0, y = 0;
            std::memcpy(&x, p + i, sizeof x);
            std::memcpy(&y, q + i, sizeof y);
            if (x != y) {
                const std::size_t k = i + static_cast<std::size_t>(std::countr_zero(x ^ y) / 16);
                return p[k] < q[k] ? -1 : 1;
            }
        }
    }
    for (; i < n; ++i)
        if (p[i] != q[i]) return p[i] < q[i] ? -1 : 1;
    return 0;
}

[[gnu::always_inline]] inline Comparison compareTexts(const std::u16string& a,
                                                      const std::u16string& b) {
    // Most texts compared differ in their first unit, which then tells their order.
    if (!a.empty() && !b.empty() && a[0] != b[0]) return {true, a[0] < b[0] ? -1 : 1};
    const std::size_t n = std::min(a.size(), b.size());
    if (const int c = compareUnits(a.data(), b.data(), n)) return {true, c};
    return {true, (a.size() > n) - (b.size() > n)};
}

// Two operands that may both be numbers: as numbers when both are, else as texts when both are.
[[gnu::noinline]] Comparison compareMaybeNumbers(const Value& a, const Value& b) {
    Num x, y;
    if (classify(a, x) == Status::Ok && classify(b, y) == Status::Ok) {
        if (widen(x.rank, y.rank) <= Rank::I32) {
            const std::int64_t d = x.i - y.i;
            return {true, (d > 0) - (d < 0)};
        }
        // The difference is rounded before its sign is taken, so 1.2 and 1 compare equal.
        const double d = common::roundHalfEven(x.d - y.d);
        return {true, (d > 0) - (d < 0)};
    }
    if (a.isString() && b.isString()) return compareTexts(a.s, b.s);
    return {false, 0};
}

// An integer, or a text of a whole number written plainly (plainInteger), as a real; false for
// every other operand.
[[gnu::always_inline]] inline bool plainWhole(const Value& v, double& out) {
    if (isInteger(v.kind)) {
        out = v.i;
        return true;
    }
    return v.isString() && plainInteger(v.s, out);
}

// Operands whose texts may be numbers by their first character (compareOther): a text the scan
// finds no number makes it a comparison of texts, which needs two. Of the rest, two whole numbers
// compare at once: their difference is exact, so its rounding changes no sign.
[[gnu::noinline]] Comparison compareScanned(const Value& a, const Value& b) {
    const bool textA = a.isString(), textB = b.isString();
    if ((textA && scanTextNumber(a.s) == TextNumber::No) ||
        (textB && scanTextNumber(b.s) == TextNumber::No))
        return textA && textB ? compareTexts(a.s, b.s) : Comparison{false, 0};
    if (double x = 0, y = 0; plainWhole(a, x) && plainWhole(b, y)) return {true, (x > y) - (x < y)};
    return compareMaybeNumbers(a, b);
}

} // namespace

// A text that is no number at one look is told here, with no call; the rest by the scan.
Comparison compareOther(const Value& a, const Value& b) {
    const bool textA = a.isString(), textB = b.isString();
    if ((textA && plainlyNoNumber(a.s)) || (textB && plainlyNoNumber(b.s)))
        return textA && textB ? compareTexts(a.s, b.s) : Comparison{false, 0};
    return compareScanned(a, b);
}

bool textNegativeFlag(std::u16string_view text, bool& negative) {
    switch (textNumber(text)) {
    case TextNumber::No: return true;
    case TextNumber::Unsure: return false;
    case TextNumber::Negative: negative = true; return true;
    default: negative = false; return true;
    }
}

namespace {

// The flag rule of a value that is no text, or of a text that may be a number by its first
// character (applyFlagRule).
[[gnu::noinline]] void applyScannedFlagRule(const Value& v, Flags& flags) {
    const TextNumber t = v.isString() ? scanTextNumber(v.s) : TextNumber::Unsure;
    if (t == TextNumber::No) {
        flags.zero = v.s.empty();
        return;
    }
    if (t != TextNumber::Unsure) {
        flags.zero = t == TextNumber::Zero;
        flags.negative = t == TextNumber::Negative;
        return;
    }
    Num n;
    if (classify(v, n) == Status::Ok) {
        flags.zero = n.d == 0;
        flags.negative = n.d < 0;
    } else if (v.isString()) {
        flags.zero = v.s.empty();
    } else {
        flags.invalid = true;
    }
}

} // namespace

// A text that is no number at one look is told here, with no call; the rest by the scan.
void applyFlagRule(const Value& v, Flags& flags) {
    flags.invalid = false;
    if (v.isString() && plainlyNoNumber(v.s)) {
        flags.zero = v.s.empty();
        return;
    }
    applyScannedFlagRule(v, flags);
}

} // namespace tekkel
