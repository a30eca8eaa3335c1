#include "winui/OptionsDialog.h"

#include "app/window/ControlCatalogue.h"
#include "app/window/DialogControls.h"
#include "platform/WideText.h"
#include "winui/FileDialogs.h"
#include "winui/FormLook.h"
#include "winui/MessageBoxes.h"

namespace tessaron::winui {

namespace frmInstall = app::window::frmInstall;

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
constexpr int kFirstToolCommand = 3200;
constexpr COLORREF kReasonColour = RGB(0xb0, 0x00, 0x20);

}  // namespace

// The preview's text in a window of its own, in a fixed-pitch font; closing
// it hides it until the next preview.
class PreviewWindow : public NativeWindow {
public:
    PreviewWindow(HWND owner, int dpi) {
        create(L"TessaronPreview", 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
               toWide(app::tools::kPreviewWindowTitle), owner,
               RECT{40, 40, 40 + MulDiv(760, dpi, 96), 40 + MulDiv(520, dpi, 96)});
        text_ = CreateWindowExW(
            WS_EX_CLIENTEDGE, L"EDIT", L"",
            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY, 0, 0, 0,
            0, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
        font_ = CreateFontW(-MulDiv(9, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                            DEFAULT_CHARSET, 0, 0, DEFAULT_QUALITY, FIXED_PITCH, L"Courier New");
        SendMessageW(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        fit();
    }
    ~PreviewWindow() override { DeleteObject(font_); }

    HWND text() const { return text_; }
    void show(const std::string& text) {
        std::string lines;  // the edit box breaks lines at CR LF only
        for (char character : text) {
            if (character == '\n' && (lines.empty() || lines.back() != '\r')) lines += '\r';
            lines += character;
        }
        SetWindowTextW(text_, toWide(lines).c_str());
        ShowWindow(hwnd(), SW_SHOW);
    }

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SIZE) fit();
        if (message == WM_CLOSE) {
            ShowWindow(hwnd(), SW_HIDE);
            return 0;
        }
        return byDefault(message, wParam, lParam);
    }

private:
    void fit() {
        RECT client{};
        GetClientRect(hwnd(), &client);
        MoveWindow(text_, 0, 0, client.right, client.bottom, TRUE);
    }

    HWND text_ = nullptr;
    HFONT font_ = nullptr;
};

OptionsDialog::OptionsDialog(InstallOptions& options, HWND owner, Tools tools)
    : model_(options), owner_(owner), tools_(std::move(tools)) {
    const app::window::FormDesign& form = app::window::installFormDesign();
    create(L"TessaronInstall", kExStyle, kStyle, toWide(form.caption), owner, RECT{0, 0, 0, 0});
    dpi_ = windowDpi(hwnd());
    font_ = createFormFont(dpi_);
    model_.Load();
    controls_ = std::make_unique<FormControls>(
        model_.controls(), FormControls::Surfaces{hwnd(), {}, {0, 0}}, dpi_, font_);
    model_.controls().setRule(frmInstall::OKButton, [this] {
        model_.Confirm();
        if (confirmed) confirmed();
    });
    model_.controls().setRule(frmInstall::CancelButton, [this] {
        if (rejected) rejected();
    });
    SendMessageW(control(frmInstall::OKButton), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    reason_ = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_NOPREFIX | SS_LEFT, 0, 0, 0, 0,
                              hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(kReasonId)),
                              GetModuleHandleW(nullptr), nullptr);
    SendMessageW(reason_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    designed_ = SIZE{pixels(form.clientWidth, dpi_), pixels(form.clientHeight, dpi_)};
    const SIZE outer = outerSize(kStyle, kExStyle, designed_.cx, designed_.cy, dpi_);
    RECT ownerPlace{};
    GetWindowRect(owner_ ? owner_ : GetDesktopWindow(), &ownerPlace);
    SetWindowPos(hwnd(), nullptr, ownerPlace.left + 60, ownerPlace.top + 60, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    prompts.ask = [this](const app::window::Message& question) {
        return showMessageBox(hwnd(), question) == app::window::MessageAnswer::Yes;
    };
    prompts.tell = [this](const std::string& title, const std::string& text) {
        tellInformation(hwnd(), title, text);
    };
    chooseAnswersFile = [this] {
        return chooseSaveFile(hwnd(), app::tools::kSaveAnswersTitle,
                              "Answers files (*.answers)|*.answers|All files (*.*)|*.*", {},
                              "answers")
            .value_or(std::string());
    };
}

OptionsDialog::~OptionsDialog() {
    if (owner_) EnableWindow(owner_, TRUE);
    preview_.reset();
    controls_.reset();
    if (hwnd()) DestroyWindow(hwnd());
    DeleteObject(font_);
}

void OptionsDialog::show() {
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(control(frmInstall::OKButton));
}

void OptionsDialog::setReason(const std::string& reason) {
    const std::wstring text = toWide(reason);
    SetWindowTextW(reason_, text.c_str());
    int height = 0;
    if (!reason.empty()) {
        // Below the designed controls, as wide as the dialog less its margins.
        const int margin = pixels(120, dpi_);
        RECT needed{0, 0, designed_.cx - 2 * margin, 0};
        HDC dc = GetDC(reason_);
        HGDIOBJ before = SelectObject(dc, font_);
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, before);
        ReleaseDC(reason_, dc);
        height = needed.bottom + margin;
        MoveWindow(reason_, margin, designed_.cy, designed_.cx - 2 * margin, needed.bottom, TRUE);
    }
    ShowWindow(reason_, reason.empty() ? SW_HIDE : SW_SHOW);
    const SIZE outer = outerSize(kStyle, kExStyle, designed_.cx, designed_.cy + height, dpi_);
    SetWindowPos(hwnd(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER);
    if (owner_) EnableWindow(owner_, FALSE);
    EnableWindow(hwnd(), TRUE);
    SetForegroundWindow(hwnd());
}

std::string OptionsDialog::reason() const {
    if (!IsWindowVisible(reason_)) return {};
    wchar_t text[1024] = {};
    GetWindowTextW(reason_, text, 1024);
    return fromWide(text);
}

void OptionsDialog::runTool(app::tools::RunTool tool) {
    if (!tools_.window) return;
    switch (tool) {
        case app::tools::RunTool::Preview:
            if (auto text = app::tools::previewRun(*tools_.window,
                                                   app::tools::tickedOptions(model_.controls()),
                                                   tools_.machineName, prompts)) {
                showPreview(*text);
            }
            break;
        case app::tools::RunTool::SaveAnswers:
            app::tools::saveAnswers(*tools_.window, chooseAnswersFile(), prompts);
            break;
        case app::tools::RunTool::RestoreLastRun:
            if (app::tools::restoreLastRun(*tools_.window, prompts) && restored) restored();
            break;
        case app::tools::RunTool::OpenLastLog:
            // Not offered here yet: the progress window's Save Log keeps the log.
            break;
    }
}

void OptionsDialog::showPreview(const std::string& text) {
    if (!preview_) preview_ = std::make_unique<PreviewWindow>(hwnd(), dpi_);
    preview_->show(text);
}

HWND OptionsDialog::previewText() const {
    return preview_ ? preview_->text() : nullptr;
}

void OptionsDialog::showToolMenu(POINT at) {
    HMENU menu = CreatePopupMenu();
    int command = kFirstToolCommand;
    for (const app::tools::RunToolAction& action : app::tools::runToolActions()) {
        const std::wstring caption = toWide(std::string(action.caption) + "\t" + action.shortcut);
        const UINT state = action.tool == app::tools::RunTool::OpenLastLog ? MF_GRAYED : MF_ENABLED;
        AppendMenuW(menu, MF_STRING | state, static_cast<UINT_PTR>(command++), caption.c_str());
    }
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
    DestroyMenu(menu);
}

bool OptionsDialog::preTranslate(MSG& message) {
    if (message.message == WM_KEYDOWN && (GetKeyState(VK_CONTROL) & 0x8000) &&
        GetAncestor(message.hwnd, GA_ROOT) == hwnd()) {
        for (const app::tools::RunToolAction& action : app::tools::runToolActions()) {
            const std::string shortcut = action.shortcut;
            if (!shortcut.empty() && message.wParam == static_cast<WPARAM>(shortcut.back())) {
                runTool(action.tool);
                return true;
            }
        }
    }
    return NativeWindow::preTranslate(message);
}

LRESULT OptionsDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int tools = static_cast<int>(app::tools::runToolActions().size());
            if (id >= kFirstToolCommand && id < kFirstToolCommand + tools) {
                runTool(
                    app::tools::runToolActions()[static_cast<std::size_t>(id - kFirstToolCommand)]
                        .tool);
            } else if (id == IDOK) {
                model_.controls().press(frmInstall::OKButton);
            } else if (id == IDCANCEL) {
                model_.controls().press(frmInstall::CancelButton);
            } else {
                controls_->command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            }
            return 0;
        }
        case WM_CONTEXTMENU: {
            POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (at.x == -1 && at.y == -1) {
                RECT place{};
                GetWindowRect(hwnd(), &place);
                at = POINT{place.left + 20, place.top + 40};
            }
            showToolMenu(at);
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == reason_) {
                auto dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, kReasonColour);
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_CLOSE:
            model_.controls().press(frmInstall::CancelButton);
            return 0;
        default:
            break;
    }
    return byDefault(message, wParam, lParam);
}

}  // namespace tessaron::winui
