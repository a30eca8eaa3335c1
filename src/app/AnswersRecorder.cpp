#include "app/AnswersRecorder.h"

#include <algorithm>
#include <chrono>
#include <ctime>

#include "app/FieldTable.h"

namespace tessaron::app {
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

bool recordable(ControlKind kind) {
    return kind == ControlKind::CheckBox || kind == ControlKind::DropDownList ||
           kind == ControlKind::TextBox;
}

bool needsQuotes(const std::string& value) {
    if (value.empty()) return false;
    const bool blankAtEnd = value.front() == ' ' || value.front() == '\t' || value.back() == ' ' ||
                            value.back() == '\t';
    const bool enclosed = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return blankAtEnd || enclosed || value.front() == '@';
}

}  // namespace

ControlValues currentValues(const ControlModel& controls) {
    ControlValues values;
    for (const auto& control : controls.controls()) {
        switch (control->kind()) {
            case ControlKind::TextBox:
                values[control->name()] = control->text();
                break;
            case ControlKind::CheckBox:
                values[control->name()] = std::to_string(control->checked());
                break;
            case ControlKind::DropDownList:
                if (control->selectedIndex() >= 0)
                    values[control->name()] = control->selectedText();
                break;
            default:
                break;
        }
    }
    return values;
}

std::string passwordVariable(const std::string& control) {
    const Field* row = findFieldOfControl(control);
    return row ? std::string(row->recordedAs) : std::string();
}

std::string recordAnswers(const ControlModel& controls, const ControlValues& discovered,
                          const AnswersHeader& header, bool clearPasswords) {
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
        if (was != discovered.end() && was->second == now->second) continue;

        std::string value = now->second;
        const std::string variable = passwordVariable(control->name());
        if (!variable.empty() && !clearPasswords) {
            variables.push_back(variable);
            value = "@env:" + variable;
        } else if (needsQuotes(value)) {
            value = "\"" + value + "\"";
        }
        lines += control->name() + " = " + value + "\n";
    }

    std::string text =
        "# Tessaron Configuration Utility answers, recorded from the settings window\n"
        "# on " +
        header.machine + " at " + header.when +
        ".\n"
        "# Only the values that differ from what was found on that machine are "
        "listed,\n"
        "# in the order in which they are to be applied.\n";
    if (!variables.empty()) {
        text += "# Passwords are read from the environment:";
        for (const auto& variable : variables) text += " " + variable;
        text += "\n";
    } else if (clearPasswords) {
        text += "# Passwords are written in clear text: keep this file private.\n";
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

}  // namespace tessaron::app
