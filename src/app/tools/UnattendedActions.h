#pragma once

#include <chrono>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "app/answers/AnswersRecorder.h"
#include "app/window/SettingsWindow.h"
#include "app/wiring/CommandLine.h"
#include "platform/Platform.h"

namespace tessaron::app::tools {

// The unattended front end's actions besides the run.

// How long the front end's actions wait for another run's hold, as a run does.
inline constexpr std::chrono::milliseconds kFrontEndLockPatience{5000};

// Takes the machine's run lock into `lock` for an action that reads or
// changes what a run changes (restore, preview, recorded answers). Returns
// nothing when held; otherwise says why on err and returns the status: 5
// while another run holds it, 7 when the lock file cannot be opened.
std::optional<int> holdMachine(Platform& platform, std::unique_ptr<MachineLock>& lock,
                               std::ostream& err);

// --restore: holds the machine, removes temporary files that killed runs
// left, puts back the files of the latest run that changed them and prints
// the report to out (a refusal to err). Returns 0 when restored, 8 when
// there is nothing to restore, 9 when refused (a file changed since), 1
// when it failed, or holdMachine's status.
int restoreLatestRunOn(Platform& platform, std::ostream& out, std::ostream& err);

// --save-answers: writes the answered window to path; with the passwords in
// clear text, readable by its owner only. Throws UsageError when
// the file cannot be written.
void saveAnswersFile(app::window::SettingsWindow& window, const std::string& path,
                     const answers::RecordingOptions& recording);
inline void saveAnswersFile(app::window::SettingsWindow& window, const std::string& path,
                            bool clearPasswords) {
    answers::RecordingOptions recording;
    recording.clearPasswords = clearPasswords;
    saveAnswersFile(window, path, recording);
}

// How a preview is printed and what its status tells.
struct PreviewPrinting {
    bool json = false;
    // kChanges in place of 0 when the run would change something
    bool detailedExitcode = false;
    // Nothing is printed; only the status is returned (the verdict of a run
    // with --detailed-exitcode).
    bool quiet = false;
};

// --preview: prints what a run with the window's settings would change, as
// text or JSON, and returns the exit status the run would have.
int printPreview(const SettingsRecord& settings, const InstallOptions& options, Platform& machine,
                 const std::string& machineName, const PreviewPrinting& printing, std::ostream& out,
                 std::ostream& err);

}  // namespace tessaron::app::tools
