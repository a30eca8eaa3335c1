// How a finished run is stated: result, title and line for each ending, the
// ERROR and WARNING counts, and why the options dialog is shown again.
#include <gtest/gtest.h>

#include "app/wiring/RunSummary.h"

namespace tessaron::app::wiring {
namespace {

RunOutcome outcome(RunEnding ending, bool runError, std::vector<std::string> entries,
                   InstallOptions options = {}, std::string metabaseSaveError = {}) {
    RunOutcome made;
    made.ending = ending;
    made.runError = runError;
    made.entries = std::move(entries);
    made.options = options;
    made.metabaseSaveError = std::move(metabaseSaveError);
    return made;
}

std::string shownAgain(const std::string& failed) {
    return "The last run did not complete: " + failed +
           ". Its log is under More > Open Last Log. Correct the settings or the server and press "
           "OK to run again.";
}

TEST(RunSummary, ResultTitleAndLineOfEachEnding) {
    const std::string done = "Tessaron configuration completed.";
    struct Case {
        RunOutcome outcome;
        std::string title;
        std::string line;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {outcome(RunEnding::Completed, false, {"Beginning Tessaron configuration...", done}),
         "Tessaron Configuration Completed", "Completed.", ""},
        {outcome(RunEnding::Completed, false, {"WARNING: a", "WARNING: b", done}),
         "Tessaron Configuration Completed", "Completed: 2 WARNING lines.", ""},
        {outcome(RunEnding::Completed, false, {"ERROR: Could not create site", "WARNING: w", done}),
         "Tessaron Configuration Completed with Errors",
         "Completed with errors: 1 ERROR line, 1 WARNING line.", ""},
        // The configuration file's failure lines carry no prefix; the stages
        // they keep from running are named.
        {outcome(RunEnding::Completed, true, {"Could not write to configuration file.", done}),
         "Tessaron Configuration Completed with Errors", "Completed with errors: 1 failure line.",
         shownAgain("the configuration file could not be written")},
        // ... also with the reason after them.
        {outcome(RunEnding::Completed, true,
                 {"Could not write to configuration file. - There is not enough space on the disk.",
                  done}),
         "Tessaron Configuration Completed with Errors", "Completed with errors: 1 failure line.",
         shownAgain("the configuration file could not be written")},
        {outcome(RunEnding::Completed, true,
                 {"Could not open configuration file for overwriting.",
                  "Could not write to configuration file.", done},
                 InstallOptions{true, true, true}),
         "Tessaron Configuration Completed with Errors",
         "Completed with errors: 2 failure lines. Not run because the configuration file could "
         "not be written: scheduled tasks and database.",
         shownAgain("the configuration file could not be written")},
        {outcome(
             RunEnding::Completed, true,
             {"ERROR: Could not establish a connection to main database server - refused", done},
             InstallOptions{false, true, false}),
         "Tessaron Configuration Completed with Errors", "Completed with errors: 1 ERROR line.",
         shownAgain("the database could not be reached")},
        {outcome(RunEnding::Completed, false, {done}, {}, "Access is denied."),
         "Tessaron Configuration Completed with Errors", "Completed with errors.",
         shownAgain("the IIS configuration could not be saved (Access is denied.)")},
        {outcome(RunEnding::StoppedByCheck, false, {"ERROR: FrontPage"}),
         "Tessaron Configuration Stopped",
         "Stopped by a check: nothing was written; see the last line of the log.", ""},
        {outcome(RunEnding::Cancelled, false, {"Tessaron configuration cancelled."}),
         "Tessaron Configuration Cancelled", "Cancelled before the run completed.",
         "The last run was cancelled before it completed. Press OK to run again, or Cancel to "
         "return to the settings."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const RunResult result = resultOf(c.outcome);
        EXPECT_EQ(resultTitle(result), c.title);
        EXPECT_EQ(resultLine(c.outcome), c.line);
        EXPECT_EQ(reasonShownAgain(c.outcome), c.reason);
    }
}

TEST(RunSummary, OnlyLinesThatBeginWithTheWordsCount) {
    const LineCounts counts = countLines(
        {"ERROR: a", "ERRORS are", "WARNING: b", "Note: ERROR inside", " WARNING: indented"});
    EXPECT_EQ(counts.errors, 2);
    EXPECT_EQ(counts.warnings, 1);
    EXPECT_EQ(counts.failures, 0);
}

}  // namespace
}  // namespace tessaron::app::wiring
