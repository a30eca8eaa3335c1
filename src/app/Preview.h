#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/LineDiff.h"
#include "app/MetabaseDiff.h"
#include "app/PreviewDatabase.h"
#include "app/ProgressRun.h"
#include "app/ScratchMachine.h"
#include "platform/Database.h"
#include "run/RunDriver.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app {

// Everything a run would change, found by running it on a copy of the
// machine image. Passwords are masked in every text.
struct PreviewReport {
    std::string machine;  // the image folder previewed
    InstallOptions options;

    std::string configFile;  // Windows path of config.inc
    bool configCreated = false;
    bool configChanged = false;
    std::vector<ChangedLine> configChanges;

    std::string metabaseFile;
    std::vector<MetabaseKeyChange> metabaseChanges;
    std::vector<SiteTakeover> takeovers;
    std::vector<ChosenSite> sites;
    std::vector<StartConflict> startConflicts;

    DatabasePreview database;
    std::vector<std::string> commands;

    std::vector<std::string> foldersCreated;  // Windows paths
    std::vector<std::string> filesCreated;    // other than config.inc
    std::vector<std::string> filesChanged;    // other than config.inc, the metabase, commands.log

    std::vector<std::string> log;  // the progress log the run would write
    RunExit result;
};

// Runs the installation with the settings and options on a scratch copy of
// the machine image at imageRoot, opened by openScratch, the database in
// read-only mode, and reports what changed. The image and the database are
// left as they were. Throws std::exception when the copy cannot be made or
// the image not read.
PreviewReport previewInstallation(const SettingsRecord& settings, const InstallOptions& options,
                                  const std::filesystem::path& imageRoot, Database& database,
                                  const ScratchMachineOpener& openScratch);

// The report for people, and as one JSON document for scripts.
std::string previewText(const PreviewReport& report);
std::string previewJson(const PreviewReport& report);

// What a preview prints on a configured machine when the existing
// configuration is not to be read (no --yes): the run would end at load.
std::string alreadyConfiguredText(const std::string& machine);
std::string alreadyConfiguredJson(const std::string& machine, int exitStatus);

}  // namespace tessaron::app
