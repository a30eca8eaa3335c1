#include "app/UnattendedActions.h"

#include <cstring>
#include <fstream>
#include <ostream>

#include "app/AnswersFile.h"
#include "app/Preview.h"
#include "platform/Failure.h"
#include "platform/WindowsPath.h"
#include "run/RestoreRun.h"
#include "run/RunJournal.h"

namespace tessaron::app {

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
        return exit_status::kCompletedWithRunError;
    }
    const RestoreReport report = restoreLatestRun(platform.Files(), runJournalPath(installDir));
    std::ostream& stream = report.restored ? out : err;
    for (const auto& line : report.lines) stream << line << '\n';
    stream << std::flush;
    return report.restored ? exit_status::kCompleted : exit_status::kCompletedWithRunError;
}

void saveAnswersFile(SettingsWindow& window, const std::string& path, bool clearPasswords) {
    const std::string text =
        recordAnswers(window.controls(), window.discoveredValues(),
                      AnswersHeader{window.serverName(), answersHeaderTime()}, clearPasswords);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        throw UsageError("cannot write answers file " + path + ": " + std::strerror(errno));
    }
}

int printPreview(const SettingsRecord& settings, const InstallOptions& options, Platform& machine,
                 const std::string& machineName, bool json, std::ostream& out, std::ostream& err) {
    PreviewReport report;
    try {
        report = previewInstallation(settings, options, machine, machineName);
    } catch (const std::exception& error) {
        err << "tessaron-config: cannot preview the run: " << error.what() << '\n';
        return exit_status::kInternalError;
    }
    out << (json ? previewJson(report) : previewText(report)) << std::flush;
    return report.result.exitStatus;
}

}  // namespace tessaron::app
