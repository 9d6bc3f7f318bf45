// Kardovan: the card-battle demo. Runs the select window's load handler on the real platform;
// it returns when the battle is over.
#include "battle/frmSelectChar.h"
#include "platform/qt/QtProgram.h"

int main(int argc, char** argv) {
    return plat::qt::runProgram(argc, argv, "kardovan", [](plat::Services& sv) {
        battle::frmSelectChar select(sv);
        select.load();
        // A battle that ended on an error leaves its window open; the program ends all the same.
        sv.windows.unloadAll();
    });
}
