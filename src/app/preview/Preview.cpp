#include "app/preview/Preview.h"

#include "app/preview/SecretMask.h"
#include "app/wiring/MachineHold.h"
#include "platform/Failure.h"
#include "platform/dryrun/DryRunPlatform.h"
#include "run/BackingUpPlatform.h"
#include "run/ConfigFileWriter.h"
#include "runcontext/ProgressLog.h"

namespace tessaron::app::preview {
namespace {

void reportConfigFile(PreviewReport& report, dry_run::DryRunFiles& files, const SecretMask& mask) {
    const auto before = files.textBefore(report.configFile);
    const auto after = files.textNow(report.configFile);
    if (!after || before == after) return;
    report.configChanged = true;
    report.configCreated = !before;
    for (auto change : diffLines(splitLines(before.value_or("")), splitLines(*after))) {
        change.text = mask.apply(change.text);
        report.configChanges.push_back(std::move(change));
    }
}

std::optional<std::string> masked(const std::optional<std::string>& text, const SecretMask& mask) {
    if (!text) return std::nullopt;
    return mask.apply(*text);
}

void reportMetabase(PreviewReport& report, dry_run::DryRunMetabase* metabase,
                    const SecretMask& mask) {
    if (!metabase) return;
    for (const auto& key : metabase->changes()) {
        MetabaseKeyChange change{
            key.created ? MetabaseKeyChange::Kind::Created : MetabaseKeyChange::Kind::Changed,
            key.location,
            key.className,
            {}};
        for (auto property : key.properties) {
            property.before = masked(property.before, mask);
            property.after = masked(property.after, mask);
            change.properties.push_back(std::move(property));
        }
        report.metabaseChanges.push_back(std::move(change));
    }
    report.takeovers = siteTakeovers(report.metabaseChanges);
    report.sites = chosenSites(report.metabaseChanges);
    for (auto conflict : metabase->startConflicts()) {
        conflict.name = mask.apply(conflict.name);
        conflict.holderName = mask.apply(conflict.holderName);
        report.startConflicts.push_back(std::move(conflict));
    }
}

// Other files than config.inc and the metabase, which have sections of their own.
std::vector<std::string> otherFiles(std::vector<std::string> paths, const PreviewReport& report) {
    std::erase_if(paths, [&](const std::string& path) {
        return equalsIgnoreCase(path, report.configFile) ||
               equalsIgnoreCase(path, report.metabaseFile);
    });
    return paths;
}

}  // namespace

PreviewReport previewInstallation(const SettingsRecord& settings, const InstallOptions& options,
                                  Platform& machine, const std::string& machineName,
                                  const MachineLock* heldByCaller) {
    std::unique_ptr<MachineLock> lock;
    if (!heldByCaller) lock = wiring::holdMachine(machine);
    PreviewReport report;
    report.machine = machineName;
    report.options = options;
    const SecretMask mask(settings);

    PreviewDatabase readOnly(machine.Databases(), settings.MainSQLServerType == "SQL Server",
                             report.database);
    dry_run::DryRunPlatform dryRun(machine, readOnly);

    SettingsRecord runSettings = settings;
    report.configFile = configFilePath(runSettings);
    report.metabaseFile = backupPlacesFor(dryRun, runSettings.InstallDir).metabaseFile;

    ProgressLog log;
    RunContext run(runSettings, options, dryRun, log);
    const RunResult result = performInstallationRun(run);

    reportConfigFile(report, dryRun.files(), mask);
    reportMetabase(report, dryRun.metabase(), mask);
    for (const auto& command : dryRun.commands()) report.commands.push_back(mask.apply(command));
    for (auto& statement : report.database.statements) statement.text = mask.apply(statement.text);
    report.database.failure = mask.apply(report.database.failure);
    report.foldersCreated = dryRun.files().foldersCreated();
    report.filesCreated = otherFiles(dryRun.files().filesCreated(), report);
    report.filesChanged = otherFiles(dryRun.files().filesChanged(), report);

    report.log = mask.apply(log.entries());
    report.result = wiring::describeRunOutcome(wiring::outcomeOf(result, run, log));
    return report;
}

}  // namespace tessaron::app::preview
