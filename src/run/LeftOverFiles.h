#pragma once

#include "platform/FileSystem.h"
#include "run/RunBackups.h"

namespace tessaron {

// Removes the temporary files (see TemporaryNames.h, and the forms of
// earlier versions in EarlierTemporaryNames.h) that a process killed while
// it wrote config.inc, the run journal, a backup copy or the metabase left
// in their folders: the panel folder, inetsrv and its History folder.
// Called while holding the machine's lock, when every such file is a
// left-over. Failures are ignored: they change nothing the caller does.
void removeStaleTemporaries(FileSystem& files, const BackupPlaces& places);

}  // namespace tessaron
