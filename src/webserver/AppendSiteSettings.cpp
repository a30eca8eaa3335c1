// The site lines appended to config.inc after the web-server stage.
#include "webserver/WebServerStage.h"

#include "settings/ConfigFileBody.h"

namespace tessaron {
namespace {

// Key = "value", the value as it is (no conversion) except for line breaks,
// which would end the statement early just as in the body's lines, and for
// its double quotes, doubled as a VBScript string literal needs them.
std::string rawQuoted(const std::string& key, const std::string& value) {
    return key + " = " + vbscriptStringLiteral(withoutLineBreaks(value));
}

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

void AppendSiteSettings(RunContext& run, const HeldSiteNumbers& held) {
    run.beginContinueOnError();
    const SettingsRecord& settings = run.settings;
    const auto opened = run.attempt([&] {
        return run.platform.Files().OpenTextFileForAppending(settings.InstallDir +
                                                             "\\panel\\config.inc");
    });
    const auto write = [&](const std::string& line) {
        if (opened && *opened) run.attempt([&] { (*opened)->WriteLine(line); });
    };

    if (isTrue(settings.FTPServerEnabled)) {
        if (auto value = mainFtpValue(settings, heldOr(held.ftp, settings.MainFTPSVC))) {
            write(rawQuoted("MainFTPSVC", *value));
        }
    }
    if (isTrue(settings.EnableSharedSecure)) {
        write("EnableSharedSecure = True");
        write(rawQuoted("SharedSecureServer", settings.SharedSecureServer));
        write(rawQuoted("SharedSecureSVC", settings.SharedSecureSVC));
    } else {
        write("EnableSharedSecure = False");
    }
    if (isTrue(settings.EnableWebsitePreview)) {
        write("EnableWebsitePreview = True");
        write(rawQuoted("PreviewSVC", heldOr(held.preview, settings.PreviewSVC)));
    } else {
        write("EnableWebsitePreview = False");
        write(rawQuoted("PreviewSVC", "0"));
    }
    if (opened && *opened) run.attempt([&] { (*opened)->Close(); });
}

}  // namespace tessaron
