#include "platform/dryrun/DryRunPlatform.h"

#include <algorithm>

#include "platform/Failure.h"
#include "platform/Text.h"

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

// True when one of the recorded command lines names the program.
bool recordedRun(const std::vector<std::string>& commands, const std::string& program) {
    return std::any_of(commands.begin(), commands.end(), [&](const std::string& command) {
        return asciiLower(command).find(program) != std::string::npos;
    });
}

// WMI as the machine answers it, but for the namespace that recorded
// provider registrations would have made reachable.
class DryRunWmi : public Wmi {
public:
    DryRunWmi(Wmi& inner, const std::vector<std::string>& commands)
        : inner_(inner), commands_(commands) {}

    std::vector<OperatingSystemInstance> OperatingSystems() override {
        return inner_.OperatingSystems();
    }
    void ConnectServer(const std::string& nameSpace) override {
        try {
            inner_.ConnectServer(nameSpace);
        } catch (const PlatformError&) {
            if (!recordedRun(commands_, "mofcomp") || !recordedRun(commands_, "regsvr32")) throw;
        }
    }

private:
    Wmi& inner_;
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
    if (!management_) management_ = std::make_unique<DryRunWmi>(inner().Management(), commands_);
    return *management_;
}

std::unique_ptr<PanelComponent> DryRunPlatform::CreatePanelComponent() {
    return std::make_unique<RecordingPanelComponent>(inner().CreatePanelComponent(), commands_);
}

std::unique_ptr<MachineLock> DryRunPlatform::LockMachine(std::chrono::milliseconds) {
    return std::make_unique<NoLock>();
}

}  // namespace tessaron::dry_run
