// Haruvel: the quarter-view field demo. Runs the main window's load handler on the real
// platform; it returns when the program ends.
#include "field/frmMain.h"
#include "field/mdlMain.h"
#include "platform/qt/QtProgram.h"

int main(int argc, char** argv) {
    return plat::qt::runProgram(argc, argv, "haruvel", [](plat::Services& sv) {
        field::frmMain form(sv);
        mdlMain::frmMain_Load(form, sv);
    });
}
