#include "app/window/InstallOptionsDialog.h"

#include "app/window/DialogControls.h"

namespace tessaron::app::window {

InstallOptionsDialog::InstallOptionsDialog(InstallOptions& options)
    : options_(options), controls_(installFormDesign()) {}

void InstallOptionsDialog::Load() {
    for (std::string_view box :
         {frmInstall::chkCreateTasks, frmInstall::chkInitDB, frmInstall::chkSetupIIS}) {
        controls_.setChecked(box, kUnchecked);
    }
}

void InstallOptionsDialog::Confirm() {
    options_.CreateTasks = controls_.checked(frmInstall::chkCreateTasks) == kChecked;
    options_.InitializeDatabase = controls_.checked(frmInstall::chkInitDB) == kChecked;
    options_.SetUpSites = controls_.checked(frmInstall::chkSetupIIS) == kChecked;
}

}  // namespace tessaron::app::window
