#pragma once

// The directory-service paths of the IIS services the program reads and
// configures.

namespace tessaron::iis_paths {

inline constexpr const char* kWebService = "IIS://LocalHost/W3SVC";
inline constexpr const char* kFtpService = "IIS://LocalHost/MSFTPSVC";
inline constexpr const char* kAppPools = "IIS://LocalHost/W3SVC/AppPools";

}  // namespace tessaron::iis_paths
