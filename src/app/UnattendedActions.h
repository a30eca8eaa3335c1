#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>

#include "app/AnswersRecorder.h"
#include "app/CommandLine.h"
#include "app/ScratchMachine.h"
#include "app/SettingsWindow.h"
#include "platform/Database.h"
#include "platform/Platform.h"

namespace tessaron::app {

// The unattended front end's actions besides the run.

// --restore: puts back the files of the latest run on the machine image and
// prints the report to out (a refusal to err). Returns 0 when restored, 1
// when nothing was restored.
int restoreLatestRunOn(Platform& platform, std::ostream& out, std::ostream& err);

// --save-answers: writes the answered window to path. Throws UsageError when
// the file cannot be written.
void saveAnswersFile(SettingsWindow& window, const std::string& path,
                     const RecordingOptions& recording);
inline void saveAnswersFile(SettingsWindow& window, const std::string& path, bool clearPasswords) {
    RecordingOptions recording;
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
int printPreview(const SettingsRecord& settings, const InstallOptions& options,
                 const std::filesystem::path& machine, Database& database,
                 const ScratchMachineOpener& openScratch, const PreviewPrinting& printing,
                 std::ostream& out, std::ostream& err);

}  // namespace tessaron::app
