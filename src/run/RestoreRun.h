#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tessaron {

// What putting back the latest run's files did.
struct RestoreReport {
    bool restored = false;           // every file of the run is back as before it
    std::vector<std::string> lines;  // the report, one line each
};

// Puts config.inc and the metabase back as they were before the latest run
// that changed them (the run journal at journalPath): a copied file is copied
// back, a file the run created is removed. Nothing is changed unless every
// file is still as the run left it and every copy is still as it was kept;
// otherwise the report says which file stands in the way. The journal is
// removed once the files are back. Database rows and scheduled tasks are
// never undone, which the report says.
RestoreReport restoreLatestRun(FileSystem& files, const std::string& journalPath);

}  // namespace tessaron
