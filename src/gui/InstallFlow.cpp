#include "gui/InstallFlow.h"

#include "app/wiring/RunSummary.h"
#include "gui/RunTools.h"

namespace tessaron::gui {

InstallFlow::InstallFlow(app::window::SettingsWindow& window, QWidget& owner)
    : QObject(&owner), window_(window), owner_(owner) {
    window_.setInstallOptionsHandler([this] { showDialog(); });
}

// The window model may outlive its view (tests build several views on one).
InstallFlow::~InstallFlow() {
    window_.setInstallOptionsHandler(nullptr);
}

void InstallFlow::showDialog() {
    if (!dialog_) {
        dialog_ = new InstallOptionsView(options_, &owner_);
        dialog_->setWindowModality(Qt::ApplicationModal);
        connect(dialog_, &InstallOptionsView::confirmed, this, &InstallFlow::startRun);
        // Preview, saved answers and restore; a restore leaves the window's
        // view of the machine stale, so the program ends.
        tools_ = new RunTools(window_, *dialog_, machineName_);
        tools_->setLastLog(lastLog_);
        connect(tools_, &RunTools::restored, this, &InstallFlow::endProgram);
        connect(dialog_, &QDialog::rejected, this, [this] {
            if (dialog_) dialog_->deleteLater();
            dialog_ = nullptr;
        });
    }
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

void InstallFlow::startRun() {
    if (progress_ || !dialog_ || !openMachine_) return;
    const SettingsRecord settings = window_.settings();
    const InstallOptions options = options_;
    app::MachineOpener open = openMachine_;
    progress_ = new ProgressView(
        [settings, options, open](app::RunEvents events) {
            return std::make_unique<app::BackgroundRun>(settings, options, open, std::move(events));
        },
        dialog_);
    connect(progress_, &ProgressView::closed, this, &InstallFlow::progressClosed);
    progress_->show();
}

void InstallFlow::progressClosed() {
    if (!progress_) return;
    const app::RunOutcome outcome = progress_->outcome();
    // The run worked on its own copy of the record; the shared secure site
    // it recorded stays with the window for the next run.
    window_.keepRunResults(outcome);
    lastLog_ = outcome.log;
    if (outcome.closingEndsProgram() && outcome.metabaseSaveError.empty()) {
        emit endProgram();
        return;
    }
    progress_->deleteLater();
    progress_ = nullptr;
    if (tools_) tools_->setLastLog(lastLog_);
    if (dialog_) {
        dialog_->setReason(app::reasonShownAgain(outcome));
        dialog_->activateWindow();
    }
}

}  // namespace tessaron::gui
