#include "gui/InstallFlow.h"

#include "gui/RunTools.h"

namespace tessaron::gui {

InstallFlow::InstallFlow(app::window::SettingsWindow& window, QWidget& owner)
    : QObject(&owner), flow_(window, [this] { showDialog(); }), owner_(owner) {}

void InstallFlow::showDialog() {
    if (!dialog_) {
        dialog_ = new InstallOptionsView(flow_.options(), &owner_);
        dialog_->setWindowModality(Qt::ApplicationModal);
        connect(dialog_, &InstallOptionsView::confirmed, this, &InstallFlow::startRun);
        // Preview, saved answers and restore; a restore leaves the window's
        // view of the machine stale, so the program ends.
        tools_ = new RunTools(flow_.window(), *dialog_, flow_.machineName());
        tools_->setLastLog(flow_.lastLog());
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
    if (progress_ || !dialog_) return;
    app::window::ProgressWindow::StartRun start = flow_.runToStart();
    if (!start) return;
    progress_ = new ProgressView(std::move(start), dialog_);
    connect(progress_, &ProgressView::closed, this, &InstallFlow::progressClosed);
    progress_->show();
}

void InstallFlow::progressClosed() {
    if (!progress_) return;
    const app::window::InstallFlow::AfterRun after = flow_.progressClosed(progress_->outcome());
    if (after.endProgram) {
        emit endProgram();
        return;
    }
    progress_->deleteLater();
    progress_ = nullptr;
    if (tools_) tools_->setLastLog(flow_.lastLog());
    if (dialog_) {
        dialog_->setReason(after.reason);
        dialog_->activateWindow();
    }
}

}  // namespace tessaron::gui
