// Program start: the settings window on a machine image, its screenshots, or
// (with --answers) the unattended front end.
#include <QApplication>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/answers/AnswersFile.h"
#include "app/wiring/CommandLine.h"
#include "gui/WindowProgram.h"
#include "main/ProgramArguments.h"
#include "main/ProgramBackend.h"

namespace {

using tessaron::app::answers::UsageError;
namespace exit_status = tessaron::app::exit_status;

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

bool displayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

// Messages Qt prints on every start without a runtime folder and on the
// offscreen platform ("This plugin does not support raise()" and
// "...propagateSizeHints()"), which tell the user nothing; everything else
// passes.
QtMessageHandler qtHandler = nullptr;
void withoutKnownNoise(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("XDG_RUNTIME_DIR not set")) ||
        text.startsWith(QLatin1String("This plugin does not support raise()")) ||
        text.startsWith(QLatin1String("This plugin does not support propagateSizeHints()"))) {
        return;
    }
    if (qtHandler) {
        qtHandler(type, context, text);
    } else {
        std::cerr << qPrintable(qFormatLogMessage(type, context, text)) << '\n';
    }
}

int usageError(const std::string& text) {
    std::cerr << "tessaron-config: " << text << "\nTry 'tessaron-config --help'.\n";
    return exit_status::kUsage;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args = tessaron::startup::programArguments(argc, argv);
    std::optional<std::string> screenshots;
    tessaron::app::CommandLine line;
    try {
        screenshots = takeScreenshotsOption(args);
        line = tessaron::app::parseCommandLine(args);
    } catch (const UsageError& usage) {
        return usageError(usage.what());
    }
    if (line.help) {
        std::cout << tessaron::app::usageText()
                  << "\nScreenshots:\n"
                     "  tessaron-config --machine DIR --screenshots OUTDIR\n"
                     "      renders the window's tabs, the install-options dialog and the\n"
                     "      progress window of a run on a temporary copy of DIR to PNG files\n"
                     "      in OUTDIR (offscreen; DIR itself is not changed)\n";
        return exit_status::kCompleted;
    }
    if (line.unattended()) {
        if (screenshots) return usageError("--screenshots cannot be combined with --answers");
        return tessaron::app::runUnattended(args, tessaron::startup::programBackend(), std::cout,
                                            std::cerr);
    }
    if (line.version) {
        std::cout << tessaron::app::versionText();
        return exit_status::kCompleted;
    }
    qtHandler = qInstallMessageHandler(withoutKnownNoise);
    if (screenshots) {
        if (!line.machine) return usageError("--screenshots needs --machine DIR");
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        return tessaron::gui::takeScreenshots(tessaron::startup::programBackend(), *line.machine,
                                              *screenshots, std::cout, std::cerr);
    }
    if (!displayAvailable()) {
        std::cerr << "tessaron-config: no display is available for the settings window; run it "
                     "unattended with --machine DIR --answers FILE (see --help)\n";
        return exit_status::kUsage;
    }
    QApplication application(argc, argv);
    return tessaron::gui::runWindow(tessaron::startup::programBackend(), line.machine);
}
