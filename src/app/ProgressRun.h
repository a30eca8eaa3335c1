#pragma once

#include <functional>
#include <string>
#include <vector>

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
    // Non-empty when the run stopped on something no stage reports as a log
    // line (the machine could not be opened, an internal error).
    std::string unexpectedError;
    // The progress log as the run left it.
    std::string log;
    std::vector<std::string> entries;

    // Closing the progress window ends the program after a run that was
    // stopped by a check or completed without RunError; after a cancelled
    // run, or one with RunError set, the install-options dialog is back.
    bool closingEndsProgram() const {
        if (ending == RunEnding::Cancelled) return false;
        return ending == RunEnding::StoppedByCheck || !runError;
    }
};

// What a front end hands the run besides its log (see RunContext).
struct RunHooks {
    std::function<bool()> cancelRequested;
    std::function<void(int step, int steps, const std::string& name)> stepBegun;
};

// Performs one run with a fresh run context on the given log; every entry
// reaches the log's listener as it is logged. Afterwards the metabase is
// flushed, so that sites created by the run are on disk when it returns
// (also after a cancel: what was committed before it stays whole).
RunOutcome PerformRun(SettingsRecord& settings, const InstallOptions& options, Platform& platform,
                      ProgressLog& log, const RunHooks& hooks = {});

}  // namespace tessaron::app
