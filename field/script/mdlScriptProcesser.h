// Tekkel: the interpreter's entry points. A frame runs either the system script alone or the
// enabled objects' automatic scripts in object order; each run executes commands until one
// yields, suspends or ends, and a failing command opens the error report.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "field/World.h"
#include "field/script/ScriptContext.h"
#include "platform/Seams.h"

namespace mdlScriptProcesser {

inline constexpr char16_t kErrorReportTitle[] = u"Tekkelスクリプト実行エラー";

// Runs this frame's scripts: the system script alone, or the enabled objects' automatic
// scripts in object order. The window system is pumped as PumpPolicy::Throttled describes.
void psRunFrameScripts(field::World& world, plat::Services& sv);
// The same with a given pump (policy and command budget) and listing destination.
void psRunFrameScripts(field::World& world, plat::Services& sv, Pump& pump, std::ostream& listing);

// Runs one script run until it yields, suspends, ends or runs past its last command.
// Ended when the script finished or the error report was cancelled; Yielded when it stopped
// for this frame (or the pump's command budget ran out); Failed when a failing command was
// skipped (No) and the run then went past its last command.
RunResult pfRun(field::World& world, ScriptRun& run, plat::Services& sv, Pump& pump,
                std::ostream& listing);

// The error report's text for a failed command. Lines are separated by a lone CR.
std::u16string pfErrorReportText(std::int32_t errorSlot, const ScriptRun& run,
                                 const ScriptCommand& command);

} // namespace mdlScriptProcesser
