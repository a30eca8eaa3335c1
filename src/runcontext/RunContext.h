#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/Failure.h"
#include "platform/Platform.h"
#include "runcontext/ProgressLog.h"
#include "settings/SettingsRecord.h"

namespace tessaron {

// Everything a stage of the installation run works with: the settings, the
// chosen options, the platform, the progress log, the run's error flag and
// the continue-on-error failure indicator.
struct RunContext {
    RunContext(SettingsRecord& record, const InstallOptions& chosen, Platform& machine,
               ProgressLog& progress)
        : settings(record), options(chosen), platform(machine), log(progress) {}

    // The settings the run works on: the run completes InternalIP in them and
    // records the shared secure site the web-server stage held, so a front
    // end hands the run a copy of the record the settings window filled (see
    // performRun), never the record itself.
    SettingsRecord& settings;
    const InstallOptions& options;
    Platform& platform;
    ProgressLog& log;

    bool RunError = false;
    FailureIndicator failure;

    // How long the run waits while another run holds the machine.
    std::chrono::milliseconds machineLockPatience{5000};
    // Asked at the safe points between the run's steps (never inside a file
    // replace or a metabase save); true ends the run there. Thread-safe on
    // the asking side: a front end sets it from another thread or a signal.
    std::function<bool()> cancelRequested;
    // Told as each step begins: its number (from 1), the number of steps the
    // options ask for, and its name.
    std::function<void(int step, int steps, const std::string& name)> stepBegun;

    // The clock of the run; tests pin it to compare dated lines.
    std::function<std::chrono::system_clock::time_point()> now = [] {
        return std::chrono::system_clock::now();
    };

    void AddProgressText(const std::string& entry) { log.AddProgressText(entry); }
    // Switches continue-on-error mode on, which clears the indicator.
    void beginContinueOnError() { failure.clear(); }
    // Runs an operation, recording a PlatformError in the indicator.
    template <typename Operation>
    auto attempt(Operation&& operation) {
        return tessaron::attempt(failure, std::forward<Operation>(operation));
    }
};

}  // namespace tessaron
