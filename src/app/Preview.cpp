#include "app/Preview.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "app/CommandLine.h"
#include "app/PreviewScratch.h"
#include "app/SecretMask.h"
#include "platform/CodePage1252.h"
#include "platform/Failure.h"
#include "platform/HostPath.h"
#include "run/BackingUpPlatform.h"
#include "run/ConfigFileWriter.h"
#include "runcontext/ProgressLog.h"

namespace fs = std::filesystem;

namespace tessaron::app {
namespace {

std::optional<std::string> readBytes(const std::optional<fs::path>& path) {
    std::error_code error;
    if (!path || !fs::is_regular_file(*path, error)) return std::nullopt;
    std::ifstream in(*path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The files a run changes in place, as they are before and after it.
struct WatchedFiles {
    std::optional<fs::path> config, metabase, commands;
    std::optional<std::string> configBytes, metabaseBytes, commandsBytes;

    void read() {
        configBytes = readBytes(config);
        metabaseBytes = readBytes(metabase);
        commandsBytes = readBytes(commands);
    }
    bool isOne(const fs::path& path) const {
        return path == config || path == metabase || path == commands;
    }
};

std::string displayPath(const ScratchMachine& machine, const fs::path& root,
                        const std::string& relative) {
    const auto windows = machine.windowsPath(root / relative);
    return windows ? *windows : relative;
}

void reportConfigFile(PreviewReport& report, const WatchedFiles& before, const WatchedFiles& after,
                      const SecretMask& mask) {
    if (!after.configBytes || before.configBytes == after.configBytes) return;
    report.configChanged = true;
    report.configCreated = !before.configBytes;
    const auto oldLines = splitLines(decodeCodePage1252(before.configBytes.value_or("")));
    const auto newLines = splitLines(decodeCodePage1252(*after.configBytes));
    for (auto change : diffLines(oldLines, newLines)) {
        change.text = mask.apply(change.text);
        report.configChanges.push_back(std::move(change));
    }
}

void reportMetabase(PreviewReport& report, const WatchedFiles& before, const WatchedFiles& after,
                    const SecretMask& mask) {
    const auto oldKeys = readMetabaseKeys(before.metabaseBytes.value_or(""));
    const auto newKeys = readMetabaseKeys(after.metabaseBytes.value_or(""));
    report.metabaseChanges = diffMetabaseKeys(oldKeys, newKeys);
    for (auto& change : report.metabaseChanges) {
        for (auto& property : change.properties) {
            if (property.before) property.before = mask.apply(*property.before);
            if (property.after) property.after = mask.apply(*property.after);
        }
    }
    report.takeovers = siteTakeovers(report.metabaseChanges);
    report.sites = chosenSites(report.metabaseChanges);
    report.startConflicts = startConflicts(report.metabaseChanges, newKeys);
}

void reportCommands(PreviewReport& report, const WatchedFiles& before, const WatchedFiles& after,
                    const SecretMask& mask) {
    const std::string old = before.commandsBytes.value_or("");
    std::string added = after.commandsBytes.value_or("");
    // The log is only ever appended to.
    if (added.compare(0, old.size(), old) == 0) added.erase(0, old.size());
    for (const auto& line : splitLines(added)) report.commands.push_back(mask.apply(line));
}

void reportTree(PreviewReport& report, const ScratchMachine& machine, const fs::path& root,
                const ImageTree& before, const ImageTree& after, const WatchedFiles& watched) {
    for (const auto& [relative, marker] : after.folders) {
        if (!before.folders.count(relative)) {
            report.foldersCreated.push_back(displayPath(machine, root, relative));
        }
    }
    for (const auto& [relative, hash] : after.files) {
        if (watched.isOne(root / relative)) continue;
        const auto found = before.files.find(relative);
        if (found == before.files.end()) {
            report.filesCreated.push_back(displayPath(machine, root, relative));
        } else if (found->second != hash) {
            report.filesChanged.push_back(displayPath(machine, root, relative));
        }
    }
}

}  // namespace

PreviewReport previewInstallation(const SettingsRecord& settings, const InstallOptions& options,
                                  const fs::path& imageRoot, Database& database,
                                  const ScratchMachineOpener& openScratch) {
    if (!openScratch) throw std::runtime_error("this program cannot open a machine image");
    PreviewReport report;
    report.machine = utf8FromHostPath(imageRoot);
    report.options = options;
    const SecretMask mask(settings);

    PreviewScratch scratch(imageRoot);
    const ImageTree treeBefore = ImageTree::read(scratch.root());
    PreviewDatabase readOnly(database, settings.MainSQLServerType == "SQL Server", report.database);
    const auto machine = openScratch(scratch.root(), readOnly);
    Platform& image = machine->platform();

    SettingsRecord runSettings = settings;
    report.configFile = configFilePath(runSettings);
    report.metabaseFile = backupPlacesFor(image, runSettings.InstallDir).metabaseFile;
    WatchedFiles before;
    before.config = machine->hostPath(report.configFile);
    before.metabase = machine->hostPath(report.metabaseFile);
    before.commands = scratch.root() / "commands.log";
    before.read();

    ProgressLog log;
    RunContext run(runSettings, options, image, log);
    const RunResult result = performInstallationRun(run);
    std::string saveError;
    try {
        image.Iis().Flush();
    } catch (const PlatformError& error) {
        saveError = error.description();
    }

    WatchedFiles after;
    // Paths resolve again: the run may have created the folders on the way.
    after.config = machine->hostPath(report.configFile);
    after.metabase = machine->hostPath(report.metabaseFile);
    after.commands = before.commands;
    after.read();

    reportConfigFile(report, before, after, mask);
    reportMetabase(report, before, after, mask);
    reportCommands(report, before, after, mask);
    for (auto& statement : report.database.statements) statement.text = mask.apply(statement.text);
    report.database.failure = mask.apply(report.database.failure);
    reportTree(report, *machine, scratch.root(), treeBefore, ImageTree::read(scratch.root()),
               after);

    report.log = mask.apply(log.entries());
    RunOutcome outcome = outcomeOf(result, run, log);
    outcome.metabaseSaveError = mask.apply(saveError);
    report.result = describeRunOutcome(outcome);
    return report;
}

}  // namespace tessaron::app
