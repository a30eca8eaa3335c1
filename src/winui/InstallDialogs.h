#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "app/window/InstallFlow.h"
#include "winui/OptionsDialog.h"
#include "winui/ProgressDialog.h"

namespace tessaron::winui {

// The install button's dialogs as app::window::InstallFlow leads through them: the
// install-options dialog modal over the settings window, the progress window
// over the dialog, and what closing the progress window does.
class InstallDialogs {
public:
    InstallDialogs(app::window::SettingsWindow& window, HWND owner);

    app::window::InstallFlow& flow() { return flow_; }
    OptionsDialog* dialog() const { return dialog_.get(); }
    ProgressDialog* progress() const { return progress_.get(); }

    // Ends the program (a run that ends it, a restore).
    std::function<void()> endProgram;
    // Called each time a dialog or progress window has been made (tests
    // replace its hooks).
    std::function<void()> windowsChanged;

    void showDialog();
    void closeAll();

private:
    void startRun();
    void progressClosed();

    app::window::InstallFlow flow_;
    HWND owner_;
    std::unique_ptr<OptionsDialog> dialog_;
    std::unique_ptr<ProgressDialog> progress_;
    // Windows whose own message is still being handled when they go; they are
    // destroyed at the next step of the flow.
    std::unique_ptr<OptionsDialog> retiredDialog_;
    std::unique_ptr<ProgressDialog> closing_;
};

}  // namespace tessaron::winui
