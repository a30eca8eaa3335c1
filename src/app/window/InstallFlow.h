#pragma once

#include <functional>
#include <string>

#include "app/window/ProgressWindow.h"
#include "app/window/SettingsWindow.h"
#include "app/wiring/Backend.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app::window {

// The install button's flow between the windows, as every view follows it:
// btnInstall -> install-options dialog (modal) -> OK -> progress window
// (modal, the run on its worker thread). Closing the progress window ends
// the program unless the run left RunError set or was cancelled (or the
// metabase could not be saved), in which case the dialog is back with its
// boxes as they were and a line saying why, and a new OK starts a fresh run
// with an empty log. Cancel unloads the dialog; the next press of the
// install button loads it afresh.
class InstallFlow {
public:
    // What closing the progress window leads to.
    struct AfterRun {
        bool endProgram = false;
        // Why the dialog is shown again (when the program goes on).
        std::string reason;
    };

    // showDialog is called when the install button has filled the record.
    InstallFlow(SettingsWindow& window, std::function<void()> showDialog);
    // The window model may outlive its views (tests build several on one).
    ~InstallFlow();
    InstallFlow(const InstallFlow&) = delete;
    InstallFlow& operator=(const InstallFlow&) = delete;

    SettingsWindow& window() { return window_; }
    InstallOptions& options() { return options_; }
    const InstallOptions& options() const { return options_; }

    // Opens the machine for each run, on the run's own thread; without one,
    // OK starts no run.
    void setMachineOpener(wiring::MachineOpener open) { openMachine_ = std::move(open); }
    // How the preview names the machine (the image folder, or this computer).
    void setMachineName(std::string name) { machineName_ = std::move(name); }
    const std::string& machineName() const { return machineName_; }

    // The dialog's OK (after it stored the options): the run the progress
    // window starts, with the record and options as they are now; empty when
    // no run can start.
    ProgressWindow::StartRun runToStart() const;

    // The progress window closed on a finished run.
    AfterRun progressClosed(const wiring::RunOutcome& outcome);
    // The log of this session's last run (empty before the first), which the
    // dialog offers to open again.
    const std::string& lastLog() const { return lastLog_; }

private:
    SettingsWindow& window_;
    InstallOptions options_;
    wiring::MachineOpener openMachine_;
    std::string machineName_;
    std::string lastLog_;
};

}  // namespace tessaron::app::window
