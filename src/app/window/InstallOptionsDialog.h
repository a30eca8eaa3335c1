#pragma once

#include "app/window/ControlModel.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app::window {

// The install-options dialog frmInstall as a model. The view shows it
// modally after the install button; OK stores the three choices and starts a
// run (the view shows the progress window), Cancel unloads it.
class InstallOptionsDialog {
public:
    explicit InstallOptionsDialog(InstallOptions& options);

    ControlModel& controls() { return controls_; }

    // Form_Load: every box unticked, each time the dialog is loaded afresh.
    void Load();
    // OKButton: chkCreateTasks, chkInitDB, chkSetupIIS, in this order, into
    // the install options.
    void Confirm();

private:
    InstallOptions& options_;
    ControlModel controls_;
};

}  // namespace tessaron::app::window
