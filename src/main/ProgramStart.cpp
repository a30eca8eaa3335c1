#include "main/ProgramStart.h"

#include <iostream>

#include "app/answers/AnswersFile.h"
#include "app/unattended/CommandLineParsing.h"
#include "app/wiring/CommandLine.h"
#include "app/wiring/ExitStatus.h"
#include "main/UnattendedStart.h"

namespace tessaron::startup {
namespace {

using app::answers::UsageError;
namespace exit_status = app::wiring::exit_status;

constexpr const char* kScreenshotsHelp =
    "\nScreenshots:\n"
    "  tessaron-config --machine DIR --screenshots OUTDIR\n"
    "      renders the window's tabs, the install-options dialog and the\n"
    "      progress window of a run on a temporary copy of DIR to PNG files\n"
    "      in OUTDIR (offscreen; DIR itself is not changed)\n";

// Takes the window's own option --screenshots OUTDIR out of the arguments.
std::optional<std::string> takeScreenshotsOption(std::vector<std::string>& args) {
    std::optional<std::string> folder;
    std::vector<std::string> rest;
    const std::string name = "--screenshots";
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == name) {
            if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
            folder = args[++i];
        } else if (args[i].rfind(name + "=", 0) == 0) {
            folder = args[i].substr(name.size() + 1);
        } else {
            rest.push_back(args[i]);
        }
    }
    args = rest;
    return folder;
}

int usageError(const std::string& text) {
    std::cerr << "tessaron-config: " << text << "\nTry 'tessaron-config --help'.\n";
    return exit_status::kUsage;
}

}  // namespace

std::variant<int, WindowStart> startWithoutWindow(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    WindowStart window;
    app::wiring::CommandLine line;
    try {
        window.screenshots = takeScreenshotsOption(args);
        line = app::unattended::parseCommandLine(args);
    } catch (const UsageError& usage) {
        return usageError(usage.what());
    }
    if (line.help) {
        std::cout << app::unattended::usageText() << kScreenshotsHelp;
        return exit_status::kCompleted;
    }
    if (line.unattended()) {
        if (window.screenshots) {
            return usageError("--screenshots cannot be combined with --answers");
        }
        return runFromConsole(args);
    }
    if (line.version) {
        std::cout << app::unattended::versionText();
        return exit_status::kCompleted;
    }
    if (window.screenshots && !line.machine) {
        return usageError("--screenshots needs --machine DIR");
    }
    window.machine = line.machine;
    return window;
}

}  // namespace tessaron::startup
