// Start of the Windows program tessaron-config.exe, a GUI-subsystem program:
// started from Explorer it opens the settings window without a console. With
// the unattended options it runs as the console companion does, but its log
// reaches only handles it was given (a redirection); at a command prompt the
// companion tessaron-config.com is the one that runs (ConsoleCompanionMain.cpp beside this file).
#include <iostream>

#include "app/unattended/CommandLineParsing.h"
#include "main/ProgramArguments.h"
#include "main/ProgramBackend.h"
#include "main/UnattendedStart.h"
#include "main/windows/SettingsWindowStart.h"

int main(int argc, char** argv) {
    using namespace tessaron;
    const std::vector<std::string> args = startup::programArguments(argc, argv);
    if (startup::opensSettingsWindow(args)) {
        return startup::openSettingsWindow(startup::programBackend(),
                                           app::unattended::parseCommandLine(args).machine);
    }
    return startup::runFromConsole(args);
}
