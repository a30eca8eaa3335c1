#include "app/window/ProgressWindow.h"

#include "app/window/ControlCatalogue.h"
#include "app/window/DialogControls.h"

namespace tessaron::app::window {
namespace {

Message errorBox(const std::string& text) {
    Message message;
    message.title = std::string(kApplicationTitle);
    message.text = text;
    message.icon = MessageIcon::Error;
    return message;
}

}  // namespace

ProgressWindow::ProgressWindow(StartRun start)
    : controls_(progressFormDesign()),
      start_(std::move(start)),
      title_(progressFormDesign().caption) {}

ProgressWindow::~ProgressWindow() {
    run_.reset();
}

void ProgressWindow::start(PostToView post) {
    if (state_ != State::Waiting) return;
    state_ = State::Running;
    // The worker's events reach the model on the view's thread, in order.
    wiring::RunEvents events;
    events.logged = [this, post](const std::string& entry) {
        post([this, entry] { showEntry(entry); });
    };
    events.stepBegun = [this, post](int step, int steps, const std::string& name) {
        post([this, step, steps, name] { showStep(step, steps, name); });
    };
    events.finished = [this, post] { post([this] { finish(); }); };
    run_ = start_(std::move(events));
    run_->start();
}

void ProgressWindow::showEntry(const std::string& entry) {
    if (entriesShown_++ > 0) text_ += "\r\n";
    text_ += entry;
    controls_.setText(frmProgress::txtProgress, text_);
    tell([&] {
        if (listener_.entryShown) listener_.entryShown(entry);
    });
}

void ProgressWindow::showStep(int step, int steps, const std::string& name) {
    barMaximum_ = steps;
    barValue_ = step - 1;
    stepNumber_ = step;
    stepName_ = name;
    stepLine_ = "Step " + std::to_string(step) + " of " + std::to_string(steps) + ": " + name;
    tell(nullptr);
}

void ProgressWindow::cancel() {
    if (state_ != State::Running || !run_ || cancelling_) return;
    run_->cancel();
    cancelling_ = true;
    stepLine_ = "Cancelling at the end of the current step...";
    tell(listener_.cancelling);
}

void ProgressWindow::finish() {
    outcome_ = run_->outcome();
    state_ = State::Finished;
    const wiring::RunResult result = wiring::resultOf(outcome_);
    title_ = wiring::resultTitle(result);
    if (outcome_.ending == RunEnding::Completed) barValue_ = barMaximum_;
    resultLine_ = wiring::resultLine(outcome_);
    // The step label ends with the outcome, not the last step begun.
    stepLine_ = wiring::finalStepLine(result, stepNumber_, barMaximum_, stepName_);
    resultIsBad_ = result != wiring::RunResult::Completed;
    tell(listener_.finished);
}

std::vector<Message> ProgressWindow::endMessages() const {
    std::vector<Message> boxes;
    if (state_ != State::Finished) return boxes;
    if (!outcome_.unexpectedError.empty()) {
        boxes.push_back(errorBox("Sorry, the configuration run stopped unexpectedly - " +
                                 outcome_.unexpectedError + "."));
    }
    if (!outcome_.metabaseSaveError.empty()) {
        boxes.push_back(
            errorBox("Sorry, the changes to this server's IIS configuration could not be saved - " +
                     outcome_.metabaseSaveError + "."));
    }
    return boxes;
}

void ProgressWindow::tell(const std::function<void()>& what) {
    if (listener_.progressed) listener_.progressed();
    if (what) what();
}

Message logNotSaved(const std::string& path, const std::string& reason) {
    return errorBox("Sorry, the log could not be saved to " + path + " - " + reason + ".");
}

}  // namespace tessaron::app::window
