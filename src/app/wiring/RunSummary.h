#pragma once

#include <string>
#include <vector>

#include "app/wiring/ProgressRun.h"

namespace tessaron::app::wiring {

// How a finished run is stated to the administrator.
enum class RunResult { Completed, CompletedWithErrors, StoppedByCheck, Cancelled, MachineBusy };

// Entries that begin "ERROR" and "WARNING", and the configuration file's
// failure lines, which carry no prefix.
struct LineCounts {
    int errors = 0;
    int warnings = 0;
    int failures = 0;
};
LineCounts countLines(const std::vector<std::string>& entries);
// True for an entry counted as an ERROR (WARNING) line.
bool isErrorLine(const std::string& entry);
bool isWarningLine(const std::string& entry);
// True for a failure line without the ERROR prefix.
bool isUnprefixedFailureLine(const std::string& entry);
// What a window shows as a failure: an ERROR line or an unprefixed one.
bool isFailureLine(const std::string& entry);

// The parts of a run that failed, as the outcome shows them.
enum class FailedPart { ConfigFile, DatabaseConnection, DatabaseStatement, MetabaseSave };
std::vector<FailedPart> failedParts(const RunOutcome& outcome);
// The optional stages the run skipped because the configuration file
// failed ("scheduled tasks", "database"), in run order.
std::vector<std::string> stagesNotRun(const RunOutcome& outcome);

// A run that completed with RunError set or with ERROR lines completed with
// errors.
RunResult resultOf(const RunOutcome& outcome);

// The progress window's title and result line for a finished run, e.g.
// "Tessaron Configuration Completed with Errors" and
// "Completed with errors: 2 ERROR lines, 1 WARNING line.".
std::string resultTitle(RunResult result);
std::string resultLine(RunResult result, const LineCounts& counts);
// The result line of a finished run, followed by the stages the failure
// kept from running.
std::string resultLine(const RunOutcome& outcome);

// The progress window's step line once the run has ended, after the last
// step begun (step 0: none began): "Finished: step 6 of 6 done.",
// "Cancelled after step 3 of 6: Writing config.inc.", ...
std::string finalStepLine(RunResult result, int step, int steps, const std::string& name);

// Why the install-options dialog is shown again after a run that did not
// end the program (empty for a run that ends it).
std::string reasonShownAgain(const RunOutcome& outcome);

}  // namespace tessaron::app::wiring
