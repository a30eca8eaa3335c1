#include "main/UnattendedStart.h"

#include <iostream>

#include "app/answers/AnswersFile.h"
#include "app/wiring/CommandLine.h"
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
        return !app::parseCommandLine(args).machine;
    } catch (const UsageError&) {
        return false;
    }
}

}  // namespace
#endif

int runFromConsole(const std::vector<std::string>& args) {
    const int status = app::runUnattended(args, programBackend(), std::cout, std::cerr);
#ifdef _WIN32
    if (status == app::exit_status::kEndedAtLoad && ranOnThisMachine(args)) {
        if (const auto hint = platform::windows::iisProviderHint()) std::cerr << *hint << '\n';
    }
#endif
    return status;
}

}  // namespace tessaron::startup
