#pragma once

#include <string>
#include <vector>

#include "app/preview/LineDiff.h"
#include "app/preview/MetabaseDiff.h"
#include "app/preview/PreviewDatabase.h"
#include "app/wiring/ProgressRun.h"
#include "platform/Platform.h"
#include "run/RunDriver.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app::preview {

// Everything a run would change, found by running it as a dry run of the
// machine. Passwords are masked in every text.
struct PreviewReport {
    std::string machine;  // the machine previewed (its image folder, or this computer)
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
    wiring::RunExit result;
};

// Runs the installation with the settings and options as a dry run of the
// machine (any backend): it reads the machine, keeps every change in memory
// and uses the database in read-only mode; the report is made from what it
// kept. Nothing on the machine or in the database changes. machineName
// names the machine in the report.
//
// The preview reads the machine as the run would find it, so it holds the
// machine's run lock for its length (MachineHold.h), unless the caller
// already holds it and hands in its lock. Throws MachineRefused when the
// machine cannot be held.
PreviewReport previewInstallation(const SettingsRecord& settings, const InstallOptions& options,
                                  Platform& machine, const std::string& machineName,
                                  const MachineLock* heldByCaller = nullptr);

// The report for people, and as one JSON document for scripts.
std::string previewText(const PreviewReport& report);
std::string previewJson(const PreviewReport& report);

// What a preview prints on a configured machine when the existing
// configuration is not to be read (no --yes): the run would end at load.
std::string alreadyConfiguredText(const std::string& machine);
std::string alreadyConfiguredJson(const std::string& machine, int exitStatus);

}  // namespace tessaron::app::preview
