#include "winui/FormControls.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <stdexcept>

#include "platform/WideText.h"
#include "winui/FormLook.h"

namespace tessaron::winui {

using app::window::Control;
using app::window::ControlKind;
using app::window::ControlProperty;

namespace {

// The window class, styles and extended styles of each kind of control.
struct KindLook {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

KindLook lookOf(const app::window::ControlDesign& design) {
    switch (design.kind) {
        case ControlKind::Label:
            return {
                L"STATIC",
                static_cast<DWORD>(SS_NOPREFIX | (design.multiLine ? SS_LEFT : SS_LEFTNOWORDWRAP)),
                0};
        case ControlKind::TextBox:
            if (design.multiLine) {
                return {RICHEDIT_CLASSW,
                        static_cast<DWORD>(
                            WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                            (design.verticalScrollBar ? WS_VSCROLL | ES_DISABLENOSCROLL : 0)),
                        WS_EX_CLIENTEDGE};
            }
            return {L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::CheckBox:
            return {L"BUTTON", WS_TABSTOP | BS_3STATE, 0};
        case ControlKind::DropDownList:
            return {L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0};
        case ControlKind::Button:
            return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
        case ControlKind::TabControl:
            return {WC_TABCONTROLW, WS_TABSTOP, 0};
        case ControlKind::FileDialog:
            break;
    }
    return {nullptr, 0, 0};
}

// The height a drop-down list's open list may take below its box.
constexpr int kDropDownListHeight = 200;

WPARAM checkState(int value) {
    if (value == app::window::kChecked) return BST_CHECKED;
    if (value == app::window::kGreyed) return BST_INDETERMINATE;
    return BST_UNCHECKED;
}

std::string textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return fromWide(text);
}

// The width a single-line label's caption needs in the label's font.
int captionWidth(HWND label) {
    const std::wstring text = toWide(textOf(label));
    HDC dc = GetDC(label);
    HGDIOBJ before =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT needed{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, before);
    ReleaseDC(label, dc);
    return needed.right - needed.left;
}

bool growsToItsCaption(const app::window::ControlDesign& design) {
    return design.kind == ControlKind::Label && !design.multiLine;
}

}  // namespace

int controlId(const app::window::FormDesign& form, std::string_view name) {
    for (std::size_t i = 0; i < form.controls.size(); ++i) {
        if (form.controls[i].name == name) return kFirstControlId + static_cast<int>(i);
    }
    return 0;
}

FormControls::FormControls(app::window::ControlModel& model, const Surfaces& surfaces, int dpi,
                           HFONT font)
    : model_(model) {
    for (const auto& control : model_.controls()) create(*control, surfaces, font);
    place(surfaces, dpi);
    for (const auto& control : model_.controls()) copyAll(*control);
    observer_ = model_.addObserver(
        [this](const Control& control, ControlProperty property) { copy(control, property); });
}

FormControls::~FormControls() {
    model_.removeObserver(observer_);
}

void FormControls::create(const Control& control, const Surfaces& surfaces, HFONT font) {
    const app::window::ControlDesign& design = control.design();
    const KindLook look = lookOf(design);
    if (!look.windowClass) return;  // the file dialog has no window of its own
    HWND parent = design.tab >= 0 && design.tab < static_cast<int>(surfaces.pages.size())
                      ? surfaces.pages[static_cast<std::size_t>(design.tab)]
                      : surfaces.form;
    // Siblings above a control in the z-order are clipped out of what it
    // paints: a label that grows to its caption runs under the field beside
    // it, not over it.
    HWND made = CreateWindowExW(
        look.exStyle, look.windowClass, toWide(design.caption).c_str(),
        WS_CHILD | WS_CLIPSIBLINGS | look.style, 0, 0, 0, 0, parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(model_.form(), design.name))),
        GetModuleHandleW(nullptr), nullptr);
    if (!made) throw std::runtime_error("cannot create the window of control " + design.name);
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    if (design.kind == ControlKind::TabControl) {
        for (std::size_t tab = 0; tab < model_.form().tabCaptions.size(); ++tab) {
            std::wstring caption = toWide(model_.form().tabCaptions[tab]);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption.data();
            SendMessageW(made, TCM_INSERTITEMW, tab, reinterpret_cast<LPARAM>(&item));
        }
    }
    if (design.kind == ControlKind::TextBox && design.maxLength > 0) {
        SendMessageW(made, EM_LIMITTEXT, static_cast<WPARAM>(design.maxLength), 0);
    }
    windows_.emplace(design.name, made);
    names_.emplace(made, design.name);
}

void FormControls::place(const Surfaces& surfaces, int dpi) {
    for (const auto& [name, window] : windows_) {
        const app::window::ControlDesign& design = model_[name].design();
        RECT place = pixels(design.place, dpi);
        if (design.tab >= 0)
            OffsetRect(&place, surfaces.tabOriginOnPage.x, surfaces.tabOriginOnPage.y);
        int height = place.bottom - place.top;
        if (design.kind == ControlKind::DropDownList) height += kDropDownListHeight;
        SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        designedWidths_[name] = place.right - place.left;
        if (growsToItsCaption(design)) fitCaption(name, window);
        if (design.kind == ControlKind::DropDownList) {
            // The closed box as high as designed, less its frame.
            const int field = place.bottom - place.top - 2 * GetSystemMetrics(SM_CYEDGE) - 2;
            SendMessageW(window, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        }
    }
}

HWND FormControls::window(std::string_view control) const {
    const auto found = windows_.find(control);
    return found == windows_.end() ? nullptr : found->second;
}

void FormControls::copyAll(const Control& control) {
    for (auto property : app::window::kEveryProperty) copy(control, property);
}

void FormControls::copy(const Control& control, ControlProperty property) {
    HWND target = window(control.name());
    if (!target) return;
    copying_ = true;
    switch (property) {
        case ControlProperty::Text:
            copyText(control, target);
            break;
        case ControlProperty::Checked:
            if (control.kind() == ControlKind::CheckBox) {
                SendMessageW(target, BM_SETCHECK, checkState(control.checked()), 0);
            }
            break;
        case ControlProperty::Entries:
            copyEntries(control, target);
            break;
        case ControlProperty::Selection:
            if (control.kind() == ControlKind::DropDownList) {
                SendMessageW(target, CB_SETCURSEL, static_cast<WPARAM>(control.selectedIndex()), 0);
            }
            break;
        case ControlProperty::Enabled:
            EnableWindow(target, control.enabled());
            break;
        case ControlProperty::Visible:
            // A control on a tab that is not shown is hidden by its page.
            ShowWindow(target, control.visible() ? SW_SHOWNA : SW_HIDE);
            break;
    }
    copying_ = false;
}

void FormControls::copyText(const Control& control, HWND target) {
    if (control.kind() == ControlKind::TabControl || control.kind() == ControlKind::DropDownList) {
        return;
    }
    const app::window::ControlDesign& design = control.design();
    if (design.kind == ControlKind::TextBox && design.multiLine) {
        // A log only grows: the new part is appended, then its end shown.
        std::string& shown = shownLogs_[control.name()];
        const std::string& text = control.text();
        if (!shown.empty() && text.size() > shown.size() &&
            text.compare(0, shown.size(), shown) == 0) {
            const CHARRANGE end{-1, -1};
            SendMessageW(target, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
            SendMessageW(target, EM_REPLACESEL, FALSE,
                         reinterpret_cast<LPARAM>(toWide(text.substr(shown.size())).c_str()));
        } else if (text != shown) {
            SetWindowTextW(target, toWide(text).c_str());
        }
        shown = text;
        SendMessageW(target, WM_VSCROLL, SB_BOTTOM, 0);
        return;
    }
    if (textOf(target) != control.text()) SetWindowTextW(target, toWide(control.text()).c_str());
    if (growsToItsCaption(design)) fitCaption(control.name(), target);
}

// A single-line label is at least as wide as designed, and wider when its
// caption needs it (a discovered path, a wider dialog font), so that the
// caption shows whole.
void FormControls::fitCaption(const std::string& name, HWND label) {
    const auto designed = designedWidths_.find(name);
    if (designed == designedWidths_.end()) return;
    RECT place{};
    GetClientRect(label, &place);
    const int width = std::max(designed->second, captionWidth(label));
    if (width != place.right) {
        SetWindowPos(label, nullptr, 0, 0, width, place.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FormControls::copyEntries(const Control& control, HWND target) {
    if (control.kind() != ControlKind::DropDownList) return;
    SendMessageW(target, WM_SETREDRAW, FALSE, 0);
    SendMessageW(target, CB_RESETCONTENT, 0, 0);
    for (const auto& entry : control.entries()) {
        SendMessageW(target, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(entry).c_str()));
    }
    SendMessageW(target, CB_SETCURSEL, static_cast<WPARAM>(control.selectedIndex()), 0);
    SendMessageW(target, WM_SETREDRAW, TRUE, 0);
}

bool FormControls::command(HWND child, WORD code) {
    const auto found = names_.find(child);
    if (found == names_.end()) return false;
    const std::string name = found->second;
    const Control& control = model_[name];
    switch (control.kind()) {
        case ControlKind::TextBox:
            if (code == EN_CHANGE && !copying_ && !control.design().multiLine) {
                model_.setText(name, textOf(child));
                copy(model_[name], ControlProperty::Text);  // the model may cut the text
            }
            return true;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) {
                model_.clickCheckBox(name);
                copy(model_[name], ControlProperty::Checked);
            }
            return true;
        case ControlKind::DropDownList:
            if (code == CBN_SELCHANGE) {
                model_.setSelectedIndex(name,
                                        static_cast<int>(SendMessageW(child, CB_GETCURSEL, 0, 0)));
                copy(model_[name], ControlProperty::Selection);
            }
            return true;
        case ControlKind::Button:
            if (code == BN_CLICKED) model_.press(name);
            return true;
        default:
            return false;
    }
}

void FormControls::addTooltips(HWND tooltip) {
    for (const auto& [name, window] : windows_) {
        const std::string& help = model_[name].design().helpText;
        if (help.empty()) continue;
        std::wstring text = toWide(help);
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every release
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = GetParent(window);
        tool.uId = reinterpret_cast<UINT_PTR>(window);
        tool.lpszText = text.data();
        SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

}  // namespace tessaron::winui
