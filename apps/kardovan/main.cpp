// Kardovan: the card-battle demo. Runs the select window's load handler on the real platform;
// it returns when the battle is over.
#include "battle/StartWindow.h"
#include "platform/qt/QtProgram.h"

namespace {

constexpr plat::qt::ProgramInfo kKardovan{
    "kardovan", "Kardovan", HARUVEL_VERSION,
    "Kardovan: a card battle. Each turn choose one of your cards and a command.",
    "Mouse:\n"
    "  Point at one of your cards, click it, and click a command in the menu over it.\n"
    "Keys (the same choices as the mouse):\n"
    "  Left / Right                move the card cursor over your hand (free cards only)\n"
    "  Enter or Space              open the command menu over that card\n"
    "  Up / Down                   move through the commands\n"
    "  Enter or Space              choose the command\n"
    "  Esc                         close the menu (in fullscreen, with no menu: leave it)\n"
    "  Ctrl+Plus / Ctrl+Minus      zoom the window in / out (1 to 4 times)\n"
    "  Ctrl+0                      zoom back to 1\n"
    "  F11                         fullscreen on / off\n"
    "  F12                         save the battle stage as a PNG in <pictures>/Kardovan/\n"};

} // namespace

int main(int argc, char** argv) {
    return plat::qt::runProgram(
        argc, argv, kKardovan,
        [](plat::Services& sv, plat::qt::QtWindowSystem& windows, const plat::qt::Options&) {
            // Fullscreen shows the whole battle window.
            windows.setGameView("frmBattle", "picStage", false);
            battle::StartWindow select(sv);
            select.load();
            // A battle that ended on an error leaves its window open;
            // the program ends all the same.
            sv.windows.unloadAll();
        });
}
