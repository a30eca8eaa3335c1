#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "runcontext/RunContext.h"

namespace tessaron {

// How a rewrite of config.inc went.
struct ConfigFileRewrite {
    bool opened = false;   // a file for the new lines could be opened
    bool written = false;  // every line was written and the new file is in place
    // The system's text of the first failure of the disk itself (full, or a
    // device error) that made the rewrite fail; empty when none did.
    std::string diskFailure;
};

// Writes config.inc anew with the given lines (CR LF after each). The lines
// go to a temporary file beside it (named as TemporaryNames.h says) that
// replaces it in one step once every line, the flush and the close have
// succeeded, so the former file stays whole until the new one is complete
// and is never replaced by a part. When the folder refuses new files but
// config.inc itself may be written, the file is rewritten in place instead.
//
// A missing line (nullopt) or one that cannot be written fails the rewrite;
// the lines after it are still written, so every failure is recorded. The
// failures land in the run's failure indicator. A temporary file of a failed
// rewrite is removed.
ConfigFileRewrite rewriteConfigFile(RunContext& run, const std::string& path,
                                    const std::vector<std::optional<std::string>>& lines);

}  // namespace tessaron
