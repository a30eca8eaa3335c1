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
    // True when the log holds an "ERROR: " line or an error line ended the
    // web-server stage: the run completed with errors even when RunError is
    // false.
    bool loggedErrors = false;
    // Non-empty when the metabase's committed changes could not be made
    // durable after the run (the platform's description).
    std::string metabaseSaveError;

    // Closing the progress window ends the program unless the run completed
    // with RunError set or found the machine busy (then the install-options
    // dialog is back, for another try).
    bool closingEndsProgram() const {
        if (ending == RunEnding::MachineBusy) return false;
        return ending == RunEnding::StoppedByCheck || !runError;
    }
};

// How a run ended as the unattended mode reports it: the exit status and
// a result line such as "Result: completed (exit status 0).".
struct RunResult {
    int exitStatus = 0;
    std::string line;
};
RunResult DescribeRunOutcome(const RunOutcome& outcome);

// The outcome of a run that has just ended on the given context.
RunOutcome OutcomeOf(RunEnding ending, const RunContext& run, const ProgressLog& log);

// Performs one run with a fresh run context on the given log; every entry
// reaches the log's listener as it is logged. Afterwards the metabase is
// flushed, so that sites created by the run are on disk when it returns.
RunOutcome PerformRun(SettingsRecord& settings, const InstallOptions& options, Platform& platform,
                      ProgressLog& log);

}  // namespace tessaron::app
