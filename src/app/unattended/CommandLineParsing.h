#pragma once

#include <string>
#include <vector>

#include "app/wiring/CommandLine.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app::unattended {

// The program's name as its messages begin with it.
inline constexpr const char* kProgram = "tessaron-config";
// The program's version, and the line --version prints ("tessaron-config 1.0.0").
inline constexpr const char* kVersion = "1.0.0";
std::string versionText();
// The text --help prints.
std::string usageText();

// Parses the arguments after the program name; throws answers::UsageError.
wiring::CommandLine parseCommandLine(const std::vector<std::string>& args);
// "tasks,database,sites" (any subset, any order) into install options; empty
// text means none. Throws answers::UsageError for any other word.
InstallOptions parseInstallOptions(const std::string& list);

}  // namespace tessaron::app::unattended
