#pragma once

// The state of a form's controls, and how a view binds to it.
//
// A form (the settings window, the install-options dialog, the progress
// window) is a ControlModel built from its FormDesign (ControlCatalogue.h): one
// Control per catalogue entry, in catalogue order, starting in its designed
// state. Everything that changes a control goes through the model's setters:
//
//   setText(name, text)        text box text (cut to the box's maximum length)
//                              or the caption of a label, button, check box
//   setChecked(name, 0|1|2)    check box value
//   setSelectedIndex(name, i)  drop-down list selection (-1: none)
//   addEntry / addEntries / clearEntries   drop-down list contents
//   setEnabled / setVisible    state
//   press(name)                a button click
//
// A setter that really changes a value fires the control's event rule (the
// Change event of a text box, the Click event of a check box or list), just
// as the user's action would; setting the value a control already holds
// fires nothing. Rules are attached by the form's owner (SettingsWindow).
//
// A view binds both ways:
//   - it builds one widget per Control (object name = control name, place =
//     design().place / 15 pixels at 96 DPI, scaled with the screen) and copies
//     the current state into it;
//   - it registers an observer with addObserver(); every change of any
//     property of any control (including changes made by rules and by the
//     load step) is reported with the control and the property, and the
//     view copies that property into the widget;
//   - it forwards the user's edits to the setters (text edited -> setText,
//     box clicked -> setChecked, entry chosen -> setSelectedIndex, button
//     clicked -> press). Because equal values fire nothing, echoing a value
//     the model just reported back into the model is harmless.
// Enabled and visible states never stop the setters: they describe what the
// user can reach; the load step, the reader and the unattended front end set
// values whatever those states are.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/window/ControlCatalogue.h"
#include "app/window/EntryList.h"

namespace tessaron::app::window {

// One control's live state.
class Control {
public:
    explicit Control(const ControlDesign& design);

    const ControlDesign& design() const { return *design_; }
    const std::string& name() const { return design_->name; }
    ControlKind kind() const { return design_->kind; }

    // Text box text, or the caption of a label, button or check box.
    const std::string& text() const { return text_; }
    int checked() const { return checked_; }
    const EntryList& entries() const { return entries_; }
    int selectedIndex() const { return selectedIndex_; }
    // The text of the selected entry, or empty text when none is selected.
    std::string selectedText() const;
    bool enabled() const { return enabled_; }
    bool visible() const { return visible_; }

private:
    friend class ControlModel;
    const ControlDesign* design_;
    std::string text_;
    int checked_ = kUnchecked;
    EntryList entries_;
    int selectedIndex_ = -1;
    bool enabled_ = true;
    bool visible_ = true;
};

// Which property of a control changed.
enum class ControlProperty { Text, Checked, Entries, Selection, Enabled, Visible };

class ControlModel {
public:
    using Rule = std::function<void()>;
    using Observer = std::function<void(const Control&, ControlProperty)>;

    explicit ControlModel(const FormDesign& form);
    ControlModel(const ControlModel&) = delete;
    ControlModel& operator=(const ControlModel&) = delete;

    const FormDesign& form() const { return *form_; }
    bool has(std::string_view name) const;
    // The control by name; throws std::out_of_range for a name the form lacks.
    const Control& operator[](std::string_view name) const;
    // All controls in catalogue order.
    const std::vector<std::unique_ptr<Control>>& controls() const { return controls_; }

    // Shorthands for the rules and tests.
    const std::string& text(std::string_view name) const { return (*this)[name].text(); }
    int checked(std::string_view name) const { return (*this)[name].checked(); }
    bool enabled(std::string_view name) const { return (*this)[name].enabled(); }
    bool visible(std::string_view name) const { return (*this)[name].visible(); }
    std::string selectedText(std::string_view name) const { return (*this)[name].selectedText(); }
    int selectedIndex(std::string_view name) const { return (*this)[name].selectedIndex(); }
    const EntryList& entries(std::string_view name) const { return (*this)[name].entries(); }

    void setText(std::string_view name, const std::string& text);
    void setChecked(std::string_view name, int value);
    void setSelectedIndex(std::string_view name, int index);
    void addEntry(std::string_view name, const std::string& entry);
    // Appends several entries at once, reported to observers as one change
    // (a view then rebuilds its list once, not once per entry).
    void addEntries(std::string_view name, const std::vector<std::string>& entries);
    void addEntries(std::string_view name, std::vector<std::string>&& entries);
    // Appends a block of entries that several lists may show: each holds
    // the block itself, not a copy of its entries (see EntryList).
    void addEntries(std::string_view name, const EntryList::SharedBlock& entries);
    void clearEntries(std::string_view name);
    void setEnabled(std::string_view name, bool enabled);
    void setVisible(std::string_view name, bool visible);
    // A click on a button: fires its rule (nothing when it has none).
    void press(std::string_view name);

    // Attaches the control's event rule (one per control; a later call
    // replaces the earlier rule).
    void setRule(std::string_view name, Rule rule);

    // Observers hear every change; the returned id removes them again.
    int addObserver(Observer observer);
    void removeObserver(int id);

private:
    Control& control(std::string_view name);
    void notify(const Control& control, ControlProperty property);
    void fire(const Control& control);

    const FormDesign* form_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::map<std::string, Control*, std::less<>> byName_;
    std::map<std::string, Rule, std::less<>> rules_;
    std::map<int, Observer> observers_;
    int nextObserverId_ = 1;
};

// The value of every text box, check box and drop-down list of a form as an
// answers file gives it: the text, "0"/"1"/"2", the selected entry's text. A
// list without a selection has no value.
using ControlValues = std::map<std::string, std::string>;
ControlValues currentValues(const ControlModel& controls);

}  // namespace tessaron::app::window
