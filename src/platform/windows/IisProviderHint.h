#pragma once

#include <optional>
#include <string>

namespace tessaron::platform::windows {

// From Windows Server 2008 on, IIS's directory-service provider (the name
// "IIS" of IIS://LocalHost/...) comes only with the role service "IIS 6
// Metabase Compatibility". When the provider is not registered on such a
// release, the line that tells the administrator how to add it; otherwise
// (the provider is there, or the release is one whose IIS always brings it)
// nothing.
std::optional<std::string> iisProviderHint();

// The same decision for a given release and registration, for the tests.
std::optional<std::string> iisProviderHint(const std::string& kernelVersion,
                                           bool providerRegistered);

}  // namespace tessaron::platform::windows
