#include "platform/FileRead.h"

#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace plat {

namespace {

bool regular(const struct stat& st) {
    return S_ISREG(st.st_mode);
}

// Reads up to limit + 1 bytes: a file that grows after its size was looked at is still
// caught at the limit.
FileRead readAll(int fd, std::uint64_t limit, std::string& text) {
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return FileRead::Unreadable;
        if (n == 0) return FileRead::Ok;
        if (text.size() + static_cast<std::size_t>(n) > limit) return FileRead::TooLarge;
        text.append(buf, static_cast<std::size_t>(n));
    }
}

} // namespace

FileRead readFileText(const std::string& path, std::uint64_t limit, std::string& text) {
    text.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return FileRead::Missing;
    if (!regular(st)) return FileRead::NotRegular;
    // Non-blocking: a FIFO put in the file's place after the look above must not hang the open.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FileRead::Missing;
    FileRead result = FileRead::Ok;
    if (::fstat(fd, &st) != 0)
        result = FileRead::Unreadable;
    else if (!regular(st))
        result = FileRead::NotRegular;
    else if (static_cast<std::uint64_t>(st.st_size) > limit)
        result = FileRead::TooLarge;
    else
        try {
            text.reserve(static_cast<std::size_t>(st.st_size));
            result = readAll(fd, limit, text);
        } catch (const std::bad_alloc&) {
            result = FileRead::Unreadable;
        }
    ::close(fd);
    if (result != FileRead::Ok) text.clear();
    return result;
}

std::string unreadText(FileRead result, std::uint64_t limit) {
    switch (result) {
    case FileRead::Ok: return {};
    case FileRead::Missing: return "cannot open the file";
    case FileRead::NotRegular: return "not a regular file";
    case FileRead::TooLarge: return "larger than " + std::to_string(limit / kMiB) + " MiB";
    case FileRead::Unreadable: return "cannot read the file";
    }
    return {};
}

} // namespace plat
