#include "app/wiring/BackgroundRun.h"

#include "platform/Failure.h"

namespace tessaron::app::wiring {

BackgroundRun::BackgroundRun(const SettingsRecord& settings, const InstallOptions& options,
                             MachineOpener openMachine, RunEvents events)
    : settings_(settings),
      options_(options),
      openMachine_(std::move(openMachine)),
      events_(std::move(events)) {}

BackgroundRun::~BackgroundRun() {
    cancel();
    if (worker_.joinable()) worker_.join();
}

void BackgroundRun::start() {
    worker_ = std::thread([this] { perform(); });
}

bool BackgroundRun::waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return ended_.wait_for(lock, timeout, [this] { return done_; });
}

bool BackgroundRun::done() const {
    std::lock_guard lock(mutex_);
    return done_;
}

void BackgroundRun::perform() {
    ProgressLog log;
    log.setListener([this](const std::string& entry, const std::string&) {
        if (events_.logged) events_.logged(entry);
    });
    RunHooks hooks;
    hooks.cancelRequested = [this] { return cancelRequested_.load(); };
    hooks.stepBegun = events_.stepBegun;
    try {
        const std::unique_ptr<Platform> machine = openMachine_();
        outcome_ = performRun(settings_, options_, *machine, log, hooks);
    } catch (const PlatformError& error) {
        outcome_.ending = RunEnding::StoppedByCheck;
        outcome_.unexpectedError = "the machine could not be opened - " + error.description();
    } catch (const std::exception& unexpected) {
        // Stages report their failures as log lines; anything else must not
        // pass for a finished run.
        outcome_.runError = true;
        outcome_.unexpectedError = unexpected.what();
    }
    outcome_.log = log.text();
    outcome_.entries = log.entries();
    {
        std::lock_guard lock(mutex_);
        done_ = true;
    }
    ended_.notify_all();
    if (events_.finished) events_.finished();
}

}  // namespace tessaron::app::wiring
