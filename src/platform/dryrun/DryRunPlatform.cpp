#include "platform/dryrun/DryRunPlatform.h"

#include "platform/Failure.h"
#include "platform/Text.h"
#include "platform/dryrun/DnsProviderCommands.h"

namespace tessaron::dry_run {
namespace {

// The panel component whose commands are written down instead of run; the
// computer's name comes from the real one.
class RecordingPanelComponent : public PanelComponent {
public:
    RecordingPanelComponent(std::unique_ptr<PanelComponent> inner,
                            std::vector<std::string>& commands)
        : inner_(std::move(inner)), commands_(commands) {}

    std::string ComputerName() override { return inner_->ComputerName(); }
    void Execute(const std::string& commandLine) override { commands_.push_back(commandLine); }

private:
    std::unique_ptr<PanelComponent> inner_;
    std::vector<std::string>& commands_;
};

class NoLock : public MachineLock {};

// WMI as the machine answers it, but for the DNS provider's namespace once
// the recorded commands would have installed the provider.
class DryRunWmi : public Wmi {
public:
    DryRunWmi(Wmi& inner, SystemQueries& system, FileSystem& files,
              const std::vector<std::string>& commands)
        : inner_(inner), system_(system), files_(files), commands_(commands) {}

    std::vector<OperatingSystemInstance> OperatingSystems() override {
        return inner_.OperatingSystems();
    }
    void ConnectServer(const std::string& nameSpace) override {
        try {
            inner_.ConnectServer(nameSpace);
        } catch (const PlatformError&) {
            if (!equalsIgnoreCase(nameSpace, kDnsProviderNamespace) || !providerInstalled()) {
                throw;
            }
        }
    }

private:
    bool providerInstalled() {
        std::string system;
        try {
            system = system_.GetSystemDir();
        } catch (const PlatformError&) {
            return false;
        }
        // The system folder comes with the NUL that ends it.
        if (!system.empty() && system.back() == '\0') system.pop_back();
        return !system.empty() && installsDnsProvider(commands_, system + "\\WBEM", files_);
    }

    Wmi& inner_;
    SystemQueries& system_;
    FileSystem& files_;
    const std::vector<std::string>& commands_;
};

}  // namespace

DryRunPlatform::DryRunPlatform(Platform& inner, Database& database)
    : ForwardingPlatform(inner), database_(database), files_(inner.Files()) {}

DryRunPlatform::~DryRunPlatform() = default;

Metabase& DryRunPlatform::Iis() {
    if (!metabase_) metabase_ = std::make_unique<DryRunMetabase>(inner().Iis());
    return *metabase_;
}

Wmi& DryRunPlatform::Management() {
    if (!management_)
        management_ =
            std::make_unique<DryRunWmi>(inner().Management(), System(), files_, commands_);
    return *management_;
}

std::unique_ptr<PanelComponent> DryRunPlatform::CreatePanelComponent() {
    return std::make_unique<RecordingPanelComponent>(inner().CreatePanelComponent(), commands_);
}

std::unique_ptr<MachineLock> DryRunPlatform::LockMachine(std::chrono::milliseconds) {
    return std::make_unique<NoLock>();
}

}  // namespace tessaron::dry_run
