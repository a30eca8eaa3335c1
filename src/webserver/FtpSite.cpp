// The panel's FTP site on the web server's own FTP service.
#include "webserver/WebServerSteps.h"

namespace tessaron::webserver {

bool setUpFtpSite(Stage& stage) {
    const SettingsRecord& settings = stage.run.settings;
    if (!isTrue(settings.FTPServerEnabled) || settings.FTPServerType != "Microsoft FTP")
        return true;
    const std::string& selection = settings.MainFTPSVCSelection;
    auto site = stage.selectSite(stage.ftpService, kFtpService, "IIsFtpServer", selection);
    if (site.created) {
        // A new FTP site is committed at once; one test covers both.
        stage.commit(site.object);
        if (!stage.test("Could not create new FTP at #" + site.number + " - ")) return false;
    }
    if (site.missing()) return stage.end("Could not find FTP \"" + selection + "\".");
    stage.held.ftp = site.number;

    stage.put(site.object, "ServerBindings", std::vector<std::string>{":21:"});
    stage.put(site.object, "ServerComment", "Tessaron - FTP");
    stage.put(site.object, "AllowAnonymous", false);
    stage.commit(site.object);
    if (!stage.test("Could not set proper information for Tessaron FTP - ")) return false;

    auto root = stage.openOrCreate(site.object, site.path, "IIsFtpVirtualDir", "ROOT");
    if (!stage.test("Could not retrieve/create Tessaron FTP root - ")) return false;
    stage.put(root, "Path", rootFolderPath(settings.ServerRoot));
    stage.put(root, "AccessRead", true);
    stage.put(root, "AccessWrite", false);
    stage.commit(root);
    if (!stage.test("Could not set proper information for Tessaron FTP root directory - "))
        return false;
    stage.log("Tessaron FTP configured.");

    stage.start(site.object);
    if (stage.failed()) {
        stage.log(
            "WARNING: Could not start Tessaron FTP.  Make sure you do not have another FTP, such "
            "as the Default FTP Site, that conflicts with this FTP, which listens on all "
            "unassigned IPs.");
    } else {
        stage.log("Tessaron FTP started.");
    }
    stage.clearFailure();
    return true;
}

}  // namespace tessaron::webserver
