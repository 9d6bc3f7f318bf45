// tekkel: list, check and run Tekkel scripts from the command line.
#include <iostream>

#include "apps/tekkel/mdlTekkelTool.h"

int main(int argc, char** argv) {
    return mdlTekkelTool::pfMain(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                 std::cerr);
}
