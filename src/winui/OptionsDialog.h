#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/tools/RunTools.h"
#include "app/window/InstallOptionsDialog.h"
#include "app/window/SettingsWindow.h"
#include "winui/FormControls.h"
#include "winui/NativeWindow.h"

namespace tessaron::winui {

class PreviewWindow;

// The id of the line that says why the dialog is shown again.
inline constexpr int kReasonId = 3100;

// The install-options dialog frmInstall, modal over the settings window:
// every box unticked when it is loaded; OK (also Enter) stores the three
// choices and calls confirmed; Cancel, Escape or the close box call
// rejected. A fixed-size dialog; a line below the designed controls says
// why it is shown again after a run. Its context menu and Ctrl shortcuts
// offer the run tools (app/RunTools.h).
class OptionsDialog : public NativeWindow {
public:
    struct Tools {
        app::window::SettingsWindow* window = nullptr;
        // How the preview names the machine (the image folder, or this
        // computer).
        std::string machineName;
    };

    OptionsDialog(InstallOptions& options, HWND owner, Tools tools);
    ~OptionsDialog() override;

    app::window::ControlModel& controls() { return model_.controls(); }
    HWND control(std::string_view name) const { return controls_->window(name); }
    void show();

    void setReason(const std::string& reason);
    std::string reason() const;

    void runTool(app::tools::RunTool tool);

    std::function<void()> confirmed;
    std::function<void()> rejected;
    // The run tools' files were put back: the program ends.
    std::function<void()> restored;
    // Hooks the tools use (message boxes and the save dialog by default).
    app::tools::ToolPrompts prompts;
    std::function<std::string()> chooseAnswersFile;
    // The preview window's text box (null before the first preview).
    HWND previewText() const;

    bool preTranslate(MSG& message) override;

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void showPreview(const std::string& text);
    void showToolMenu(POINT at);

    app::window::InstallOptionsDialog model_;
    HWND owner_;
    Tools tools_;
    int dpi_ = 96;
    SIZE designed_{};
    HFONT font_ = nullptr;
    std::unique_ptr<FormControls> controls_;
    HWND reason_ = nullptr;
    std::unique_ptr<PreviewWindow> preview_;
};

}  // namespace tessaron::winui
