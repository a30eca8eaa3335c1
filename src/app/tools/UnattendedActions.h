#pragma once

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "app/answers/AnswersRecorder.h"
#include "app/window/SettingsWindow.h"
#include "app/wiring/ExitStatus.h"
#include "app/wiring/MachineHold.h"
#include "platform/Platform.h"
#include "run/RestoreRun.h"

namespace tessaron::app::tools {

// The actions besides the run, of the unattended front end and the window:
// each holds the machine as a run does (MachineHold.h), unless its caller
// already holds it and hands in its lock (heldByCaller).

// Takes the machine's run lock into `lock`. Returns nothing when held;
// otherwise says why on err and returns the status: 5 while another run
// holds it, 7 when the lock file cannot be opened.
std::optional<int> holdMachine(Platform& platform, std::unique_ptr<MachineLock>& lock,
                               std::ostream& err);

// What a restore did, and the front end's status for it.
struct RestoreOutcome {
    // When the machine could not be held: the refusal is its one line.
    RestoreReport report;
    int status = wiring::exit_status::kCompletedWithRunError;
    bool machineRefused = false;
};

// Holds the machine, removes temporary files that killed runs left and puts
// back the files of the latest run that changed them (the journal in
// installDir). Status: 0 restored, 8 nothing to restore, 9 refused (a file
// changed since), 1 failed, or MachineRefused's status.
RestoreOutcome restoreLatestRunHolding(Platform& platform, const std::string& installDir);

// --restore: restoreLatestRunHolding with the installation directory from
// the registry, its report printed to out (a refusal or failure to err).
// Returns its status.
int restoreLatestRunOn(Platform& platform, std::ostream& out, std::ostream& err);

// --save-answers: writes the answered window to path; with the passwords in
// clear text, readable by its owner only. Throws UsageError when
// the file cannot be written, MachineRefused (nothing written) when the
// machine cannot be held.
void saveAnswersFile(app::window::SettingsWindow& window, const std::string& path,
                     const answers::RecordingOptions& recording,
                     const MachineLock* heldByCaller = nullptr);
inline void saveAnswersFile(app::window::SettingsWindow& window, const std::string& path,
                            bool clearPasswords, const MachineLock* heldByCaller = nullptr) {
    answers::RecordingOptions recording;
    recording.clearPasswords = clearPasswords;
    saveAnswersFile(window, path, recording, heldByCaller);
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
// text or JSON, and returns the exit status the run would have (or, the
// machine not held, MachineRefused's status with its reason on err).
int printPreview(const SettingsRecord& settings, const InstallOptions& options, Platform& machine,
                 const std::string& machineName, const PreviewPrinting& printing, std::ostream& out,
                 std::ostream& err, const MachineLock* heldByCaller = nullptr);

}  // namespace tessaron::app::tools
