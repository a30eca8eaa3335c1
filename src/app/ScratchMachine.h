#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/Database.h"
#include "platform/Platform.h"

namespace tessaron::app {

// A machine image opened on a scratch copy of its folder, as a preview runs
// on it: the platform the run works on, and how the image's Windows paths
// and the copy's files correspond, so that the preview can name in Windows
// terms what the run created or changed.
class ScratchMachine {
public:
    virtual ~ScratchMachine() = default;

    virtual Platform& platform() = 0;
    // The file a Windows path resolves to inside the copy; nullopt for a path
    // outside the image's drives.
    virtual std::optional<std::filesystem::path> hostPath(const std::string& windowsPath) const = 0;
    // The Windows path of a file or folder inside the copy.
    virtual std::optional<std::string> windowsPath(const std::filesystem::path& hostPath) const = 0;
};

// Opens the image copy at root with the given database service, which
// outlives the machine; throws std::exception when the copy cannot be read.
// Program start provides it (src/main), so the preview links no backend.
using ScratchMachineOpener = std::function<std::unique_ptr<ScratchMachine>(
    const std::filesystem::path& root, Database& database)>;

}  // namespace tessaron::app
