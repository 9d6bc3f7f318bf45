// Haruvel: the quarter-view field demo. Runs the main window's load handler on the real
// platform; it returns when the program ends.
//
//   haruvel                           the built-in demo
//   haruvel --scenario DIR            the quest in the scenario folder DIR
//   haruvel --scenario DIR --check    only reads DIR: exit 0 valid, 1 with its errors on stderr
#include <iostream>

#include "field/MainLoop.h"
#include "field/MainWindow.h"
#include "field/ScenarioReader.h"
#include "platform/qt/QtProgram.h"

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
    "  F12                         save the game view as a PNG in <pictures>/Haruvel/\n",
    true};

} // namespace

int main(int argc, char** argv) {
    return plat::qt::runProgram(
        argc, argv, kHaruvel,
        [](plat::Services& sv, plat::qt::QtWindowSystem& windows,
           const plat::qt::Options& options) {
            // Fullscreen shows the game view alone.
            windows.setGameView("frmMain", "PicFlipCopy", true);
            field::MainWindow form(sv);
            if (options.scenario.empty())
                field::runBuiltInDemo(form, sv);
            else
                field::runScenario(form, sv, options.scenario);
        },
        [](const plat::qt::Options& options) {
            return field::checkScenario(options.scenario, std::cerr);
        });
}
