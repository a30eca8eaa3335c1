#include "winui/NativeWindow.h"

namespace tessaron::winui {

NativeWindow::~NativeWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

void NativeWindow::create(const wchar_t* className, DWORD exStyle, DWORD style,
                          const std::wstring& title, HWND parent, RECT place) {
    WNDCLASSEXW known{};
    known.cbSize = sizeof(known);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!GetClassInfoExW(instance, className, &known)) {
        WNDCLASSEXW made{};
        made.cbSize = sizeof(made);
        made.lpfnWndProc = &NativeWindow::procedure;
        made.hInstance = instance;
        made.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
        made.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        made.lpszClassName = className;
        made.hIcon =
            LoadIconW(instance, MAKEINTRESOURCEW(1));  // the program's icon, when it has one
        RegisterClassExW(&made);
    }
    CreateWindowExW(exStyle, className, title.c_str(), style, place.left, place.top,
                    place.right - place.left, place.bottom - place.top, parent, nullptr, instance,
                    this);
}

LRESULT CALLBACK NativeWindow::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<NativeWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT NativeWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    return byDefault(message, wParam, lParam);
}

LRESULT NativeWindow::byDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool NativeWindow::preTranslate(MSG& message) {
    return IsDialogMessageW(hwnd_, &message) != 0;
}

int runMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
        auto* owner = root ? reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA))
                           : nullptr;
        // Only windows of the program's own classes carry an owner object.
        wchar_t className[64] = {};
        if (owner && root && GetClassNameW(root, className, 64) &&
            wcsncmp(className, L"Tessaron", 8) == 0 && owner->preTranslate(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

TabPage::TabPage(HWND parent, RECT place) {
    // An empty dialog template: the controls are created afterwards.
    struct alignas(DWORD) Template {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } blank{};
    blank.header.style = WS_CHILD | DS_CONTROL | WS_CLIPSIBLINGS;
    blank.header.dwExtendedStyle = WS_EX_CONTROLPARENT;
    hwnd_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &blank.header, parent,
                                       &TabPage::procedure, 0);
    SetWindowPos(hwnd_, HWND_TOP, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE);
}

TabPage::~TabPage() {
    if (hwnd_) DestroyWindow(hwnd_);
}

INT_PTR CALLBACK TabPage::procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return FALSE;
        case WM_COMMAND:
        case WM_NOTIFY:
            SetWindowLongPtrW(hwnd, DWLP_MSGRESULT,
                              SendMessageW(GetParent(hwnd), message, wParam, lParam));
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace tessaron::winui
