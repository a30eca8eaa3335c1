#pragma once

#include <memory>

#include "platform/MachineLock.h"
#include "run/RunSteps.h"
#include "runcontext/RunContext.h"

namespace tessaron {

// How a run ended.
enum class RunEnding {
    StoppedByCheck,  // a check or working directory failed; no completion line
    Completed,       // the completion line was logged (RunError tells the rest)
    MachineBusy,     // another run held the machine; nothing was done
    LockFailed,      // the machine's lock could not be taken (its ERROR line says
                     // why); nothing was done
    Cancelled,       // cancelled at a safe point; kCancelledLine was logged
};

// What a run returns to its caller besides its log and RunError.
struct RunResult {
    RunEnding ending = RunEnding::Completed;
    // True when an error line ended the web-server stage.
    bool sitesEndedOnError = false;
    // The machine's lock, still held (null when the run was refused): what
    // the caller does after the steps (saving the metabase, writing the
    // journal) happens before another run can start; dropping the last copy
    // of the result releases it.
    std::shared_ptr<MachineLock> lock;

    bool operator==(RunEnding other) const { return ending == other; }
};

// The line logged when a run is cancelled; no completion line follows.
inline constexpr const char* kCancelledLine = "Tessaron configuration cancelled.";

// Performs one whole installation run: the steps of installationSteps() in
// their order and gates, then the completion line. The run holds the
// machine's lock throughout, and the result keeps holding it; while another run holds it past the
// run's patience, it logs one line and changes nothing; when the lock cannot be taken at all (the
// lock file is a folder or a link), it logs an ERROR line naming the lock file and the reason and
// changes nothing. Once it holds the lock it removes the temporary files that killed runs left
// beside config.inc and the metabase. Before each step that applies to the options it tells
// run.stepBegun (with the number of such steps) and, when run.cancelRequested
// says so, logs kCancelledLine and ends there.
RunResult performInstallationRun(RunContext& run, const RunStages& stages = RunStages());

}  // namespace tessaron
