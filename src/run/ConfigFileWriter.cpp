#include "run/ConfigFileWriter.h"

#include "runcontext/ConfigFileRewrite.h"
#include "settings/ConfigFileBody.h"
#include "settings/ConfigFileSiteLines.h"

namespace tessaron {

namespace {

// The site lines of the file being replaced. The new body carries them until
// the append step replaces them, so a run that ends before that step (killed,
// or stopped by an error of the web-server stage) leaves a file that still
// names the sites the metabase holds. Without a readable former file there
// are none to carry.
std::vector<std::string> formerSiteLines(RunContext& run, const std::string& path) {
    FileSystem& files = run.platform.Files();
    try {
        if (!files.FileExists(path)) return {};
        return siteSettingLines(files.ReadTextFile(path));
    } catch (const PlatformError&) {
        return {};
    }
}

// The line of a failed write. A failure of the disk itself (a full disk)
// is named after it, with the system's text, as lines that quote a reason
// do; the failures of access and of values keep the line as it stands.
std::string writeFailedLine(const ConfigFileRewrite& rewrite) {
    std::string line = "Could not write to configuration file.";
    if (!rewrite.diskFailure.empty()) line += " - " + rewrite.diskFailure;
    return line;
}

}  // namespace

std::optional<std::vector<std::string>> ConfigFileWriter(RunContext& run) {
    run.AddProgressText("Writing configuration file...");
    run.beginContinueOnError();

    const std::string target = configFilePath(run.settings);

    const ConfigFileSources sources{
        run.settings,
        run.platform.System().GetProgramFilesDir(),
        run.attempt([&] { return run.platform.System().GetTempFolder(); }),
        shortDateText(run.now()),
    };
    const auto body = configFileBodyLines(sources);
    auto lines = body;
    for (auto& line : formerSiteLines(run, target)) lines.emplace_back(std::move(line));

    const ConfigFileRewrite rewrite = rewriteConfigFile(run, target, lines);
    if (!rewrite.opened) {
        run.RunError = true;
        run.AddProgressText("Could not open configuration file for overwriting.");
    }
    if (!rewrite.written) {
        run.RunError = true;
        run.AddProgressText(writeFailedLine(rewrite));
        return std::nullopt;
    }
    std::vector<std::string> written;
    written.reserve(body.size());
    for (const auto& line : body) written.push_back(*line);
    run.AddProgressText("Configuration file written.");
    return written;
}

}  // namespace tessaron
