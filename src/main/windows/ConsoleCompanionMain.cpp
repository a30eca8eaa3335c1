// Start of tessaron-config.com, the console companion of the Windows program:
// a console-subsystem program of the same name, which a command prompt runs
// in preference to tessaron-config.exe (.COM comes before .EXE in PATHEXT).
// The unattended modes print their log to that console, take Ctrl+C as a
// cancel and return their exit status to it (%ERRORLEVEL%). Asked for the
// settings window, it starts tessaron-config.exe beside it and returns at
// once, as starting a window from a prompt does.
#include <windows.h>

#include <iostream>

#include "app/wiring/ExitStatus.h"
#include "main/ProgramArguments.h"
#include "main/UnattendedStart.h"
#include "platform/WideText.h"

namespace {

// tessaron-config.exe in the companion's own folder.
std::wstring windowProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto dot = path.find_last_of(L".\\/");
    if (dot != std::wstring::npos && path[dot] == L'.') path.erase(dot);
    return path + L".exe";
}

int startWindowProgram() {
    const std::wstring program = windowProgramPath();
    std::wstring commandLine = GetCommandLineW();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (program.empty() || !CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr,
                                           FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::cerr << "tessaron-config: cannot start the settings window "
                  << tessaron::fromWide(program) << " (error " << GetLastError() << ")\n";
        return tessaron::app::wiring::exit_status::kInternalError;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return tessaron::app::wiring::exit_status::kCompleted;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace tessaron;
    const std::vector<std::string> args = startup::programArguments(argc, argv);
    if (startup::opensSettingsWindow(args)) return startWindowProgram();
    return startup::runFromConsole(args);
}
