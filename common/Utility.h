// The common utility library of both programs: path joining, ranged random numbers, text
// output, the frame counter, and the one error path (log line beside the executable, then a
// modal error box).
//
// How failures travel in common/: a procedure that meets a failure reports it through
// reportError (the log line, then the box, with the kErr... number and its text) and answers
// a neutral result (0, false); its caller goes on. textOut also answers false, unreported,
// for a surface it cannot draw on or a renderer that did not draw. The log is the one place
// that fails silently: a log that cannot be written must not keep the box from showing.
// Nothing throws out of common.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/Seams.h"
#include "platform/Surface.h"

namespace common {

// Error location labels: module name, slash, procedure name.
inline constexpr std::string_view kLabelFilePath = "mdlCommon/pfFilePath";
inline constexpr std::string_view kLabelRndNum = "mdlCommon/pfRndNum";
inline constexpr std::string_view kLabelTextOut = "mdlCommon/pfTextOut";

// Error numbers and descriptions of the failures these procedures can meet.
inline constexpr std::int32_t kErrInvalidCall = 5;
inline constexpr std::int32_t kErrOverflow = 6;
inline constexpr std::u16string_view kDescInvalidCall =
    u"プロシージャの呼び出し、または引数が不正です。";
inline constexpr std::u16string_view kDescOverflow = u"オーバーフローしました。";

// The frame counter of the battle loop. Starts all zero.
struct FrameRate {
    std::int32_t lastSecond = 0; // frames of the last complete second (displayed)
    std::int32_t count = 0;      // frames so far in the current second
    std::int32_t startTime = 0;  // millisecond tick at which the current second began
};

// UTF-16 <-> UTF-8, the program's text and this platform's multibyte code page. Unpaired
// surrogates and malformed byte sequences become U+FFFD, so no input is ever lost silently
// as a shorter string.
std::string toUtf8(std::u16string_view text);
std::u16string fromUtf8(std::string_view bytes);
// Where `bytes` stops being well-formed UTF-8 (the first byte that differs from its round
// trip through UTF-16), or npos when the whole text is.
std::size_t firstBadUtf8(std::string_view bytes);

// An integer in decimal ("-12"), as program text.
std::u16string decimal(std::int64_t n);

// The nearest integer, an exact half going to the even neighbour (2.5 -> 2, -3.5 -> -4);
// infinities and NaN come back as they are.
double roundHalfEven(double x);

// The text with A..Z made a..z and every other byte kept: names that are matched without
// regard to case are ASCII.
std::string asciiLower(std::string_view text);

// The folder path with the folder separator '/' appended unless it already ends in one.
// A backslash is an ordinary file-name character here, so it does not count as a separator.
std::string folderPath(std::string_view path);

// A random integer in lower..upper. The generator's running state is mixed with the clock on
// every call. An overflow of upper - lower + 1, or lower > upper, is reported through
// reportError and gives 0.
std::int32_t randomInRange(plat::Services& sv, std::int32_t lower, std::int32_t upper);
// The ranged value for one draw r (0 <= r < 1): floor(r * n + lower), never above upper.
// Assumes lower <= upper with n = upper - lower + 1 representable.
std::int32_t scaleDraw(float r, std::int32_t lower, std::int32_t upper);

// Draws the text (as UTF-8) at (x, y) with the surface's font and colours. True only when the
// text output reports exactly 1.
bool textOut(plat::Services& sv, std::u16string_view text, plat::Surface& dc, int x, int y);

// Counts one frame. A second lasts at least 1001 ms; lastSecond shows 0 during the first
// second.
void countFrame(plat::IClock& clock, FrameRate& rate);
inline void countFrame(plat::Services& sv, FrameRate& rate) {
    countFrame(sv.clock, rate);
}

// The one entry point of the error handlers: appends the log line, then shows the error box.
// Never fails and never stops the program.
void reportError(plat::Services& sv, std::int32_t number, std::u16string_view description,
                 std::string_view label);
// Appends "[YYYY/MM/DD HH:NN:SS]label:description" + CR LF to the log beside the executable.
// The number and the detail text are accepted but not written. Failures are swallowed.
void writeErrorLog(plat::Services& sv, std::int32_t number, std::u16string_view description,
                   std::string_view label, std::u16string_view detail);
// Shows the modal error box (critical icon, OK, the application's default title) and returns
// its text.
std::u16string showErrorBox(plat::Services& sv, std::int32_t number,
                            std::u16string_view description);

// The log file's full name: folder + exe name + "Ver" + revision.major.minor + "_Error.log".
std::string errorLogPath(plat::IProcess& process);
// The log line without its line end.
std::string errorLogLine(const plat::LocalTime& t, std::string_view label,
                         std::u16string_view description);

// A 64-bit FNV-1a digest of a game state. Integers go in as their fixed-width little-endian
// bytes and texts with their length first, so the digest is the same on every machine and two
// texts never run into each other.
class Digest {
  public:
    template <class T>
    requires std::is_integral_v<T> Digest& add(T value) {
        if constexpr (std::is_same_v<T, bool>) {
            byte(value ? 1 : 0);
        } else {
            auto bits = static_cast<std::make_unsigned_t<T>>(value);
            for (std::size_t i = 0; i < sizeof(T); ++i) {
                byte(static_cast<unsigned char>(bits & 0xFFu));
                bits = static_cast<decltype(bits)>(bits >> 8);
            }
        }
        return *this;
    }
    Digest& add(float value) { return add(std::bit_cast<std::uint32_t>(value)); }
    Digest& add(double value) { return add(std::bit_cast<std::uint64_t>(value)); }
    Digest& add(std::u16string_view text) {
        add(static_cast<std::uint64_t>(text.size()));
        for (char16_t c : text)
            add(c);
        return *this;
    }
    std::uint64_t value() const { return hash_; }

  private:
    void byte(unsigned char b) {
        hash_ ^= b;
        hash_ *= 0x100000001B3ULL;
    }
    std::uint64_t hash_ = 0xCBF29CE484222325ULL;
};

} // namespace common
