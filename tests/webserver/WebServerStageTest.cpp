// The web-server stage on copies of the sample machine images: new sites,
// sites taken over, the release-dependent pool, gates and start conflicts.
#include <gtest/gtest.h>

#include "WebServerStageRun.h"
#include "platform/WindowsPath.h"

namespace tessaron::testing {
namespace {

const std::string kPoolLine = "IIS application pool for Tessaron control panel website configured.";
const std::string kFtpWarning =
    "WARNING: Could not start Tessaron FTP.  Make sure you do not have another FTP, such as the "
    "Default FTP Site, that conflicts with this FTP, which listens on all unassigned IPs.";
const std::string kSharedConfigured =
    "Shared secure website configured - be sure to set up a secure certificate and start the site!";
const std::string kConflict = "Cannot create a file when that file already exists.";

struct Expected {
    std::string path;
    std::string property;
    std::string text;
};

void expectOnDisk(const WebServerStageRun& stage, const std::vector<Expected>& table) {
    auto metabase = stage.metabaseOnDisk();
    for (const auto& row : table) {
        EXPECT_EQ(propertyText(*metabase, "IIS://LocalHost/" + row.path, row.property), row.text)
            << row.path << " " << row.property;
    }
}

// Adds keys to the sample's metabase before the first key of the given
// location, in the file's own line breaks.
void insertKeys(const WebServerStageRun& stage, const std::string& beforeLocation,
                const std::string& keys) {
    auto text = stage.machine.readFile(stage.metabasePath());
    const auto location = text.find("Location =\"" + beforeLocation + "\"");
    const auto keyStart = text.rfind("\n<", location) + 1;
    text.insert(keyStart, replaceAll(keys, "\n", "\r\n"));
    stage.machine.writeFile(stage.metabasePath(), text);
}

TEST(WebServerStage, Server2003WithAllSitesNew) {
    WebServerStageRun stage(TestMachine::sample("windows2003"));
    EXPECT_TRUE(stage.runStage());
    EXPECT_EQ(
        stage.log.entries(),
        (Lines{kPoolLine, "Tessaron control panel website configured.",
               "Tessaron control panel website started.", "Tessaron FTP configured.", kFtpWarning,
               kSharedConfigured, "Shared secure site started.",
               "Website preview website configured.", "Tessaron website preview site started."}));
    EXPECT_EQ(stage.held.ftp, "2");
    EXPECT_EQ(stage.held.sharedSecure, "4");
    EXPECT_EQ(stage.held.preview, "5");
    expectOnDisk(stage, {
                            {"W3SVC/AppPools/Tessaron", "Class", "IIsApplicationPool"},
                            {"W3SVC/AppPools/Tessaron", "AppPoolIdentityType", "0"},
                            {"W3SVC/3", "ServerBindings", ":2100:\n:2101:"},
                            {"W3SVC/3", "ServerComment", "Tessaron - Control Panel"},
                            {"W3SVC/3", "ServerAutoStart", "True"},
                            {"W3SVC/3/ROOT", "Path", "C:\\Tessaron\\panel"},
                            {"W3SVC/3/ROOT", "AppPoolId", "Tessaron"},
                            {"W3SVC/3/ROOT", "AccessFlags", "513"},
                            {"W3SVC/3/ROOT", "AppRoot", "/LM/W3SVC/3/ROOT"},
                            {"W3SVC/3/ROOT", "AppIsolated", "0"},
                            {"MSFTPSVC/2", "ServerBindings", ":21:"},
                            {"MSFTPSVC/2", "ServerComment", "Tessaron - FTP"},
                            {"MSFTPSVC/2", "AllowAnonymous", "False"},
                            {"MSFTPSVC/2", "ServerAutoStart", "(unset)"},
                            {"MSFTPSVC/2/ROOT", "Path", "C:\\Accounts"},
                            {"MSFTPSVC/2/ROOT", "AccessRead", "True"},
                            {"MSFTPSVC/2/ROOT", "AccessWrite", "False"},
                            {"W3SVC/4", "ServerBindings", "10.0.0.5:80:nosite"},
                            {"W3SVC/4", "SecureBindings", "10.0.0.5:443:"},
                            {"W3SVC/4", "ServerComment", "Tessaron - Shared Secure"},
                            {"W3SVC/4", "ServerAutoStart", "True"},
                            {"W3SVC/4/ROOT", "Path", "C:\\Accounts"},
                            {"W3SVC/4/ROOT", "AccessFlags", "513"},
                            {"W3SVC/4/ROOT", "AppIsolated", "0"},
                            {"W3SVC/4/ROOT", "AppPoolId", "(unset)"},
                            {"W3SVC/5", "ServerBindings", "10.0.0.5:80:"},
                            {"W3SVC/5", "SecureBindings", "(unset)"},
                            {"W3SVC/5", "ServerComment", "Tessaron - Website Preview"},
                            {"W3SVC/5/ROOT", "Path", "C:\\Accounts"},
                            {"W3SVC/5/ROOT", "AppRoot", "/LM/W3SVC/5/ROOT"},
                        });
}

TEST(WebServerStage, Windows2000HasNoPoolAndNoPoolOnTheRoot) {
    auto settings = allNewSitesSettings();
    settings.InternalIP = "192.168.0.20";
    settings.FTPServerEnabled = "False";
    settings.EnableSharedSecure = "False";
    settings.SharedSecureSVC = "6";
    WebServerStageRun stage(TestMachine::sample("windows2000"), settings);
    const auto ftpBefore =
        propertyText(*stage.metabaseOnDisk(), "IIS://LocalHost/MSFTPSVC/2", "Class");
    EXPECT_TRUE(stage.runStage());
    EXPECT_EQ(stage.log.entries(), (Lines{"Tessaron control panel website configured.",
                                          "Tessaron control panel website started.",
                                          "Website preview website configured.",
                                          "Tessaron website preview site started."}));
    EXPECT_EQ(stage.held.ftp, "");
    EXPECT_EQ(stage.held.preview, "4");
    EXPECT_EQ(stage.held.sharedSecure, std::nullopt);
    EXPECT_EQ(ftpBefore, "(missing)");
    expectOnDisk(stage, {
                            {"W3SVC/AppPools", "Class", "(missing)"},
                            {"W3SVC/3/ROOT", "Path", "C:\\Tessaron\\panel"},
                            {"W3SVC/3/ROOT", "AppPoolId", "(unset)"},
                            {"W3SVC/4", "ServerBindings", "192.168.0.20:80:"},
                            {"MSFTPSVC/2", "Class", "(missing)"},
                        });
}

TEST(WebServerStage, ExistingPoolIsReusedAndSetAgain) {
    WebServerStageRun stage(TestMachine::sample("windows2003"));
    insertKeys(stage, "/LM/W3SVC/1",
               "<IIsApplicationPool\tLocation =\"/LM/W3SVC/AppPools/Tessaron\"\n"
               "\t\tAppPoolIdentityType=\"2\"\n\t>\n</IIsApplicationPool>\n");
    EXPECT_TRUE(stage.runStage());
    EXPECT_EQ(stage.log.entries().front(), kPoolLine);
    expectOnDisk(stage, {{"W3SVC/AppPools/Tessaron", "AppPoolIdentityType", "0"}});
}

TEST(WebServerStage, SitesAreTakenOverByTheirDisplayNames) {
    auto settings = allNewSitesSettings();
    settings.ControlPanelSiteSelection = "Old Panel";
    settings.MainFTPSVCSelection = "Default FTP Site";
    settings.SharedSecureSVCSelection = "Default Web Site";
    settings.PreviewSVCSelection = "Administration";
    WebServerStageRun stage(TestMachine::sample("windows2003"), settings);
    // A site without root, as a panel removed by hand leaves it.
    insertKeys(stage, "/LM/W3SVC/1",
               "<IIsWebServer\tLocation =\"/LM/W3SVC/7\"\n\t\tServerBindings=\":3100:\"\n"
               "\t\tServerComment=\"Old Panel\"\n\t>\n</IIsWebServer>\n");

    EXPECT_TRUE(stage.runStage());
    EXPECT_EQ(
        stage.log.entries(),
        (Lines{kPoolLine, "Tessaron control panel website configured.",
               "Tessaron control panel website started.", "Tessaron FTP configured.",
               "Tessaron FTP started.", kSharedConfigured, "Shared secure site started.",
               "Website preview website configured.", "Tessaron website preview site started."}));
    EXPECT_EQ(stage.held.ftp, "1");
    EXPECT_EQ(stage.held.sharedSecure, "1");
    EXPECT_EQ(stage.held.preview, "2");
    expectOnDisk(stage, {
                            {"W3SVC/7", "ServerBindings", ":2100:\n:2101:"},
                            {"W3SVC/7", "ServerComment", "Tessaron - Control Panel"},
                            {"W3SVC/7/ROOT", "AppPoolId", "Tessaron"},
                            {"MSFTPSVC/1", "ServerBindings", ":21:"},
                            {"MSFTPSVC/1", "ServerComment", "Tessaron - FTP"},
                            {"MSFTPSVC/1", "AllowAnonymous", "False"},
                            {"MSFTPSVC/1/ROOT", "Path", "C:\\Accounts"},
                            {"MSFTPSVC/1/ROOT", "AccessFlags", "1"},
                            {"MSFTPSVC/2", "Class", "(missing)"},
                            {"W3SVC/1", "ServerBindings", "10.0.0.5:80:nosite"},
                            {"W3SVC/1", "SecureBindings", "10.0.0.5:443:"},
                            {"W3SVC/1", "ServerComment", "Tessaron - Shared Secure"},
                            // The existing root keeps what the step does not set.
                            {"W3SVC/1/ROOT", "Path", "C:\\Accounts"},
                            {"W3SVC/1/ROOT", "AppPoolId", "DefaultAppPool"},
                            {"W3SVC/1/ROOT", "AppIsolated", "0"},
                            {"W3SVC/2", "ServerBindings", "10.0.0.5:80:"},
                            {"W3SVC/2", "SecureBindings", ":8099:"},
                            {"W3SVC/2", "ServerComment", "Tessaron - Website Preview"},
                            {"W3SVC/2/ROOT", "Path", "C:\\Accounts"},
                            {"W3SVC/3", "Class", "(missing)"},
                        });
}

struct StartConflict {
    const char* name;
    std::string customerPort;
    std::string extraKey;  // a started site holding a binding
    Lines log;
};

TEST(WebServerStage, SiteThatCannotStartGivesAWarningAndTheStageGoesOn) {
    const std::vector<StartConflict> cases = {
        {"control panel on :80:",
         "80",
         "",
         {kPoolLine, "Tessaron control panel website configured.",
          "WARNING: Could not start Tessaron control panel site - " + kConflict,
          "Tessaron FTP configured.", kFtpWarning, kSharedConfigured, "Shared secure site started.",
          "Website preview website configured.", "Tessaron website preview site started."}},
        {"secure port taken",
         "2100",
         "<IIsWebServer\tLocation =\"/LM/W3SVC/9\"\n\t\tSecureBindings=\"10.0.0.5:443:\"\n"
         "\t\tServerAutoStart=\"TRUE\"\n\t>\n</IIsWebServer>\n",
         {kPoolLine, "Tessaron control panel website configured.",
          "Tessaron control panel website started.", "Tessaron FTP configured.", kFtpWarning,
          kSharedConfigured, "WARNING: Could not start shared secure site - " + kConflict,
          "Website preview website configured.", "Tessaron website preview site started."}},
        {"preview address taken",
         "2100",
         "<IIsWebServer\tLocation =\"/LM/W3SVC/9\"\n\t\tServerAutoStart=\"TRUE\"\n"
         "\t\tServerBindings=\"10.0.0.5:80:\"\n\t>\n</IIsWebServer>\n",
         {kPoolLine, "Tessaron control panel website configured.",
          "Tessaron control panel website started.", "Tessaron FTP configured.", kFtpWarning,
          kSharedConfigured, "Shared secure site started.", "Website preview website configured.",
          "WARNING: Could not start Tessaron website preview site - " + kConflict}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        auto settings = allNewSitesSettings();
        settings.CustomerPort = test.customerPort;
        WebServerStageRun stage(TestMachine::sample("windows2003"), settings);
        if (!test.extraKey.empty()) insertKeys(stage, "/LM/W3SVC/1", test.extraKey);
        EXPECT_TRUE(stage.runStage());
        EXPECT_EQ(stage.log.entries(), test.log);
        EXPECT_FALSE(stage.run.failure.failed());
    }
}

TEST(WebServerStage, FtpServiceIsOnlyOpenedForMicrosoftFtp) {
    for (const auto& [enabled, type] :
         std::vector<std::pair<std::string, std::string>>{{"True", "Serv-U"},
                                                          {"True", "BulletProof FTP"},
                                                          {"True", "Gene6 FTP Server"},
                                                          {"True", ""},
                                                          {"False", "Microsoft FTP"}}) {
        SCOPED_TRACE(enabled + " " + type);
        auto settings = allNewSitesSettings();
        settings.FTPServerEnabled = enabled;
        settings.FTPServerType = type;
        // Opening the FTP service would fail the stage on this machine.
        WebServerStageRun stage(TestMachine::sample("windows2003"), settings,
                                {{"Open", "IIS://LocalHost/MSFTPSVC", ""}});
        EXPECT_TRUE(stage.runStage());
        EXPECT_EQ(stage.log.entries(),
                  (Lines{kPoolLine, "Tessaron control panel website configured.",
                         "Tessaron control panel website started.", kSharedConfigured,
                         "Shared secure site started.", "Website preview website configured.",
                         "Tessaron website preview site started."}));
        EXPECT_EQ(stage.held.ftp, "");
        EXPECT_EQ(propertyText(*stage.metabaseOnDisk(), "IIS://LocalHost/MSFTPSVC/2", "Class"),
                  "(missing)");
    }
}

TEST(WebServerStage, OptionalSitesFollowTheirSwitchesAndSelections) {
    auto settings = allNewSitesSettings();
    settings.FTPServerEnabled = "False";
    settings.SharedSecureSVCSelection = "-- No Shared Secure Website --";
    settings.SharedSecureSVC = "6";
    settings.PreviewSVCSelection = "-- No Preview Website --";
    WebServerStageRun stage(TestMachine::sample("windows2003"), settings);
    EXPECT_TRUE(stage.runStage());
    EXPECT_EQ(stage.log.entries(), (Lines{kPoolLine, "Tessaron control panel website configured.",
                                          "Tessaron control panel website started."}));
    EXPECT_EQ(stage.held.sharedSecure, "0");
    EXPECT_EQ(stage.settings.SharedSecureSVC, "6");  // the stage only reads the record
    EXPECT_EQ(stage.held.preview, "");
    EXPECT_EQ(propertyText(*stage.metabaseOnDisk(), "IIS://LocalHost/W3SVC/4", "Class"),
              "(missing)");

    settings.EnableSharedSecure = "False";
    settings.EnableWebsitePreview = "False";
    settings.PreviewSVCSelection = kNewSite;
    WebServerStageRun off(TestMachine::sample("windows2003"), settings);
    EXPECT_TRUE(off.runStage());
    EXPECT_EQ(off.log.entries().size(), 3u);
    EXPECT_EQ(off.held.sharedSecure, std::nullopt);
}

}  // namespace
}  // namespace tessaron::testing
