#include "platform/PosixProcess.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

#ifndef HARUVEL_VERSION_MAJOR
#error "the build must define HARUVEL_VERSION_MAJOR, _MINOR and _REVISION"
#endif

namespace plat {

PosixProcess::PosixProcess() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty()) {
        // Without /proc the log still has a writable home: the working folder.
        folder_ = std::filesystem::current_path(ec).string();
        name_ = "program";
        return;
    }
    folder_ = exe.parent_path().string();
    name_ = exe.stem().string();
}

Version PosixProcess::version() {
    return Version{HARUVEL_VERSION_MAJOR, HARUVEL_VERSION_MINOR, HARUVEL_VERSION_REVISION};
}

LocalTime PosixProcess::localTime() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (localtime_r(&now, &tm) == nullptr) return LocalTime{};
    return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday,
                     tm.tm_hour,        tm.tm_min,     tm.tm_sec};
}

bool PosixProcess::appendToFile(const std::string& path, std::string_view bytes) {
    // Non-blocking: a FIFO in the log's place would wait for a reader forever; it is refused.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return false;
    struct stat before {};
    if (::fstat(fd, &before) != 0 || !S_ISREG(before.st_mode)) {
        ::close(fd);
        return false;
    }
    // One call for the whole entry; when the disk fills part-way, the file goes back to its
    // size before the attempt, so no cut-off line stays for the next entry to be glued onto.
    ssize_t written;
    do {
        written = ::write(fd, bytes.data(), bytes.size());
    } while (written < 0 && errno == EINTR);
    const bool whole = written == static_cast<ssize_t>(bytes.size());
    if (!whole && ::ftruncate(fd, before.st_size) != 0) {
        // Nothing more can be done: the log is already failing.
    }
    const bool closed = ::close(fd) == 0;
    return whole && closed;
}

void PosixProcess::exitNow(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

} // namespace plat
