#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tessaron {

// How putting back the latest run's files ended.
enum class RestoreResult {
    Restored,          // every file of the run is back as before it
    NothingToRestore,  // no journal: no run changed a file since the last restore
    Refused,           // a file or copy changed after the run; nothing was changed
    Failed,            // the journal could not be read, or a file could not be put back
};

// What putting back the latest run's files did.
struct RestoreReport {
    RestoreResult result = RestoreResult::Failed;
    bool restored = false;           // result == Restored
    std::vector<std::string> lines;  // the report, one line each
};

// Puts config.inc and the metabase back as they were before the latest run
// that changed them (the run journal at journalPath): a copied file is copied
// back, a file the run created is removed. Nothing is changed unless every
// file is still as the run left it and every copy is still as it was kept;
// otherwise the report says which file stands in the way. The journal is
// removed once the files are back. The report names the run by its date and
// says what a restore never undoes (scheduled tasks, database rows, folders,
// the DNS provider's files, the registry and the command log).
RestoreReport restoreLatestRun(FileSystem& files, const std::string& journalPath);

}  // namespace tessaron
