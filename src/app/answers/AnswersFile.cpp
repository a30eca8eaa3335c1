#include "app/answers/AnswersFile.h"

#include "app/answers/AnswerReferences.h"
#include "app/answers/QuotedInput.h"
#include "platform/CodePage1252.h"
#include "platform/Text.h"

namespace tessaron::app::answers {

using window::ControlDesign;
using window::ControlKind;
using window::ControlModel;
using window::findControlDesign;
using window::mainFormDesign;

namespace {

bool isUtf8(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size()) {
        if (!nextUtf8(text, position)) return false;
    }
    return true;
}

UsageError lineError(const std::string& fileName, int line, const std::string& text) {
    return UsageError(fileName + ":" + std::to_string(line) + ": " + text);
}

const char* kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::TabControl:
            return "a tab control";
        case ControlKind::Label:
            return "a label";
        case ControlKind::Button:
            return "a button";
        case ControlKind::FileDialog:
            return "a dialog component";
        default:
            return "a control";
    }
}

}  // namespace

std::vector<Answer> parseAnswers(std::string_view text, const std::string& fileName) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    std::vector<Answer> answers;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        std::string_view line =
            text.substr(start, end == std::string_view::npos ? text.npos : end - start);
        start = end == std::string_view::npos ? text.size() : end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        const std::string trimmed(trimBlanks(line));
        if (trimmed.empty() || trimmed.front() == '#') continue;
        // A file saved in another encoding (an ANSI editor's "Café") would
        // otherwise reach the run and fail there when config.inc is written.
        if (!isUtf8(line)) {
            throw lineError(fileName, lineNumber, "the line is not UTF-8 text");
        }

        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            throw lineError(fileName, lineNumber,
                            "malformed line (expected CONTROL = VALUE): " + shownInput(trimmed));
        }
        Answer answer{fileName, lineNumber, std::string(trimBlanks(line.substr(0, equals))),
                      std::string(trimBlanks(line.substr(equals + 1)))};
        if (answer.control.empty()) {
            throw lineError(fileName, lineNumber, "malformed line (no control name before \"=\")");
        }
        // Only a value enclosed in double quotes loses them; a lone or
        // unbalanced quote is part of the text.
        if (answer.value.size() >= 2 && answer.value.front() == '"' && answer.value.back() == '"') {
            answer.value = answer.value.substr(1, answer.value.size() - 2);
            answer.quoted = true;
        } else {
            // Only an unquoted value may name where it is kept ("@env:NAME").
            answer.value = resolveAnswerReference(answer.value, fileName, lineNumber);
        }

        if (answer.control == kOptionsAnswer) {
            // The install options a run takes without --options; the front end
            // checks the list.
            answers.push_back(std::move(answer));
            continue;
        }
        const ControlDesign* design = findControlDesign(mainFormDesign(), answer.control);
        if (!design) {
            throw lineError(fileName, lineNumber,
                            "unknown control " + quotedInput(answer.control) +
                                " (not a control of the settings window)");
        }
        switch (design->kind) {
            case ControlKind::TextBox:
                if (design->maxLength > 0 &&
                    utf8Length(answer.value) > static_cast<std::size_t>(design->maxLength)) {
                    throw lineError(fileName, lineNumber,
                                    answer.control + " accepts at most " +
                                        std::to_string(design->maxLength) + " characters");
                }
                break;
            case ControlKind::CheckBox:
                if (answer.value != "0" && answer.value != "1" && answer.value != "2") {
                    throw lineError(fileName, lineNumber,
                                    answer.control +
                                        " is a check box: the value must be 0, 1 or 2, not " +
                                        quotedInput(answer.value));
                }
                break;
            case ControlKind::DropDownList:
                break;
            default:
                throw lineError(
                    fileName, lineNumber,
                    answer.control + " is " + kindName(design->kind) + " and takes no value");
        }
        answers.push_back(std::move(answer));
    }
    return answers;
}

void applyAnswer(ControlModel& controls, const Answer& answer) {
    const auto& control = controls[answer.control];
    switch (control.kind()) {
        case ControlKind::TextBox:
            controls.setText(answer.control, answer.value);
            return;
        case ControlKind::CheckBox:
            controls.setChecked(answer.control, std::stoi(answer.value));
            return;
        case ControlKind::DropDownList: {
            const auto& entries = control.entries();
            for (std::size_t index = 0; index < entries.size(); ++index) {
                if (entries[index] == answer.value) {
                    controls.setSelectedIndex(answer.control, static_cast<int>(index));
                    return;
                }
            }
            std::string list;
            for (const auto& entry : entries) list += (list.empty() ? "\"" : ", \"") + entry + "\"";
            throw lineError(
                answer.fileName, answer.line,
                quotedInput(answer.value) + " is not an entry of " + answer.control +
                    (list.empty() ? " (the list is empty)" : " (entries: " + list + ")"));
        }
        default:
            throw lineError(answer.fileName, answer.line, answer.control + " takes no value");
    }
}

}  // namespace tessaron::app::answers
