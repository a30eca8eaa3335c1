#include "app/wiring/ProgressRun.h"

#include "app/wiring/ExitStatus.h"
#include "platform/Failure.h"
#include "run/BackingUpPlatform.h"

namespace tessaron::app::wiring {

RunOutcome outcomeOf(const RunResult& result, const RunContext& run, const ProgressLog& log) {
    RunOutcome outcome;
    outcome.ending = result.ending;
    outcome.runError = run.RunError;
    outcome.loggedErrors = result.sitesEndedOnError;
    for (const auto& entry : log.entries()) {
        if (entry.rfind("ERROR: ", 0) == 0) outcome.loggedErrors = true;
    }
    outcome.log = log.text();
    outcome.entries = log.entries();
    outcome.SharedSecureSVC = run.settings.SharedSecureSVC;
    outcome.options = run.options;
    return outcome;
}

namespace {

RunExit describeEnding(const RunOutcome& outcome) {
    using namespace exit_status;
    if (!outcome.metabaseSaveError.empty()) {
        return {kCompletedWithRunError, "Result: completed, but the metabase could not be saved: " +
                                            outcome.metabaseSaveError + " (exit status 1)."};
    }
    switch (outcome.ending) {
        case RunEnding::StoppedByCheck:
            return {kStoppedByCheck, "Result: stopped by a prerequisite check (exit status 2)."};
        case RunEnding::MachineBusy:
            return {kMachineBusy,
                    "Result: another configuration run holds the machine (exit status 5)."};
        case RunEnding::LockFailed:
            return {kLockFailed,
                    "Result: the machine's run lock could not be taken; nothing was changed "
                    "(exit status 7)."};
        case RunEnding::Cancelled:
            return {kCancelled, "Result: cancelled (exit status 6)."};
        case RunEnding::Completed:
            break;
    }
    if (outcome.runError) {
        return {kCompletedWithRunError, "Result: completed with RunError set (exit status 1)."};
    }
    if (outcome.loggedErrors) {
        return {kCompletedWithErrors, "Result: completed with errors (exit status 4)."};
    }
    return {kCompleted, "Result: completed (exit status 0)."};
}

}  // namespace

RunExit describeRunOutcome(const RunOutcome& outcome) {
    RunExit exit = describeEnding(outcome);
    if (!outcome.notUndoable.empty()) {
        exit.line += " The run cannot be undone: " + outcome.notUndoable + ".";
    }
    return exit;
}

RunOutcome performRun(const SettingsRecord& settings, const InstallOptions& options,
                      Platform& platform, ProgressLog& log, const RunHooks& hooks) {
    // The former config.inc and metabase are kept before the run changes
    // them, and the run's journal is written when it ends, so that the run
    // can be undone.
    RunBackups backups(platform.Files(), backupPlacesFor(platform, settings.InstallDir), log,
                       [] { return std::chrono::system_clock::now(); });
    BackingUpPlatform undoable(platform, backups);

    SettingsRecord runSettings = settings;
    RunContext run(runSettings, options, undoable, log);
    run.cancelRequested = hooks.cancelRequested;
    run.stepBegun = hooks.stepBegun;
    // The result holds the machine's lock until this returns: the metabase
    // is saved and the journal written before another run can start.
    const tessaron::RunResult result = performInstallationRun(run);
    RunOutcome outcome = outcomeOf(result, run, log);
    try {
        undoable.Iis().Flush();
    } catch (const PlatformError& error) {
        outcome.metabaseSaveError = error.description();
    }
    backups.finish();
    outcome.notUndoable = backups.whyNotUndoable();
    return outcome;
}

}  // namespace tessaron::app::wiring
