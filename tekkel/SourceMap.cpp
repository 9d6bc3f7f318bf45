#include "tekkel/SourceMap.h"

#include "common/Utility.h"
#include "tekkel/Disassembler.h"
#include "tekkel/Opcodes.h"
#include "tekkel/Registers.h"
#include "tekkel/Step.h"

namespace tekkel {

namespace {

constexpr std::string_view kLogLabel = "tekkel/runScript";

bool isZero(const Value& v) {
    double d = 0;
    return toDouble(v, d) && d == 0;
}

// A division whose divisor is 0 as the run holds it now: a failed division writes nothing.
bool dividesByZero(const Command& c, const Run& run) {
    const Op op = static_cast<Op>(c.code);
    const Value& p2 = c.p2.isEmpty() ? run.D2 : c.p2;
    if (op == Op::IntDivValue || op == Op::DivValue) return isZero(p2);
    if (op != Op::IntDiv && op != Op::Div) return false;
    std::int32_t reg = 0;
    if (toInt32(p2, reg) != Status::Ok) return false;
    Run copy = run;
    const Value* divisor = valueRegister(copy, static_cast<std::int16_t>(reg));
    return divisor && isZero(*divisor);
}

} // namespace

const SourcePlace* sourceAt(const Script& script, std::int32_t address) {
    if (!script.source || address < 0) return nullptr;
    const auto& places = script.source->commands;
    if (static_cast<std::size_t>(address) >= places.size()) return nullptr;
    const SourcePlace& p = places[static_cast<std::size_t>(address)];
    return p.line > 0 ? &p : nullptr;
}

std::string placeText(const SourceMap& map, std::int32_t line, std::int32_t column) {
    const std::string at = std::to_string(line) + ":" + std::to_string(column);
    return map.file.empty() ? at : map.file + ":" + at;
}

std::string faultName(std::int32_t error, const Command& command, const Run& run) {
    const Op op = static_cast<Op>(command.code);
    if (op == Op::Break) return "break";
    switch (error) {
    case kErrorBadValue:
        if (!commandInfo(command.code)) return "unknown command";
        return dividesByZero(command, run) ? "division by zero" : "bad value";
    case kErrorReserved:
        return isReservedCode(command.code) ? "reserved command" : "no such variable space";
    case kErrorNoSuchName: return op == Op::Chain ? "no such script" : "no such label";
    default: return "failed";
    }
}

std::string faultLine(std::int32_t error, const Run& run, const Command& command,
                      const Script* script) {
    const std::string what =
        "error " + std::to_string(error) + " (" + faultName(error, command, run) + "): ";
    if (const SourcePlace* p = script ? sourceAt(*script, run.address) : nullptr)
        return placeText(*script->source, p->line, p->column) + ": " + what + p->text;
    return "script " + std::to_string(run.scriptNumber) + ", address " +
           std::to_string(run.address) + ": " + what + commandText(command);
}

void logFault(plat::Services& sv, std::int32_t error, const Run& run, const Command& command,
              const Script* script) {
    common::writeErrorLog(sv, error, common::fromUtf8(faultLine(error, run, command, script)),
                          kLogLabel, u"");
}

} // namespace tekkel
