// Files a person names (scenario files, scripts, recordings): only a regular file is opened,
// and reading stops at a stated limit. A folder, a FIFO or a device in a file's place is
// refused with a reason instead of throwing, blocking or filling the memory.
#pragma once

#include <cstdint>
#include <string>

namespace plat {

inline constexpr std::uint64_t kMiB = 1 << 20;

enum class FileRead : std::uint8_t {
    Ok,
    Missing,    // no such file, or it cannot be opened
    NotRegular, // a folder, a FIFO, a device...
    TooLarge,   // more than the limit
    Unreadable, // opened, then a read failed
};

// Reads the file at `path` into `text` when it is a regular file of at most `limit` bytes;
// `text` is left empty otherwise.
FileRead readFileText(const std::string& path, std::uint64_t limit, std::string& text);

// What a refusal says: "not a regular file", "larger than 16 MiB", ...
std::string unreadText(FileRead result, std::uint64_t limit);

} // namespace plat
