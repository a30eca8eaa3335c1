#pragma once

#include "run/RunContext.h"

namespace tessaron {

// How a run ended.
enum class RunEnding {
    StoppedByCheck,  // a check or working directory failed; no completion line
    Completed,       // the completion line was logged (RunError tells the rest)
};

// Performs one whole installation run in the stage order and gates of the
// progress window's load step.
RunEnding PerformInstallationRun(RunContext& run);

}  // namespace tessaron
