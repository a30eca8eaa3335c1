#include "support/SampleSettings.h"

namespace tessaron::testing {

SettingsRecord sampleSettings(std::initializer_list<SettingsChanges> changes) {
    SettingsRecord s;
    s.ServerName = "WEB01";
    s.InstallDir = "C:\\Tessaron";
    s.ServerIP = "192.0.2.10";
    s.ServerRoot = "C:\\Accounts";
    s.LogRoot = "C:\\WINDOWS\\system32\\LogFiles";
    s.AdminUsername = "Administrator";
    s.EnableStatistics = "False";
    s.DNSServerEnabled = "False";
    s.FTPServerEnabled = "False";
    s.EnableSharedSecure = "False";
    s.EnableWebsitePreview = "False";
    for (const SettingsChanges& list : changes) {
        for (const SettingsChange& change : list) s.*change.field = change.value;
    }
    return s;
}

}  // namespace tessaron::testing
