#include "app/tools/RunTools.h"

#include "app/preview/Preview.h"
#include "app/tools/UnattendedActions.h"
#include "app/window/DialogControls.h"
#include "run/RestoreRun.h"
#include "run/RunJournal.h"

namespace tessaron::app::tools {

namespace frmInstall = window::frmInstall;

using preview::previewInstallation;
using window::ControlModel;
using window::kChecked;
using window::SettingsWindow;

InstallOptions tickedOptions(const ControlModel& dialog) {
    const auto ticked = [&dialog](std::string_view name) {
        return dialog.has(name) && dialog.checked(name) == kChecked;
    };
    return InstallOptions{ticked(frmInstall::chkSetupIIS), ticked(frmInstall::chkInitDB),
                          ticked(frmInstall::chkCreateTasks)};
}

std::optional<std::string> previewRun(SettingsWindow& window, const InstallOptions& options,
                                      const std::string& machineName, const ToolPrompts& prompts) {
    try {
        return previewWindowText(
            previewInstallation(window.settings(), options, window.platform(), machineName));
    } catch (const std::exception& error) {
        prompts.tell(kRunToolsTitle, std::string("The preview could not be made: ") + error.what());
        return std::nullopt;
    }
}

void saveAnswers(SettingsWindow& window, const std::string& chosen, const ToolPrompts& prompts) {
    const std::string path = withAnswersExtension(chosen);
    if (path.empty()) return;
    const bool clear = prompts.ask(messages::writePasswordsInClear());
    try {
        saveAnswersFile(window, path, clear);
    } catch (const std::exception& error) {
        prompts.tell(kRunToolsTitle, error.what());
        return;
    }
    prompts.tell(kRunToolsTitle, "Answers saved to " + path + ".");
}

bool restoreLastRun(SettingsWindow& window, const ToolPrompts& prompts) {
    if (!prompts.ask(messages::restoreLastRun())) return false;
    const RestoreReport report =
        restoreLatestRunHolding(window.platform(), window.installDir()).report;
    std::string text;
    for (const auto& line : report.lines) text += line + '\n';
    if (report.restored) {
        text += "\nThe program ends now; start it again to work with the restored files.";
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    while (!text.empty() && (text.front() == '\n' || text.front() == ' ')) text.erase(0, 1);
    prompts.tell(kRunToolsTitle, text);
    return report.restored;
}

}  // namespace tessaron::app::tools
