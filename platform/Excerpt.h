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

// `input` with each control character (C0, DEL, C1) and each byte that is not part of
// well-formed UTF-8 written as \xNN, cut after at most `most` bytes of that ("..." follows a
// cut): 60 characters of plain text, fewer of others, so a message stays one short line.
std::string excerpt(std::string_view input, std::size_t most = kExcerptChars);

} // namespace plat
