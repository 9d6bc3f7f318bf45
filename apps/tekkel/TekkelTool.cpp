#include "apps/tekkel/TekkelTool.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>

#include "common/Utility.h"
#include "field/EventObjects.h"
#include "field/ScenarioReader.h"
#include "field/ScenarioTranslations.h"
#include "field/World.h"
#include "field/script/ScriptHost.h"
#include "platform/Excerpt.h"
#include "platform/FileRead.h"
#include "platform/testing/TestSeams.h"
#include "tekkel/Assembler.h"
#include "tekkel/Checks.h"
#include "tekkel/Disassembler.h"
#include "tekkel/Formatter.h"
#include "tekkel/Interpreter.h"
#include "tekkel/Opcodes.h"
#include "tekkel/Trace.h"

namespace tekkel_tool {

namespace {

using tekkel::Unit;

constexpr const char* kHelp =
    R"(usage: tekkel list
       tekkel check [--strict] FILE...
       tekkel run FILE [--script N] [--seed S] [--max-frames F] [--max-steps C]
                       [--lang ja|en] [--trace] [--trace-from LINE]
       tekkel fmt FILE... [--write]
       tekkel help [NAME]
       tekkel --help

list    prints every built-in script and event object's own script in the text form.
check   reads each FILE and reports its errors as FILE:LINE:COLUMN: message: mistakes of the
        text, and those the scripts show before they run (a jump to no label of its script,
        a Chain to no script of FILE or the built-in field, a literal divisor of 0, a literal
        outside its parameter's range). Commands that never run are warnings,
        FILE:LINE:COLUMN: warning: message; --strict fails on them too.
run     loads FILE's scripts into the built-in field (map, objects and the other built-in
        scripts stay) and runs script N (default: the lowest-numbered in FILE) as the system
        script, frame by frame on a virtual clock of 40 ms frames, until it ends. Each message
        box's text is printed as it appears (answered OK), then R1..R5. A script failure prints
        FILE:LINE:COLUMN: error N (name): the command as written, then the error report, to
        standard error. --seed fixes the random source (default 12345); --max-frames gives up
        after F frames (default 1000000), --max-steps after C commands in all (default
        100000000; counted in steps of 128), which also ends a script that never yields. --lang prints the texts
        the built-in demo translates (scenarios/demo/*.lang) in that language (default: as
        the scripts write them). --trace prints a line for every command executed: the
        frame, the run (system or object N), FILE:LINE, the command as written and the
        registers whose values it changed ("=> R1=5 zeroFlag=false"); --trace-from LINE starts
        those lines when a command written on LINE first runs.
fmt     prints each FILE in the canonical layout, the one `list` writes: labels at column 1,
        commands indented by four, operands after one blank and separated by ", ", names
        spelled as in the command table, comments after code at column 37, comment lines and
        single blank lines kept. --write rewrites the files instead. A file with errors is
        reported as check does and left as it is.
help    prints a command's or a register's line of the command table (its operands and what
        it does); alone, every command and register.
Exit status: 0 done, 1 errors in a file or a failed script, 2 a wrong command line.

The text form (.tkl files):
  script N ["name"] [last K]  starts stored script N (1..20), named for Chain; `last K` makes
                              it reach address K (commands not written are never filled)
  own N ["name"] [last K]     starts event object N's own script
  name:                       a label, the target of Jump "name"; a command may follow it
  Command P1, P2, P3          by name (any case) or code; a parameter left blank or left out
                              at the end takes D1..D3
  ; a comment                 to the end of the line
Values: 5 (16-bit), 5L or 70000 (32-bit), 1.5 (real), 1.5f (32-bit real), inf, nan, true,
false, null, "text" with \r \n \t \" \\ \uXXXX. Where a parameter takes a register, its name:
R1..R5, D1..D3, var, space, varIndex, mapSelect, work, scriptNumber, address, zeroFlag,
negativeFlag, invalidFlag, activeObject, testLayer, testPlane, testX, testY.
  script 7 "count"
      Set R1, 0
  again: Inc R1
      CompareValue R1, 10
      JumpIfNotZero "again"
)";

// Text boxes break lines with a carriage return alone; a terminal wants a line feed.
std::string printable(const std::u16string& text) {
    std::string s = common::toUtf8(text);
    for (char& c : s)
        if (c == '\r') c = '\n';
    return s;
}

// A message as `run` prints it: in the language asked for, when the demo translates it.
std::string printed(const field::TextTable* table, const std::u16string& text) {
    const auto it = table ? table->find(text) : field::TextTable::const_iterator{};
    return printable(table && it != table->end() ? it->second.shown : text);
}

// A script failure's first line on a terminal, "FILE:LINE:COLUMN: error N (name): command",
// read back from the report's lines; empty for a script without a source.
std::string faultLine(const std::string& report) {
    std::string number, source, name;
    const std::pair<std::string_view, std::string*> fields[] = {
        {"Error Number  : ", &number}, {"Source        : ", &source}, {"Error Name    : ", &name}};
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);)
        for (const auto& [label, value] : fields)
            if (line.starts_with(label)) *value = line.substr(label.size());
    const std::size_t gap = source.find("  ");
    if (gap == std::string::npos) return {};
    return source.substr(0, gap) + ": error " + number + " (" + name +
           "): " + source.substr(gap + 2) + "\n";
}

// The field as the program starts on it, read from the embedded demo folder, without a window.
bool buildField(field::World& world, field::ScenarioTranslations* translations = nullptr) {
    std::vector<field::ScenarioError> errors;
    return field::readBuiltInScenario(world, errors, translations);
}

constexpr std::uint64_t kMaxFileBytes = 16 * plat::kMiB;

bool readFile(const std::string& path, std::string& text, std::ostream& err) {
    const plat::FileRead read = plat::readFileText(path, kMaxFileBytes, text);
    if (read == plat::FileRead::Ok) return true;
    err << plat::excerpt(path, plat::kWhole) << ": " << plat::unreadText(read, kMaxFileBytes)
        << '\n';
    return false;
}

bool load(const std::string& path, Unit& unit, std::ostream& err) {
    std::string text;
    if (!readFile(path, text, err)) return false;
    std::vector<tekkel::AssemblyError> errors;
    if (tekkel::assemble(text, unit, errors, {}, {path})) return true;
    for (const auto& e : errors)
        err << tekkel::errorText(path, e) << '\n';
    return false;
}

int list(std::ostream& out, std::ostream& err) {
    field::World world;
    if (!buildField(world)) {
        err << "tekkel: the built-in field could not be built\n";
        return 1;
    }
    out << "; The built-in scripts and the event objects' own scripts.\n";
    for (std::int32_t n = 1; n <= world.machine.scriptCount; ++n) {
        const auto& s = world.machine.scripts[static_cast<std::size_t>(n)];
        if (s.commands.empty()) continue;
        out << '\n' << tekkel::listScript(n, s);
    }
    for (std::int32_t n = 1; n <= world.eventCount; ++n) {
        const auto& s = world.events[static_cast<std::size_t>(n)].ownScript;
        if (s.commands.empty()) continue;
        out << '\n' << tekkel::listOwnScript(n, s);
    }
    return 0;
}

// Whether a Chain from a file run on the built-in field finds one of the field's scripts.
bool builtInFinds(const field::World& world, const tekkel::Value& target) {
    const auto& scripts = world.machine.scripts;
    for (std::size_t n = 1; n < scripts.size(); ++n) {
        if (scripts[n].commands.empty()) continue;
        if (target.isString() ? scripts[n].name == target.s
                              : tekkel::valueText(target) == std::to_string(n))
            return true;
    }
    return false;
}

// One file: its text errors, or what its scripts show before they run. Answers whether it
// passes (warnings fail only when strict).
// "1 script", "2 scripts".
std::string counted(std::size_t n, const char* noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

bool checkFile(const std::string& f, const field::World& world, bool strict, std::ostream& out,
               std::ostream& err) {
    Unit unit;
    if (!load(f, unit, err)) return false;
    const auto found = tekkel::checkUnit(
        unit, world.eventCount, [&](const tekkel::Value& v) { return builtInFinds(world, v); });
    bool pass = true;
    for (const auto& e : found) {
        err << tekkel::errorText(f, e) << '\n';
        pass = pass && e.warning && !strict;
    }
    if (pass)
        out << plat::excerpt(f, plat::kWhole) << ": " << counted(unit.scripts.size(), "script")
            << ", " << counted(unit.ownScripts.size(), "own script") << "\n";
    return pass;
}

int check(std::vector<std::string> files, std::ostream& out, std::ostream& err) {
    const auto strict = std::find(files.begin(), files.end(), "--strict");
    const bool isStrict = strict != files.end();
    if (isStrict) files.erase(strict);
    if (files.empty()) {
        err << "tekkel check: no file given\n";
        return 2;
    }
    field::World world;
    if (!buildField(world)) {
        err << "tekkel: the built-in field could not be built\n";
        return 1;
    }
    int status = 0;
    for (const std::string& f : files)
        if (!checkFile(f, world, isStrict, out, err)) status = 1;
    return status;
}

// `help NAME`: the command's or the register's line; `help`: every one.
int help(const std::vector<std::string>& names, std::ostream& out, std::ostream& err) {
    const auto commandLine = [&](const tekkel::CommandInfo& c) {
        const tekkel::CommandHelp h = tekkel::commandHelp(c.op);
        out << c.name << " (" << tekkel::opCode(c.op) << ")" << (h.operands.empty() ? "" : "  ")
            << h.operands << "  -- " << h.effect << '\n';
    };
    const auto registerLine = [&](std::string_view name, std::int16_t n) {
        out << name << " (register " << n << ")  -- " << tekkel::registerHelp(n) << '\n';
    };
    if (names.empty()) {
        for (const tekkel::CommandInfo& c : tekkel::allCommands())
            commandLine(c);
        for (std::int16_t n = -1; n <= 403; ++n)
            if (const std::string_view name = tekkel::registerName(n); !name.empty())
                registerLine(name, n);
        return 0;
    }
    int status = 0;
    for (const std::string& name : names) {
        std::int16_t reg = 0;
        if (const tekkel::CommandInfo* c = tekkel::commandNamed(name)) {
            commandLine(*c);
        } else if (tekkel::registerNamed(name, reg)) {
            registerLine(tekkel::registerName(reg), reg);
        } else {
            err << "tekkel help: no command or register is named '" << plat::excerpt(name) << "'\n";
            status = 1;
        }
    }
    return status;
}

// Prints FILE in the canonical layout, or rewrites it with `write`; refuses a file with errors,
// and a layout that would change what the file assembles to.
bool formatFile(const std::string& path, bool write, std::ostream& out, std::ostream& err) {
    std::string text;
    if (!readFile(path, text, err)) return false;
    Unit before, after;
    std::vector<tekkel::AssemblyError> errors;
    if (!tekkel::assemble(text, before, errors)) {
        for (const auto& e : errors)
            err << tekkel::errorText(path, e) << '\n';
        return false;
    }
    const std::string formatted = tekkel::formatText(text);
    if (!tekkel::assemble(formatted, after, errors) || !tekkel::sameProgram(before, after)) {
        err << plat::excerpt(path, plat::kWhole)
            << ": the canonical layout would change the program; left as it is\n";
        return false;
    }
    if (!write) {
        out << formatted;
        return true;
    }
    if (formatted == text) return true;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << formatted << std::flush;
    if (file) return true;
    err << plat::excerpt(path, plat::kWhole) << ": cannot write the file\n";
    return false;
}

int format(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool write = false;
    std::vector<std::string> files;
    for (const std::string& a : args) {
        if (a == "--write") {
            write = true;
        } else if (a.starts_with("--")) {
            err << "tekkel fmt: unexpected '" << a << "'\n";
            return 2;
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        err << "tekkel fmt: no file given\n";
        return 2;
    }
    int status = 0;
    for (const std::string& f : files)
        if (!formatFile(f, write, out, err)) status = 1;
    return status;
}

bool number(const std::string& text, long long& value) {
    const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
    return r.ptr == text.data() + text.size() && r.ec == std::errc{};
}

struct RunOptions {
    std::string file;
    long long script = -1;
    long long seed = 12345;
    long long maxFrames = 1000000;
    std::string language; // empty: the texts as written
    long long maxSteps = 100000000;
    bool trace = false;
    long long traceFrom = 0;
};

// Runs the armed system script frame by frame until it ends; false (the reason on `err`) when
// it outlasts --max-frames or --max-steps. One command budget serves the whole run: a frame
// that never ends is never counted by --max-frames.
bool runFrames(field::World& world, plat::testing::TestServices& ts, long long script,
               const RunOptions& o, std::ostream& out, std::ostream& err) {
    tekkel::Pump pump(ts.services, tekkel::PumpPolicy::None,
                      static_cast<std::uint64_t>(o.maxSteps));
    std::optional<tekkel::Trace> trace;
    if (o.trace) trace.emplace(out, static_cast<std::int32_t>(o.traceFrom));
    for (long long frame = 0; world.systemScriptActive; ++frame) {
        if (frame == o.maxFrames) {
            err << "tekkel: script " << script << " still runs after " << o.maxFrames
                << " frames\n";
            return false;
        }
        if (trace) trace->beginFrame(frame);
        const tekkel::Run* held =
            field::runFrameScripts(world, ts.services, pump, out, trace ? &*trace : nullptr);
        if (held) {
            err << "tekkel: "
                << tekkel::stoppedRunText(world.machine, *held,
                                          "still runs after --max-steps " +
                                              std::to_string(o.maxSteps) + " commands")
                << '\n';
            return false;
        }
        ts.clock.advance(40);
    }
    return true;
}

int run(const RunOptions& o, std::ostream& out, std::ostream& err) {
    Unit unit;
    if (!load(o.file, unit, err)) return 1;
    plat::testing::TestServices ts;
    ts.random.reseed(static_cast<std::uint64_t>(o.seed));
    field::World world;
    field::ScenarioTranslations translations;
    // The demo's translations are read only for a language asked for.
    if (!buildField(world, o.language.empty() ? nullptr : &translations) ||
        !tekkel::installScripts(world.machine, unit) || !field::installOwnScripts(world, unit)) {
        err << "tekkel: " << o.file << " does not fit the built-in field\n";
        return 1;
    }
    long long script = o.script;
    for (const auto& s : unit.scripts)
        if (o.script < 0 && (script < 0 || s.number < script)) script = s.number;
    if (script < 1 || script > world.machine.scriptCount ||
        world.machine.scripts[static_cast<std::size_t>(script)].commands.empty()) {
        err << "tekkel: no script "
            << (script < 0 ? std::string("in ") + o.file : std::to_string(script) + " to run")
            << '\n';
        return 1;
    }

    bool failed = false;
    const field::TextTable* table = translations.table(o.language);
    ts.windows.responder = [&](const plat::testing::RecordedBox& box) {
        if (box.buttons == plat::MsgButtons::Ok) {
            out << printed(table, box.text) << '\n' << std::flush;
            return plat::MsgResult::Ok;
        }
        // The script error report: give up the script.
        const std::string report = printable(box.text);
        err << faultLine(report) << report << '\n';
        failed = true;
        return plat::MsgResult::Cancel;
    };
    world.systemRun = tekkel::Run{};
    world.systemRun.scriptNumber = static_cast<std::int32_t>(script);
    world.systemScriptActive = -1;
    world.inputLocked = -1;
    if (!runFrames(world, ts, script, o, out, err)) return 1;
    if (failed) return 1;
    const tekkel::Run& r = world.systemRun;
    const std::pair<const char*, const tekkel::Value*> regs[] = {
        {"R1", &r.R1}, {"R2", &r.R2}, {"R3", &r.R3}, {"R4", &r.R4}, {"R5", &r.R5}};
    for (const auto& [name, v] : regs) {
        const std::string text = tekkel::valueText(*v);
        out << name << " =" << (text.empty() ? "" : " ") << text << '\n';
    }
    return 0;
}

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    RunOptions o;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        long long* target = a == "--script"       ? &o.script
                            : a == "--seed"       ? &o.seed
                            : a == "--max-frames" ? &o.maxFrames
                            : a == "--max-steps"  ? &o.maxSteps
                            : a == "--trace-from" ? &o.traceFrom
                                                  : nullptr;
        if (a == "--lang" && i + 1 < args.size() && (args[i + 1] == "ja" || args[i + 1] == "en")) {
            o.language = args[++i];
        } else if (a == "--lang") {
            err << "tekkel run: --lang takes ja or en\n";
            return 2;
        } else if (a == "--trace") {
            o.trace = true;
        } else if (target) {
            if (i + 1 >= args.size() || !number(args[i + 1], *target) || *target < 0) {
                err << "tekkel run: " << a << " takes a number\n";
                return 2;
            }
            ++i;
        } else if (o.file.empty() && !a.starts_with("--")) {
            o.file = a;
        } else {
            err << "tekkel run: unexpected '" << a << "'\n";
            return 2;
        }
    }
    o.trace = o.trace || o.traceFrom > 0;
    if (o.traceFrom > INT32_MAX) {
        err << "tekkel run: --trace-from takes a line number\n";
        return 2;
    }
    if (o.file.empty()) {
        err << "tekkel run: no file given\n";
        return 2;
    }
    return run(o, out, err);
}

} // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kHelp;
        return 2;
    }
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        out << kHelp;
        return 0;
    }
    if (command == "list" && args.size() == 1) return list(out, err);
    if (command == "check") return check({args.begin() + 1, args.end()}, out, err);
    if (command == "help") return help({args.begin() + 1, args.end()}, out, err);
    if (command == "run") return runCommand(args, out, err);
    if (command == "fmt") return format({args.begin() + 1, args.end()}, out, err);
    err << "tekkel: unknown command line; see tekkel --help\n";
    return 2;
}

} // namespace tekkel_tool
