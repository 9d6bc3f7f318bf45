// Haruvel: the quarter-view field demo. Runs the main window's load handler on the real
// platform; it returns when the program ends.
//
//   haruvel                           the built-in demo
//   haruvel --scenario DIR            the quest in the scenario folder DIR
//   haruvel --scenario DIR --check    only reads DIR: exit 0 valid, 1 with its errors on stderr
//   haruvel --scenario DIR --watch    reads DIR again whenever a file in it changes
//                                     (with --record: the replay stops at the first reading)
//   haruvel --trace FILE              a line in FILE for every command the scripts run
//   haruvel --break FILE:LINE         pauses before a command written there (repeatable)
#include <QDir>
#include <QFileSystemWatcher>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>

#include "field/LiveReload.h"
#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "field/ScenarioReader.h"
#include "field/ScriptDebugger.h"
#include "platform/qt/QtProgram.h"
#include "tekkel/Trace.h"

namespace {

constexpr plat::qt::ProgramInfo kHaruvel{
    "haruvel",
    "Haruvel",
    HARUVEL_VERSION,
    "Haruvel: a quarter-view field demo. Walk the hero, talk to people, fetch the treasure.",
    "Keys:\n"
    "  Arrow keys, keypad 8/2/4/6  walk one cell up/down/left/right\n"
    "  Keypad 9/1/7/3              walk along the map's axes\n"
    "  Shift held                  keep facing the same way while walking\n"
    "  Enter, Space or keypad 5    examine your own cell\n"
    "  Left mouse button held      walk towards the pointer\n"
    "  Ctrl+Plus / Ctrl+Minus      zoom the window in / out (1 to 4 times)\n"
    "  Ctrl+0                      zoom back to 1\n"
    "  F11                         fullscreen on / off (Esc also leaves it)\n"
    "  F12                         save the game view as a PNG in <pictures>/Haruvel/\n"
    "  F6                          pause / continue the scripts (the inspector: press >)\n",
    true};

// Watches the folder and the files in it. An editor that saves by writing a new file and
// renaming it over the old one leaves the watcher without that file, so the files are looked
// up again after every change.
void watchFolder(QFileSystemWatcher& watcher, const QString& folder, field::LiveReload& reload) {
    const auto watchFiles = [&watcher, folder] {
        const QDir dir(folder);
        for (const QString& name : dir.entryList(QDir::Files))
            watcher.addPath(dir.filePath(name));
    };
    watcher.addPath(folder);
    watchFiles();
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, [&reload, watchFiles] {
        reload.folderChanged();
        watchFiles();
    });
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, [&reload, watchFiles] {
        reload.folderChanged();
        watchFiles();
    });
}

// Sets the --break breakpoints, each on the first line at or after the one given that carries a
// command of the quest about to be played; a line with none after it ends the program.
void setBreakpoints(field::ScriptDebugger& debugger, plat::Services& sv,
                    const plat::qt::Options& options) {
    if (options.breaks.empty()) return;
    field::World quest;
    std::vector<field::ScenarioError> errors;
    const bool read = options.scenario.empty()
                          ? field::readBuiltInScenario(quest, errors)
                          : field::readScenarioFolder(options.scenario, quest, errors);
    if (!read) return; // the quest's own errors are shown when it is played
    for (const auto& [file, line] : options.breaks) {
        const std::optional<field::Breakpoint> at =
            field::commandBreakpoint(quest.machine, file, line);
        if (!at) {
            std::cerr << "haruvel: --break " << file << ":" << line << ": no command is written "
                      << "on that line of " << file << " or after it\n";
            sv.process.exitNow(plat::kExitRefused);
        }
        if (at->line != line)
            std::cerr << "haruvel: --break " << file << ":" << line << " stops on line " << at->line
                      << ", the next one with a command\n";
        if (!debugger.hasBreakpoint(at->file, at->line))
            debugger.toggleBreakpoint(at->file, at->line);
    }
}

void play(plat::Services& sv, const plat::qt::Options& options) {
    field::MainWindow form(sv);
    field::PlayAids aids;
    // It costs nothing until a breakpoint, a pause or a step is asked for.
    field::ScriptDebugger debugger(sv);
    setBreakpoints(debugger, sv, options);
    aids.debugger = &debugger;
    std::ofstream traceFile;
    std::unique_ptr<tekkel::Trace> trace;
    if (!options.trace.empty()) {
        traceFile.open(options.trace, std::ios::binary | std::ios::trunc);
        if (!traceFile) std::cerr << "haruvel: cannot write " << options.trace << "\n";
        trace = std::make_unique<tekkel::Trace>(traceFile);
        aids.trace = trace.get();
    }
    std::optional<field::LiveReload> reload;
    QFileSystemWatcher watcher;
    if (options.watch) {
        reload.emplace(options.scenario);
        watchFolder(watcher, QString::fromStdString(options.scenario), *reload);
        aids.atFrameStart = [&](field::World& world) {
            reload->atFrameStart(world, form, sv, std::cerr);
        };
    }
    field::inspectPlay(form, debugger, aids);
    if (options.scenario.empty())
        field::runBuiltInDemo(form, sv, std::move(aids));
    else
        field::runScenario(form, sv, options.scenario, std::move(aids));
}

} // namespace

int main(int argc, char** argv) {
    return plat::qt::runProgram(
        argc, argv, kHaruvel,
        [](plat::Services& sv, plat::qt::QtWindowSystem& windows,
           const plat::qt::Options& options) {
            // Fullscreen shows the game view alone.
            windows.setGameView("frmMain", "PicFlipCopy", true);
            play(sv, options);
        },
        [](const plat::qt::Options& options) {
            return field::checkScenario(options.scenario, std::cerr);
        });
}
