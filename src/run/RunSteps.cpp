#include "run/RunSteps.h"

#include "run/ConfigFileWriter.h"
#include "run/PrerequisiteChecks.h"
#include "run/ScheduledTasks.h"

namespace tessaron {
namespace {

bool always(const InstallOptions&) {
    return true;
}
bool anyState(const RunContext&, const RunResults&) {
    return true;
}
// The scheduled tasks and the database are skipped once RunError is set.
bool withoutRunError(const RunContext& run, const RunResults&) {
    return !run.RunError;
}

StepResult checkInstallation(RunContext& run, const RunResults&) {
    run.beginContinueOnError();
    run.AddProgressText("Checking installation integrity...");
    return {.stopsRun = !runPrerequisiteChecks(run)};
}

StepResult writeConfigFile(RunContext& run, const RunResults&) {
    return {.writtenBody = ConfigFileWriter(run)};
}

StepResult createTasks(RunContext& run, const RunResults&) {
    createScheduledTasks(run);
    return {};
}

}  // namespace

void RunResults::add(StepResult result) {
    if (result.writtenBody) writtenBody = std::move(result.writtenBody);
    if (result.sites) sites = std::move(*result.sites);
}

std::vector<RunStep> installationSteps(const RunStages& stages) {
    return {
        {"Checking the installation", always, anyState, checkInstallation},
        {"Writing the configuration file", always, anyState, writeConfigFile},
        {"Creating the scheduled tasks",
         [](const InstallOptions& options) { return options.CreateTasks; }, withoutRunError,
         createTasks},
        {"Initialising the database",
         [](const InstallOptions& options) { return options.InitializeDatabase; }, withoutRunError,
         [database = stages.database](RunContext& run, const RunResults&) {
             run.beginContinueOnError();
             database(run);
             return StepResult{};
         }},
        // The web-server stage runs whatever RunError holds.
        {"Setting up the web sites",
         [](const InstallOptions& options) { return options.SetUpSites; }, anyState,
         [webServer = stages.webServer](RunContext& run, const RunResults&) {
             run.beginContinueOnError();
             WebServerResult sites = webServer(run);
             // The run's own settings carry the shared secure site's number
             // out of the run (a window keeps it for its next run).
             if (sites.held.sharedSecure) run.settings.SharedSecureSVC = *sites.held.sharedSecure;
             return StepResult{.sites = std::move(sites)};
         }},
        // Only an error line of the web-server stage keeps the site lines
        // from being appended.
        {"Recording the site numbers", always,
         [](const RunContext&, const RunResults& results) { return !results.sites.endedOnError; },
         [appendSites = stages.appendSites](RunContext& run, const RunResults& results) {
             run.beginContinueOnError();
             appendSites(run, results.writtenBody, results.sites.held);
             return StepResult{};
         }},
    };
}

}  // namespace tessaron
