#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/window/ControlModel.h"
#include "app/window/MessageService.h"
#include "app/wiring/BackgroundRun.h"
#include "app/wiring/RunSummary.h"

namespace tessaron::app::window {

// The progress window frmProgress as a model: it starts the run on a worker
// thread once the view is on screen, collects each log entry into txtProgress
// as it arrives, tracks the step count and current step, cancels at the next
// safe point, and states how the run ended. A view shows what it holds and
// hands the worker's events to its own thread through PostToView; the view
// refreshes itself whenever the listener hears a change.
class ProgressWindow {
public:
    using StartRun = std::function<std::unique_ptr<wiring::BackgroundRun>(wiring::RunEvents)>;
    // Runs a call on the view's thread (dropped once the view is gone).
    using PostToView = std::function<void(std::function<void()>)>;
    enum class State { Waiting, Running, Finished };
    // What a view hears, on its own thread: every change of the step line
    // or the bar (progressed), then what else the change was.
    struct Listener {
        std::function<void()> progressed;
        std::function<void(const std::string& entry)> entryShown;
        std::function<void()> cancelling;
        std::function<void()> finished;
    };

    explicit ProgressWindow(StartRun start);
    // The worker is stopped and joined before the model goes.
    ~ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;

    ControlModel& controls() { return controls_; }
    State state() const { return state_; }
    void setListener(Listener listener) { listener_ = std::move(listener); }

    // Starts the run (once; only while waiting).
    void start(PostToView post);
    // Asks the run to end at its next safe point (only while it runs).
    void cancel();
    // The close box, Escape and Close work on a finished run only.
    bool closable() const { return state_ == State::Finished; }

    // The window's title: the form's caption, then how the run ended.
    const std::string& title() const { return title_; }
    // "Step 3 of 8: ..." (or the cancelling note); empty before the first step.
    const std::string& stepLine() const { return stepLine_; }
    // The progress bar: value out of maximum.
    int barValue() const { return barValue_; }
    int barMaximum() const { return barMaximum_; }
    bool cancelling() const { return cancelling_; }
    // The result line of a finished run, and whether it reports a problem.
    const std::string& resultLine() const { return resultLine_; }
    bool resultIsBad() const { return resultIsBad_; }
    const wiring::RunOutcome& outcome() const { return outcome_; }
    // The boxes a finished run shows over the window (an unexpected stop, a
    // metabase that could not be saved).
    std::vector<Message> endMessages() const;
    // The log as "Save Log..." writes it.
    const std::string& log() const { return outcome_.log; }

private:
    void showEntry(const std::string& entry);
    void showStep(int step, int steps, const std::string& name);
    void finish();
    void tell(const std::function<void()>& what);

    ControlModel controls_;
    StartRun start_;
    std::unique_ptr<wiring::BackgroundRun> run_;
    Listener listener_;
    State state_ = State::Waiting;
    std::string text_;  // the log as shown
    int entriesShown_ = 0;
    std::string title_;
    std::string stepLine_;
    int stepNumber_ = 0;
    std::string stepName_;
    int barValue_ = 0;
    int barMaximum_ = 1;
    bool cancelling_ = false;
    std::string resultLine_;
    bool resultIsBad_ = false;
    wiring::RunOutcome outcome_;
};

// The captions of the window's own row and the log file offered by default.
inline constexpr const char* kSaveLogCaption = "Save Log...";
inline constexpr const char* kCancelCaption = "Cancel";
inline constexpr const char* kCloseCaption = "Close";
inline constexpr const char* kSaveLogTitle = "Save Log";
inline constexpr const char* kDefaultLogFile = "tessaron-configuration.txt";

// The box shown when "Save Log..." cannot write the file.
Message logNotSaved(const std::string& path, const std::string& reason);

}  // namespace tessaron::app::window
