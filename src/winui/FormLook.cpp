#include "winui/FormLook.h"

#include <commctrl.h>

namespace tessaron::winui {
namespace {

// Looked up at run time: newer than the oldest release the program runs on.
template <typename Function>
Function lookUp(const wchar_t* library, const char* name) {
    HMODULE module = GetModuleHandleW(library);
    if (!module) module = LoadLibraryW(library);
    if (!module) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

int CALLBACK noteFace(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool installedFace(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, &noteFace, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The forms' places were laid out for the narrow 8 point face of their time:
// its TrueType form, on every release from Windows 2000 on and sharp at any
// DPI; else its bitmap form; else the dialog font, whose wider letters the
// labels make room for by growing.
const wchar_t* formFace() {
    static const wchar_t* const face = [] {
        for (const wchar_t* candidate : {L"Microsoft Sans Serif", L"MS Sans Serif"}) {
            if (installedFace(candidate)) return candidate;
        }
        return L"MS Shell Dlg 2";
    }();
    return face;
}

HFONT createFont(int dpi, int weight) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(8, dpi, 72);
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    lstrcpynW(font.lfFaceName, formFace(), LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

BOOL CALLBACK setFont(HWND child, LPARAM font) {
    SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    return TRUE;
}

}  // namespace

void initialiseControls() {
    // Per-monitor DPI where the release has it, the system DPI on Vista to 8,
    // and nothing before (the system scales nothing there).
    using SetAwareness = BOOL(WINAPI*)(HANDLE);
    using SetAware = BOOL(WINAPI*)();
    const auto awareness = lookUp<SetAwareness>(L"user32.dll", "SetProcessDpiAwarenessContext");
    const HANDLE perMonitorV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
    if (!awareness || !awareness(perMonitorV2)) {
        if (const auto aware = lookUp<SetAware>(L"user32.dll", "SetProcessDPIAware")) aware();
    }
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_TAB_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    LoadLibraryW(L"riched20.dll");
}

int windowDpi(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto perWindow = lookUp<GetDpiForWindow>(L"user32.dll", "GetDpiForWindow");
    if (perWindow && window) {
        if (const UINT dpi = perWindow(window)) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int pixels(int twips, int dpi) {
    return MulDiv(twips, dpi, 1440);
}

RECT pixels(const app::window::Twips& place, int dpi) {
    const int left = pixels(place.left, dpi);
    const int top = pixels(place.top, dpi);
    return RECT{left, top, left + pixels(place.width, dpi), top + pixels(place.height, dpi)};
}

HFONT createFormFont(int dpi) {
    return createFont(dpi, FW_NORMAL);
}

HFONT createBoldFormFont(int dpi) {
    return createFont(dpi, FW_BOLD);
}

void useTabPageBackground(HWND page) {
    using EnableThemeDialogTexture = HRESULT(WINAPI*)(HWND, DWORD);
    static const auto enable =
        lookUp<EnableThemeDialogTexture>(L"uxtheme.dll", "EnableThemeDialogTexture");
    constexpr DWORD kEnableTab = 0x00000002 | 0x00000004;  // ETDT_ENABLE | ETDT_USETABTEXTURE
    if (enable) enable(page, kEnableTab);
}

SIZE outerSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, int dpi) {
    RECT frame{0, 0, clientWidth, clientHeight};
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto forDpi = lookUp<AdjustForDpi>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (forDpi) {
        forDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

void setFontOfTree(HWND window, HFONT font) {
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    EnumChildWindows(window, &setFont, reinterpret_cast<LPARAM>(font));
}

}  // namespace tessaron::winui
