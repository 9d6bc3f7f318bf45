// tekkel: list, check and run Tekkel scripts from the command line.
#include <iostream>

#include "apps/tekkel/TekkelTool.h"

int main(int argc, char** argv) {
    return tekkel_tool::runCommandLine(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                       std::cerr);
}
