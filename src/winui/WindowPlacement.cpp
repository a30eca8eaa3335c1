#include "winui/WindowPlacement.h"

#include "app/window/WindowPlacement.h"
#include "platform/WideText.h"
#include "winui/FormLook.h"

namespace tessaron::winui {

const wchar_t* placementKey() {
    return L"Software\\VB and VBA Program Settings\\TessaronConfig\\Settings";
}

bool savePlacement(HWND window) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int dpi = windowDpi(window);
    const auto values = app::window::placementValues(
        {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top}, dpi, dpi,
        IsIconic(window) != 0);
    if (values.empty()) return true;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, placementKey(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    bool written = true;
    for (const auto& value : values) {
        const std::wstring text = toWide(value.value);
        written &= RegSetValueExW(key, toWide(value.name).c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) ==
                   ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return written;
}

}  // namespace tessaron::winui
