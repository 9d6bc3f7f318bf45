// Tekkel's interpreter: a run executes commands until one yields, suspends or ends, and a
// failing command opens the error report. Which runs go when is the host's to say (the field
// runs its system script, or its objects' automatic scripts, once a frame).
//
// Errors are values throughout the library: a command that cannot do its work answers
// StepResult::Failed with its error number in the step context (kErrorBadValue and the other
// names in Step.h); the interpreter turns that into the error report box, whose answer ends the
// run, skips the command or exits the program. Nothing throws.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "platform/Seams.h"
#include "tekkel/Step.h"

namespace tekkel {

inline constexpr char16_t kErrorReportTitle[] = u"Tekkelスクリプト実行エラー";

// Runs one script run until it yields, suspends, ends or runs past its last command.
// Ended when the script finished or the error report was cancelled; Yielded when it stopped
// for this frame (or the pump's command budget ran out); Failed when a failing command was
// skipped (No) and the run then went past its last command.
RunResult runScript(Machine& machine, const Host& host, Run& run, plat::Services& sv, Pump& pump,
                    std::ostream& listing);

// The error report's text for a failed command. Lines are separated by a lone CR. A script
// read from text adds a section after the others: where the command was written, as written,
// and the failure's name (SourceMap.h). The report's error is logged first (logFault).
std::u16string errorReportText(std::int32_t errorSlot, const Run& run, const Command& command,
                               const Script* script = nullptr);

// A run stopped from outside while it held the frame (a close request, a spent command
// budget), for the one line that says so: "FILE:LINE:COLUMN: script 3 at 'Jump "L"': <why>",
// or "script 3, address 12: <why>" for a script without a source.
std::string stoppedRunText(const Machine& machine, const Run& run, std::string_view why);

} // namespace tekkel
