#pragma once

#include <functional>

#include "database/DatabaseStage.h"
#include "runcontext/RunContext.h"
#include "webserver/WebServerStage.h"

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

// The line logged when a run is cancelled; no completion line follows.
inline constexpr const char* kCancelledLine = "Tessaron configuration cancelled.";

// The stages of the run that live in their own folders. The driver decides
// when each runs; tests of the driver's order and gates put recorders here.
struct RunStages {
    std::function<void(RunContext&)> database = runDatabaseStage;
    // Returns false when an error line ended the stage.
    std::function<bool(RunContext&, HeldSiteNumbers&)> webServer = runWebServerStage;
    std::function<void(RunContext&, const HeldSiteNumbers&)> appendSites = AppendSiteSettings;
};

// Performs one whole installation run in the stage order and gates of the
// progress window's load step: checks and working directories, config.inc,
// scheduled tasks, database, web server, site lines, completion line. The
// run holds the machine's lock throughout; while another run holds it past
// the run's patience, it logs one line and changes nothing; when the lock
// cannot be taken at all (the lock file is a folder or a link), it logs an
// ERROR line naming the lock file and the reason and changes nothing. Once
// it holds the lock it removes the temporary files that killed runs left
// beside config.inc and the metabase. Before each step
// it tells run.stepBegun and, when run.cancelRequested says so, logs
// kCancelledLine and ends there.
RunEnding performInstallationRun(RunContext& run, const RunStages& stages = RunStages());

}  // namespace tessaron
