#include "StageTestSupport.h"

#include <fstream>
#include <stdexcept>

#include "support/LocalTime.h"
#include "support/TempMachine.h"

namespace tessaron::testing {

StageRun::StageRun(Database& database, SettingsRecord initialSettings)
    : settings(std::move(initialSettings)),
      platform(database),
      run(settings, options, platform, log) {
    options.InitializeDatabase = true;
    run.now = pinnedNow;
}

SettingsRecord typicalSettings() {
    SettingsRecord settings;
    settings.ServerName = "WEB01";
    settings.ServerIP = "192.0.2.10";
    settings.InternalIP = "10.0.0.10";
    settings.AdminUsername = "admin";
    settings.AdminPassword = "secret";
    settings.MainContactEmail = "owner@example.com";
    settings.AdminEmail = "tickets@example.com";
    settings.DefaultPrimaryDNS = "ns1.example.com";
    settings.DefaultPrimaryDNSIP = "192.0.2.53";
    settings.DefaultSecondaryDNS = "ns2.example.com";
    settings.DefaultSecondaryDNSIP = "192.0.2.54";
    return settings;
}

std::chrono::system_clock::time_point pinnedNow() {
    return localTime(2004, 3, 7, 14, 5, 9);
}

std::vector<std::string> expectedStatements(const std::string& fileName) {
    std::filesystem::path path = sourceDir() / "tests" / "database" / "expected" / fileName;
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("missing fixture " + path.string());
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

}  // namespace tessaron::testing
