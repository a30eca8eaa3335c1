#include "app/window/ControlModel.h"

#include <iterator>
#include <stdexcept>
#include <utility>

namespace tessaron::app::window {

Control::Control(const ControlDesign& design)
    : design_(&design),
      text_(design.caption),
      checked_(design.checked),
      entries_(design.entries),
      enabled_(design.enabled),
      visible_(design.visible) {}

std::string Control::selectedText() const {
    if (selectedIndex_ < 0 || selectedIndex_ >= static_cast<int>(entries_.size())) return {};
    return entries_[static_cast<std::size_t>(selectedIndex_)];
}

ControlModel::ControlModel(const FormDesign& form) : form_(&form) {
    for (const auto& design : form.controls) {
        controls_.push_back(std::make_unique<Control>(design));
        byName_.emplace(design.name, controls_.back().get());
    }
}

bool ControlModel::has(std::string_view name) const {
    return byName_.find(name) != byName_.end();
}

const Control& ControlModel::operator[](std::string_view name) const {
    const auto found = byName_.find(name);
    if (found == byName_.end()) {
        throw std::out_of_range(form_->name + " has no control named " + std::string(name));
    }
    return *found->second;
}

Control& ControlModel::control(std::string_view name) {
    return const_cast<Control&>(static_cast<const ControlModel&>(*this)[name]);
}

namespace {

// The byte length of the first `limit` characters of UTF-8 text, so that a
// length limit counts characters as the user sees them and never cuts one.
std::size_t prefixOfCharacters(const std::string& text, std::size_t limit) {
    std::size_t characters = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const bool startsCharacter = (static_cast<unsigned char>(text[index]) & 0xC0) != 0x80;
        if (startsCharacter && characters++ == limit) return index;
    }
    return text.size();
}

}  // namespace

void ControlModel::setText(std::string_view name, const std::string& text) {
    auto& target = control(name);
    std::string value = text;
    const int limit = target.design().maxLength;
    if (target.kind() == ControlKind::TextBox && limit > 0) {
        value.resize(prefixOfCharacters(value, static_cast<std::size_t>(limit)));
    }
    if (value == target.text_) return;
    target.text_ = std::move(value);
    notify(target, ControlProperty::Text);
    if (target.kind() == ControlKind::TextBox) fire(target);
}

void ControlModel::setChecked(std::string_view name, int value) {
    auto& target = control(name);
    if (value < kUnchecked || value > kGreyed) {
        throw std::invalid_argument("check box value must be 0, 1 or 2");
    }
    if (value == target.checked_) return;
    target.checked_ = value;
    notify(target, ControlProperty::Checked);
    fire(target);
}

void ControlModel::setSelectedIndex(std::string_view name, int index) {
    auto& target = control(name);
    if (index < -1 || index >= static_cast<int>(target.entries_.size())) {
        throw std::out_of_range("list index out of range for " + std::string(name));
    }
    if (index == target.selectedIndex_) return;
    target.selectedIndex_ = index;
    notify(target, ControlProperty::Selection);
    if (index >= 0) fire(target);
}

void ControlModel::addEntry(std::string_view name, const std::string& entry) {
    auto& target = control(name);
    target.entries_.push_back(entry);
    notify(target, ControlProperty::Entries);
}

void ControlModel::addEntries(std::string_view name, const std::vector<std::string>& entries) {
    if (entries.empty()) return;
    auto& target = control(name);
    target.entries_.append(EntryList::Block(entries));
    notify(target, ControlProperty::Entries);
}

void ControlModel::addEntries(std::string_view name, std::vector<std::string>&& entries) {
    if (entries.empty()) return;
    auto& target = control(name);
    target.entries_.append(std::move(entries));
    notify(target, ControlProperty::Entries);
}

void ControlModel::addEntries(std::string_view name, const EntryList::SharedBlock& entries) {
    if (!entries || entries->empty()) return;
    auto& target = control(name);
    target.entries_.append(entries);
    notify(target, ControlProperty::Entries);
}

void ControlModel::clearEntries(std::string_view name) {
    auto& target = control(name);
    if (target.entries_.empty() && target.selectedIndex_ < 0) return;
    target.entries_.clear();
    const bool hadSelection = target.selectedIndex_ >= 0;
    target.selectedIndex_ = -1;
    notify(target, ControlProperty::Entries);
    if (hadSelection) notify(target, ControlProperty::Selection);
}

void ControlModel::setEnabled(std::string_view name, bool enabled) {
    auto& target = control(name);
    if (enabled == target.enabled_) return;
    target.enabled_ = enabled;
    notify(target, ControlProperty::Enabled);
}

void ControlModel::setVisible(std::string_view name, bool visible) {
    auto& target = control(name);
    if (visible == target.visible_) return;
    target.visible_ = visible;
    notify(target, ControlProperty::Visible);
}

void ControlModel::press(std::string_view name) {
    fire(control(name));
}

void ControlModel::setRule(std::string_view name, Rule rule) {
    const auto& target = (*this)[name];
    rules_[target.name()] = std::move(rule);
}

int ControlModel::addObserver(Observer observer) {
    const int id = nextObserverId_++;
    observers_.emplace(id, std::move(observer));
    return id;
}

void ControlModel::removeObserver(int id) {
    observers_.erase(id);
}

void ControlModel::notify(const Control& control, ControlProperty property) {
    if (observers_.empty()) return;
    // Copy so an observer may remove itself while being told.
    const auto observers = observers_;
    for (const auto& [id, observer] : observers) observer(control, property);
}

void ControlModel::fire(const Control& control) {
    const auto found = rules_.find(control.name());
    if (found != rules_.end() && found->second) {
        const Rule rule = found->second;
        rule();
    }
}

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

}  // namespace tessaron::app::window
