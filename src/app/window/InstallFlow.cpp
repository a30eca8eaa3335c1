#include "app/window/InstallFlow.h"

#include "app/wiring/RunSummary.h"

namespace tessaron::app::window {

InstallFlow::InstallFlow(SettingsWindow& window, std::function<void()> showDialog)
    : window_(window) {
    window_.setInstallOptionsHandler(std::move(showDialog));
}

InstallFlow::~InstallFlow() {
    window_.setInstallOptionsHandler(nullptr);
}

ProgressWindow::StartRun InstallFlow::runToStart() const {
    if (!openMachine_) return {};
    return [settings = window_.settings(), options = options_,
            open = openMachine_](wiring::RunEvents events) {
        return std::make_unique<wiring::BackgroundRun>(settings, options, open, std::move(events));
    };
}

InstallFlow::AfterRun InstallFlow::progressClosed(const wiring::RunOutcome& outcome) {
    // The run worked on its own copy of the record; the shared secure site
    // it recorded stays with the window for the next run.
    window_.keepRunResults(outcome);
    lastLog_ = outcome.log;
    if (outcome.closingEndsProgram() && outcome.metabaseSaveError.empty()) return {true, {}};
    return {false, wiring::reasonShownAgain(outcome)};
}

}  // namespace tessaron::app::window
