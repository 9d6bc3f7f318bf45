// Haruvel: the quarter-view field demo. Runs the main window's load handler on the real
// platform; it returns when the program ends.
//
//   haruvel                           the built-in demo
//   haruvel --scenario DIR            the quest in the scenario folder DIR
//   haruvel --scenario DIR --check    only reads DIR: exit 0 valid, 1 with its errors on stderr
#include <cstring>
#include <iostream>
#include <string>

#include "field/frmMain.h"
#include "field/mdlMain.h"
#include "field/mdlScenario.h"
#include "platform/qt/QtProgram.h"

int main(int argc, char** argv) {
    std::string scenario;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--scenario") == 0 && i + 1 < argc) {
            scenario = argv[++i];
        } else if (std::strcmp(argv[i], "--check") == 0) {
            check = true;
        }
    }
    if (check) {
        if (scenario.empty()) {
            std::cerr << "usage: haruvel [--scenario DIR [--check]]\n";
            return 2;
        }
        return mdlScenario::pfCheck(scenario, std::cerr);
    }
    return plat::qt::runProgram(argc, argv, "haruvel", [&](plat::Services& sv) {
        field::frmMain form(sv);
        if (scenario.empty())
            mdlMain::frmMain_Load(form, sv);
        else
            mdlMain::frmMain_LoadScenario(form, sv, scenario);
    });
}
