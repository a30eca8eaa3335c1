#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "run/RunDriver.h"
#include "runcontext/ProgressLog.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app::wiring {

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
    // Non-empty when the run's changes cannot be undone by a restore: why
    // ("its run journal could not be written").
    std::string notUndoable;
    // Non-empty when the run stopped on something no stage reports as a log
    // line (the machine could not be opened, an internal error).
    std::string unexpectedError;
    // The progress log as the run left it.
    std::string log;
    std::vector<std::string> entries;
    // The shared secure site number as the run left it for config.inc's
    // site lines (nullopt when the run did not start); the settings window
    // holds it for its next run.
    std::optional<std::string> SharedSecureSVC;
    // The options the run was started with.
    InstallOptions options;

    // Closing the progress window ends the program after a run that was
    // stopped by a check or completed without RunError; after a cancelled
    // run, one that found the machine busy or one with RunError set, the install-options dialog is
    // back.
    bool closingEndsProgram() const {
        if (ending == RunEnding::Cancelled || ending == RunEnding::MachineBusy ||
            ending == RunEnding::LockFailed) {
            return false;
        }
        return ending == RunEnding::StoppedByCheck || !runError;
    }
};

// What a front end hands the run besides its log (see RunContext).
struct RunHooks {
    std::function<bool()> cancelRequested;
    std::function<void(int step, int steps, const std::string& name)> stepBegun;
};

// How a run ended as the unattended mode reports it: the exit status and
// a result line such as "Result: completed (exit status 0).".
struct RunExit {
    int exitStatus = 0;
    std::string line;
};
RunExit describeRunOutcome(const RunOutcome& outcome);

// The outcome of a run that has just ended on the given context.
RunOutcome outcomeOf(const RunResult& result, const RunContext& run, const ProgressLog& log);

// Performs one run with a fresh run context on the given log; every entry
// reaches the log's listener as it is logged. The run works on its own copy
// of the settings, which it completes (an empty InternalIP becomes ServerIP)
// and in which the web-server stage records the shared secure site; the
// record given stays as it is. Afterwards the metabase is flushed, so that
// sites created by the run are on disk when it returns (also after a cancel:
// what was committed before it stays whole).
RunOutcome performRun(const SettingsRecord& settings, const InstallOptions& options,
                      Platform& platform, ProgressLog& log, const RunHooks& hooks = {});

}  // namespace tessaron::app::wiring
