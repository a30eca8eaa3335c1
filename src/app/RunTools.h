#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/ControlModel.h"
#include "app/ScratchMachine.h"
#include "app/SettingsWindow.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app {

// What the install-options dialog offers before and after a run, besides its
// designed controls (a view shows them as the dialog's context menu, with
// Ctrl and the key as shortcuts):
//   "Preview..." (Ctrl+P)          the run with the ticked options on a
//                                  scratch copy, shown in a window of its own
//   "Save Answers..." (Ctrl+S)     the window's values as an answers file
//   "Restore Last Run..." (Ctrl+R) config.inc and the metabase put back as
//                                  they were before the latest run
enum class RunTool { Preview, SaveAnswers, RestoreLastRun };
struct RunToolAction {
    RunTool tool;
    const char* caption;
    char key;
};
const std::vector<RunToolAction>& runToolActions();

inline constexpr const char* kRunToolsTitle = "Tessaron Configuration";
inline constexpr const char* kPreviewWindowTitle = "Preview of the installation run";
inline constexpr const char* kSaveAnswersTitle = "Save Answers";

// How the tools ask and tell: a question answered Yes (true) or No, a
// message; the view answers with its own boxes, tests with recordings.
struct ToolPrompts {
    std::function<bool(const std::string& title, const std::string& text)> ask;
    std::function<void(const std::string& title, const std::string& text)> tell;
};

// The options as the dialog's boxes are ticked now (not yet confirmed).
InstallOptions tickedOptions(const ControlModel& dialog);

// The preview's text, or nothing after a message saying why there is none
// (no machine image, no scratch opener, a failure).
std::optional<std::string> previewRun(SettingsWindow& window, const InstallOptions& options,
                                      const std::optional<std::filesystem::path>& imageRoot,
                                      const ScratchMachineOpener& openScratch,
                                      const ToolPrompts& prompts);

// Writes the window's values to path (empty: cancelled, nothing happens),
// after asking whether passwords go in clear text; says how it went.
void saveAnswers(SettingsWindow& window, const std::string& path, const ToolPrompts& prompts);

// Asks, then puts back the latest run's files and says what it did; true
// when they were put back (the program then ends, its view of the machine
// being stale).
bool restoreLastRun(SettingsWindow& window, const ToolPrompts& prompts);

}  // namespace tessaron::app
