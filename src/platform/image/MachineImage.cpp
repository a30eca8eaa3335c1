#include "platform/image/MachineImage.h"

#include "platform/Failure.h"
#include "platform/HostPath.h"
#include "platform/image/ImageFileSystem.h"
#include "platform/image/ImageMachineLock.h"
#include "platform/image/ImagePanelComponent.h"
#include "platform/image/ImagePaths.h"
#include "platform/image/ImageRegistry.h"
#include "platform/image/ImageSystemQueries.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

constexpr long kCannotCreateObject = 429;

// Stands in for the database service when none was handed in.
class NoDatabase : public Database {
public:
    std::unique_ptr<DatabaseConnection> Open(const std::string&) override {
        throw PlatformError(error_number::kDatabaseFailure,
                            "No database service is available to this machine image.");
    }
};

fs::path checkedRoot(fs::path root) {
    std::error_code error;
    if (!fs::is_directory(root, error)) {
        throw PlatformError("The machine image folder " + utf8FromHostPath(root) +
                            " does not exist.");
    }
    return root;
}

}  // namespace

struct MachineImage::Impl {
    Impl(fs::path rootFolder, Database* injected)
        : root(checkedRoot(std::move(rootFolder))),
          paths(root),
          registry(root / "registry.reg"),
          system(registry),
          wmi(registry),
          files(paths),
          database(injected) {}

    fs::path metabaseFile() {
        auto windows = system.GetWindowsDir();
        if (!parseWindowsPath(windows)) windows = "C:\\WINDOWS";
        const auto windowsPath = withTrailing(windows) + "system32\\inetsrv\\MetaBase.xml";
        if (const auto resolved = paths.resolve(windowsPath)) return resolved->host;
        // The drive has no folder at all: the path it would have.
        auto parts = *parseWindowsPath(windowsPath);
        auto host = root / std::string(1, parts.drive);
        for (const auto& name : parts.names) host /= hostPathFromUtf8(name);
        return host;
    }

    static std::string withTrailing(std::string path) {
        if (path.back() != '\\') path += '\\';
        return path;
    }

    fs::path root;
    ImagePaths paths;
    ImageRegistry registry;
    ImageSystemQueries system;
    ImageWmi wmi;
    ImageFileSystem files;
    Database* database;
    NoDatabase noDatabase;
    std::unique_ptr<Metabase> metabase;
    DnsProviderProgress dnsProvider;
};

MachineImage::MachineImage(fs::path root, Database* database)
    : impl_(std::make_unique<Impl>(std::move(root), database)) {}

MachineImage::~MachineImage() = default;

SystemQueries& MachineImage::System() {
    return impl_->system;
}
Wmi& MachineImage::Management() {
    return impl_->wmi;
}
FileSystem& MachineImage::Files() {
    return impl_->files;
}

Metabase& MachineImage::Iis() {
    if (!impl_->metabase) impl_->metabase = createImageMetabase(impl_->metabaseFile());
    return *impl_->metabase;
}

Database& MachineImage::Databases() {
    return impl_->database ? *impl_->database : impl_->noDatabase;
}

std::unique_ptr<PanelComponent> MachineImage::CreatePanelComponent() {
    if (!impl_->registry.keyExists(registry_keys::kPanelComponentClass)) {
        throw PlatformError(kCannotCreateObject, "ActiveX component can't create object");
    }
    return std::make_unique<ImagePanelComponent>(impl_->registry, impl_->paths, impl_->dnsProvider);
}

std::unique_ptr<MachineLock> MachineImage::LockMachine(std::chrono::milliseconds patience) {
    return lockMachineImage(impl_->root, patience);
}

const fs::path& MachineImage::root() const {
    return impl_->root;
}

std::optional<fs::path> MachineImage::hostPath(const std::string& windowsPath) const {
    const auto resolved = impl_->paths.resolve(windowsPath);
    if (!resolved) return std::nullopt;
    return resolved->host;
}

std::optional<std::string> MachineImage::windowsPath(const fs::path& hostPath) const {
    return impl_->paths.windowsPath(hostPath);
}

}  // namespace tessaron
