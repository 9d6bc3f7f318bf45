#include "platform/PosixProcess.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

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
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (f == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    const bool closed = std::fclose(f) == 0;
    return written && closed;
}

void PosixProcess::exitNow(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

} // namespace plat
