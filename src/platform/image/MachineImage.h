#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/ImageFolders.h"
#include "platform/Platform.h"

namespace tessaron {

// The machine image backend: a Windows server's state kept in real formats
// in a folder (registry.reg, one folder per drive letter, the metabase's
// MetaBase.xml under the Windows folder, commands.log).
//
// Construction reads registry.reg and throws PlatformError naming the file
// and line when it is malformed. The database service is not part of the
// image; it is handed in (the ODBC backend in the program).
class MachineImage : public Platform, public ImageFolders {
public:
    explicit MachineImage(std::filesystem::path root, Database* database = nullptr);
    ~MachineImage() override;

    SystemQueries& System() override;
    Wmi& Management() override;
    FileSystem& Files() override;
    Metabase& Iis() override;
    Database& Databases() override;
    std::unique_ptr<PanelComponent> CreatePanelComponent() override;
    std::unique_ptr<MachineLock> LockMachine(std::chrono::milliseconds patience) override;

    const std::filesystem::path& root() const override;
    // The host path a Windows path resolves to (case-insensitively, as far as
    // it exists; the rest appended as given); nullopt for a path outside the
    // image's drives.
    std::optional<std::filesystem::path> hostPath(const std::string& windowsPath) const override;
    // The Windows path of a host path inside the image ("C:\Tessaron").
    std::optional<std::string> windowsPath(const std::filesystem::path& hostPath) const override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The metabase store of an image, kept in the given MetaBase.xml file. A
// missing file means IIS is not installed. Provided by the metabase store.
std::unique_ptr<Metabase> createImageMetabase(const std::filesystem::path& metabaseFile);

}  // namespace tessaron
