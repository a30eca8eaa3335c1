// Program start of the Windows program: without arguments (or with
// --machine DIR alone) the settings window; otherwise the unattended front
// end.
#include <iostream>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "main/ProgramBackend.h"
#include "winui/WindowProgram.h"

namespace {

bool opensWindow(const std::vector<std::string>& args) {
    try {
        const tessaron::app::CommandLine line = tessaron::app::parseCommandLine(args);
        return !line.help && !line.version && !line.unattended();
    } catch (const tessaron::app::UsageError&) {
        return false;  // the front end reports it
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (opensWindow(args)) {
        const tessaron::app::CommandLine line = tessaron::app::parseCommandLine(args);
        return tessaron::winui::runSettingsWindow(tessaron::startup::programBackend(),
                                                  line.machine);
    }
    return tessaron::app::runUnattended(args, tessaron::startup::programBackend(), std::cout,
                                        std::cerr);
}
