#include "app/ProgressRun.h"

#include "platform/Failure.h"
#include "run/BackingUpPlatform.h"

namespace tessaron::app {

RunOutcome PerformRun(SettingsRecord& settings, const InstallOptions& options, Platform& platform,
                      ProgressLog& log) {
    // The former config.inc and metabase are kept before the run changes
    // them, and the run's journal is written when it ends, so that the run
    // can be undone.
    RunBackups backups(platform.Files(), BackupPlacesFor(platform, settings.InstallDir), log,
                       [] { return std::chrono::system_clock::now(); });
    BackingUpPlatform undoable(platform, backups);

    RunContext run(settings, options, undoable, log);
    RunOutcome outcome;
    outcome.ending = PerformInstallationRun(run);
    outcome.runError = run.RunError;
    try {
        undoable.Iis().Flush();
    } catch (const PlatformError& error) {
        outcome.metabaseSaveError = error.description();
    }
    backups.finish();
    return outcome;
}

}  // namespace tessaron::app
