#include "app/tools/UnattendedActions.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "app/answers/AnswersFile.h"
#include "app/preview/Preview.h"
#include "app/preview/PreviewVerdict.h"
#include "platform/Failure.h"
#include "platform/HostPath.h"
#include "platform/WindowsPath.h"
#include "run/BackingUpPlatform.h"
#include "run/LeftOverFiles.h"
#include "run/RestoreRun.h"
#include "run/RunJournal.h"

namespace tessaron::app::tools {

using window::SettingsWindow;

using preview::previewInstallation;
using preview::previewJson;
using preview::PreviewReport;
using preview::previewText;

using preview::previewVerdict;

using answers::AnswersHeader;
using answers::answersHeaderTime;
using answers::RecordingOptions;
using answers::UsageError;

using answers::recordAnswers;

namespace {

constexpr const char* kProgramPrefix = "tessaron-config: ";

// Says on err why the machine could not be held; returns the status.
int refusedWith(const wiring::MachineRefused& refused, std::ostream& err) {
    err << kProgramPrefix << refused.what() << '\n';
    return refused.status();
}

int restoreStatus(RestoreResult result) {
    switch (result) {
        case RestoreResult::Restored:
            return wiring::exit_status::kCompleted;
        case RestoreResult::NothingToRestore:
            return wiring::exit_status::kNothingToRestore;
        case RestoreResult::Refused:
            return wiring::exit_status::kRestoreRefused;
        case RestoreResult::Failed:
            break;
    }
    return wiring::exit_status::kCompletedWithRunError;
}

}  // namespace

std::optional<int> holdMachine(Platform& platform, std::unique_ptr<MachineLock>& lock,
                               std::ostream& err) {
    try {
        lock = wiring::holdMachine(platform);
    } catch (const wiring::MachineRefused& refused) {
        return refusedWith(refused, err);
    }
    return std::nullopt;
}

RestoreOutcome restoreLatestRunHolding(Platform& platform, const std::string& installDir) {
    RestoreOutcome outcome;
    // A restore changes the files a run changes.
    std::unique_ptr<MachineLock> lock;
    try {
        lock = wiring::holdMachine(platform);
    } catch (const wiring::MachineRefused& refused) {
        outcome.report.lines = {refused.what()};
        outcome.status = refused.status();
        outcome.machineRefused = true;
        return outcome;
    }
    try {
        removeStaleTemporaries(platform.Files(), backupPlacesFor(platform, installDir));
    } catch (const PlatformError&) {
        // Without the Windows folder there are none of the metabase's.
    }
    outcome.report = restoreLatestRun(platform.Files(), runJournalPath(installDir));
    outcome.status = restoreStatus(outcome.report.result);
    return outcome;
}

int restoreLatestRunOn(Platform& platform, std::ostream& out, std::ostream& err) {
    std::string installDir;
    try {
        installDir = trimSpaces(registryValueText(
            platform.System().ReadRegistryValue("SOFTWARE\\Tessaron", "Install_Dir")));
    } catch (const PlatformError&) {
        installDir.clear();
    }
    if (installDir.empty()) {
        err << "tessaron-config: cannot restore: the panel's installation directory is not in "
               "the registry\n";
        return wiring::exit_status::kCompletedWithRunError;
    }
    const RestoreOutcome outcome = restoreLatestRunHolding(platform, installDir);
    std::ostream& stream = outcome.report.restored ? out : err;
    for (const auto& line : outcome.report.lines) {
        stream << (outcome.machineRefused ? kProgramPrefix : "") << line << '\n';
    }
    stream << std::flush;
    return outcome.status;
}

void saveAnswersFile(SettingsWindow& window, const std::string& path,
                     const RecordingOptions& recording, const MachineLock* heldByCaller) {
    std::unique_ptr<MachineLock> lock;
    if (!heldByCaller) lock = wiring::holdMachine(window.platform());
    const std::string text =
        recordAnswers(window.controls(), window.discoveredValues(),
                      AnswersHeader{window.serverName(), answersHeaderTime()}, recording);
    std::ofstream file(hostPathFromUtf8(path), std::ios::binary | std::ios::trunc);
    if (recording.clearPasswords && file) {
        // Passwords in clear text are for the owner's eyes only; the file is
        // still empty when it gets the mode, also when it existed before.
        std::error_code error;
        std::filesystem::permissions(
            hostPathFromUtf8(path),
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
            std::filesystem::perm_options::replace, error);
        if (error) {
            file.close();
            throw UsageError("cannot write answers file " + path +
                             " readable by its owner only: " + error.message());
        }
    }
    file << text;
    file.close();
    if (!file) {
        throw UsageError("cannot write answers file " + path + ": " + std::strerror(errno));
    }
}

int printPreview(const SettingsRecord& settings, const InstallOptions& options, Platform& machine,
                 const std::string& machineName, const PreviewPrinting& printing, std::ostream& out,
                 std::ostream& err, const MachineLock* heldByCaller) {
    PreviewReport report;
    try {
        report = previewInstallation(settings, options, machine, machineName, heldByCaller);
    } catch (const wiring::MachineRefused& refused) {
        return refusedWith(refused, err);
    } catch (const std::exception& error) {
        err << "tessaron-config: cannot preview the run: " << error.what() << '\n';
        return wiring::exit_status::kInternalError;
    }
    if (!printing.quiet) {
        out << (printing.json ? previewJson(report) : previewText(report)) << std::flush;
    }
    const int status = report.result.exitStatus;
    if (printing.detailedExitcode && status == wiring::exit_status::kCompleted &&
        previewVerdict(report).changed()) {
        return wiring::exit_status::kChanges;
    }
    return status;
}

}  // namespace tessaron::app::tools
