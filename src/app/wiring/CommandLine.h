#pragma once

#include <optional>
#include <string>

#include "settings/SettingsRecord.h"

namespace tessaron::app::wiring {

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

// The chosen options as the words --options takes ("tasks", "database",
// "sites"), in that order, joined by the separator; empty text for none.
std::string installOptionsText(const InstallOptions& options, const std::string& separator);

}  // namespace tessaron::app::wiring
