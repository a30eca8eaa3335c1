#pragma once

#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/Platform.h"

namespace tessaron::app::wiring {

// What reads or changes what a run changes (a restore, a preview, recorded
// answers), from the command line or the window, holds the machine's run
// lock for its length, as a run does; when it cannot, it does nothing.

// How long such an action waits for another run's hold, as a run does.
inline constexpr std::chrono::milliseconds kFrontEndLockPatience{5000};

// The machine could not be held; what() says why, without the program's
// name: "another configuration run holds the machine; nothing was done"
// (status 5) or "cannot lock the machine: " and the reason (status 7, the
// lock file cannot be opened or locked).
class MachineRefused : public std::runtime_error {
public:
    MachineRefused(int status, const std::string& reason)
        : std::runtime_error(reason), status_(status) {}
    int status() const { return status_; }

private:
    int status_;
};

// Takes the machine's run lock, waiting kFrontEndLockPatience for another
// run's hold. Throws MachineRefused.
std::unique_ptr<MachineLock> holdMachine(Platform& platform);

}  // namespace tessaron::app::wiring
