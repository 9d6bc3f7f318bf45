// The running program on a POSIX system: its own file through /proc/self/exe, the version
// the build stamps in, local time, and appending to files.
#pragma once

#include "platform/Seams.h"

namespace plat {

class PosixProcess : public IProcess {
  public:
    PosixProcess();
    std::string exeFolder() override { return folder_; }
    std::string exeName() override { return name_; }
    Version version() override;
    LocalTime localTime() override;
    bool appendToFile(const std::string& path, std::string_view bytes) override;
    [[noreturn]] void exitNow(int code) override;

  private:
    std::string folder_;
    std::string name_;
};

} // namespace plat
