#include "app/wiring/RunSummary.h"

namespace tessaron::app::wiring {
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
    if (counts.failures > 0) {
        text += (text.empty() ? "" : ", ") + std::to_string(counts.failures) +
                (counts.failures == 1 ? " failure line" : " failure lines");
    }
    if (counts.warnings > 0) text += (text.empty() ? "" : ", ") + count(counts.warnings, "WARNING");
    return text;
}

// The configuration file writer's failure lines, logged without a prefix.
const char* const kConfigFileFailures[] = {"Could not open configuration file for overwriting.",
                                           "Could not write to configuration file."};

constexpr const char* kConnectionFailure = "ERROR: Could not establish a connection to main";

bool contains(const std::vector<FailedPart>& parts, FailedPart part) {
    for (auto found : parts) {
        if (found == part) return true;
    }
    return false;
}

std::string joined(const std::vector<std::string>& parts, const char* last) {
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) text += i + 1 == parts.size() ? last : ", ";
        text += parts[i];
    }
    return text;
}

std::string partText(FailedPart part, const RunOutcome& outcome) {
    switch (part) {
        case FailedPart::ConfigFile:
            return "the configuration file could not be written";
        case FailedPart::DatabaseConnection:
            return "the database could not be reached";
        case FailedPart::DatabaseStatement:
            return "a database statement was refused";
        case FailedPart::MetabaseSave:
            return "the IIS configuration could not be saved (" + outcome.metabaseSaveError + ")";
    }
    return {};
}

}  // namespace

bool isErrorLine(const std::string& entry) {
    return startsWith(entry, "ERROR");
}

bool isWarningLine(const std::string& entry) {
    return startsWith(entry, "WARNING");
}

// The line itself, or the line with the reason after it (" - " and the
// system's text).
bool isUnprefixedFailureLine(const std::string& entry) {
    for (const char* line : kConfigFileFailures) {
        if (entry == line || startsWith(entry, (std::string(line) + " - ").c_str())) return true;
    }
    return false;
}

bool isFailureLine(const std::string& entry) {
    return isErrorLine(entry) || isUnprefixedFailureLine(entry);
}

LineCounts countLines(const std::vector<std::string>& entries) {
    LineCounts counts;
    for (const auto& entry : entries) {
        counts.errors += isErrorLine(entry);
        counts.warnings += isWarningLine(entry);
        counts.failures += isUnprefixedFailureLine(entry);
    }
    return counts;
}

std::vector<FailedPart> failedParts(const RunOutcome& outcome) {
    std::vector<FailedPart> parts;
    bool configFile = false;
    bool connection = false;
    for (const auto& entry : outcome.entries) {
        configFile |= isUnprefixedFailureLine(entry);
        connection |= startsWith(entry, kConnectionFailure);
    }
    if (configFile) parts.push_back(FailedPart::ConfigFile);
    if (connection) parts.push_back(FailedPart::DatabaseConnection);
    // RunError from the database stage without a connection failure: one of
    // its statements was refused.
    if (outcome.runError && !configFile && !connection) {
        parts.push_back(FailedPart::DatabaseStatement);
    }
    if (!outcome.metabaseSaveError.empty()) parts.push_back(FailedPart::MetabaseSave);
    return parts;
}

std::vector<std::string> stagesNotRun(const RunOutcome& outcome) {
    std::vector<std::string> stages;
    if (outcome.ending != RunEnding::Completed ||
        !contains(failedParts(outcome), FailedPart::ConfigFile)) {
        return stages;
    }
    if (outcome.options.CreateTasks) stages.emplace_back("scheduled tasks");
    if (outcome.options.InitializeDatabase) stages.emplace_back("database");
    return stages;
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

std::string resultLine(const RunOutcome& outcome) {
    std::string line = resultLine(resultOf(outcome), countLines(outcome.entries));
    const auto skipped = stagesNotRun(outcome);
    if (!skipped.empty()) {
        line += " Not run because the configuration file could not be written: " +
                joined(skipped, " and ") + ".";
    }
    return line;
}

std::string finalStepLine(RunResult result, int step, int steps, const std::string& name) {
    const std::string at = "step " + std::to_string(step) + " of " + std::to_string(steps);
    switch (result) {
        case RunResult::Completed:
        case RunResult::CompletedWithErrors:
            return step > 0 ? "Finished: " + at + " done." : "Finished.";
        case RunResult::StoppedByCheck:
            return step > 0 ? "Stopped at " + at + ": " + name + "." : "Stopped.";
        case RunResult::Cancelled:
            return step > 0 ? "Cancelled after " + at + ": " + name + "." : "Cancelled.";
        case RunResult::MachineBusy:
            return "Not started.";
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
    std::vector<std::string> parts;
    for (auto part : failedParts(outcome)) parts.push_back(partText(part, outcome));
    if (parts.empty()) parts.emplace_back("an error ended it");
    return "The last run did not complete: " + joined(parts, " and ") +
           ". Its log is under More > Open Last Log. Correct the settings or the server and "
           "press OK to run again.";
}

}  // namespace tessaron::app::wiring
