#pragma once

#include <optional>
#include <string>

#include "app/window/FieldTable.h"
#include "app/window/MessageService.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app::window {

// A value the install button refuses.
struct InputProblem {
    std::string control;  // "txtCustomerPort"
    std::string caption;  // the caption of its label, without the colon
    std::string tab;      // the caption of the tab it is on
    std::string problem;  // completes "the value of ...": "is not a whole number ..."
};

// The first value of the record (as the install button filled it), in the
// field table's order, that breaks its row's shape or length, or nothing
// when every value is acceptable.
std::optional<InputProblem> checkSettingsInput(const SettingsRecord& settings);
// Every value of the record that breaks its rule, in the window's order.
std::vector<InputProblem> checkAllSettingsInput(const SettingsRecord& settings);

// The problem of one row's value in the record, if the install button
// checks that row and the value breaks it.
std::optional<InputProblem> fieldProblem(const Field& row, const SettingsRecord& settings);

// The one problem of a single value against a rule, if any.
std::optional<std::string> valueProblem(const std::string& value, ValueShape shape, int maxLength);

namespace messages {
// The window's message box for a refused value.
Message valueRefused(const InputProblem& problem);  // 10
// The same for every refused value at once (one value: the box above).
Message valuesRefused(const std::vector<InputProblem>& problems);  // 10
}  // namespace messages

}  // namespace tessaron::app::window
