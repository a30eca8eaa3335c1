// Program start of the build without the window: the unattended front end.
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "main/ProgramBackend.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return tessaron::app::runUnattended(args, tessaron::startup::programBackend(), std::cout,
                                        std::cerr);
}
