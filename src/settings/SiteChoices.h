#pragma once

// Where the panel's configuration lives and the fixed entries of the site
// lists: the window writes them, the run recognises them.

#include <string>

#include "settings/SettingsRecord.h"

namespace tessaron {

// The first entry of the control panel and FTP site lists: the run creates a
// new site instead of taking over an existing one by its name.
inline constexpr const char* kCreateNewSite = "-- Create New Site --";
// The first entries of the shared secure and preview site lists: no such site.
inline constexpr const char* kNoSharedSecureSite = "-- No Shared Secure Website --";
inline constexpr const char* kNoPreviewSite = "-- No Preview Website --";

// Where the panel keeps its configuration: InstallDir + "\panel\config.inc".
inline std::string configFilePath(const SettingsRecord& settings) {
    return settings.InstallDir + "\\panel\\config.inc";
}

}  // namespace tessaron
