#pragma once

#include <string>
#include <vector>

#include "runcontext/RunContext.h"

namespace tessaron {

inline constexpr const char* kDnsProviderErrorLine =
    "ERROR: Could not initialize Windows DNS WMI provider.  Tessaron requires the DNS WMI provider "
    "to be installed in order to function properly.  Please make sure it is installed properly, "
    "then restart this installation.";
inline constexpr const char* kFrontPageErrorLine =
    "ERROR: Could not find FrontPage 2002 extensions administration tools.  Please make sure "
    "FrontPage 2002 extensions are properly installed, then restart this installation.";

// The first stage of the run: the DNS provider (installed on Windows 2000
// when missing), the FrontPage 2002 extensions and the working directories.
// Returns false after logging the error line that stops the run.
bool runPrerequisiteChecks(RunContext& run);

}  // namespace tessaron
