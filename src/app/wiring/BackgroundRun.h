#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "app/wiring/Backend.h"
#include "app/wiring/ProgressRun.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app::wiring {

// What a run tells its front end. Every call comes on the run's worker
// thread, in the order of the run; a window hands them on to its own thread.
struct RunEvents {
    std::function<void(const std::string& entry)> logged;
    std::function<void(int step, int steps, const std::string& name)> stepBegun;
    // The run has ended; outcome() is final.
    std::function<void()> finished;
};

// One installation run on a worker thread of its own. The machine is opened
// on that thread (the platform's objects are created and used there only),
// the run works on its own copy of the settings (the record given is never
// changed; what the run learns comes back in its outcome), and a cancel takes
// effect at the next safe point between the run's steps.
class BackgroundRun {
public:
    BackgroundRun(const SettingsRecord& settings, const InstallOptions& options,
                  MachineOpener openMachine, RunEvents events);
    // Cancels a run still going and waits for it.
    ~BackgroundRun();
    BackgroundRun(const BackgroundRun&) = delete;
    BackgroundRun& operator=(const BackgroundRun&) = delete;

    void start();
    // Any thread; the run ends at its next safe point.
    void cancel() { cancelRequested_ = true; }
    bool cancelling() const { return cancelRequested_; }
    // Waits up to the timeout; true when the run has ended.
    bool waitFor(std::chrono::milliseconds timeout);
    bool done() const;

    // After the run has ended: how it ended.
    const RunOutcome& outcome() const { return outcome_; }

private:
    void perform();

    SettingsRecord settings_;
    InstallOptions options_;
    MachineOpener openMachine_;
    RunEvents events_;
    RunOutcome outcome_;
    std::atomic<bool> cancelRequested_{false};
    mutable std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread worker_;
};

}  // namespace tessaron::app::wiring
