// A line for every command a run executes, for reading a script's way through a program after
// the fact (`tekkel run --trace`, `haruvel --trace`):
//
//   frame 3 system demo.tkl:12 Add R1, R2 => R1=5 zeroFlag=false
//
// the frame, the run ("system" or "object N"), where the command was written (or "script S
// address A" for one without a source), the command as written, and the registers whose
// values it changed, written as the text form writes them. A run being traced goes the full
// way command by command (its results are the same as the compiled records'), so a program
// that traces nothing pays only for a null check per call of the run procedure.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "tekkel/Script.h"

namespace tekkel {

class Trace {
  public:
    // Lines go to `out`; with `fromLine` > 0 none are written until a command written on that
    // line of a source runs, and every one is from then on.
    explicit Trace(std::ostream& out, std::int32_t fromLine = 0);

    // The lines of the frames before are flushed: a trace for a bug report must hold up to the
    // frame a crash or a kill ended.
    void beginFrame(std::int64_t frame);
    void beginRun(std::string name) { run_ = std::move(name); }

    // Around one command at `run.address` of `script` (null for a number naming no script).
    void before(const Run& run, const Script* script);
    void after(const Run& run);

  private:
    std::ostream& out_;
    std::int32_t fromLine_;
    bool started_;
    std::int64_t frame_ = 0;
    std::string run_ = "system";
    std::string line_; // the command's part of the line, made before it runs
    // The registers before the command: only they, not the variables, which a run of a large
    // area would otherwise copy at every command.
    struct Registers {
        Value values[8];
        std::int32_t numbers[8] = {};
        std::int16_t testLayer = 0, testPlane = 0;
        bool flags[3] = {};
    };
    static Registers registersOf(const Run& run);
    static std::string written(const Registers& was, const Run& now);
    Registers before_;
};

} // namespace tekkel
