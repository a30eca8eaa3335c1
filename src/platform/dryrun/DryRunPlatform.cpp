#include "platform/dryrun/DryRunPlatform.h"

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

}  // namespace

DryRunPlatform::DryRunPlatform(Platform& inner, Database& database)
    : ForwardingPlatform(inner), database_(database), files_(inner.Files()) {}

DryRunPlatform::~DryRunPlatform() = default;

Metabase& DryRunPlatform::Iis() {
    if (!metabase_) metabase_ = std::make_unique<DryRunMetabase>(inner().Iis());
    return *metabase_;
}

std::unique_ptr<PanelComponent> DryRunPlatform::CreatePanelComponent() {
    return std::make_unique<RecordingPanelComponent>(inner().CreatePanelComponent(), commands_);
}

std::unique_ptr<MachineLock> DryRunPlatform::LockMachine(std::chrono::milliseconds) {
    return std::make_unique<NoLock>();
}

}  // namespace tessaron::dry_run
