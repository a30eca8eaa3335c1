#pragma once

#include <QObject>
#include <QPointer>

#include "app/window/SettingsWindow.h"
#include "app/wiring/Backend.h"
#include "gui/InstallOptionsView.h"
#include "gui/ProgressView.h"
#include "gui/RunTools.h"
#include "settings/SettingsRecord.h"

namespace tessaron::gui {

// The install button's dialogs: btnInstall -> install-options dialog (modal)
// -> OK -> progress window (modal, the run on its worker thread). Closing
// the progress window ends the program (endProgram) unless the run left
// RunError set or was cancelled, in which case the dialog is back with its
// boxes as they were and a line saying why, and a new OK starts a fresh run
// with an empty log. Cancel unloads the dialog; the next press of
// the install button loads it afresh.
class InstallFlow : public QObject {
    Q_OBJECT
public:
    InstallFlow(app::window::SettingsWindow& window, QWidget& owner);
    ~InstallFlow() override;

    InstallOptionsView* dialog() const { return dialog_; }
    ProgressView* progress() const { return progress_; }
    RunTools* tools() const { return tools_; }
    const InstallOptions& options() const { return options_; }

    // Shows the install-options dialog (the install button's last step).
    void showDialog();
    // Opens the machine for each run, on the run's own thread; without one,
    // OK starts no run.
    void setMachineOpener(app::MachineOpener open) { openMachine_ = std::move(open); }
    // How the preview names the machine (the image folder, or this computer).
    void setMachineName(std::string name) { machineName_ = std::move(name); }

signals:
    void endProgram();

private:
    void startRun();
    void progressClosed();

    app::window::SettingsWindow& window_;
    QWidget& owner_;
    InstallOptions options_;
    app::MachineOpener openMachine_;
    std::string machineName_;
    QPointer<InstallOptionsView> dialog_;
    QPointer<ProgressView> progress_;
    QPointer<RunTools> tools_;
    std::string lastLog_;  // the log of this session's last run
};

}  // namespace tessaron::gui
