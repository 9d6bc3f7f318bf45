#include "common/Utility.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <limits>
#include <new>

namespace common {

namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::int32_t kErrOutOfMemory = 7;
constexpr std::u16string_view kDescOutOfMemory = u"メモリが不足しています。";

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void appendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
    } else {
        cp -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (cp >> 10));
        out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    }
}

bool isHigh(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLow(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// An unexpected failure inside a procedure becomes the module's error report.
void reportException(plat::Services& sv, std::string_view label) {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        reportError(sv, kErrOutOfMemory, kDescOutOfMemory, label);
    } catch (...) {
        reportError(sv, kErrInvalidCall, kDescInvalidCall, label);
    }
}

} // namespace

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHigh(c) && i + 1 < text.size() && isLow(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) +
                                (static_cast<char32_t>(text[i + 1]) - 0xDC00));
            ++i;
        } else if (isHigh(c) || isLow(c)) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

namespace {

// Whether `bytes` is well-formed UTF-8 as fromUtf8 reads it: no sequence it would replace.
bool wellFormedUtf8(std::string_view bytes) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned char b0 = at(i);
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        const std::size_t extra = b0 >= 0xC2 && b0 <= 0xDF   ? 1
                                  : b0 >= 0xE0 && b0 <= 0xEF ? 2
                                  : b0 >= 0xF0 && b0 <= 0xF4 ? 3
                                                             : 0;
        if (extra == 0 || bytes.size() - i <= extra) return false;
        char32_t cp = b0 & (0x7F >> (extra + 1));
        for (std::size_t j = i + 1; j <= i + extra; ++j) {
            if ((at(j) & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (at(j) & 0x3F);
        }
        const char32_t minimum = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

} // namespace

std::size_t firstBadUtf8(std::string_view bytes) {
    // Most texts are well-formed, which always survives the round trip.
    if (wellFormedUtf8(bytes)) return std::string_view::npos;
    // Malformed bytes come back from the round trip as replacement characters.
    const std::string clean = toUtf8(fromUtf8(bytes));
    if (clean == bytes) return std::string_view::npos;
    std::size_t at = 0;
    while (at < bytes.size() && at < clean.size() && bytes[at] == clean[at])
        ++at;
    return at;
}

std::u16string decimal(std::int64_t n) {
    char digits[24];
    char* const end = std::to_chars(digits, digits + sizeof digits, n).ptr;
    return std::u16string(digits, end);
}

double roundHalfEven(double x) {
    // From 2^52 up every double is whole (and infinities and NaN stay as they are). Below it,
    // adding 2^52 of the same sign leaves no fraction, so the sum is rounded to the nearest,
    // halves to even, as every sum is; taking it away again is exact.
    if (!(std::fabs(x) < 0x1p52)) return x;
    const double whole = std::copysign(0x1p52, x);
    return (x + whole) - whole;
}

std::u16string fromUtf8(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b0 = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if (b0 < 0x80) {
            out += static_cast<char16_t>(b0);
            ++i;
            continue;
        } else if (b0 >= 0xC2 && b0 <= 0xDF) {
            extra = 1;
            cp = b0 & 0x1F;
            minimum = 0x80;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            extra = 2;
            cp = b0 & 0x0F;
            minimum = 0x800;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            extra = 3;
            cp = b0 & 0x07;
            minimum = 0x10000;
        } else {
            out += kReplacement;
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        for (; j < bytes.size() && j <= i + static_cast<std::size_t>(extra); ++j) {
            const auto b = static_cast<unsigned char>(bytes[j]);
            if ((b & 0xC0) != 0x80) break;
            cp = (cp << 6) | (b & 0x3F);
        }
        const bool complete = j == i + 1 + static_cast<std::size_t>(extra);
        if (!complete || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            // One replacement per malformed sequence; resynchronise at the first byte that did
            // not belong to it.
            out += kReplacement;
            i = std::max(j, i + 1);
            continue;
        }
        appendUtf16(out, cp);
        i = j;
    }
    return out;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::string folderPath(std::string_view path) {
    std::string out(path);
    if (out.empty() || out.back() != '/') out += '/';
    return out;
}

std::int32_t scaleDraw(float r, std::int32_t lower, std::int32_t upper) {
    const double n = static_cast<double>(upper) - lower + 1.0;
    const double v = std::floor(static_cast<double>(r) * n + lower);
    // Near the int limits the sum can round up to upper + 1 for r just below 1; the range
    // contract is the callers' only guarantee, so hold it here.
    if (!(v >= lower)) return lower;
    if (v > upper) return upper;
    return static_cast<std::int32_t>(v);
}

std::int32_t randomInRange(plat::Services& sv, std::int32_t lower, std::int32_t upper) {
    // Mixing the tick into the running state (instead of seeding from it) keeps draws in the
    // same millisecond apart: a 48-card shuffle happens well inside one tick.
    sv.random.mix(sv.clock.timeGetTime());
    const float r = sv.random.nextFloat();
    const std::int64_t n = static_cast<std::int64_t>(upper) - lower + 1;
    if (n > std::numeric_limits<std::int32_t>::max()) {
        reportError(sv, kErrOverflow, kDescOverflow, kLabelRndNum);
        return 0;
    }
    if (n < 1) {
        // A reversed range would give numbers outside both bounds.
        reportError(sv, kErrInvalidCall, kDescInvalidCall, kLabelRndNum);
        return 0;
    }
    return scaleDraw(r, lower, upper);
}

bool textOut(plat::Services& sv, std::u16string_view text, plat::Surface& dc, int x, int y) {
    try {
        if (dc.isNull()) return false;
        // The text goes over as UTF-8, a Japanese character in three bytes.
        const std::string bytes = toUtf8(text);
        return sv.text.textOut(dc, x, y, bytes) == 1;
    } catch (...) {
        reportException(sv, kLabelTextOut);
        return false;
    }
}

void countFrame(plat::IClock& clock, FrameRate& rate) {
    const std::uint32_t now = clock.timeGetTime();
    const bool first = rate.lastSecond == 0 && rate.count == 0 && rate.startTime == 0;
    // Unsigned difference: the tick wraps after 49.7 days and must not end the battle.
    const std::uint32_t elapsed = now - static_cast<std::uint32_t>(rate.startTime);
    if (first || elapsed > 1000) {
        rate.lastSecond = rate.count;
        rate.startTime = static_cast<std::int32_t>(now);
        rate.count = 1;
    } else if (rate.count < std::numeric_limits<std::int32_t>::max()) {
        ++rate.count;
    }
}

std::string errorLogPath(plat::IProcess& process) {
    const plat::Version v = process.version();
    return folderPath(process.exeFolder()) + process.exeName() + "Ver" +
           std::to_string(v.revision) + "." + std::to_string(v.major) + "." +
           std::to_string(v.minor) + "_Error.log";
}

std::string errorLogLine(const plat::LocalTime& t, std::string_view label,
                         std::u16string_view description) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "[%04d/%02d/%02d %02d:%02d:%02d]", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    // One entry per line: a line break inside the description would split the entry.
    std::u16string flat(description);
    for (char16_t& c : flat) {
        if (c == u'\r' || c == u'\n') c = u' ';
    }
    return std::string(stamp) + std::string(label) + ":" + toUtf8(flat);
}

void writeErrorLog(plat::Services& sv, std::int32_t, std::u16string_view description,
                   std::string_view label, std::u16string_view) {
    try {
        const std::string path = errorLogPath(sv.process);
        const std::string line = errorLogLine(sv.process.localTime(), label, description);
        // A log that cannot be written is given up silently; the box still follows.
        sv.process.appendToFile(path, line + "\r\n");
    } catch (const std::exception&) {
    }
}

std::u16string showErrorBox(plat::Services& sv, std::int32_t number,
                            std::u16string_view description) {
    std::u16string text = u"次の障害が発生しました。\r\rｴﾗｰ番号 : ";
    text += decimal(number);
    text += u'\r';
    text += description;
    sv.windows.messageBox(text, u"", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
    return text;
}

void reportError(plat::Services& sv, std::int32_t number, std::u16string_view description,
                 std::string_view label) {
    writeErrorLog(sv, number, description, label, u"");
    try {
        showErrorBox(sv, number, description);
    } catch (const std::exception&) {
    }
}

} // namespace common
