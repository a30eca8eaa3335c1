#pragma once

#include <filesystem>
#include <string>

namespace tessaron::bench {

// A MetaBase.xml in IIS 6 layout with `webSites` started web sites (each with
// its ROOT application, a host-header binding of its own and a display name)
// and `ftpSites` FTP sites (each with its ROOT), numbered from 1, besides the
// keys every Windows Server 2003 metabase has.
std::string generateMetabase(int webSites, int ftpSites);

// A minimal Windows Server 2003 machine image for the web-server stage:
// registry.reg (release 5.2, Windows folder C:\WINDOWS), the panel's folder
// C:\Tessaron\panel and the given metabase. Returns the MetaBase.xml path.
std::filesystem::path writeMetabaseMachine(const std::filesystem::path& root,
                                           const std::string& metabase);

}  // namespace tessaron::bench
