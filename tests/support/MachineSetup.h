#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tessaron::testing {

// A machine as the settings window's load step sees it
// (TestMachine::described); every part can be left out.
struct MachineSetup {
    struct Site {
        std::string number;
        std::optional<std::string> comment;  // nullopt: no ServerComment property
    };

    std::optional<std::string> installDirValue = "C:\\Tessaron";  // as stored in the registry
    std::vector<std::string> addresses = {"10.0.0.5"};
    std::string organization = "Example Hosting Ltd";
    std::string owner = "Administrator";
    std::string version = "5.2";
    std::string build = "3790";
    bool component = true;
    std::string computerName = "WEBHOST01";
    bool metabase = true;
    std::string logFileDirectory = "%WinDir%\\System32\\LogFiles";
    std::vector<Site> webSites = {{"1", "Default Web Site"}, {"7", "Shop"}};
    bool ftpService = true;
    std::vector<Site> ftpSites = {{"1", "Default FTP Site"}};
    bool stylesFolder = true;
    std::vector<std::string> styles = {"Default"};
    std::optional<std::string> configInc;  // bytes of C:\Tessaron\panel\config.inc
};

}  // namespace tessaron::testing
