#pragma once

#include <iosfwd>
#include <string>

#include "app/CommandLine.h"
#include "app/SettingsWindow.h"
#include "platform/Platform.h"

namespace tessaron::app {

// The unattended front end's actions besides the run.

// --restore: puts back the files of the latest run on the machine image and
// prints the report to out (a refusal to err). Returns 0 when restored, 1
// when nothing was restored.
int restoreLatestRunOn(Platform& platform, std::ostream& out, std::ostream& err);

// --save-answers: writes the answered window to path. Throws UsageError when
// the file cannot be written.
void saveAnswersFile(SettingsWindow& window, const std::string& path, bool clearPasswords);

// --preview: prints what a run with the window's settings would change, as
// text or JSON, and returns the exit status the run would have.
int printPreview(const SettingsRecord& settings, const InstallOptions& options, Platform& machine,
                 const std::string& machineName, bool json, std::ostream& out, std::ostream& err);

}  // namespace tessaron::app
