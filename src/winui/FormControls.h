#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "app/window/ControlModel.h"

namespace tessaron::winui {

// The child-window id of a form's control: its place in the catalogue, from
// kFirstControlId on (tests find a control's window by it).
inline constexpr int kFirstControlId = 1000;
int controlId(const app::window::FormDesign& form, std::string_view name);

// The windows of one form's controls, bound to the form's ControlModel both
// ways as ControlModel.h describes:
//
//   label, button          caption           <- model
//   edit box               text              <-> model (typed text)
//   multi-line text box    text              <- model (appended when it grows)
//   check box              0, 1, 2 (greyed)  <-> model (a click ticks or clears)
//   drop-down list         entries, index    <-> model (an entry chosen)
//   every control          enabled, visible  <- model
//
// A control on a tab is made on that tab's page; the others on the form.
// The owner hands on every WM_COMMAND its form or pages receive.
class FormControls {
public:
    struct Surfaces {
        HWND form = nullptr;
        // One page per tab of the form's tab control, and the tab control's
        // own top left corner in the page's coordinates.
        std::vector<HWND> pages;
        POINT tabOriginOnPage{0, 0};
    };

    FormControls(app::window::ControlModel& model, const Surfaces& surfaces, int dpi, HFONT font);
    ~FormControls();
    FormControls(const FormControls&) = delete;
    FormControls& operator=(const FormControls&) = delete;

    // The window of a control, or nullptr.
    HWND window(std::string_view control) const;
    // Places every control again (after a DPI change or a page move).
    void place(const Surfaces& surfaces, int dpi);
    // A control's command (click, edit, choice); true when it was one.
    bool command(HWND child, WORD code);
    // Tooltips for every control with help text.
    void addTooltips(HWND tooltip);

private:
    void create(const app::window::Control& control, const Surfaces& surfaces, HFONT font);
    void copyAll(const app::window::Control& control);
    void copy(const app::window::Control& control, app::window::ControlProperty property);
    void copyText(const app::window::Control& control, HWND target);
    void copyEntries(const app::window::Control& control, HWND target);
    void fitCaption(const std::string& name, HWND label);

    app::window::ControlModel& model_;
    int observer_ = 0;
    bool copying_ = false;  // edits the model makes are not typed edits
    std::map<std::string, HWND, std::less<>> windows_;
    std::map<HWND, std::string> names_;
    // Each control's width as designed, in pixels at the current DPI.
    std::map<std::string, int, std::less<>> designedWidths_;
    // What the multi-line boxes show (a rich edit box reads its text back
    // with other line ends than it was given).
    std::map<std::string, std::string, std::less<>> shownLogs_;
};

}  // namespace tessaron::winui
