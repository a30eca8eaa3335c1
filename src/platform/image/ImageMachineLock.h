#pragma once

#include <chrono>
#include <filesystem>
#include <memory>

#include "platform/MachineLock.h"

namespace tessaron {

// The run lock of a machine image: an exclusive lock on the file
// .tessaron-run.lock in the image's folder, held by an open file of this
// process, so it ends with the process however that ends. Waits up to
// `patience` while another holder has it and returns null when it still
// does; throws PlatformError naming the file and the reason when the lock
// file cannot be opened or locked (a folder, a symbolic link, which is never
// followed, an unreadable file).
std::unique_ptr<MachineLock> lockMachineImage(const std::filesystem::path& root,
                                              std::chrono::milliseconds patience);

}  // namespace tessaron
