#include "app/wiring/MachineHold.h"

#include "app/wiring/ExitStatus.h"
#include "platform/Failure.h"

namespace tessaron::app::wiring {

std::unique_ptr<MachineLock> holdMachine(Platform& platform) {
    std::unique_ptr<MachineLock> lock;
    try {
        lock = platform.LockMachine(kFrontEndLockPatience);
    } catch (const PlatformError& error) {
        throw MachineRefused(exit_status::kLockFailed,
                             "cannot lock the machine: " + error.description());
    }
    if (!lock) {
        throw MachineRefused(exit_status::kMachineBusy,
                             "another configuration run holds the machine; nothing was done");
    }
    return lock;
}

}  // namespace tessaron::app::wiring
