#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ForwardingPlatform.h"
#include "platform/dryrun/DryRunFiles.h"
#include "platform/dryrun/DryRunMetabase.h"

namespace tessaron::dry_run {

// A platform on which a run changes nothing: reads go to the other platform
// (any backend), writes stay in memory, where what the run would have
// changed can be read afterwards. Files and the metabase keep their
// changes in overlays (DryRunFiles, DryRunMetabase); command lines handed
// to the panel component are recorded, not run; the database service is
// the one handed in (a read-only one for a preview). The machine's run lock
// is not taken: whoever starts the dry run holds it as it sees fit.
//
// A recorded command is taken to succeed. So once the commands that compile
// the DNS provider's schema and register its library have been recorded
// (dry_run::installsDnsProvider), its WMI namespace counts as reachable, as
// it would be after the real commands.
class DryRunPlatform : public ForwardingPlatform {
public:
    DryRunPlatform(Platform& inner, Database& database);
    ~DryRunPlatform() override;

    FileSystem& Files() override { return files_; }
    Wmi& Management() override;
    Metabase& Iis() override;
    Database& Databases() override { return database_; }
    std::unique_ptr<PanelComponent> CreatePanelComponent() override;
    std::unique_ptr<MachineLock> LockMachine(std::chrono::milliseconds patience) override;

    DryRunFiles& files() { return files_; }
    // Null until the run opened the metabase.
    DryRunMetabase* metabase() { return metabase_.get(); }
    // The command lines handed to the panel component, in order.
    const std::vector<std::string>& commands() const { return commands_; }

private:
    Database& database_;
    DryRunFiles files_;
    std::unique_ptr<DryRunMetabase> metabase_;
    std::vector<std::string> commands_;
    std::unique_ptr<Wmi> management_;
};

}  // namespace tessaron::dry_run
