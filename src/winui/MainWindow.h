#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "app/window/SettingsWindow.h"
#include "winui/FormControls.h"
#include "winui/InstallDialogs.h"
#include "winui/NativeWindow.h"

namespace tessaron::winui {

// The settings window frmMain: the tab control SSTab1 with one page per tab,
// every catalogue control at its designed place (scaled to the window's
// DPI), bound to the window model, with tooltips, each tab's controls in
// reading order for Tab, and the install button's dialogs. Its designed size
// is its minimum; Enter presses the install button. Closing it is its unload
// step: the other windows close, the placement is saved (not when
// minimised) and the program ends.
class MainWindow : public NativeWindow {
public:
    explicit MainWindow(app::window::SettingsWindow& window);
    ~MainWindow() override;

    app::window::SettingsWindow& window() { return window_; }
    InstallDialogs& dialogs() { return *dialogs_; }
    HWND control(std::string_view name) const { return controls_->window(name); }
    HWND page(int tab) const { return pages_.at(static_cast<std::size_t>(tab))->hwnd(); }

    void show();
    // Ends the program with a status (PostQuitMessage by default).
    std::function<void(int status)> endProgram;
    // Form_Unload: closes the other windows, saves the placement, ends.
    void unload();

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void layOut(int dpi);
    FormControls::Surfaces surfaces() const;
    void showTab(int tab);
    void useReadingTabOrder();

    app::window::SettingsWindow& window_;
    int dpi_ = 96;
    HFONT font_ = nullptr;
    HWND tooltip_ = nullptr;
    std::vector<std::unique_ptr<TabPage>> pages_;
    POINT tabOrigin_{0, 0};
    std::unique_ptr<FormControls> controls_;
    std::unique_ptr<InstallDialogs> dialogs_;
    SIZE minimum_{};
};

}  // namespace tessaron::winui
