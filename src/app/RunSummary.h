#pragma once

#include <string>
#include <vector>

#include "app/ProgressRun.h"

namespace tessaron::app {

// How a finished run is stated to the administrator.
enum class RunResult { Completed, CompletedWithErrors, StoppedByCheck, Cancelled, MachineBusy };

// Entries that begin "ERROR" and "WARNING".
struct LineCounts {
    int errors = 0;
    int warnings = 0;
};
LineCounts countLines(const std::vector<std::string>& entries);
// True for an entry counted as an ERROR (WARNING) line.
bool isErrorLine(const std::string& entry);
bool isWarningLine(const std::string& entry);

// A run that completed with RunError set or with ERROR lines completed with
// errors.
RunResult resultOf(const RunOutcome& outcome);

// The progress window's title and result line for a finished run, e.g.
// "Tessaron Configuration Completed with Errors" and
// "Completed with errors: 2 ERROR lines, 1 WARNING line.".
std::string resultTitle(RunResult result);
std::string resultLine(RunResult result, const LineCounts& counts);

// Why the install-options dialog is shown again after a run that did not
// end the program (empty for a run that ends it).
std::string reasonShownAgain(const RunOutcome& outcome);

}  // namespace tessaron::app
