#pragma once

#include <chrono>
#include <memory>

#include "platform/MachineLock.h"

namespace tessaron::platform::windows {

// The run lock of the machine the program runs on: the named mutex
// Global\TessaronConfigurationRun, one for every session of the machine.
// Windows hands a mutex whose holder ended without releasing it to the next
// waiter, so a run that crashed does not keep the machine locked. Waits up to
// `patience` while another run holds it and returns null when it still does;
// throws PlatformError when the mutex cannot be opened. The lock must be
// released on the thread that took it (a mutex belongs to a thread).
std::unique_ptr<MachineLock> lockLocalMachine(std::chrono::milliseconds patience);

}  // namespace tessaron::platform::windows
