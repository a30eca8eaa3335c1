#include "run/RunDriver.h"

#include <algorithm>

#include "run/BackingUpPlatform.h"
#include "run/LeftOverFiles.h"

namespace tessaron {
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

// A step begins at a safe point, where a cancel takes effect; false when the
// run is to end here, cancelled.
bool beginStep(RunContext& run, int number, int count, const std::string& name) {
    if (run.cancelRequested && run.cancelRequested()) {
        run.failure.clear();
        run.AddProgressText(kCancelledLine);
        return false;
    }
    if (run.stepBegun) run.stepBegun(number, count, name);
    return true;
}

RunResult ended(RunEnding ending, const RunResults& results,
                std::shared_ptr<MachineLock> lock = nullptr) {
    return {ending, results.sites.endedOnError, std::move(lock)};
}

}  // namespace

RunResult performInstallationRun(RunContext& run, const RunStages& stages) {
    std::vector<RunStep> steps = installationSteps(stages);
    std::erase_if(steps, [&run](const RunStep& step) { return !step.appliesTo(run.options); });
    const int count = static_cast<int>(steps.size());

    run.RunError = false;
    RunResults results;
    // Held until the caller drops the result, whichever way the run ends.
    RunEnding refused = RunEnding::MachineBusy;
    const std::shared_ptr<MachineLock> lock = lockMachine(run, refused);
    if (!lock) return ended(refused, results);
    removeLeftOverTemporaries(run);
    run.AddProgressText("Beginning Tessaron configuration...");
    // Completed in the run's own settings (see RunContext::settings).
    if (run.settings.InternalIP.empty()) run.settings.InternalIP = run.settings.ServerIP;

    for (int index = 0; index < count; ++index) {
        const RunStep& step = steps[static_cast<std::size_t>(index)];
        if (!beginStep(run, index + 1, count, step.name)) {
            return ended(RunEnding::Cancelled, results, lock);
        }
        if (!step.hasWork(run, results)) continue;
        StepResult result = step.run(run, results);
        // A failed check stops the run right after its error line: nothing
        // is written and no completion line follows.
        if (result.stopsRun) return ended(RunEnding::StoppedByCheck, results, lock);
        results.add(std::move(result));
    }

    // Continue-on-error mode ends with the run.
    run.failure.clear();
    run.AddProgressText("Tessaron configuration completed.");
    return ended(RunEnding::Completed, results, lock);
}

}  // namespace tessaron
