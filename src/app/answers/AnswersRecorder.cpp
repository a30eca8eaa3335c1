#include "app/answers/AnswersRecorder.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <ctime>

#include "app/window/FieldTable.h"
#include "app/window/MainFormControls.h"

namespace tessaron::app::answers {

using window::Control;
using window::ControlKind;
using window::ControlModel;
using window::ControlValues;
using window::currentValues;
using window::Field;
using window::findFieldOfControl;
namespace frmMain = window::frmMain;

namespace {

// Check boxes fire the rules that enable fields and mirror addresses, lists
// swap controls; texts come last so nothing overwrites them afterwards.
int replayRank(ControlKind kind) {
    switch (kind) {
        case ControlKind::CheckBox:
            return 0;
        case ControlKind::DropDownList:
            return 1;
        default:
            return 2;
    }
}

// What the load step finds out about the server itself; a recording of
// every value still leaves these out unless they were changed, so that the
// machine the file is applied to keeps its own.
bool serverOwn(const std::string& control) {
    static constexpr std::array controls = {frmMain::txtMainIP, frmMain::txtInternalIP,
                                            frmMain::chkInternalIP, frmMain::txtLogRoot};
    return std::find(controls.begin(), controls.end(), control) != controls.end();
}

bool recordable(ControlKind kind) {
    return kind == ControlKind::CheckBox || kind == ControlKind::DropDownList ||
           kind == ControlKind::TextBox;
}

bool needsQuotes(const std::string& value) {
    if (value.empty()) return false;
    const bool blankAtEnd = value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
                            value.back() == '\t';
    const bool enclosed = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    // "@" and "%" begin the forms that stand for something else.
    return blankAtEnd || enclosed || value.front() == '@' || value.front() == '%';
}

}  // namespace

std::string passwordVariable(const std::string& control) {
    const Field* row = findFieldOfControl(control);
    return row ? std::string(row->recordedAs) : std::string();
}

std::string recordAnswers(const ControlModel& controls, const ControlValues& discovered,
                          const AnswersHeader& header, bool clearPasswords) {
    RecordingOptions options;
    options.clearPasswords = clearPasswords;
    return recordAnswers(controls, discovered, header, options);
}

std::string recordAnswers(const ControlModel& controls, const ControlValues& discovered,
                          const AnswersHeader& header, const RecordingOptions& options) {
    const bool clearPasswords = options.clearPasswords;
    std::vector<const Control*> order;
    for (const auto& control : controls.controls()) {
        if (recordable(control->kind())) order.push_back(control.get());
    }
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        return replayRank(a->kind()) < replayRank(b->kind());
    });

    const ControlValues current = currentValues(controls);
    std::string lines;
    std::vector<std::string> variables;
    for (const Control* control : order) {
        const auto now = current.find(control->name());
        if (now == current.end()) continue;
        const auto was = discovered.find(control->name());
        const bool unchanged = was != discovered.end() && was->second == now->second;
        if (unchanged && (!options.all || serverOwn(control->name()))) continue;

        std::string value = now->second;
        const std::string variable = passwordVariable(control->name());
        std::optional<std::string> special;
        if (options.specialForm && variable.empty()) {
            special = options.specialForm(control->name(), value);
        }
        if (!variable.empty() && !clearPasswords) {
            variables.push_back(variable);
            value = "@env:" + variable;
        } else if (special) {
            value = *special;
        } else if (needsQuotes(value)) {
            value = "\"" + value + "\"";
        }
        lines += control->name() + " = " + value + "\n";
    }

    std::string text =
        "# Tessaron Configuration Utility answers, recorded from the settings window\n"
        "# on " +
        header.machine + " at " + header.when + ".\n" +
        (options.all ? std::string("# Every value of the window is listed,\n")
                     : std::string("# Only the values that differ from what was found on that "
                                   "machine are listed,\n")) +
        "# in the order in which they are to be applied.\n";
    if (!variables.empty()) {
        text += "# Passwords are read from the environment:";
        for (const auto& variable : variables) text += " " + variable;
        text += "\n";
    } else if (clearPasswords) {
        text += "# Passwords are written in clear text: keep this file private.\n";
    }
    if (options.installOptions) {
        text += "\n# The install options of a run without --options.\n@options = " +
                *options.installOptions + "\n";
    }
    return text + "\n" + lines;
}

std::string answersHeaderTime() {
    const std::time_t seconds =
        std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

}  // namespace tessaron::app::answers
