#include "main/ProgramArguments.h"

#include "app/answers/AnswersFile.h"
#include "app/unattended/CommandLineParsing.h"
#include "app/wiring/CommandLine.h"

#ifdef _WIN32
#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include "platform/WideText.h"
#endif

namespace tessaron::startup {

using app::answers::UsageError;

std::vector<std::string> programArguments(int argc, char** argv) {
#ifdef _WIN32
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide) {
        std::vector<std::string> args;
        for (int index = 1; index < count; ++index) args.push_back(fromWide(wide[index]));
        LocalFree(static_cast<HLOCAL>(wide));
        return args;
    }
    // Without memory for the split the ANSI arguments are all there is.
#endif
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

bool opensSettingsWindow(const std::vector<std::string>& args) {
    try {
        const app::wiring::CommandLine line = app::unattended::parseCommandLine(args);
        return !line.help && !line.version && !line.unattended();
    } catch (const UsageError&) {
        return false;
    }
}

}  // namespace tessaron::startup
