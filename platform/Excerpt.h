// The one way a message quotes what it read: a damaged file must not reach the terminal as
// escape sequences, bytes that are not UTF-8, or a line of a megabyte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

inline constexpr std::size_t kExcerptChars = 60;
// For file names: written out whole, only made safe.
inline constexpr std::size_t kWhole = static_cast<std::size_t>(-1);

// At most `most` characters of `input` ("..." after a cut), each control character (C0, DEL,
// C1) and each byte that is not part of well-formed UTF-8 written as \xNN.
std::string excerpt(std::string_view input, std::size_t most = kExcerptChars);

} // namespace plat
