// Reading an existing config.inc back into the settings window.
#include <gtest/gtest.h>

#include "run/ConfigFileWriter.h"
#include "settings/ConfigFileReader.h"
#include "support/app/AppMachine.h"

namespace tessaron::app::testing {

using tessaron::testing::MachineSetup;
using window::kChecked;
using window::kUnchecked;
using window::LoadResult;
using window::MessageAnswer;

namespace {

TEST(ConfigLines, KeysAreTrimmedAndLoweredValuesUnquotedOnce) {
    const auto lines = parseConfigLines(
        "' comment without equals\r\n"
        "  MainCompanyName   =   \"Acme \"\"Best\"\" Hosting\"  \r\n"
        "Bad = \"open only\r\n"
        "Single = \"\r\n"
        "Tabbed =\t\"x\"\t\r\n"
        "a=b=c\n"
        "Last = \\\\server\\share\\");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0].key, "maincompanyname");
    EXPECT_EQ(lines[0].value, "Acme \"\"Best\"\" Hosting");
    EXPECT_EQ(lines[1].value, "\"open only");
    EXPECT_EQ(lines[2].value, "");
    EXPECT_EQ(lines[3].value, "\t\"x\"\t");  // tabs are not trimmed, so no unquoting
    EXPECT_EQ(lines[4].key, "a");
    EXPECT_EQ(lines[4].value, "b=c");
    EXPECT_EQ(lines[5].value, "\\\\server\\share\\");
}

WindowOnMachine readInto(const std::string& configInc, MachineSetup setup = {}) {
    setup.configInc = configInc;
    return WindowOnMachine(setup, MessageAnswer::Yes);
}

TEST(ConfigurationReader, TextSelectSwitchAndTickOnlyEffects) {
    auto w = readInto(
        "CustomerPort = 2100\r\n"
        "resellerport = 3101\r\n"
        "MainCompanyName =   \"Acme Hosting\"  \r\n"
        "ServerRoot = \"D:\\Accounts\\\"\r\n"
        "StatisticsType = \"Webalizer\"\r\n"
        "DNSServer = \"No Such DNS\"\r\n"
        "DefaultPanelStyle = \"Gone\"\r\n"
        "ENABLEPHP = TRUE\r\n"
        "EnablePerl = False\r\n"
        "EnableStatistics = False\r\n"
        "OversellAllowed = \"False\"\r\n"
        "MSSQLActive = true\r\n"
        "WebmailURL = \"http:\\mail.<$DOMAINNAME$>\"\r\n"
        "AnonUser = ServerName & \"\\IUSR_\" & ServerName\r\n"
        "' ControlPanelTitle = \"commented\"\r\n");
    ASSERT_EQ(w.result, LoadResult::Shown);
    auto& c = w.controls();
    EXPECT_EQ(c.text("txtCustomerPort"), "2100");
    EXPECT_EQ(c.text("txtResellerPort"), "3101");
    EXPECT_EQ(c.text("txtMainCompanyName"), "Acme Hosting");
    EXPECT_EQ(c.text("txtServerRoot"), "D:\\Accounts\\");
    EXPECT_EQ(c.selectedText("cmbStatisticsType"), "Webalizer");
    EXPECT_EQ(c.selectedText("cmbDNSServer"), "Microsoft DNS");
    EXPECT_EQ(c.selectedText("cmbDefaultPanelStyle"), "Default");
    EXPECT_EQ(c.checked("chkPHP"), kChecked);
    EXPECT_TRUE(c.enabled("txtPHPLocation"));
    EXPECT_TRUE(c.enabled("btnPHP"));
    EXPECT_EQ(c.checked("chkPerl"), kUnchecked);
    EXPECT_FALSE(c.enabled("txtPerlLocation"));
    EXPECT_FALSE(c.enabled("btnPerl"));
    EXPECT_EQ(c.checked("chkStatistics"), kUnchecked);
    EXPECT_FALSE(c.enabled("cmbStatisticsType"));
    EXPECT_EQ(c.checked("chkOversellAllowed"), kUnchecked);
    EXPECT_EQ(c.checked("chkMSSQLActive"), kChecked);
    EXPECT_TRUE(c.enabled("txtSQLServerIP"));  // ticking runs the section's rule
    EXPECT_EQ(c.text("txtWebmailURL"), "http:\\mail.<$DOMAINNAME$>");
    EXPECT_EQ(c.text("txtControlPanelTitle"), "");

    // The install button takes what the controls show: a value no entry
    // holds left the list's selection as it was.
    c.press("btnInstall");
    const auto& s = w.settings;
    EXPECT_EQ(s.CustomerPort, "2100");
    EXPECT_EQ(s.DNSServer, "Microsoft DNS");
    EXPECT_EQ(s.EnableStatistics, "False");
    EXPECT_EQ(s.OversellAllowed, "False");
    EXPECT_EQ(s.MSSQLActive, "True");
}

TEST(ConfigurationReader, TickOnlyNeverClears) {
    auto w = readInto("OversellAllowed = True\r\nOversellAllowed = False\r\n");
    EXPECT_EQ(w.controls().checked("chkOversellAllowed"), kChecked);
    w.controls().press("btnInstall");
    EXPECT_EQ(w.settings.OversellAllowed, "True");
}

TEST(ConfigurationReader, SiteNumbersSelectTheSitesCommentWhenTheSiteExists) {
    auto hit = readInto("SharedSecureSVC = \"7\"\r\nPreviewSVC = \"1\"\r\nMainFTPSVC = \"1\"\r\n");
    EXPECT_EQ(hit.controls().selectedText("cmbSharedSecureSVC"), "Shop");
    EXPECT_EQ(hit.controls().selectedText("cmbPreviewSVC"), "Default Web Site");
    EXPECT_EQ(hit.controls().selectedText("cmbMainFTPSVC"), "Default FTP Site");
    // No control holds the numbers; the window keeps them for the record.
    hit.controls().press("btnInstall");
    EXPECT_EQ(hit.settings.SharedSecureSVC, "7");
    EXPECT_EQ(hit.settings.PreviewSVC, "1");

    auto miss = readInto("SharedSecureSVC = \"9\"\r\nPreviewSVC = \"\"\r\nMainFTPSVC = \"x\"\r\n");
    EXPECT_EQ(miss.controls().selectedText("cmbSharedSecureSVC"), "-- Create New Site --");
    EXPECT_EQ(miss.controls().selectedText("cmbPreviewSVC"), "-- Create New Site --");
    EXPECT_EQ(miss.controls().selectedText("cmbMainFTPSVC"), "-- Create New Site --");
    miss.controls().press("btnInstall");
    EXPECT_EQ(miss.settings.SharedSecureSVC, "9");
    EXPECT_EQ(miss.settings.MainFTPSVC, "x");
}

TEST(ConfigurationReader, FtpServerTypeSwapsTheControls) {
    auto w = readInto(
        "FTPServerType = BulletProof FTP\r\nFTPServerPath = C:\\BPFTP\r\n"
        "FTPLinkPath = C:\\Links\r\n");
    auto& c = w.controls();
    EXPECT_EQ(c.selectedText("cmbFTPServerType"), "BulletProof FTP");
    EXPECT_TRUE(c.visible("txtFTPServerPath"));
    EXPECT_FALSE(c.visible("cmbMainFTPSVC"));
    EXPECT_EQ(c.text("txtFTPServerPath"), "C:\\BPFTP");
    c.press("btnInstall");
    EXPECT_EQ(w.settings.FTPServerPath, "C:\\BPFTP");
    EXPECT_EQ(w.settings.FTPLinkPath, "C:\\Links");
}

TEST(ConfigurationReader, AddressesUnderEitherKeyAndTheInternalBox) {
    MachineSetup setup;
    setup.addresses = {"10.0.0.5"};
    // Same addresses: the box is cleared and the internal address follows.
    auto same = readInto("ServerIP = \"1.2.3.4\"\r\nInternalIP = \"1.2.3.4\"\r\n", setup);
    EXPECT_EQ(same.controls().text("txtMainIP"), "1.2.3.4");
    EXPECT_EQ(same.controls().checked("chkInternalIP"), kUnchecked);
    same.controls().press("btnInstall");
    EXPECT_EQ(same.settings.InternalIP, "1.2.3.4");

    auto differ = readInto("MainServerIP = 1.2.3.4\r\nMainInternalIP = 10.9.9.9\r\n", setup);
    EXPECT_EQ(differ.controls().text("txtMainIP"), "1.2.3.4");
    EXPECT_EQ(differ.controls().text("txtInternalIP"), "10.9.9.9");
    EXPECT_EQ(differ.controls().checked("chkInternalIP"), kChecked);
    differ.controls().press("btnInstall");
    EXPECT_EQ(differ.settings.ServerIP, "1.2.3.4");
    EXPECT_EQ(differ.settings.InternalIP, "10.9.9.9");
}

// A configuration the window produced, written by the run's writer, comes
// back into every control it names.
TEST(ConfigurationReader, FileWrittenByTheProgramIsReadBackCompletely) {
    MachineSetup setup;
    setup.styles = {"Default", "Ocean"};
    WindowOnMachine first(setup);
    auto& c = first.controls();
    const std::vector<std::pair<const char*, std::string>> texts = {
        {"txtControlPanelTitle", "Acme Panel"},
        {"txtMainCompanyName", "Acme \"Best\" Hosting"},
        {"txtMainContactEmail", "ops@acme.example"},
        {"txtCustomerPort", "3100"},
        {"txtResellerPort", "3101"},
        {"txtAdminUsername", "paneladmin"},
        {"txtAdminPassword", "s3cret"},
        {"txtMainDatabaseIP", "db.acme.example"},
        {"txtMainDatabaseName", "panel"},
        {"txtMainDatabaseUsername", "paneluser"},
        {"txtMainDatabasePassword", "dbpw"},
        {"txtMailServerIP", "10.0.0.6"},
        {"txtMailServerDir", "C:\\MailEnable\\"},
        {"txtMaximumMailboxSize", "50"},
        {"txtAdminEmail", "dns@acme.example"},
        {"txtPrimaryDNS", "ns1.acme.example"},
        {"txtPrimaryDNSIP", "10.0.0.7"},
        {"txtSecondaryDNS", "ns2.acme.example"},
        {"txtSecondaryDNSIP", "10.0.0.8"},
        {"txtDNSRoot", "C:\\dns\\"},
        {"txtSQLServerIP", "10.0.0.9"},
        {"txtSQLServerAdminUsername", "sa"},
        {"txtSQLServerAdminPassword", "sapw"},
        {"txtSQLServerDataPath", "D:\\mssql\\"},
        {"txtMySQLIP", "10.0.0.10"},
        {"txtMySQLAdminUsername", "root"},
        {"txtMySQLAdminPassword", "rootpw"},
        {"txtMySQLDataPath", "D:\\mysql\\"},
        {"txtPHPLocation", "C:\\PHP\\php.exe"},
        {"txtPerlLocation", "C:\\Perl\\bin\\perl.exe"},
        {"txtServerRoot", "D:\\Accounts\\"},
        {"txtLogRoot", "D:\\Logs\\"},
    };
    c.setChecked("chkMSSQLActive", kChecked);
    c.setChecked("chkMySQLActive", kChecked);
    c.setChecked("chkOversellAllowed", kChecked);
    c.setChecked("chkInternalIP", kChecked);
    c.setText("txtMainIP", "81.2.3.4");
    c.setText("txtInternalIP", "10.0.0.5");
    for (const auto& [name, text] : texts) c.setText(name, text);
    c.setSelectedIndex("cmbStatisticsType", 1);
    c.setSelectedIndex("cmbDefaultPanelStyle", 1);
    c.setSelectedIndex("cmbMainSQLServerType", 1);
    c.setSelectedIndex("cmbMailServerType", 1);
    c.setSelectedIndex("cmbDNSServer", 1);
    c.setChecked("chkPerl", kUnchecked);
    c.press("btnInstall");
    const std::string chosenStyle = c.selectedText("cmbDefaultPanelStyle");

    InstallOptions options;
    ProgressLog log;
    RunContext run(first.settings, options, first.image, log);
    ConfigFileWriter(run);
    ASSERT_FALSE(run.RunError) << log.text();

    // The file goes onto a fresh copy of the machine and is read there.
    setup.configInc = first.machine.readFile("C:\\Tessaron\\panel\\config.inc");
    WindowOnMachine second(setup, MessageAnswer::Yes);
    ASSERT_EQ(second.result, LoadResult::Shown);
    auto& r = second.controls();
    for (const auto& [name, text] : texts) {
        std::string expected = text;
        if (std::string(name) == "txtMainCompanyName") expected = "Acme \"\"Best\"\" Hosting";
        if (std::string(name) == "txtPerlLocation") expected = "";
        EXPECT_EQ(r.text(name), expected) << name;
    }
    EXPECT_EQ(r.text("txtMainIP"), "81.2.3.4");
    EXPECT_EQ(r.text("txtInternalIP"), "10.0.0.5");
    EXPECT_EQ(r.checked("chkInternalIP"), kChecked);
    EXPECT_EQ(r.checked("chkMSSQLActive"), kChecked);
    EXPECT_EQ(r.checked("chkMySQLActive"), kChecked);
    EXPECT_EQ(r.checked("chkOversellAllowed"), kChecked);
    EXPECT_EQ(r.checked("chkPerl"), kUnchecked);
    EXPECT_EQ(r.checked("chkPHP"), kChecked);
    EXPECT_EQ(r.selectedText("cmbStatisticsType"), "Webalizer");
    EXPECT_EQ(r.selectedText("cmbDefaultPanelStyle"), chosenStyle);
    EXPECT_EQ(r.selectedText("cmbMainSQLServerType"), "MySQL");
    EXPECT_EQ(r.selectedText("cmbMailServerType"), "IMail");
    EXPECT_EQ(r.selectedText("cmbDNSServer"), "Simple DNS Plus");
    r.press("btnInstall");
    EXPECT_EQ(second.settings.ServerIP, "81.2.3.4");
}

}  // namespace
}  // namespace tessaron::app::testing
