#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/window/ControlModel.h"

namespace tessaron::app::answers {

// What the comment header of a recorded answers file names.
struct AnswersHeader {
    std::string machine;  // the server's name
    std::string when;     // "2026-12-08 13:15"
};

// The environment variable a password box is recorded as, by its row of the
// field table (txtAdminPassword -> TESSARON_ADMIN_PASSWORD); empty for other
// controls.
std::string passwordVariable(const std::string& control);

// An answers file that reproduces the window's current values on another
// machine: every control whose value differs from the one the load step
// discovered here, check boxes first, then drop-down lists, then text boxes,
// each group in window order, so that a rule fired by a later answer (a
// check box mirroring the main address into the internal one, say) never
// overwrites an earlier one. Passwords become "@env:" references to the
// variables passwordVariable names unless clearPasswords is set; a value the
// reader would change (blanks at its ends, quotes around it, a leading "@")
// is written in double quotes.
std::string recordAnswers(const app::window::ControlModel& controls,
                          const app::window::ControlValues& discovered, const AnswersHeader& header,
                          bool clearPasswords);

// How a recording is made beyond the values themselves.
struct RecordingOptions {
    bool clearPasswords = false;
    // Every value of the window rather than only those that differ from what
    // was discovered, so that the file reproduces this machine's settings on
    // another one whatever that one holds.
    bool all = false;
    // The install options, recorded as the line "@options = LIST" that a run
    // without --options takes; none: no such line.
    std::optional<std::string> installOptions;
    // The form a value is written in when it has one of its own (a site
    // list's "@panel-site", a path relative to the release's folders),
    // written without quotes; nullopt or no function: the value itself.
    std::function<std::optional<std::string>(const std::string& control, const std::string& value)>
        specialForm;
};
std::string recordAnswers(const app::window::ControlModel& controls,
                          const app::window::ControlValues& discovered, const AnswersHeader& header,
                          const RecordingOptions& options);

// The local date and time as the header shows it.
std::string answersHeaderTime();

}  // namespace tessaron::app::answers
