// The site lines appended to config.inc after the web-server stage.
#include "runcontext/ConfigFileRewrite.h"
#include "settings/ConfigFileBody.h"
#include "settings/ConfigFileSiteLines.h"
#include "settings/SiteChoices.h"
#include "webserver/WebServerStage.h"

namespace tessaron {
namespace {

// The number the stage held, else the one read from the old file.
const std::string& heldOr(const std::string& held, const std::string& setting) {
    return held.empty() || held == "0" ? setting : held;
}

std::optional<std::string> mainFtpValue(const SettingsRecord& settings, const std::string& ftp) {
    const auto& type = settings.FTPServerType;
    if (type == "Microsoft FTP") return ftp;
    if (type == "Serv-U") return "0";
    if (type == "BulletProof FTP") return "1";
    if (type == "Gene6 FTP Server") return "Tessaron";
    return std::nullopt;
}

}  // namespace

void AppendSiteSettings(RunContext& run, const std::optional<std::vector<std::string>>& writtenBody,
                        const HeldSiteNumbers& held) {
    const SettingsRecord& settings = run.settings;
    if (!writtenBody) {
        // Site lines without the body this run meant to write would leave a
        // file that is neither the former one nor the new one.
        run.AddProgressText(
            "Site settings were not added because the configuration file could not be "
            "written.");
        return;
    }

    // The body as this run put it in place, then the site lines in place of
    // the former ones it carried, in one rewrite.
    std::vector<std::optional<std::string>> lines(writtenBody->begin(), writtenBody->end());
    const auto write = [&](const std::string& line) { lines.emplace_back(line); };

    if (isTrue(settings.FTPServerEnabled)) {
        if (auto value = mainFtpValue(settings, heldOr(held.ftp, settings.MainFTPSVC))) {
            write(siteLine(&SettingsRecord::MainFTPSVC, *value));
        }
    }
    if (isTrue(settings.EnableSharedSecure)) {
        write(siteSwitchLine(&SettingsRecord::EnableSharedSecure, true));
        write(siteLine(&SettingsRecord::SharedSecureServer, settings.SharedSecureServer));
        write(siteLine(&SettingsRecord::SharedSecureSVC,
                       held.sharedSecure.value_or(settings.SharedSecureSVC)));
    } else {
        write(siteSwitchLine(&SettingsRecord::EnableSharedSecure, false));
    }
    if (isTrue(settings.EnableWebsitePreview)) {
        write(siteSwitchLine(&SettingsRecord::EnableWebsitePreview, true));
        write(siteLine(&SettingsRecord::PreviewSVC, heldOr(held.preview, settings.PreviewSVC)));
    } else {
        write(siteSwitchLine(&SettingsRecord::EnableWebsitePreview, false));
        write(siteLine(&SettingsRecord::PreviewSVC, "0"));
    }

    const auto rewrite = rewriteConfigFile(run, configFilePath(settings), lines);
    if (!rewrite.written) {
        run.RunError = true;
        run.AddProgressText("ERROR: Could not add site settings to configuration file - " +
                            run.failure.description());
    }
}

}  // namespace tessaron
