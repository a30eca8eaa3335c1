#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "app/window/ControlModel.h"

namespace tessaron::app::answers {

// A usage error of the command line or the answers file; what() is the
// complete text for standard error ("answers.txt:4: unknown control ...").
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One "CONTROL = VALUE" line of an answers file.
struct Answer {
    std::string fileName;
    int line = 0;
    std::string control;
    std::string value;
    // The value stood in double quotes: taken literally, never a reference
    // or one of the special forms of a site list (see SiteAnswers.h).
    bool quoted = false;
};

// The line "@options = tasks,database,sites" of an answers file: the
// install options of a run without --options.
inline constexpr const char* kOptionsAnswer = "@options";

// Parses an answers file (UTF-8; a leading byte-order mark is skipped). Blank
// lines and lines whose first non-blank character is "#" are skipped. The
// control is the text before the first "=", blanks trimmed; the value is the
// text after it with blanks (spaces and tabs) trimmed or, when that is
// enclosed in double quotes (at least two characters, a quote at each end),
// the text between them exactly; any other quote is part of the value. An
// unquoted value "@env:NAME" or "@file:PATH" is replaced by what it names
// (see AnswerReferences.h); a quoted one is always literal.
//
// An "@options" line is returned as an answer of that name.
//
// Checked here, before the machine is touched: the line is UTF-8 and has an
// "=", the control is one of the settings window's text boxes, check boxes
// or drop-down lists, a check box value is 0, 1 or 2, and a text fits its
// box's maximum length. Throws UsageError naming the file and line.
std::vector<Answer> parseAnswers(std::string_view text, const std::string& fileName);

// Sets one answer on the loaded window as a user would (the control's rule
// fires), whatever the control's enabled or visible state. A drop-down value
// must be the text of one of its entries (the first equal entry is chosen);
// otherwise throws UsageError naming the file and line.
void applyAnswer(app::window::ControlModel& controls, const Answer& answer);

}  // namespace tessaron::app::answers
