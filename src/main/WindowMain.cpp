// Start of tessaron-config-window, the Linux program's settings window on a
// machine image or its screenshots; tessaron-config hands these over to it
// with the command line unchanged. It takes the same command line as
// tessaron-config (--help, --version and the unattended modes run here as
// there), so starting it directly does what starting tessaron-config does.
#include <QApplication>
#include <iostream>
#include <variant>

#include "app/wiring/ExitStatus.h"
#include "gui/WindowProgram.h"
#include "main/ProgramArguments.h"
#include "main/ProgramBackend.h"
#include "main/ProgramStart.h"

namespace {

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

}  // namespace

int main(int argc, char** argv) {
    using namespace tessaron;
    const auto start = startup::startWithoutWindow(startup::programArguments(argc, argv));
    if (const int* status = std::get_if<int>(&start)) return *status;
    const startup::WindowStart& window = *std::get_if<startup::WindowStart>(&start);
    qtHandler = qInstallMessageHandler(withoutKnownNoise);
    if (window.screenshots) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        return gui::takeScreenshots(startup::programBackend(), *window.machine, *window.screenshots,
                                    std::cout, std::cerr);
    }
    if (!displayAvailable()) {
        std::cerr << "tessaron-config: no display is available for the settings window; run it "
                     "unattended with --machine DIR --answers FILE (see --help)\n";
        return app::wiring::exit_status::kUsage;
    }
    QApplication application(argc, argv);
    return gui::runWindow(startup::programBackend(), window.machine);
}
