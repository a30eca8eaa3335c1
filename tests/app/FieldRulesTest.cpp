// The settings window's rules, on a window loaded from a machine image.
#include <gtest/gtest.h>

#include "support/app/AppMachine.h"

namespace tessaron::app::testing {
namespace {

TEST(Catalogue, InitialStatesAgreeWithTheirCheckBoxes) {
    WindowOnMachine w({}, MessageAnswer::No, /*load=*/false);
    auto& c = w.controls();
    EXPECT_EQ(c.checked("chkInternalIP"), kGreyed);
    EXPECT_FALSE(c.enabled("txtInternalIP"));
    EXPECT_EQ(c.checked("chkMSSQLActive"), kUnchecked);
    EXPECT_FALSE(c.enabled("txtSQLServerIP"));
    EXPECT_FALSE(c.enabled("lblMySQL4"));
    EXPECT_TRUE(c.enabled("btnMySQLDataPath"));
    EXPECT_EQ(c.checked("chkMailServerEnabled"), kChecked);
    EXPECT_TRUE(c.enabled("txtMailServerDir"));
    EXPECT_EQ(c.entries("cmbMainSQLServerType"), std::vector<std::string>({"SQL Server", "MySQL"}));
    EXPECT_EQ(c.text("txtWebmailURL"), "http://mail.<$DOMAINNAME$>");
    EXPECT_EQ(mainFormSpec().tabCaptions,
              std::vector<std::string>(
                  {"General", "Database", "Mail Server", "DNS Server", "SQL Server", "FTP/Web"}));
    // Every control of the six tabs is catalogued, 119 in all.
    int onTabs = 0;
    for (const auto& setup : mainFormSpec().controls) onTabs += setup.tab >= 0;
    EXPECT_EQ(onTabs, 31 + 12 + 14 + 17 + 23 + 22);
    EXPECT_EQ(findControlSpec(mainFormSpec(), "lblSQLServer3")->helpText,
              "The database user's password.");
}

TEST(Catalogue, OnlyTheAddressBoxesAreLimitedToFifteenCharacters) {
    WindowOnMachine w;
    auto& c = w.controls();
    c.setText("txtMainIP", "1234567890123456789");
    EXPECT_EQ(c.text("txtMainIP"), "123456789012345");
    c.setChecked("chkInternalIP", kChecked);
    c.setText("txtInternalIP", "abcdefghijklmnopq");
    EXPECT_EQ(c.text("txtInternalIP"), "abcdefghijklmno");
    // The limit counts characters, not bytes: no character is cut in half.
    std::string accented;
    for (int i = 0; i < 16; ++i) accented += "\xC3\xA9";  // U+00E9
    c.setText("txtMainIP", accented);
    EXPECT_EQ(c.text("txtMainIP"), accented.substr(0, 30));
    c.setText("txtControlPanelTitle", std::string(40, 'x'));
    EXPECT_EQ(c.text("txtControlPanelTitle").size(), 40u);
}

struct SectionCase {
    const char* box;
    std::vector<const char*> controls;
    std::string SettingsRecord::*flag;
};

TEST(FieldRules, SectionsSwitchTheirFieldsAndKeepTheirText) {
    const std::vector<SectionCase> cases = {
        {"chkMSSQLActive",
         {"lblSQLServer1", "lblSQLServer2", "lblSQLServer3", "lblSQLServer4", "txtSQLServerIP",
          "txtSQLServerAdminUsername", "txtSQLServerAdminPassword", "txtSQLServerDataPath"},
         nullptr},
        {"chkMySQLActive",
         {"lblMySQL1", "lblMySQL2", "lblMySQL3", "lblMySQL4", "txtMySQLIP", "txtMySQLAdminUsername",
          "txtMySQLAdminPassword", "txtMySQLDataPath"},
         nullptr},
        {"chkMailServerEnabled",
         {"lblMailServerType", "lblMailServerIP", "lblMailServerDir", "lblMaximumMailboxSize",
          "lblWebmailURL", "cmbMailServerType", "txtMailServerIP", "chkWebmail", "txtWebmailURL",
          "txtMailServerDir", "cmdChooseMailServerDir", "txtMaximumMailboxSize"},
         nullptr},
        {"chkDNSServerEnabled",
         {"lblDNSServer", "cmbDNSServer", "lblAdminEmail", "txtAdminEmail", "lblPrimaryDNS",
          "txtPrimaryDNS", "lblPrimaryDNSIP", "txtPrimaryDNSIP", "lblDNSRoot", "txtDNSRoot",
          "cmdDNSRoot", "lblSecondaryDNS", "txtSecondaryDNS", "lblSecondaryDNSIP",
          "txtSecondaryDNSIP", "lblDNSWMI"},
         nullptr},
        {"chkFTPServerEnabled",
         {"cmbFTPServerType", "lblFTPServerPath", "lblMainFTPSVC", "txtFTPServerPath",
          "cmbMainFTPSVC", "btnFTPServerPath"},
         nullptr},
        {"chkSharedSecure",
         {"cmbSharedSecureSVC", "txtSharedSecureServer"},
         &SettingsRecord::EnableSharedSecure},
        {"chkStatistics", {"cmbStatisticsType"}, &SettingsRecord::EnableStatistics},
        {"chkWebmail", {"txtWebmailURL"}, &SettingsRecord::EnableWebmail},
        {"chkWebsitePreview", {"cmbPreviewSVC"}, &SettingsRecord::EnableWebsitePreview},
        {"chkInternalIP", {"txtInternalIP"}, nullptr},
    };
    WindowOnMachine w;
    auto& c = w.controls();
    for (const auto& section : cases) {
        for (const char* name : section.controls) {
            if (c[name].kind() == ControlKind::TextBox && std::string(name) != "txtInternalIP") {
                c.setText(name, std::string("kept ") + name);
            }
        }
        for (int value : {kGreyed, kChecked, kUnchecked, kChecked}) {
            c.setChecked(section.box, value);
            for (const char* name : section.controls) {
                EXPECT_EQ(c.enabled(name), value == kChecked)
                    << section.box << " " << value << " " << name;
            }
            if (section.flag) {
                EXPECT_EQ(w.settings.*(section.flag), value == kChecked ? "True" : "False")
                    << section.box;
            }
        }
        for (const char* name : section.controls) {
            if (c[name].kind() == ControlKind::TextBox && std::string(name) != "txtInternalIP") {
                EXPECT_EQ(c.text(name), std::string("kept ") + name);
            }
        }
    }
    // The database sections leave their "..." buttons alone.
    c.setChecked("chkMSSQLActive", kUnchecked);
    EXPECT_TRUE(c.enabled("btnSQLServerDataPath"));
}

TEST(FieldRules, EnablingMailEnablesTheWebmailAddressWhateverItsBox) {
    WindowOnMachine w;
    auto& c = w.controls();
    c.setChecked("chkWebmail", kUnchecked);
    EXPECT_FALSE(c.enabled("txtWebmailURL"));
    c.setChecked("chkMailServerEnabled", kUnchecked);
    c.setChecked("chkMailServerEnabled", kChecked);
    EXPECT_TRUE(c.enabled("txtWebmailURL"));
    EXPECT_EQ(c.checked("chkWebmail"), kUnchecked);
}

TEST(FieldRules, SettingTheValueAControlHoldsFiresNothing) {
    WindowOnMachine w;
    auto& c = w.controls();
    int changes = 0;
    c.addObserver([&changes](const Control&, ControlProperty) { ++changes; });
    w.settings.EnableStatistics = "untouched";
    c.setChecked("chkStatistics", c.checked("chkStatistics"));
    c.setText("txtMainIP", c.text("txtMainIP"));
    c.setSelectedIndex("cmbFTPServerType", c.selectedIndex("cmbFTPServerType"));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(w.settings.EnableStatistics, "untouched");
    c.setChecked("chkStatistics", kUnchecked);
    EXPECT_EQ(w.settings.EnableStatistics, "False");
    EXPECT_GT(changes, 0);
}

TEST(FieldRules, FtpServerTypeSwapsTheControlsAndTheUsageText) {
    WindowOnMachine w;
    auto& c = w.controls();
    const auto choose = [&c](const std::string& type) {
        const auto& entries = c.entries("cmbFTPServerType");
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (entries[i] == type) c.setSelectedIndex("cmbFTPServerType", static_cast<int>(i));
        }
    };
    choose("BulletProof FTP");
    EXPECT_EQ(w.settings.FTPServerType, "BulletProof FTP");
    EXPECT_FALSE(c.visible("cmbMainFTPSVC"));
    EXPECT_FALSE(c.visible("lblMainFTPSVC"));
    EXPECT_TRUE(c.visible("txtFTPServerPath"));
    EXPECT_TRUE(c.visible("btnFTPServerPath"));
    EXPECT_TRUE(c.visible("lblFTPServerPath"));
    EXPECT_EQ(c.text("lblFTPUsage"),
              "BulletProof FTP Usage:\r\nTessaron will create new users on the default "
              "BulletProof FTP domain.  It is recommended to have BulletProof FTP listening on "
              "all IP addresses in order to function properly.");

    choose("Serv-U");
    EXPECT_EQ(c.text("lblFTPUsage"),
              "Serv-U Usage:\r\nTessaron will create new users in the first domain that exists "
              "in Serv-U.  Please make sure that you have created the domain in Serv-U before "
              "configuring Tessaron.  It is recommended to have this domain listening on all IP "
              "addresses in order to function properly.");
    choose("Gene6 FTP Server");
    EXPECT_EQ(c.text("lblFTPUsage"),
              "Gene6 FTP Server:\r\nTessaron will create new users in the domain 'Tessaron'.  "
              "Please make sure that this domain exists in Gene6 FTP Server before configuring "
              "Tessaron.  It is recommended to have this domain listening on all IP addresses "
              "(or 0.0.0.0) in order to function properly.  Also, be sure that the Administrator "
              "user has access to the server's COM objects via dcomcnfg or by running the service "
              "as Administrator.");
    EXPECT_TRUE(c.visible("txtFTPServerPath"));

    choose("Microsoft FTP");
    EXPECT_TRUE(c.visible("cmbMainFTPSVC"));
    EXPECT_TRUE(c.visible("lblMainFTPSVC"));
    EXPECT_FALSE(c.visible("txtFTPServerPath"));
    EXPECT_FALSE(c.visible("btnFTPServerPath"));
    EXPECT_FALSE(c.visible("lblFTPServerPath"));
    const std::string microsoftUsage = c.text("lblFTPUsage");
    EXPECT_EQ(microsoftUsage.rfind("Microsoft FTP Usage:\r\n", 0), 0u);

    // An entry outside the table only records its text.
    c.addEntry("cmbFTPServerType", "Other FTP");
    choose("Other FTP");
    EXPECT_EQ(w.settings.FTPServerType, "Other FTP");
    EXPECT_EQ(c.text("lblFTPUsage"), microsoftUsage);
    EXPECT_TRUE(c.visible("cmbMainFTPSVC"));
    EXPECT_FALSE(c.visible("txtFTPServerPath"));
}

TEST(FieldRules, InternalAddressFollowsTheMainAddressOnlyWhileUnchecked) {
    MachineSpec setup;
    setup.addresses = {"172.16.0.1"};
    WindowOnMachine w(setup);
    auto& c = w.controls();
    ASSERT_EQ(c.checked("chkInternalIP"), kUnchecked);
    for (const std::string typed : {"8", "8.8", "8.8.4.4"}) {
        c.setText("txtMainIP", typed);
        EXPECT_EQ(c.text("txtInternalIP"), typed);
        EXPECT_EQ(w.settings.ServerIP, typed);
        EXPECT_EQ(w.settings.InternalIP, typed);
    }

    c.setChecked("chkInternalIP", kChecked);
    EXPECT_TRUE(c.enabled("txtInternalIP"));
    c.setText("txtInternalIP", "10.0.0.9");
    c.setText("txtMainIP", "9.9.9.9");
    EXPECT_EQ(w.settings.ServerIP, "9.9.9.9");
    EXPECT_EQ(c.text("txtInternalIP"), "10.0.0.9");
    EXPECT_EQ(w.settings.InternalIP, "10.0.0.9");

    // A greyed box does not mirror either.
    c.setChecked("chkInternalIP", kGreyed);
    EXPECT_FALSE(c.enabled("txtInternalIP"));
    EXPECT_EQ(w.settings.InternalIP, "9.9.9.9");  // clearing copied the main address
    c.setText("txtMainIP", "7.7.7.7");
    EXPECT_EQ(c.text("txtInternalIP"), "9.9.9.9");

    // Unchecking copies the main address across.
    c.setChecked("chkInternalIP", kUnchecked);
    EXPECT_EQ(c.text("txtInternalIP"), "7.7.7.7");
    EXPECT_EQ(w.settings.InternalIP, "7.7.7.7");
}

TEST(FieldRules, SearchComboForValueSelectsTheLastEqualEntry) {
    MachineSpec setup;
    setup.webSites = {{"1", "Shop"}, {"2", "Blog"}, {"3", "Shop"}};
    WindowOnMachine w(setup);
    auto& c = w.controls();
    SearchComboForValue(c, "cmbControlPanelSite", "Shop");
    EXPECT_EQ(c.selectedIndex("cmbControlPanelSite"), 3);
    SearchComboForValue(c, "cmbControlPanelSite", "shop");  // case-sensitive: no match
    EXPECT_EQ(c.selectedIndex("cmbControlPanelSite"), 3);
    SearchComboForValue(c, "cmbControlPanelSite", "");
    EXPECT_EQ(c.selectedIndex("cmbControlPanelSite"), 3);
    SearchComboForValue(c, "cmbControlPanelSite", "Blog");
    EXPECT_EQ(c.selectedIndex("cmbControlPanelSite"), 2);
}

class ScriptedFolders : public FolderChooser {
public:
    std::string BrowseForFolder(const std::string& title, const std::string& start) override {
        titles.push_back(title);
        starts.push_back(start);
        return answer;
    }
    std::string answer;
    std::vector<std::string> titles, starts;
};

class ScriptedFiles : public FileChooser {
public:
    std::optional<std::string> ChooseFile(const std::string& filter, int flags) override {
        filters.push_back(filter);
        lastFlags = flags;
        return answer;
    }
    std::optional<std::string> answer;
    std::vector<std::string> filters;
    int lastFlags = 0;
};

TEST(Choosers, FolderIsTrimmedAndStoredBlankActsAsCancel) {
    WindowOnMachine w;
    ScriptedFolders folders;
    w.window->setFolderChooser(&folders);
    auto& c = w.controls();

    folders.answer = "  D:\\Accounts  ";
    c.press("btnServerRoot");
    EXPECT_EQ(folders.titles.back(), "Choose your Tessaron accounts directory");
    EXPECT_EQ(folders.starts.back(), "C:\\Tessaron\\accounts");
    EXPECT_EQ(c.text("txtServerRoot"), "D:\\Accounts");
    EXPECT_EQ(w.settings.ServerRoot, "D:\\Accounts");

    for (const std::string cancel : {"", "   "}) {
        folders.answer = cancel;
        c.press("cmdDNSRoot");
        EXPECT_EQ(folders.titles.back(), "Choose your primary DNS data directory");
        EXPECT_EQ(c.text("txtDNSRoot"), "");
        EXPECT_EQ(w.settings.DNSRoot, "");
    }
    folders.answer = "E:\\mysql\\data";
    c.press("btnMySQLDataPath");
    EXPECT_EQ(folders.titles.back(), "Choose your MySQL data path directory");
    EXPECT_EQ(w.settings.MySQLDataPath, "E:\\mysql\\data");
}

TEST(Choosers, FileChooserFillsTheBoxOnlyWhenAFileIsChosen) {
    WindowOnMachine w;
    ScriptedFiles files;
    w.window->setFileChooser(&files);
    auto& c = w.controls();
    files.answer = "C:\\Perl\\bin\\perl.exe";
    c.press("btnPerl");
    EXPECT_EQ(files.filters.back(), "Perl Executable (perl.exe)|perl.exe");
    EXPECT_EQ(files.lastFlags, 4096);
    EXPECT_EQ(c.text("txtPerlLocation"), "C:\\Perl\\bin\\perl.exe");
    files.answer.reset();
    c.press("btnPHP");
    EXPECT_EQ(files.filters.back(),
              "PHP Executable (php.exe)|php.exe|PHP ISAPI (php4isapi.dll)|php4isapi.dll");
    EXPECT_EQ(c.text("txtPHPLocation"), "");
}

}  // namespace
}  // namespace tessaron::app::testing
