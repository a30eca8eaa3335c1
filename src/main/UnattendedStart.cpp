#include "main/UnattendedStart.h"

#include <iostream>

#include "app/answers/AnswersFile.h"
#include "app/unattended/CommandLineParsing.h"
#include "app/unattended/UnattendedFrontEnd.h"
#include "app/wiring/ExitStatus.h"
#include "main/ProgramBackend.h"
#ifdef _WIN32
#include "platform/windows/IisProviderHint.h"
#endif

namespace tessaron::startup {

using app::answers::UsageError;

#ifdef _WIN32
namespace {

// Whether the run was on the machine the program runs on (no --machine).
bool ranOnThisMachine(const std::vector<std::string>& args) {
    try {
        return !app::unattended::parseCommandLine(args).machine;
    } catch (const UsageError&) {
        return false;
    }
}

}  // namespace
#endif

int runFromConsole(const std::vector<std::string>& args) {
    const int status = app::unattended::runUnattended(args, programBackend(), std::cout, std::cerr);
#ifdef _WIN32
    if (status == app::wiring::exit_status::kEndedAtLoad && ranOnThisMachine(args)) {
        if (const auto hint = platform::windows::iisProviderHint()) std::cerr << *hint << '\n';
    }
#endif
    return status;
}

}  // namespace tessaron::startup
