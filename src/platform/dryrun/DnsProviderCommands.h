#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace tessaron::dry_run {

// The WMI namespace of the DNS provider.
inline constexpr const char* kDnsProviderNamespace = "root\\MicrosoftDNS";

// True when the recorded command lines hold the two that install the DNS
// provider: the schema compiler (mofcomp) compiling dnsschema.mof and the
// registration tool (regsvr32, not unregistering) registering dnsprov.dll,
// each file lying in wbemFolder as files shows it (relative names are taken
// there, the commands' working folder). After the real commands these make
// the provider's namespace reachable.
bool installsDnsProvider(const std::vector<std::string>& commands, const std::string& wbemFolder,
                         FileSystem& files);

}  // namespace tessaron::dry_run
