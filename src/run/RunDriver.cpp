#include "run/RunDriver.h"

#include "run/ConfigFileWriter.h"
#include "run/PrerequisiteChecks.h"
#include "run/ScheduledTasks.h"

namespace tessaron {

RunEnding PerformInstallationRun(RunContext& run, const RunStages& stages) {
    run.RunError = false;
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
