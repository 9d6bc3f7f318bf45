#include "apps/tekkel/TekkelTool.h"

#include <charconv>
#include <fstream>
#include <ostream>

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
#include "tekkel/Disassembler.h"
#include "tekkel/Formatter.h"
#include "tekkel/Interpreter.h"

namespace tekkel_tool {

namespace {

using tekkel::Unit;

constexpr const char* kHelp =
    R"(usage: tekkel list
       tekkel check FILE...
       tekkel run FILE [--script N] [--seed S] [--max-frames F] [--max-steps C]
                       [--lang ja|en]
       tekkel fmt FILE... [--write]
       tekkel --help

list    prints every built-in script and event object's own script in the text form.
check   reads each FILE and reports its errors as FILE:LINE:COLUMN: message.
run     loads FILE's scripts into the built-in field (map, objects and the other built-in
        scripts stay) and runs script N (default: the lowest-numbered in FILE) as the system
        script, frame by frame on a virtual clock of 40 ms frames, until it ends. Each message
        box's text is printed as it appears (answered OK), then R1..R5. A script failure prints
        the error report to standard error. --seed fixes the random source (default 12345);
        --max-frames gives up after F frames (default 1000000), --max-steps after C commands
        (default 100000000; counted in steps of 128), for a script that never yields.
        --lang prints the texts the built-in demo translates (scenarios/demo/*.lang) in
        that language (default: as the scripts write them).
fmt     prints each FILE in the canonical layout, the one `list` writes: labels at column 1,
        commands indented by four, operands after one blank and separated by ", ", names
        spelled as in the command table, comments after code at column 37, comment lines and
        single blank lines kept. --write rewrites the files instead. A file with errors is
        reported as check does and left as it is.
Exit status: 0 done, 1 errors in a file or a failed script, 2 a wrong command line.
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
    if (tekkel::assemble(text, unit, errors)) return true;
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

int check(const std::vector<std::string>& files, std::ostream& out, std::ostream& err) {
    if (files.empty()) {
        err << "tekkel check: no file given\n";
        return 2;
    }
    int status = 0;
    for (const std::string& f : files) {
        Unit unit;
        if (!load(f, unit, err)) {
            status = 1;
            continue;
        }
        out << plat::excerpt(f, plat::kWhole) << ": " << unit.scripts.size() << " scripts, "
            << unit.ownScripts.size() << " own scripts\n";
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
};

// Runs the armed system script frame by frame until it ends; false (the reason on `err`) when
// it outlasts --max-frames or --max-steps. One command budget serves the whole run: a frame
// that never ends is never counted by --max-frames.
bool runFrames(field::World& world, plat::testing::TestServices& ts, long long script,
               const RunOptions& o, std::ostream& out, std::ostream& err) {
    tekkel::Pump pump(ts.services, tekkel::PumpPolicy::None,
                      static_cast<std::uint64_t>(o.maxSteps));
    for (long long frame = 0; world.systemScriptActive; ++frame) {
        if (frame == o.maxFrames) {
            err << "tekkel: script " << script << " still runs after " << o.maxFrames
                << " frames\n";
            return false;
        }
        if (const tekkel::Run* held = field::runFrameScripts(world, ts.services, pump, out)) {
            err << "tekkel: "
                << tekkel::stoppedRunText(*held, "still runs after --max-steps " +
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
    if (!buildField(world, &translations) || !tekkel::installScripts(world.machine, unit) ||
        !field::installOwnScripts(world, unit)) {
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
        err << printable(box.text) << '\n';
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
                                                  : nullptr;
        if (a == "--lang" && i + 1 < args.size() && (args[i + 1] == "ja" || args[i + 1] == "en")) {
            o.language = args[++i];
        } else if (a == "--lang") {
            err << "tekkel run: --lang takes ja or en\n";
            return 2;
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
    if (command == "--help" || command == "-h" || command == "help") {
        out << kHelp;
        return 0;
    }
    if (command == "list" && args.size() == 1) return list(out, err);
    if (command == "check") return check({args.begin() + 1, args.end()}, out, err);
    if (command == "run") return runCommand(args, out, err);
    if (command == "fmt") return format({args.begin() + 1, args.end()}, out, err);
    err << "tekkel: unknown command line; see tekkel --help\n";
    return 2;
}

} // namespace tekkel_tool
