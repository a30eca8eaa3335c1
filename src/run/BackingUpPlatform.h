#pragma once

#include <memory>

#include "platform/Platform.h"
#include "run/RunBackups.h"

namespace tessaron {

// The platform as a run sees it when its changes are to be undoable: every
// service of the given platform, except that replacing, rewriting, appending
// to or deleting config.inc, and saving the metabase, first has the backups
// keep the former file. The stages stay unaware of it.
class BackingUpPlatform : public Platform {
public:
    BackingUpPlatform(Platform& platform, RunBackups& backups);
    ~BackingUpPlatform() override;

    SystemQueries& System() override { return platform_.System(); }
    Wmi& Management() override { return platform_.Management(); }
    FileSystem& Files() override;
    Metabase& Iis() override;
    Database& Databases() override { return platform_.Databases(); }
    std::unique_ptr<PanelComponent> CreatePanelComponent() override {
        return platform_.CreatePanelComponent();
    }
    std::unique_ptr<MachineLock> LockMachine(std::chrono::milliseconds patience) override {
        return platform_.LockMachine(patience);
    }

private:
    class GuardedFiles;
    class GuardedMetabase;
    Platform& platform_;
    RunBackups& backups_;
    std::unique_ptr<FileSystem> files_;
    std::unique_ptr<Metabase> iis_;
};

// Where the backups of a run on this platform go, for the panel installed in
// installDir.
BackupPlaces backupPlacesFor(Platform& platform, const std::string& installDir);

}  // namespace tessaron
