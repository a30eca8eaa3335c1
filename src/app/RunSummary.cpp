#include "app/RunSummary.h"

namespace tessaron::app {
namespace {

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::string count(int number, const char* what) {
    return std::to_string(number) + " " + what + (number == 1 ? " line" : " lines");
}

// ", 2 ERROR lines, 1 WARNING line" for the counts that are not zero.
std::string countsText(const LineCounts& counts) {
    std::string text;
    if (counts.errors > 0) text += count(counts.errors, "ERROR");
    if (counts.warnings > 0) text += (text.empty() ? "" : ", ") + count(counts.warnings, "WARNING");
    return text;
}

}  // namespace

bool isErrorLine(const std::string& entry) {
    return startsWith(entry, "ERROR");
}

bool isWarningLine(const std::string& entry) {
    return startsWith(entry, "WARNING");
}

LineCounts countLines(const std::vector<std::string>& entries) {
    LineCounts counts;
    for (const auto& entry : entries) {
        counts.errors += isErrorLine(entry);
        counts.warnings += isWarningLine(entry);
    }
    return counts;
}

RunResult resultOf(const RunOutcome& outcome) {
    switch (outcome.ending) {
        case RunEnding::StoppedByCheck:
            return RunResult::StoppedByCheck;
        case RunEnding::Cancelled:
            return RunResult::Cancelled;
        case RunEnding::MachineBusy:
            return RunResult::MachineBusy;
        case RunEnding::LockFailed:
            // Nothing was written, and the log's last line says why.
            return RunResult::StoppedByCheck;
        case RunEnding::Completed:
            break;
    }
    const bool errors = outcome.runError || !outcome.metabaseSaveError.empty() ||
                        !outcome.unexpectedError.empty() || countLines(outcome.entries).errors > 0;
    return errors ? RunResult::CompletedWithErrors : RunResult::Completed;
}

std::string resultTitle(RunResult result) {
    switch (result) {
        case RunResult::Completed:
            return "Tessaron Configuration Completed";
        case RunResult::CompletedWithErrors:
            return "Tessaron Configuration Completed with Errors";
        case RunResult::StoppedByCheck:
            return "Tessaron Configuration Stopped";
        case RunResult::Cancelled:
            return "Tessaron Configuration Cancelled";
        case RunResult::MachineBusy:
            return "Tessaron Configuration Not Started";
    }
    return {};
}

std::string resultLine(RunResult result, const LineCounts& counts) {
    const std::string counted = countsText(counts);
    switch (result) {
        case RunResult::Completed:
            return counted.empty() ? "Completed." : "Completed: " + counted + ".";
        case RunResult::CompletedWithErrors:
            return counted.empty() ? "Completed with errors."
                                   : "Completed with errors: " + counted + ".";
        case RunResult::StoppedByCheck:
            return "Stopped by a check: nothing was written; see the last line of the log.";
        case RunResult::Cancelled:
            return counted.empty() ? "Cancelled before the run completed."
                                   : "Cancelled before the run completed: " + counted + ".";
        case RunResult::MachineBusy:
            return "Not started: another configuration run holds this machine; nothing was "
                   "changed.";
    }
    return {};
}

std::string reasonShownAgain(const RunOutcome& outcome) {
    if (outcome.ending == RunEnding::Cancelled) {
        return "The last run was cancelled before it completed. Press OK to run again, or "
               "Cancel to return to the settings.";
    }
    if (outcome.ending == RunEnding::MachineBusy) {
        return "Another configuration run is in progress on this machine. Press OK to try again "
               "when it has finished, or Cancel to return to the settings.";
    }
    if (outcome.closingEndsProgram() && outcome.metabaseSaveError.empty()) return {};
    return "The last run did not complete: the configuration file could not be written, the "
           "database could not be reached or the IIS configuration could not be saved (see its "
           "log). Correct the settings or the server and press OK to run again.";
}

}  // namespace tessaron::app
