// The install button's copy of the window into the settings record, and the
// install-options dialog.
#include <gtest/gtest.h>

#include "app/window/InstallOptionsDialog.h"
#include "support/app/AppMachine.h"

namespace tessaron::app::testing {

using tessaron::testing::MachineSetup;
using window::ControlModel;
using window::InstallOptionsDialog;
using window::kChecked;
using window::kUnchecked;
using window::MessageAnswer;

namespace {

void select(ControlModel& c, const char* list, const std::string& text) {
    const auto& entries = c.entries(list);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i] == text) return c.setSelectedIndex(list, static_cast<int>(i));
    }
    FAIL() << text << " is not in " << list;
}

TEST(InstallButton, CopiesTheDefaultsOfAFreshWindow) {
    WindowOnMachine w;
    bool dialogShown = false;
    w.window->setInstallOptionsHandler([&dialogShown] { dialogShown = true; });
    w.controls().press("btnInstall");
    EXPECT_TRUE(dialogShown);
    const auto& s = w.settings;
    EXPECT_EQ(s.CustomerPort, "2100");
    EXPECT_EQ(s.ResellerPort, "2101");
    EXPECT_EQ(s.AdminUsername, "Administrator");
    EXPECT_EQ(s.ServerIP, "10.0.0.5");
    EXPECT_EQ(s.InternalIP, "10.0.0.5");
    EXPECT_EQ(s.LogRoot, "C:\\WINDOWS\\System32\\LogFiles");
    EXPECT_EQ(s.ServerRoot, "C:\\Tessaron\\accounts");
    EXPECT_EQ(s.OversellAllowed, "False");
    EXPECT_EQ(s.MainSQLServerType, "SQL Server");
    EXPECT_EQ(s.ControlPanelSiteSelection, "-- Create New Site --");
    EXPECT_EQ(s.EnableStatistics, "True");
    EXPECT_EQ(s.StatisticsType, "AWStats");
    EXPECT_EQ(s.StatsRoot, "C:\\Tessaron\\stats\\AWStats");
    EXPECT_EQ(s.StatsDataRoot, "C:\\Tessaron\\stats\\AWStats\\data");
    EXPECT_EQ(s.StatsFileRoot, "C:\\Tessaron\\stats\\AWStats\\output");
    EXPECT_EQ(s.MailServerEnabled, "True");
    EXPECT_EQ(s.MailServerType, "Mail Enable");
    EXPECT_EQ(s.MailServerDir, "\\");
    EXPECT_EQ(s.MaximumMailboxSize, "-1");
    EXPECT_EQ(s.EnableWebmail, "True");
    EXPECT_EQ(s.WebmailURL, "http://mail.<$DOMAINNAME$>");
    EXPECT_EQ(s.DNSServer, "Microsoft DNS");
    EXPECT_EQ(s.DNSRoot, "\\");
    EXPECT_EQ(s.MSSQLActive, "False");
    EXPECT_EQ(s.SQLServerDataPath, "");
    EXPECT_EQ(s.EnablePHP, "True");
    EXPECT_EQ(s.EnableSharedSecure, "True");
    EXPECT_EQ(s.SharedSecureSVCSelection, "-- Create New Site --");
    EXPECT_EQ(s.EnableWebsitePreview, "True");
    EXPECT_EQ(s.PreviewSVCSelection, "-- Create New Site --");
    EXPECT_EQ(s.FTPServerEnabled, "True");
    EXPECT_EQ(s.FTPServerType, "Microsoft FTP");
    EXPECT_EQ(s.MainFTPSVCSelection, "-- Create New Site --");
}

TEST(InstallButton, SwitchedOffGroupsTakeTheirFixedValues) {
    WindowOnMachine w;
    auto& c = w.controls();
    // The mail server type of an earlier press stays while mail is off.
    select(c, "cmbMailServerType", "IMail");
    c.press("btnInstall");
    select(c, "cmbMailServerType", "Mail Enable");
    c.setText("txtMaximumMailboxSize", "100");
    c.setText("txtMailServerIP", "10.0.0.6");
    c.setText("txtPrimaryDNS", "ns1");
    c.setText("txtPHPLocation", "C:\\php.exe");
    c.setText("txtSharedSecureServer", "secure.example");
    for (const char* box :
         {"chkStatistics", "chkMailServerEnabled", "chkDNSServerEnabled", "chkPHP", "chkPerl",
          "chkSharedSecure", "chkWebsitePreview", "chkFTPServerEnabled"}) {
        c.setChecked(box, kUnchecked);
    }
    c.press("btnInstall");
    const auto& s = w.settings;
    EXPECT_EQ(s.EnableStatistics, "False");
    EXPECT_EQ(s.StatisticsType + s.StatsRoot + s.StatsDataRoot + s.StatsFileRoot, "");
    EXPECT_EQ(s.MailServerEnabled, "False");
    EXPECT_EQ(s.MailServerType, "IMail");
    EXPECT_EQ(s.MailServerIP + s.MailServerDir + s.WebmailURL, "");
    EXPECT_EQ(s.EnableWebmail, "False");
    EXPECT_EQ(s.MaximumMailboxSize, "0");
    EXPECT_EQ(s.DNSServerEnabled, "False");
    EXPECT_EQ(s.DNSServer + s.AdminEmail + s.DefaultPrimaryDNS + s.DNSRoot, "");
    EXPECT_EQ(s.EnablePHP, "False");
    EXPECT_EQ(s.PHPLocation, "");
    EXPECT_EQ(s.EnableSharedSecure, "False");
    EXPECT_EQ(s.SharedSecureServer + s.SharedSecureSVCSelection, "");
    EXPECT_EQ(s.EnableWebsitePreview, "False");
    EXPECT_EQ(s.PreviewSVCSelection, "0");
    EXPECT_EQ(s.FTPServerEnabled, "False");
    EXPECT_EQ(s.FTPServerType + s.MainFTPSVCSelection + s.FTPServerPath + s.FTPLinkPath, "");
}

TEST(InstallButton, HostingSectionsOffKeepTheValuesReadFromTheFile) {
    MachineSetup setup;
    setup.configInc =
        "SQLServerIP = \"10.1.1.1\"\r\nSQLServerDataPath = \"D:\\data\"\r\n"
        "MySQLAdminUsername = \"root\"\r\n";
    WindowOnMachine w(setup, MessageAnswer::Yes);
    auto& c = w.controls();
    c.setText("txtSQLServerIP", "typed but off");
    c.press("btnInstall");
    EXPECT_EQ(w.settings.SQLServerIP, "10.1.1.1");
    EXPECT_EQ(w.settings.SQLServerDataPath, "D:\\data");
    EXPECT_EQ(w.settings.MySQLAdminUsername, "root");
    c.setChecked("chkMSSQLActive", kChecked);
    c.press("btnInstall");
    EXPECT_EQ(w.settings.SQLServerIP, "typed but off");
    EXPECT_EQ(w.settings.SQLServerDataPath, "D:\\data\\");
}

TEST(InstallButton, FtpGroupByServerType) {
    struct Case {
        std::string type;
        bool fromFile;  // config.inc names an FTP server folder and link folder
        std::string selection, path, link;
    };
    // The folder box holds C:\BPFTP and the site list the existing site; the
    // types other than Microsoft FTP and BulletProof FTP keep what was read.
    const std::vector<Case> cases = {
        {"Microsoft FTP", true, "Default FTP Site", "", ""},
        {"BulletProof FTP", false, "0", "C:\\BPFTP", "C:\\Tessaron\\ftp"},
        {"BulletProof FTP", true, "0", "C:\\BPFTP", "D:\\links"},
        {"Serv-U", true, "", "D:\\ftp", "D:\\links"},
        {"Gene6 FTP Server", true, "", "D:\\ftp", "D:\\links"},
    };
    for (const auto& expected : cases) {
        MachineSetup setup;
        if (expected.fromFile)
            setup.configInc = "FTPServerPath = D:\\ftp\r\nFTPLinkPath = D:\\links\r\n";
        WindowOnMachine w(setup, MessageAnswer::Yes);
        auto& c = w.controls();
        select(c, "cmbMainFTPSVC", "Default FTP Site");
        c.setText("txtFTPServerPath", "C:\\BPFTP");
        select(c, "cmbFTPServerType", expected.type);
        c.press("btnInstall");
        EXPECT_EQ(w.settings.FTPServerType, expected.type);
        EXPECT_EQ(w.settings.MainFTPSVCSelection, expected.selection) << expected.type;
        EXPECT_EQ(w.settings.FTPServerPath, expected.path) << expected.type;
        EXPECT_EQ(w.settings.FTPLinkPath, expected.link) << expected.type;
    }
    // What an earlier press recorded stays for those types too.
    WindowOnMachine w;
    auto& c = w.controls();
    select(c, "cmbMainFTPSVC", "Default FTP Site");
    c.press("btnInstall");
    select(c, "cmbMainFTPSVC", "-- Create New Site --");
    select(c, "cmbFTPServerType", "Serv-U");
    c.press("btnInstall");
    EXPECT_EQ(w.settings.MainFTPSVCSelection, "Default FTP Site");
}

TEST(InstallButton, SecondPressCopiesTheEditedWindow) {
    WindowOnMachine w;
    auto& c = w.controls();
    c.setText("txtMailServerDir", "C:\\Mail");
    c.setText("txtControlPanelTitle", "First");
    c.setChecked("chkWebmail", kUnchecked);
    c.press("btnInstall");
    EXPECT_EQ(w.settings.MailServerDir, "C:\\Mail\\");
    EXPECT_EQ(w.settings.WebmailURL, "");
    c.setText("txtMailServerDir", "C:\\Mail2\\");
    c.setText("txtControlPanelTitle", "Second");
    c.setChecked("chkWebmail", kChecked);
    select(c, "cmbStatisticsType", "Webalizer");
    c.press("btnInstall");
    EXPECT_EQ(w.settings.MailServerDir, "C:\\Mail2\\");
    EXPECT_EQ(w.settings.ControlPanelTitle, "Second");
    EXPECT_EQ(w.settings.WebmailURL, "http://mail.<$DOMAINNAME$>");
    EXPECT_EQ(w.settings.StatsFileRoot, "C:\\Tessaron\\stats\\Webalizer\\output");
}

TEST(InstallOptionsDialog, OkReadsTheBoxesAndALoadUnticksThem) {
    InstallOptions options;
    InstallOptionsDialog dialog(options);
    EXPECT_EQ(dialog.controls().text("Label1"),
              "Choose which installtion functions you wish to run:");
    dialog.Load();
    dialog.controls().setChecked("chkInitDB", kChecked);
    dialog.controls().setChecked("chkSetupIIS", kChecked);
    dialog.Confirm();
    EXPECT_FALSE(options.CreateTasks);
    EXPECT_TRUE(options.InitializeDatabase);
    EXPECT_TRUE(options.SetUpSites);
    dialog.Load();
    for (const char* box : {"chkCreateTasks", "chkInitDB", "chkSetupIIS"}) {
        EXPECT_EQ(dialog.controls().checked(box), kUnchecked);
    }
    dialog.Confirm();
    EXPECT_FALSE(options.InitializeDatabase || options.SetUpSites || options.CreateTasks);
}

}  // namespace
}  // namespace tessaron::app::testing
