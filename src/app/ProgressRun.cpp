#include "app/ProgressRun.h"

#include "platform/Failure.h"

namespace tessaron::app {

RunOutcome PerformRun(SettingsRecord& settings, const InstallOptions& options, Platform& platform,
                      ProgressLog& log) {
    RunContext run(settings, options, platform, log);
    RunOutcome outcome;
    outcome.ending = PerformInstallationRun(run);
    outcome.runError = run.RunError;
    outcome.loggedErrors = run.stageEndedOnError;
    for (const auto& entry : log.entries()) {
        if (entry.rfind("ERROR: ", 0) == 0) outcome.loggedErrors = true;
    }
    try {
        platform.Iis().Flush();
    } catch (const PlatformError& error) {
        outcome.metabaseSaveError = error.description();
    }
    return outcome;
}

}  // namespace tessaron::app
