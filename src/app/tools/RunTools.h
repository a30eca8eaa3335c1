#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/tools/RunToolsCatalogue.h"
#include "app/window/ControlModel.h"
#include "app/window/MessageService.h"
#include "app/window/SettingsWindow.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app::tools {

// The tools of the install-options dialog (app/RunToolsCatalogue.h) as
// every view carries them out.

inline constexpr const char* kRunToolsTitle = "Tessaron Configuration";
inline constexpr const char* kSaveAnswersTitle = "Save Answers";

// How the tools ask and tell: a question answered Yes (true) or No (its
// default answer says which Enter gives), a message; the view answers with
// its own boxes, tests with recordings.
struct ToolPrompts {
    std::function<bool(const window::Message& question)> ask;
    std::function<void(const std::string& title, const std::string& text)> tell;
};

// The options as the dialog's boxes are ticked now (not yet confirmed).
InstallOptions tickedOptions(const window::ControlModel& dialog);

// The preview's text (a dry run of the run with these options on the
// window's machine, named machineName in the report), or nothing after a
// message saying why there is none.
std::optional<std::string> previewRun(window::SettingsWindow& window, const InstallOptions& options,
                                      const std::string& machineName, const ToolPrompts& prompts);

// Writes the window's values to path (empty: cancelled, nothing happens; no
// extension: ".answers" is added), after asking whether passwords go in clear text; says how it
// went.
void saveAnswers(window::SettingsWindow& window, const std::string& path,
                 const ToolPrompts& prompts);

// Asks, then puts back the latest run's files and says what it did; true
// when they were put back (the program then ends, its view of the machine
// being stale).
bool restoreLastRun(window::SettingsWindow& window, const ToolPrompts& prompts);

}  // namespace tessaron::app::tools
