#include "run/RunDriver.h"

namespace tessaron {

RunEnding PerformInstallationRun(RunContext& run) {
    run.RunError = false;
    run.AddProgressText("Beginning Tessaron configuration...");
    return RunEnding::Completed;
}

}  // namespace tessaron
