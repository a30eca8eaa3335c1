#include "winui/InstallDialogs.h"

namespace tessaron::winui {

InstallDialogs::InstallDialogs(app::window::SettingsWindow& window, HWND owner)
    : flow_(window, [this] { showDialog(); }), owner_(owner) {}

void InstallDialogs::showDialog() {
    retiredDialog_.reset();
    if (!dialog_) {
        dialog_ = std::make_unique<OptionsDialog>(
            flow_.options(), owner_, OptionsDialog::Tools{&flow_.window(), flow_.machineName()});
        dialog_->confirmed = [this] { startRun(); };
        // The dialog goes once the click that cancels it has been handled.
        dialog_->rejected = [this] {
            EnableWindow(owner_, TRUE);
            ShowWindow(dialog_->hwnd(), SW_HIDE);
            SetActiveWindow(owner_);
            retiredDialog_ = std::move(dialog_);
        };
        dialog_->restored = [this] {
            if (endProgram) endProgram();
        };
    }
    dialog_->show();
    if (windowsChanged) windowsChanged();
}

void InstallDialogs::startRun() {
    if (progress_ || !dialog_) return;
    app::window::ProgressWindow::StartRun start = flow_.runToStart();
    if (!start) return;
    closing_.reset();
    progress_ = std::make_unique<ProgressDialog>(std::move(start), dialog_->hwnd());
    progress_->closed = [this] { progressClosed(); };
    progress_->show();
    if (windowsChanged) windowsChanged();
}

void InstallDialogs::progressClosed() {
    if (!progress_) return;
    const app::window::InstallFlow::AfterRun after =
        flow_.progressClosed(progress_->model().outcome());
    if (after.endProgram) {
        if (endProgram) endProgram();
        return;
    }
    ShowWindow(progress_->hwnd(), SW_HIDE);
    closing_ = std::move(progress_);  // its close message is still being handled
    if (dialog_) dialog_->setReason(after.reason);
    if (windowsChanged) windowsChanged();
}

void InstallDialogs::closeAll() {
    progress_.reset();
    closing_.reset();
    dialog_.reset();
    retiredDialog_.reset();
}

}  // namespace tessaron::winui
