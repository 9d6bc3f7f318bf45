#include "tekkel/Trace.h"

#include <iterator>
#include <ostream>

#include "tekkel/Disassembler.h"
#include "tekkel/SourceMap.h"

namespace tekkel {

namespace {

struct ValueRegister {
    const char* name;
    Value Run::*member;
};
constexpr ValueRegister kValues[] = {{"R1", &Run::R1}, {"R2", &Run::R2}, {"R3", &Run::R3},
                                     {"R4", &Run::R4}, {"R5", &Run::R5}, {"D1", &Run::D1},
                                     {"D2", &Run::D2}, {"D3", &Run::D3}};

struct NumberRegister {
    const char* name;
    std::int32_t Run::*member;
};
// The address is left out: every command moves it.
constexpr NumberRegister kNumbers[] = {{"space", &Run::space},
                                       {"varIndex", &Run::varIndex},
                                       {"mapSelect", &Run::mapSelect},
                                       {"work", &Run::work},
                                       {"scriptNumber", &Run::scriptNumber},
                                       {"activeObject", &Run::activeObject},
                                       {"testX", &Run::testX},
                                       {"testY", &Run::testY}};

struct FlagRegister {
    const char* name;
    bool Run::*member;
};
constexpr FlagRegister kFlags[] = {{"zeroFlag", &Run::zeroFlag},
                                   {"negativeFlag", &Run::negativeFlag},
                                   {"invalidFlag", &Run::invalidFlag}};

// Values of another kind differ even when they compare equal (5 and 5L), and a nan stays the
// same nan.
bool changed(const Value& a, const Value& b) {
    return a.kind != b.kind || valueText(a) != valueText(b);
}

} // namespace

Trace::Registers Trace::registersOf(const Run& run) {
    Registers r;
    static_assert(std::size(kValues) == std::size(r.values) &&
                  std::size(kNumbers) == std::size(r.numbers) &&
                  std::size(kFlags) == std::size(r.flags));
    for (std::size_t i = 0; i < std::size(kValues); ++i)
        r.values[i] = run.*kValues[i].member;
    for (std::size_t i = 0; i < std::size(kNumbers); ++i)
        r.numbers[i] = run.*kNumbers[i].member;
    r.testLayer = run.testLayer;
    r.testPlane = run.testPlane;
    for (std::size_t i = 0; i < std::size(kFlags); ++i)
        r.flags[i] = run.*kFlags[i].member;
    return r;
}

std::string Trace::written(const Registers& was, const Run& now) {
    std::string s;
    const auto add = [&](const char* name, const std::string& text) {
        s += s.empty() ? " =>" : "";
        s += std::string(" ") + name + "=" + text;
    };
    for (std::size_t i = 0; i < std::size(kValues); ++i)
        if (const Value& v = now.*kValues[i].member; changed(was.values[i], v))
            add(kValues[i].name, valueText(v));
    for (std::size_t i = 0; i < std::size(kNumbers); ++i)
        if (const std::int32_t n = now.*kNumbers[i].member; was.numbers[i] != n)
            add(kNumbers[i].name, std::to_string(n));
    if (was.testLayer != now.testLayer) add("testLayer", std::to_string(now.testLayer));
    if (was.testPlane != now.testPlane) add("testPlane", std::to_string(now.testPlane));
    for (std::size_t i = 0; i < std::size(kFlags); ++i)
        if (const bool f = now.*kFlags[i].member; was.flags[i] != f)
            add(kFlags[i].name, f ? "true" : "false");
    return s;
}

Trace::Trace(std::ostream& out, std::int32_t fromLine)
    : out_(out), fromLine_(fromLine), started_(fromLine <= 0) {}

void Trace::beginFrame(std::int64_t frame) {
    frame_ = frame;
    out_.flush();
}

void Trace::before(const Run& run, const Script* script) {
    const SourcePlace* place = script ? sourceAt(*script, run.address) : nullptr;
    if (!started_ && place && place->line == fromLine_) started_ = true;
    if (!started_) return;
    line_ = "frame " + std::to_string(frame_) + " " + run_ + " ";
    if (place) {
        line_ += (script->source->file.empty() ? "" : script->source->file + ":") +
                 std::to_string(place->line) + " " + place->text;
    } else {
        line_ += "script " + std::to_string(run.scriptNumber) + " address " +
                 std::to_string(run.address);
        const auto at = static_cast<std::size_t>(run.address);
        if (script && run.address >= 0 && at < script->commands.size())
            line_.append(1, ' ').append(commandText(script->commands[at]));
    }
    before_ = registersOf(run);
}

void Trace::after(const Run& run) {
    if (!started_ || line_.empty()) return;
    out_ << line_ << written(before_, run) << '\n';
    line_.clear();
}

} // namespace tekkel
