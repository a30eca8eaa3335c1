#pragma once

#include <memory>

#include "platform/ForwardingPlatform.h"
#include "run/RunBackups.h"

namespace tessaron {

// The platform as a run sees it when its changes are to be undoable: every
// service of the given platform, except that replacing, rewriting, appending
// to or deleting config.inc, and saving the metabase after a commit, first
// has the backups keep the former file. The stages stay unaware of it.
class BackingUpPlatform : public ForwardingPlatform {
public:
    BackingUpPlatform(Platform& platform, RunBackups& backups);
    ~BackingUpPlatform() override;

    FileSystem& Files() override;
    Metabase& Iis() override;

private:
    class GuardedFiles;
    class GuardedMetabase;
    RunBackups& backups_;
    std::unique_ptr<FileSystem> files_;
    std::unique_ptr<Metabase> iis_;
};

// Where the backups of a run on this platform go, for the panel installed in
// installDir.
BackupPlaces backupPlacesFor(Platform& platform, const std::string& installDir);

}  // namespace tessaron
