#pragma once

#include "platform/Platform.h"
#include "run/ProgressLog.h"
#include "run/RunDriver.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app {

// How one installation run (the progress window's load step) ended.
struct RunOutcome {
    RunEnding ending = RunEnding::Completed;
    bool runError = false;

    // Closing the progress window ends the program unless the run completed
    // with RunError set (then the install-options dialog is back).
    bool closingEndsProgram() const { return ending == RunEnding::StoppedByCheck || !runError; }
};

// Performs one run with a fresh run context on the given log; every entry
// reaches the log's listener as it is logged.
RunOutcome PerformRun(SettingsRecord& settings, const InstallOptions& options, Platform& platform,
                      ProgressLog& log);

}  // namespace tessaron::app
