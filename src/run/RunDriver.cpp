#include "run/RunDriver.h"

#include "run/BackingUpPlatform.h"
#include "run/ConfigFileWriter.h"
#include "run/LeftOverFiles.h"
#include "run/PrerequisiteChecks.h"
#include "run/ScheduledTasks.h"

namespace tessaron {
namespace {

// The run's steps as the progress window names them; each begins at a safe
// point, where a cancel takes effect.
class Steps {
public:
    explicit Steps(RunContext& run) : run_(run) {
        const InstallOptions& options = run.options;
        // Checks, config.inc and the site lines always; the others as chosen.
        count_ = 3 + options.CreateTasks + options.InitializeDatabase + options.SetUpSites;
    }

    // False when the run is to end here, cancelled.
    bool begin(const std::string& name) {
        if (run_.cancelRequested && run_.cancelRequested()) {
            run_.failure.clear();
            run_.AddProgressText(kCancelledLine);
            return false;
        }
        ++number_;
        if (run_.stepBegun) run_.stepBegun(number_, count_, name);
        return true;
    }

private:
    RunContext& run_;
    int count_ = 0;
    int number_ = 0;
};

}  // namespace

namespace {

// The machine's lock for this run; null (after its line, with the ending
// in `refused`) when the run must not go on.
std::unique_ptr<MachineLock> lockMachine(RunContext& run, RunEnding& refused) {
    try {
        auto lock = run.platform.LockMachine(run.machineLockPatience);
        if (!lock) run.AddProgressText("Another configuration run is in progress on this machine.");
        refused = RunEnding::MachineBusy;
        return lock;
    } catch (const PlatformError& error) {
        run.AddProgressText("ERROR: Could not lock this machine for the configuration run - " +
                            error.description());
        refused = RunEnding::LockFailed;
        return nullptr;
    }
}

// Temporary files of a run killed while it wrote config.inc, its journal, a
// backup or the metabase. They are left-overs once this run holds the lock.
void removeLeftOverTemporaries(RunContext& run) {
    try {
        removeStaleTemporaries(run.platform.Files(),
                               backupPlacesFor(run.platform, run.settings.InstallDir));
    } catch (const PlatformError&) {
        // Without the Windows folder there is nothing of the metabase's to
        // clean; the run's checks report what matters.
    }
}

}  // namespace

RunEnding performInstallationRun(RunContext& run, const RunStages& stages) {
    Steps steps(run);
    run.RunError = false;
    run.stageEndedOnError = false;
    run.configBody.reset();
    // Held until the run returns, whichever way it ends.
    RunEnding refused = RunEnding::MachineBusy;
    const auto lock = lockMachine(run, refused);
    if (!lock) return refused;
    removeLeftOverTemporaries(run);
    run.AddProgressText("Beginning Tessaron configuration...");
    // Completed in the run's own settings (see RunContext::settings).
    if (run.settings.InternalIP.empty()) run.settings.InternalIP = run.settings.ServerIP;

    if (!steps.begin("Checking the installation")) return RunEnding::Cancelled;
    run.beginContinueOnError();
    run.AddProgressText("Checking installation integrity...");
    // A failed check stops the run right after its error line: nothing is
    // written and no completion line follows.
    if (!runPrerequisiteChecks(run)) return RunEnding::StoppedByCheck;

    if (!steps.begin("Writing the configuration file")) return RunEnding::Cancelled;
    ConfigFileWriter(run);

    if (run.options.CreateTasks) {
        if (!steps.begin("Creating the scheduled tasks")) return RunEnding::Cancelled;
        if (!run.RunError) createScheduledTasks(run);
    }
    if (run.options.InitializeDatabase) {
        if (!steps.begin("Initialising the database")) return RunEnding::Cancelled;
        if (!run.RunError) {
            run.beginContinueOnError();
            stages.database(run);
        }
    }

    // The web-server stage runs whatever RunError holds; only an error line
    // of that stage keeps the site lines from being appended.
    HeldSiteNumbers held;
    bool appendSites = true;
    if (run.options.SetUpSites) {
        if (!steps.begin("Setting up the web sites")) return RunEnding::Cancelled;
        run.beginContinueOnError();
        appendSites = stages.webServer(run, held);
        run.stageEndedOnError = !appendSites;
        // The run's own settings carry the shared secure site's number out
        // of the run (a window keeps it for its next run).
        if (held.sharedSecure) run.settings.SharedSecureSVC = *held.sharedSecure;
    }
    if (!steps.begin("Recording the site numbers")) return RunEnding::Cancelled;
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
