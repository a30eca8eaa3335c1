// Program start of the build without the window: the unattended front end.
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return tessaron::app::runUnattended(args, std::cout, std::cerr);
}
