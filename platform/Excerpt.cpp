#include "platform/Excerpt.h"

namespace plat {

namespace {

// The length of the well-formed UTF-8 sequence at `at`, 0 when there is none (a stray
// continuation byte, a cut or overlong sequence, a surrogate, past U+10FFFF).
std::size_t sequenceAt(std::string_view s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[at + i]); };
    const unsigned char b = byte(0);
    if (b < 0x80) return 1;
    const std::size_t n = b >= 0xC2 && b <= 0xDF   ? 2
                          : b >= 0xE0 && b <= 0xEF ? 3
                          : b >= 0xF0 && b <= 0xF4 ? 4
                                                   : 0;
    if (n == 0 || at + n > s.size()) return 0;
    for (std::size_t i = 1; i < n; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    const unsigned char c = byte(1);
    if ((b == 0xE0 && c < 0xA0) || (b == 0xED && c > 0x9F) || (b == 0xF0 && c < 0x90) ||
        (b == 0xF4 && c > 0x8F))
        return 0;
    return n;
}

bool control(std::string_view s, std::size_t at, std::size_t n) {
    const auto b = static_cast<unsigned char>(s[at]);
    if (n == 1) return b < 0x20 || b == 0x7F;
    return n == 2 && b == 0xC2 && static_cast<unsigned char>(s[at + 1]) < 0xA0; // C1
}

void escape(std::string& out, std::string_view bytes) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        out += "\\x";
        out += kHex[u >> 4];
        out += kHex[u & 15];
    }
}

} // namespace

std::string excerpt(std::string_view input, std::size_t most) {
    std::string out, piece;
    for (std::size_t at = 0; at < input.size();) {
        const std::size_t n = sequenceAt(input, at);
        const std::string_view bytes = input.substr(at, n == 0 ? 1 : n);
        piece.clear();
        if (n == 0 || control(input, at, n))
            escape(piece, bytes);
        else
            piece = bytes;
        if (out.size() + piece.size() > most) return out + "...";
        out += piece;
        at += bytes.size();
    }
    return out;
}

} // namespace plat
