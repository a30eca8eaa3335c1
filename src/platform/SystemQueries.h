#pragma once

#include <optional>
#include <string>

#include "platform/RegistryValue.h"

namespace tessaron {

// The small operating-system queries of the program's shared module.
class SystemQueries {
public:
    virtual ~SystemQueries() = default;

    // Dotted text of the machine's first IPv4 address in the sorted address
    // table, or empty text.
    virtual std::string GetFirstIPAddress() = 0;
    // A value under HKEY_LOCAL_MACHINE; value names compared without regard
    // to case; empty text when missing. Never throws.
    virtual RegistryValue ReadRegistryValue(const std::string& keyPath,
                                            const std::string& valueName) = 0;
    // The Windows folder without trailing backslash, or empty text.
    virtual std::string GetWindowsDir() = 0;
    // The system folder followed by one NUL character, as the system call
    // reports it; callers drop that last character themselves.
    virtual std::string GetSystemDir() = 0;
    // The Program Files folder, blanks trimmed, or empty text.
    virtual std::string GetProgramFilesDir();
    // The temporary folder. Throws PlatformError on failure.
    virtual std::string GetTempFolder() = 0;
    // 2000, 2003 or no value. Throws PlatformError when the query fails.
    virtual std::optional<int> GetServerOSVersion();

    // The operating system's version text ("5.2.3790"). Throws PlatformError.
    virtual std::string OperatingSystemVersion() = 0;
};

// Maps a version text to the release: "5.0.x" -> 2000, "5.2.x" -> 2003.
std::optional<int> releaseFromVersion(const std::string& version);

}  // namespace tessaron
