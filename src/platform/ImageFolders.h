#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tessaron {

// A machine kept in a folder of this computer (a machine image): where its
// Windows paths lie among the host's files, so that the window's folder and
// file choosers can browse it. Backends that are no such folder have none;
// program start hands it to the window where there is one.
class ImageFolders {
public:
    virtual ~ImageFolders() = default;

    // The folder that holds the machine.
    virtual const std::filesystem::path& root() const = 0;
    // The host path a Windows path resolves to; nullopt for a path outside
    // the machine's drives.
    virtual std::optional<std::filesystem::path> hostPath(const std::string& windowsPath) const = 0;
    // The Windows path of a host path inside the folder ("C:\Tessaron").
    virtual std::optional<std::string> windowsPath(const std::filesystem::path& hostPath) const = 0;
};

}  // namespace tessaron
