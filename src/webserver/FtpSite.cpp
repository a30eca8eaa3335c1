// The panel's FTP site on the web server's own FTP service.
#include "webserver/SiteNumbers.h"
#include "webserver/WebServerSteps.h"

namespace tessaron::webserver {

bool SetUpFtpSite(Stage& stage) {
    const SettingsRecord& settings = stage.run.settings;
    if (!isTrue(settings.FTPServerEnabled) || settings.FTPServerType != "Microsoft FTP")
        return true;
    const std::string& selection = settings.MainFTPSVCSelection;
    std::string number;
    Object site;
    if (selection == kCreateNewSite) {
        number = std::to_string(FindFreeSiteNumber(stage.iis, kFtpService));
        stage.run.failure.clear();
        site = stage.create(stage.ftpService, "IIsFtpServer", number);
        stage.on(site, [](MetabaseObject& o) { o.SetInfo(); });
        if (stage.failed()) {
            return stage.end("Could not create new FTP at #" + number + " - " +
                             stage.description());
        }
    } else {
        number = stage
                     .on(stage.ftpService,
                         [&](MetabaseObject& ftp) {
                             return FindSiteByComment(ftp, "IIsFtpServer", selection);
                         })
                     .value_or("0");
        if (number == "0") return stage.end("Could not find FTP \"" + selection + "\".");
        site = stage.open(std::string(kFtpService) + "/" + number);  // not tested here
    }
    stage.held.ftp = number;

    stage.on(site,
             [](MetabaseObject& o) { o.Put("ServerBindings", std::vector<std::string>{":21:"}); });
    stage.on(site,
             [](MetabaseObject& o) { o.Put("ServerComment", std::string("Tessaron - FTP")); });
    stage.on(site, [](MetabaseObject& o) { o.Put("AllowAnonymous", false); });
    stage.on(site, [](MetabaseObject& o) { o.SetInfo(); });
    if (stage.failed()) {
        return stage.end("Could not set proper information for Tessaron FTP - " +
                         stage.description());
    }

    auto root = stage.open(std::string(kFtpService) + "/" + number + "/ROOT");
    if (!root) {
        stage.run.failure.clear();
        root = stage.create(site, "IIsFtpVirtualDir", "ROOT");
        if (stage.failed()) {
            return stage.end("Could not retrieve/create Tessaron FTP root - " +
                             stage.description());
        }
    }
    stage.on(root, [&](MetabaseObject& o) { o.Put("Path", settings.ServerRoot); });
    stage.on(root, [](MetabaseObject& o) { o.Put("AccessRead", true); });
    stage.on(root, [](MetabaseObject& o) { o.Put("AccessWrite", false); });
    stage.on(root, [](MetabaseObject& o) { o.SetInfo(); });
    if (stage.failed()) {
        return stage.end("Could not set proper information for Tessaron FTP root directory - " +
                         stage.description());
    }
    stage.log("Tessaron FTP configured.");

    stage.on(site, [](MetabaseObject& o) { o.Start(); });
    if (stage.failed()) {
        stage.log(
            "WARNING: Could not start Tessaron FTP.  Make sure you do not have another FTP, such "
            "as the Default FTP Site, that conflicts with this FTP, which listens on all "
            "unassigned IPs.");
    } else {
        stage.log("Tessaron FTP started.");
    }
    stage.run.failure.clear();
    return true;
}

}  // namespace tessaron::webserver
