#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "settings/SettingsRecord.h"

namespace tessaron::app {

struct Backend;

// The program's command line:
//   tessaron-config [--machine DIR]                                  the settings window
//   tessaron-config --machine DIR --answers FILE [--options LIST] [--yes]   unattended run
//       [--preview [--format text|json]] [--save-answers FILE [--save-answers-clear]]
//   tessaron-config --machine DIR --restore                          undo the latest run
//   tessaron-config --help | --version
// "--name VALUE" and "--name=VALUE" are both accepted.
struct CommandLine {
    bool help = false;
    bool version = false;
    std::optional<std::string> machine;
    std::optional<std::string> answers;
    std::optional<std::string> options;
    bool yes = false;
    // --preview [--format text|json]: what the run would change, nothing run
    bool preview = false;
    std::optional<std::string> format;
    // --save-answers FILE [--save-answers-clear]: the answered window recorded
    std::optional<std::string> saveAnswers;
    bool saveAnswersClear = false;
    // --save-answers-all: every value recorded, not only the differences
    bool saveAnswersAll = false;
    // --restore: the latest run's files put back
    bool restore = false;
    // --detailed-exitcode: a preview or run that completes tells "changes"
    // (exit_status::kChanges) from "no change" (0)
    bool detailedExitcode = false;

    bool unattended() const { return answers.has_value() || restore; }
};

// Exit statuses of the unattended run.
namespace exit_status {
inline constexpr int kCompleted = 0;
inline constexpr int kCompletedWithRunError = 1;
inline constexpr int kStoppedByCheck = 2;
inline constexpr int kEndedAtLoad = 3;
inline constexpr int kCompletedWithErrors = 4;
inline constexpr int kMachineBusy = 5;
inline constexpr int kCancelled = 6;
// With --detailed-exitcode: the run completed (or would) and changed (or
// would change) something; 0 then means nothing needed changing.
inline constexpr int kChanges = 10;
// The lock file could not be opened or locked (not another run's hold).
inline constexpr int kLockFailed = 7;
// --restore: no run journal, nothing to put back.
inline constexpr int kNothingToRestore = 8;
// --restore: refused, a file was changed after the run (nothing changed).
inline constexpr int kRestoreRefused = 9;
inline constexpr int kUsage = 64;
inline constexpr int kInternalError = 70;
}  // namespace exit_status

// Parses the arguments after the program name; throws UsageError.
CommandLine parseCommandLine(const std::vector<std::string>& args);
// "tasks,database,sites" (any subset, any order) into install options; empty
// text means none. Throws UsageError for any other word.
InstallOptions parseInstallOptions(const std::string& list);
// The chosen options as the words parseInstallOptions takes, in that order,
// joined by the separator; empty text for none.
std::string installOptionsText(const InstallOptions& options, const std::string& separator);
// The text --help prints.
std::string usageText();
// The program's version, and the line --version prints ("tessaron-config 1.0.0").
inline constexpr const char* kVersion = "1.0.0";
std::string versionText();

// The unattended front end: parses the arguments (after the program name),
// opens the machine image through the backend, runs the load step, applies
// the answers, presses the install button and performs the run. The log goes
// to out as it is written, one entry a line; messages and usage errors go to err. Returns the exit
// status. With --help it prints the usage to out and returns 0; without
// --answers it reports that this build has no window and returns 64 (the
// window's main handles that case itself before calling this).
int runUnattended(const std::vector<std::string>& args, const Backend& backend, std::ostream& out,
                  std::ostream& err);

}  // namespace tessaron::app
