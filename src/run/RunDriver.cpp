#include "run/RunDriver.h"

#include "run/ConfigFileWriter.h"
#include "run/PrerequisiteChecks.h"
#include "run/ScheduledTasks.h"

namespace tessaron {

namespace {

// The machine's lock for this run; null (after its line) when the run must
// not go on.
std::unique_ptr<MachineLock> lockMachine(RunContext& run) {
    try {
        auto lock = run.platform.LockMachine(run.machineLockPatience);
        if (!lock) run.AddProgressText("Another configuration run is in progress on this machine.");
        return lock;
    } catch (const PlatformError& error) {
        run.AddProgressText("ERROR: Could not lock this machine for the configuration run - " +
                            error.description());
        return nullptr;
    }
}

}  // namespace

RunEnding PerformInstallationRun(RunContext& run, const RunStages& stages) {
    run.RunError = false;
    run.stageEndedOnError = false;
    run.configBody.reset();
    // Held until the run returns, whichever way it ends.
    const auto lock = lockMachine(run);
    if (!lock) return RunEnding::MachineBusy;
    run.AddProgressText("Beginning Tessaron configuration...");
    if (run.settings.InternalIP.empty()) run.settings.InternalIP = run.settings.ServerIP;

    run.beginContinueOnError();
    run.AddProgressText("Checking installation integrity...");
    // A failed check stops the run right after its error line: nothing is
    // written and no completion line follows.
    if (!RunPrerequisiteChecks(run)) return RunEnding::StoppedByCheck;

    ConfigFileWriter(run);

    if (!run.RunError && run.options.CreateTasks) CreateScheduledTasks(run);
    if (!run.RunError && run.options.InitializeDatabase) {
        run.beginContinueOnError();
        stages.database(run);
    }

    // The web-server stage runs whatever RunError holds; only an error line
    // of that stage keeps the site lines from being appended.
    HeldSiteNumbers held;
    bool appendSites = true;
    if (run.options.SetUpSites) {
        run.beginContinueOnError();
        appendSites = stages.webServer(run, held);
        run.stageEndedOnError = !appendSites;
    }
    if (appendSites) {
        run.beginContinueOnError();
        stages.appendSites(run, held);
    }

    // Continue-on-error mode ends with the run.
    run.failure.clear();
    run.AddProgressText("Tessaron configuration completed.");
    return RunEnding::Completed;
}

}  // namespace tessaron
