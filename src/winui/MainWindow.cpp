#include "winui/MainWindow.h"

#include <commctrl.h>

#include "app/window/TabOrder.h"
#include "platform/WideText.h"
#include "winui/FormLook.h"
#include "winui/WindowPlacement.h"

namespace tessaron::winui {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;
constexpr const char* kTabControl = "SSTab1";
constexpr const char* kInstallButton = "btnInstall";
// Windows 8.1 and later tell a window its new DPI by this message.
constexpr UINT kDpiChanged = 0x02E0;

}  // namespace

MainWindow::MainWindow(app::window::SettingsWindow& window)
    : endProgram([](int status) { PostQuitMessage(status); }), window_(window) {
    const app::window::FormDesign& form = window_.controls().form();
    create(L"TessaronMain", kExStyle, kStyle, toWide(form.caption), nullptr,
           RECT{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT});
    dpi_ = windowDpi(hwnd());
    font_ = createFormFont(dpi_);
    for (std::size_t tab = 0; tab < form.tabCaptions.size(); ++tab) {
        pages_.push_back(std::make_unique<TabPage>(hwnd(), RECT{0, 0, 0, 0}));
        useTabPageBackground(pages_.back()->hwnd());
    }
    controls_ = std::make_unique<FormControls>(window_.controls(), surfaces(), dpi_, font_);
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, hwnd(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, MulDiv(400, dpi_, 96));
    controls_->addTooltips(tooltip_);
    SendMessageW(control(kInstallButton), BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    layOut(dpi_);
    useReadingTabOrder();
    showTab(0);
    dialogs_ = std::make_unique<InstallDialogs>(window_, hwnd());
    dialogs_->endProgram = [this] { endProgram(0); };
}

MainWindow::~MainWindow() {
    dialogs_.reset();
    controls_.reset();
    pages_.clear();
    if (hwnd()) DestroyWindow(hwnd());
    DeleteObject(font_);
}

FormControls::Surfaces MainWindow::surfaces() const {
    FormControls::Surfaces made{hwnd(), {}, tabOrigin_};
    for (const auto& page : pages_) made.pages.push_back(page->hwnd());
    return made;
}

// The client area and the pages at the DPI: each page covers the tab
// control's display area, and the controls on it keep their places relative
// to the tab control's whole area.
void MainWindow::layOut(int dpi) {
    const app::window::FormDesign& form = window_.controls().form();
    const SIZE outer = outerSize(kStyle, kExStyle, pixels(form.clientWidth, dpi),
                                 pixels(form.clientHeight, dpi), dpi);
    minimum_ = outer;
    SetWindowPos(hwnd(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER);
    HWND tabs = control(kTabControl);
    const app::window::ControlDesign* design = app::window::findControlDesign(form, kTabControl);
    if (tabs && design) {
        const RECT whole = pixels(design->place, dpi);
        RECT display = whole;
        SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        for (const auto& page : pages_) {
            SetWindowPos(page->hwnd(), nullptr, display.left, display.top,
                         display.right - display.left, display.bottom - display.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        tabOrigin_ = POINT{whole.left - display.left, whole.top - display.top};
    }
    controls_->place(surfaces(), dpi);
}

void MainWindow::showTab(int tab) {
    SendMessageW(control(kTabControl), TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        ShowWindow(pages_[i]->hwnd(), static_cast<int>(i) == tab ? SW_SHOWNA : SW_HIDE);
    }
}

// The tab strip, then the shown page's controls in reading order, then the
// install button, and round to the strip. The dialog keys follow the
// z-order, which also decides what is drawn above what: the pages lie above
// the strip (which clips its siblings out of what it paints) and the strip
// comes last, so the cycle from the strip runs through the page and the
// install button back to it.
void MainWindow::useReadingTabOrder() {
    HWND previous = HWND_TOP;
    for (const auto& page : pages_) {
        SetWindowPos(page->hwnd(), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = page->hwnd();
    }
    if (HWND install = control(kInstallButton)) {
        SetWindowPos(install, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetWindowPos(control(kTabControl), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const app::window::FormDesign& form = window_.controls().form();
    for (int tab = 0; tab < static_cast<int>(form.tabCaptions.size()); ++tab) {
        HWND before = HWND_TOP;
        for (const auto& name : app::window::readingOrder(form, tab)) {
            HWND next = control(name);
            if (!next) continue;
            SetWindowPos(next, before, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            before = next;
        }
    }
}

void MainWindow::show() {
    ShowWindow(hwnd(), SW_SHOW);
    UpdateWindow(hwnd());
    SetFocus(control(kTabControl));
}

void MainWindow::unload() {
    dialogs_->closeAll();
    savePlacement(hwnd());
    endProgram(0);
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK && lParam == 0) {
                // Enter presses the install button wherever the focus is.
                if (window_.controls().enabled(kInstallButton))
                    window_.controls().press(kInstallButton);
                return 0;
            }
            controls_->command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY: {
            const auto* note = reinterpret_cast<const NMHDR*>(lParam);
            if (note->hwndFrom == control(kTabControl) && note->code == TCN_SELCHANGE) {
                showTab(static_cast<int>(SendMessageW(note->hwndFrom, TCM_GETCURSEL, 0, 0)));
            }
            return 0;
        }
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{minimum_.cx, minimum_.cy};
            return 0;
        case kDpiChanged: {
            dpi_ = HIWORD(wParam);
            HFONT previous = font_;
            font_ = createFormFont(dpi_);
            setFontOfTree(hwnd(), font_);
            DeleteObject(previous);
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            layOut(dpi_);
            return 0;
        }
        case WM_CLOSE:
            unload();
            return 0;
        default:
            return byDefault(message, wParam, lParam);
    }
}

}  // namespace tessaron::winui
