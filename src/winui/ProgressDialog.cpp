#include "winui/ProgressDialog.h"

#include <commctrl.h>
#include <richedit.h>

#include "app/window/ControlCatalogue.h"
#include "app/window/DialogControls.h"
#include "platform/WideText.h"
#include "winui/FileDialogs.h"
#include "winui/FormLook.h"
#include "winui/MessageBoxes.h"

namespace tessaron::winui {

namespace frmProgress = app::window::frmProgress;

namespace {

constexpr UINT kStartRun = WM_APP + 1;
constexpr UINT kRunEvent = WM_APP + 2;
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

constexpr COLORREF kErrorColour = RGB(0xb0, 0x00, 0x20);
constexpr COLORREF kWarningColour = RGB(0x8a, 0x5a, 0x00);

HWND child(HWND parent, const wchar_t* windowClass, const std::string& text, DWORD style, int id) {
    return CreateWindowExW(0, windowClass, toWide(text).c_str(), WS_CHILD | style, 0, 0, 0, 0,
                           parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

ProgressDialog::ProgressDialog(app::window::ProgressWindow::StartRun start, HWND owner)
    : model_(std::move(start)), owner_(owner) {
    create(L"TessaronProgress", kExStyle, kStyle, toWide(model_.title()), owner, RECT{0, 0, 0, 0});
    const int dpi = windowDpi(hwnd());
    font_ = createFormFont(dpi);
    bold_ = createBoldFormFont(dpi);
    controls_ = std::make_unique<FormControls>(
        model_.controls(), FormControls::Surfaces{hwnd(), {}, {0, 0}}, dpi, font_);
    buildRow(dpi);
    SendMessageW(control(frmProgress::txtProgress), EM_SETBKGNDCOLOR, 0,
                 static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
    model_.setListener({[this] { showProgress(); },
                        [this](const std::string& entry) { markEntry(entry); },
                        [this] { EnableWindow(cancel_, FALSE); }, [this] { showResult(); }});
    chooseLogFile = [this] {
        return chooseSaveFile(hwnd(), app::window::kSaveLogTitle,
                              "Text files (*.txt)|*.txt|All files (*.*)|*.*",
                              app::window::kDefaultLogFile, "txt")
            .value_or(std::string());
    };
}

ProgressDialog::~ProgressDialog() {
    model_.setListener({});
    if (owner_) EnableWindow(owner_, TRUE);
    controls_.reset();
    if (hwnd()) DestroyWindow(hwnd());
    DeleteObject(font_);
    DeleteObject(bold_);
}

void ProgressDialog::buildRow(int dpi) {
    const app::window::FormDesign& form = app::window::progressFormDesign();
    const int margin = pixels(120, dpi);
    const int width = pixels(form.clientWidth, dpi);
    const int line = MulDiv(13, dpi, 96);
    const int buttonHeight = MulDiv(23, dpi, 96);
    const int buttonWidth = MulDiv(80, dpi, 96);
    int top = pixels(form.clientHeight, dpi);
    const int inner = width - 2 * margin;

    step_ = child(hwnd(), L"STATIC", {}, WS_VISIBLE | SS_NOPREFIX | SS_LEFTNOWORDWRAP, kStepId);
    MoveWindow(step_, margin, top, inner, line, FALSE);
    top += line + 4;
    bar_ = child(hwnd(), PROGRESS_CLASSW, {}, WS_VISIBLE, kBarId);
    MoveWindow(bar_, margin, top, inner, MulDiv(16, dpi, 96), FALSE);
    SendMessageW(bar_, PBM_SETRANGE32, 0, 1);
    top += MulDiv(16, dpi, 96) + 4;
    result_ = child(hwnd(), L"STATIC", {}, SS_NOPREFIX | SS_LEFT, kResultId);
    MoveWindow(result_, margin, top, inner, 2 * line, FALSE);
    top += 2 * line + 4;
    save_ = child(hwnd(), L"BUTTON", app::window::kSaveLogCaption,
                  WS_VISIBLE | WS_TABSTOP | WS_DISABLED, kSaveLogId);
    MoveWindow(save_, margin, top, buttonWidth, buttonHeight, FALSE);
    cancel_ =
        child(hwnd(), L"BUTTON", app::window::kCancelCaption, WS_VISIBLE | WS_TABSTOP, kCancelId);
    MoveWindow(cancel_, width - margin - buttonWidth, top, buttonWidth, buttonHeight, FALSE);
    close_ = child(hwnd(), L"BUTTON", app::window::kCloseCaption, WS_TABSTOP | BS_DEFPUSHBUTTON,
                   kCloseId);
    MoveWindow(close_, width - margin - buttonWidth, top, buttonWidth, buttonHeight, FALSE);
    top += buttonHeight + margin / 2;
    for (HWND made : {step_, bar_, result_, save_, cancel_, close_}) {
        SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    SendMessageW(result_, WM_SETFONT, reinterpret_cast<WPARAM>(bold_), FALSE);
    const SIZE outer = outerSize(kStyle, kExStyle, width, top, dpi);
    RECT ownerPlace{};
    GetWindowRect(owner_ ? owner_ : GetDesktopWindow(), &ownerPlace);
    SetWindowPos(hwnd(), nullptr, ownerPlace.left + 40, ownerPlace.top + 40, outer.cx, outer.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND ProgressDialog::control(std::string_view name) const {
    if (HWND form = controls_->window(name)) return form;
    static const std::pair<std::string_view, int> row[] = {
        {"lblStep", kStepId},       {"barProgress", kBarId},  {"lblResult", kResultId},
        {"btnSaveLog", kSaveLogId}, {"btnCancel", kCancelId}, {"btnClose", kCloseId}};
    for (const auto& [rowName, id] : row) {
        if (rowName == name) return GetDlgItem(hwnd(), id);
    }
    return nullptr;
}

void ProgressDialog::show() {
    if (owner_) EnableWindow(owner_, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    SetFocus(cancel_);
    // The run starts once the window is on screen.
    PostMessageW(hwnd(), kStartRun, 0, 0);
}

void ProgressDialog::showProgress() {
    SendMessageW(bar_, PBM_SETRANGE32, 0, model_.barMaximum());
    SendMessageW(bar_, PBM_SETPOS, static_cast<WPARAM>(model_.barValue()), 0);
    SetWindowTextW(step_, toWide(model_.stepLine()).c_str());
}

// The entry just appended, coloured when it is an ERROR or WARNING line.
void ProgressDialog::markEntry(const std::string& entry) {
    const bool error = app::wiring::isErrorLine(entry);
    if (!error && !app::wiring::isWarningLine(entry)) return;
    HWND log = control(frmProgress::txtProgress);
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const auto end = static_cast<LONG>(
        SendMessageW(log, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0));
    CHARRANGE range{end - static_cast<LONG>(toWide(entry).size()), end};
    SendMessageW(log, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    format.dwMask = CFM_COLOR | CFM_BOLD;
    format.crTextColor = error ? kErrorColour : kWarningColour;
    format.dwEffects = error ? CFE_BOLD : 0;
    SendMessageW(log, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    range = CHARRANGE{end, end};
    SendMessageW(log, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

void ProgressDialog::showResult() {
    SetWindowTextW(hwnd(), toWide(model_.title()).c_str());
    SetWindowTextW(result_, toWide(model_.resultLine()).c_str());
    ShowWindow(result_, SW_SHOW);
    ShowWindow(cancel_, SW_HIDE);
    ShowWindow(close_, SW_SHOW);
    EnableWindow(save_, TRUE);
    SetFocus(close_);
    for (const app::window::Message& message : model_.endMessages())
        showMessageBox(hwnd(), message);
}

bool ProgressDialog::saveLog(const std::string& path) {
    HANDLE file = CreateFileW(toWide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const std::string& log = model_.log();
    bool saved = file != INVALID_HANDLE_VALUE &&
                 WriteFile(file, log.data(), static_cast<DWORD>(log.size()), &written, nullptr) &&
                 written == log.size();
    const DWORD failure = GetLastError();
    if (file != INVALID_HANDLE_VALUE) saved &= CloseHandle(file) != 0;
    if (saved) return true;
    wchar_t* text = nullptr;
    FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, failure, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string reason = text ? fromWide(text) : "error " + std::to_string(failure);
    if (text) LocalFree(text);
    while (!reason.empty() &&
           (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) {
        reason.pop_back();
    }
    showMessageBox(hwnd(), app::window::logNotSaved(path, reason));
    return false;
}

void ProgressDialog::tryClose() {
    if (model_.closable() && closed) closed();
}

LRESULT ProgressDialog::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kStartRun: {
            const HWND self = hwnd();
            model_.start([self](std::function<void()> call) {
                auto* posted = new std::function<void()>(std::move(call));
                if (!PostMessageW(self, kRunEvent, 0, reinterpret_cast<LPARAM>(posted)))
                    delete posted;
            });
            return 0;
        }
        case kRunEvent: {
            std::unique_ptr<std::function<void()>> call(
                reinterpret_cast<std::function<void()>*>(lParam));
            (*call)();
            return 0;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case kCancelId:
                    model_.cancel();
                    return 0;
                case kCloseId:
                case IDOK:
                case IDCANCEL:
                    tryClose();
                    return 0;
                case kSaveLogId:
                    if (const std::string path = chooseLogFile(); !path.empty()) saveLog(path);
                    return 0;
                default:
                    controls_->command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
                    return 0;
            }
        case WM_CTLCOLORSTATIC:
            if (reinterpret_cast<HWND>(lParam) == result_) {
                auto dc = reinterpret_cast<HDC>(wParam);
                SetTextColor(dc, model_.resultIsBad() ? kErrorColour : GetSysColor(COLOR_BTNTEXT));
                SetBkMode(dc, TRANSPARENT);
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            break;
        case WM_CLOSE:
            tryClose();
            return 0;
        default:
            break;
    }
    return byDefault(message, wParam, lParam);
}

}  // namespace tessaron::winui
