#include "app/ProgressRun.h"

#include "platform/Failure.h"

namespace tessaron::app {

RunOutcome PerformRun(SettingsRecord& settings, const InstallOptions& options, Platform& platform,
                      ProgressLog& log, const RunHooks& hooks) {
    RunContext run(settings, options, platform, log);
    run.cancelRequested = hooks.cancelRequested;
    run.stepBegun = hooks.stepBegun;
    RunOutcome outcome;
    outcome.ending = PerformInstallationRun(run);
    outcome.runError = run.RunError;
    try {
        platform.Iis().Flush();
    } catch (const PlatformError& error) {
        outcome.metabaseSaveError = error.description();
    }
    outcome.log = log.text();
    outcome.entries = log.entries();
    return outcome;
}

}  // namespace tessaron::app
