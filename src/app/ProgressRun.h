#pragma once

#include <string>

#include "platform/Platform.h"
#include "run/ProgressLog.h"
#include "run/RunDriver.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app {

// How one installation run (the progress window's load step) ended.
struct RunOutcome {
    RunEnding ending = RunEnding::Completed;
    bool runError = false;
    // Non-empty when the metabase's committed changes could not be made
    // durable after the run (the platform's description).
    std::string metabaseSaveError;

    // Closing the progress window ends the program unless the run completed
    // with RunError set (then the install-options dialog is back).
    bool closingEndsProgram() const { return ending == RunEnding::StoppedByCheck || !runError; }
};

// Performs one run with a fresh run context on the given log; every entry
// reaches the log's listener as it is logged. Afterwards the metabase is
// flushed, so that sites created by the run are on disk when it returns.
RunOutcome PerformRun(SettingsRecord& settings, const InstallOptions& options, Platform& platform,
                      ProgressLog& log);

}  // namespace tessaron::app
