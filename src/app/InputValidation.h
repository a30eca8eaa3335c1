#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/MessageService.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app {

// What a value must look like besides holding no control character.
enum class ValueShape {
    Text,         // any text
    Port,         // a whole number from 1 to 65535, digits only
    Ipv4,         // four numbers from 0 to 255 joined by dots
    Ipv4OrEmpty,  // the same, or empty text
};

// One value the install button takes from a control: where it ends up, what
// shape it must have and how long it may be (0: no limit) because of the
// column or field that stores it.
struct InputRule {
    const char* control;  // the control the value is typed into
    const char* label;    // the control that names it on the window
    std::string SettingsRecord::*field;
    ValueShape shape = ValueShape::Text;
    int maxLength = 0;  // characters
};

// Every value the window hands to config.inc, the metabase, the task lines
// or the database, in the order the window shows them.
const std::vector<InputRule>& inputRules();

// A value the install button refuses.
struct InputProblem {
    std::string control;  // "txtCustomerPort"
    std::string caption;  // the caption of its label, without the colon
    std::string tab;      // the caption of the tab it is on
    std::string problem;  // completes "the value of ...": "is not a whole number ..."
};

// The first value of the record (as the install button filled it) that
// breaks its rule, or nothing when every value is acceptable.
std::optional<InputProblem> checkSettingsInput(const SettingsRecord& settings);
// Every value of the record that breaks its rule, in the window's order.
std::vector<InputProblem> checkAllSettingsInput(const SettingsRecord& settings);

// The one problem of a single value against a rule, if any.
std::optional<std::string> valueProblem(const std::string& value, ValueShape shape, int maxLength);

namespace messages {
// The window's message box for a refused value.
Message valueRefused(const InputProblem& problem);  // 10
// The same for every refused value at once (one value: the box above).
Message valuesRefused(const std::vector<InputProblem>& problems);  // 10
}  // namespace messages

}  // namespace tessaron::app
