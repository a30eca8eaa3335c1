#include "app/ProgressRun.h"

namespace tessaron::app {

RunOutcome PerformRun(SettingsRecord& settings, const InstallOptions& options, Platform& platform,
                      ProgressLog& log) {
    RunContext run(settings, options, platform, log);
    RunOutcome outcome;
    outcome.ending = PerformInstallationRun(run);
    outcome.runError = run.RunError;
    return outcome;
}

}  // namespace tessaron::app
