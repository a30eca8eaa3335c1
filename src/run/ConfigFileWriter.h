#pragma once

#include <optional>
#include <string>
#include <vector>

#include "runcontext/RunContext.h"
#include "settings/SiteChoices.h"

namespace tessaron {

// The configuration file step of the run: writes the 69 body lines of
// config.inc from the settings record, logs its outcome and sets RunError
// on failure. The new body goes to a temporary file beside config.inc that
// replaces the former file only when every line was written, so a failed
// write never destroys the previous configuration. The body carries the
// former file's site lines until the append step replaces them. Returns the
// body lines put in place, for that step; nullopt when the file was not
// written. Temporary files of a killed run are removed first.
std::optional<std::vector<std::string>> ConfigFileWriter(RunContext& run);

}  // namespace tessaron
