#include "app/window/InstallOptionsDialog.h"

namespace tessaron::app::window {

InstallOptionsDialog::InstallOptionsDialog(InstallOptions& options)
    : options_(options), controls_(installFormDesign()) {}

void InstallOptionsDialog::Load() {
    for (const char* box : {"chkCreateTasks", "chkInitDB", "chkSetupIIS"}) {
        controls_.setChecked(box, kUnchecked);
    }
}

void InstallOptionsDialog::Confirm() {
    options_.CreateTasks = controls_.checked("chkCreateTasks") == kChecked;
    options_.InitializeDatabase = controls_.checked("chkInitDB") == kChecked;
    options_.SetUpSites = controls_.checked("chkSetupIIS") == kChecked;
}

}  // namespace tessaron::app::window
