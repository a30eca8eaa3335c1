// The settings window's load step on machine images written by the tests.
#include <gtest/gtest.h>

#include "support/app/AppMachine.h"

namespace tessaron::app::testing {

using tessaron::testing::MachineSetup;
using window::kChecked;
using window::kUnchecked;
using window::LoadResult;
using window::MessageAnswer;
using window::MessageButtons;
using window::MessageIcon;

namespace {

using Strings = std::vector<std::string>;

TEST(LoadStep, FillsTheWindowFromATypicalMachine) {
    MachineSetup setup;
    setup.styles = {"Default"};
    WindowOnMachine w(setup);
    ASSERT_EQ(w.result, LoadResult::Shown);
    EXPECT_TRUE(w.messages.shown.empty());
    auto& c = w.controls();

    EXPECT_EQ(w.window->installDir(), "C:\\Tessaron");
    EXPECT_EQ(w.window->serverName(), "WEBHOST01");
    EXPECT_EQ(c.text("lblPanelRoot"), "Install Directory: C:\\Tessaron");
    EXPECT_EQ(c.text("lblServerName"), "Server Name: WEBHOST01");
    EXPECT_EQ(c.text("txtMainCompanyName"), "Example Hosting Ltd");
    EXPECT_EQ(c.text("txtServerRoot"), "C:\\Tessaron\\accounts");
    EXPECT_EQ(c.text("txtLogRoot"), "C:\\WINDOWS\\System32\\LogFiles");
    EXPECT_EQ(c.selectedText("cmbMainSQLServerType"), "SQL Server");

    EXPECT_EQ(c.entries("cmbDefaultPanelStyle"), Strings({"Default"}));
    EXPECT_EQ(c.entries("cmbStatisticsType"), Strings({"AWStats", "Webalizer"}));
    EXPECT_EQ(c.entries("cmbMailServerType"), Strings({"Mail Enable", "IMail"}));
    EXPECT_EQ(c.entries("cmbDNSServer"), Strings({"Microsoft DNS", "Simple DNS Plus"}));
    EXPECT_EQ(c.entries("cmbFTPServerType"),
              Strings({"Microsoft FTP", "BulletProof FTP", "Serv-U", "Gene6 FTP Server"}));
    EXPECT_EQ(c.entries("cmbMainFTPSVC"), Strings({"-- Create New Site --", "Default FTP Site"}));
    EXPECT_EQ(c.entries("cmbControlPanelSite"),
              Strings({"-- Create New Site --", "Default Web Site", "Shop"}));
    EXPECT_EQ(c.entries("cmbSharedSecureSVC"),
              Strings({"-- Create New Site --", "-- No Shared Secure Website --",
                       "Default Web Site", "Shop"}));
    EXPECT_EQ(
        c.entries("cmbPreviewSVC"),
        Strings({"-- Create New Site --", "-- No Preview Website --", "Default Web Site", "Shop"}));
    for (const char* list : {"cmbDefaultPanelStyle", "cmbStatisticsType", "cmbMailServerType",
                             "cmbDNSServer", "cmbFTPServerType", "cmbMainFTPSVC",
                             "cmbControlPanelSite", "cmbSharedSecureSVC", "cmbPreviewSVC"}) {
        EXPECT_EQ(c.selectedIndex(list), 0) << list;
    }

    // Microsoft FTP is the first type: its site list shows, the path group hides.
    EXPECT_TRUE(c.visible("cmbMainFTPSVC"));
    EXPECT_TRUE(c.visible("lblMainFTPSVC"));
    EXPECT_FALSE(c.visible("txtFTPServerPath"));
    EXPECT_FALSE(c.visible("btnFTPServerPath"));
    EXPECT_FALSE(c.visible("lblFTPServerPath"));
    EXPECT_EQ(c.text("lblFTPUsage"),
              "Microsoft FTP Usage:\r\nTessaron can either create a new FTP site, or use an "
              "existing FTP site.  The site used must listen on all IP addresses in order to "
              "function properly.");

    EXPECT_FALSE(c.visible("lblDNSWMI"));  // Windows Server 2003
    EXPECT_EQ(c.text("btnInstall"), "Configure Tessaron");
    EXPECT_TRUE(w.window->MicrosoftFTPAvailable());
}

struct AddressCase {
    std::string address;
    int checked;
};

class FirstAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(FirstAddress, DecidesTheInternalAddressBox) {
    MachineSetup setup;
    setup.addresses = {GetParam().address};
    WindowOnMachine w(setup);
    ASSERT_EQ(w.result, LoadResult::Shown);
    auto& c = w.controls();
    EXPECT_EQ(c.text("txtMainIP"), GetParam().address);
    EXPECT_EQ(c.text("txtInternalIP"), GetParam().address);
    EXPECT_EQ(c.checked("chkInternalIP"), GetParam().checked);
    EXPECT_EQ(c.enabled("txtInternalIP"), GetParam().checked == kChecked);
    c.press("btnInstall");
    EXPECT_EQ(w.settings.ServerIP, GetParam().address);
    EXPECT_EQ(w.settings.InternalIP, GetParam().address);
}

INSTANTIATE_TEST_SUITE_P(LoadStep, FirstAddress,
                         ::testing::Values(AddressCase{"10.1.2.3", kChecked},
                                           AddressCase{"192.168.0.5", kChecked},
                                           AddressCase{"172.16.0.1", kUnchecked},
                                           AddressCase{"127.0.0.1", kUnchecked},
                                           AddressCase{"1.192.2.3", kUnchecked}));

TEST(LoadStep, NoAddressLeavesTheBoxesEmptyAndTheInternalBoxCleared) {
    MachineSetup setup;
    setup.addresses = {};
    WindowOnMachine w(setup);
    ASSERT_EQ(w.result, LoadResult::Shown);
    EXPECT_EQ(w.controls().text("txtMainIP"), "");
    EXPECT_EQ(w.controls().text("txtInternalIP"), "");
    EXPECT_EQ(w.controls().checked("chkInternalIP"), kUnchecked);
    EXPECT_FALSE(w.controls().enabled("txtInternalIP"));
}

TEST(LoadStep, InstallDirectoryIsTrimmedAndLosesOneTrailingBackslash) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"  C:\\Tessaron\\  ", "C:\\Tessaron"},
        {"C:\\Tessaron\\\\", "C:\\Tessaron\\"},
        {"C:\\Tessaron", "C:\\Tessaron"},
    };
    for (const auto& [value, expected] : cases) {
        MachineSetup setup;
        setup.installDirValue = value;
        WindowOnMachine w(setup);
        EXPECT_EQ(w.window->installDir(), expected) << value;
        EXPECT_EQ(w.controls().text("lblPanelRoot"), "Install Directory: " + expected);
        EXPECT_EQ(w.controls().text("txtServerRoot"), expected + "\\accounts");
    }
}

TEST(LoadStep, CompanyNameFallsBackToTheRegisteredUser) {
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {"   ", "Admin", "Admin"},
        {"  Acme Hosting ", "Admin", "Acme Hosting"},
        {"", "", ""},
    };
    for (const auto& [organization, owner, expected] : cases) {
        MachineSetup setup;
        setup.organization = organization;
        setup.owner = owner;
        WindowOnMachine w(setup);
        EXPECT_EQ(w.result, LoadResult::Shown);
        EXPECT_TRUE(w.messages.shown.empty());
        EXPECT_EQ(w.controls().text("txtMainCompanyName"), expected);
    }
}

TEST(LoadStep, WinDirIsReplacedOnlyInItsExactCase) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"%WinDir%\\System32\\LogFiles", "C:\\WINDOWS\\System32\\LogFiles"},
        {"%windir%\\System32\\LogFiles", "%windir%\\System32\\LogFiles"},
        {"%WinDir%\\a;%WinDir%\\b", "C:\\WINDOWS\\a;C:\\WINDOWS\\b"},
    };
    for (const auto& [value, expected] : cases) {
        MachineSetup setup;
        setup.logFileDirectory = value;
        WindowOnMachine w(setup);
        EXPECT_EQ(w.controls().text("txtLogRoot"), expected);
    }
}

TEST(LoadStep, StylesFolderWithoutSubFoldersLeavesTheListEmpty) {
    MachineSetup setup;
    setup.styles = {};
    WindowOnMachine w(setup);
    EXPECT_EQ(w.result, LoadResult::Shown);
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_TRUE(w.controls().entries("cmbDefaultPanelStyle").empty());
    EXPECT_EQ(w.controls().selectedIndex("cmbDefaultPanelStyle"), -1);
}

TEST(LoadStep, StylesAreListedInTheFileSystemsOrder) {
    MachineSetup setup;
    setup.styles = {"Ocean", "Classic", "Default"};
    WindowOnMachine w(setup);
    const auto listed = w.image.Files().SubFolders("C:\\Tessaron\\panel\\styles");
    EXPECT_EQ(w.controls().entries("cmbDefaultPanelStyle"), listed);
    EXPECT_EQ(listed.size(), 3u);
    EXPECT_EQ(w.controls().selectedText("cmbDefaultPanelStyle"), listed.front());
}

TEST(LoadStep, WithoutTheFtpServiceMicrosoftFtpIsNoChoice) {
    MachineSetup setup;
    setup.ftpService = false;
    WindowOnMachine w(setup);
    ASSERT_EQ(w.result, LoadResult::Shown);
    ASSERT_EQ(w.messages.ids(), std::vector<int>({5}));
    const auto& message = w.messages.shown[0];
    EXPECT_EQ(message.title, "TessaronConfig");
    EXPECT_EQ(message.text,
              "Sorry, I could not retrieve the information for Microsoft FTP; it may not be "
              "installed, or you may not be running with the proper privileges.  Microsoft FTP "
              "will not be available for selection.");
    EXPECT_EQ(message.icon, MessageIcon::None);
    auto& c = w.controls();
    EXPECT_EQ(c.entries("cmbFTPServerType"),
              Strings({"BulletProof FTP", "Serv-U", "Gene6 FTP Server"}));
    EXPECT_EQ(c.selectedText("cmbFTPServerType"), "BulletProof FTP");
    EXPECT_EQ(c.entries("cmbMainFTPSVC"), Strings({"-- Create New Site --"}));
    EXPECT_TRUE(c.visible("txtFTPServerPath"));
    EXPECT_TRUE(c.visible("btnFTPServerPath"));
    EXPECT_TRUE(c.visible("lblFTPServerPath"));
    EXPECT_FALSE(c.visible("cmbMainFTPSVC"));
    EXPECT_FALSE(c.visible("lblMainFTPSVC"));
}

TEST(LoadStep, SiteListsKeepDuplicatesAndEmptyCommentsInMetabaseOrder) {
    MachineSetup setup;
    setup.webSites = {{"3", "Shop"}, {"1", "Shop"}, {"2", ""}};
    setup.ftpSites = {{"1", "Default FTP Site"}, {"4", "Default FTP Site"}};
    WindowOnMachine w(setup);
    ASSERT_EQ(w.result, LoadResult::Shown);
    EXPECT_EQ(w.controls().entries("cmbControlPanelSite"),
              Strings({"-- Create New Site --", "Shop", "Shop", ""}));
    EXPECT_EQ(w.controls().entries("cmbPreviewSVC"),
              Strings({"-- Create New Site --", "-- No Preview Website --", "Shop", "Shop", ""}));
    EXPECT_EQ(w.controls().entries("cmbMainFTPSVC"),
              Strings({"-- Create New Site --", "Default FTP Site", "Default FTP Site"}));
}

// A site without a display name is listed with an empty one, as a site
// whose name is empty, on the web and the FTP lists; the window loads.
TEST(LoadStep, SitesWithoutADisplayNameAreListedWithAnEmptyOne) {
    MachineSetup setup;
    setup.webSites = {{"1", "First"}, {"2", std::nullopt}, {"3", "Third"}};
    setup.ftpSites = {{"1", "First FTP"}, {"2", std::nullopt}, {"3", "Third FTP"}};
    WindowOnMachine w(setup);
    ASSERT_EQ(w.result, LoadResult::Shown);
    EXPECT_TRUE(w.messages.ids().empty());
    EXPECT_EQ(
        w.controls().entries("cmbSharedSecureSVC"),
        Strings({"-- Create New Site --", "-- No Shared Secure Website --", "First", "", "Third"}));
    EXPECT_EQ(w.controls().entries("cmbMainFTPSVC"),
              Strings({"-- Create New Site --", "First FTP", "", "Third FTP"}));
}

TEST(LoadStep, DnsProviderNoteShowsOnWindows2000Only) {
    MachineSetup setup;
    setup.version = "5.0";
    setup.build = "2195";
    WindowOnMachine w(setup);
    ASSERT_EQ(w.result, LoadResult::Shown);
    EXPECT_TRUE(w.controls().visible("lblDNSWMI"));
}

struct EndingCase {
    const char* what;
    MachineSetup setup;
    int message;
    std::string title;
    std::string text;
};

TEST(LoadStep, FatalDiscoveryFailuresShowTheirMessageAndEndTheProgram) {
    std::vector<EndingCase> cases;
    {
        MachineSetup setup;
        setup.installDirValue.reset();
        cases.push_back({"no Install_Dir", setup, 1, "Installation Directory Not Found!",
                         "Sorry, I cannot find your Tessaron installation directory.  Please "
                         "reinstall Tessaron."});
        setup.installDirValue = "   ";
        cases.push_back({"blank Install_Dir", setup, 1, "Installation Directory Not Found!",
                         "Sorry, I cannot find your Tessaron installation directory.  Please "
                         "reinstall Tessaron."});
    }
    {
        MachineSetup setup;
        setup.component = false;
        cases.push_back({"component not registered", setup, 2, "Tessaron DLL Not Accessable!",
                         "Sorry, I cannot access the Tessaron DLL.  Please reinstall Tessaron."});
    }
    const std::string critical =
        "Sorry, I encountered problems getting the necessary information for configuration.  "
        "Please make sure IIS is installed properly, and that you are running this utility with "
        "Administrator privileges.";
    {
        MachineSetup setup;
        setup.metabase = false;
        cases.push_back({"no metabase", setup, 3, "Critical Error 1", critical});
    }
    {
        MachineSetup setup;
        setup.stylesFolder = false;
        cases.push_back({"no styles folder", setup, 4, "Cannot Read Tessaron Directory",
                         "Sorry, there was a problem reading from the Tessaron directory.  Please "
                         "make sure your permissions are correct and that you are running this "
                         "program as a member of the Administrators group."});
    }
    for (const auto& c : cases) {
        WindowOnMachine w(c.setup);
        EXPECT_EQ(w.result, LoadResult::Ended) << c.what;
        ASSERT_EQ(w.messages.ids(), std::vector<int>({c.message})) << c.what;
        EXPECT_EQ(w.messages.shown[0].title, c.title) << c.what;
        EXPECT_EQ(w.messages.shown[0].text, c.text) << c.what;
        EXPECT_EQ(w.messages.shown[0].icon, MessageIcon::Error) << c.what;
        EXPECT_EQ(w.messages.shown[0].buttons, MessageButtons::Ok) << c.what;
    }
}

const char* const kAlreadyConfigured =
    "Tessaron has already been configured on this server.  It is highly recommended that you "
    "only use the Tessaron Configuration Utility on a fresh installation of Tessaron, as "
    "improper settings or changes to current settings can cause the installation to stop "
    "working.  Do you wish to continue with the configuration?";

TEST(LoadStep, ExistingConfigurationAnsweredNoEndsWithoutReading) {
    MachineSetup setup;
    setup.configInc = "ControlPanelTitle = \"Old Panel\"\r\n";
    WindowOnMachine w(setup, MessageAnswer::No);
    EXPECT_EQ(w.result, LoadResult::Ended);
    ASSERT_EQ(w.messages.ids(), std::vector<int>({7}));
    EXPECT_EQ(w.messages.shown[0].title, "Tessaron Already Configured");
    EXPECT_EQ(w.messages.shown[0].text, kAlreadyConfigured);
    EXPECT_EQ(w.messages.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(w.messages.shown[0].icon, MessageIcon::None);
    EXPECT_EQ(w.controls().text("txtControlPanelTitle"), "");
    EXPECT_EQ(w.settings.ControlPanelTitle, "");
}

TEST(LoadStep, ExistingConfigurationAnsweredYesIsReadAndRenamesTheButton) {
    MachineSetup setup;
    setup.configInc = "ControlPanelTitle = \"Old Panel\"\r\n";
    WindowOnMachine w(setup, MessageAnswer::Yes);
    EXPECT_EQ(w.result, LoadResult::Shown);
    EXPECT_EQ(w.messages.ids(), std::vector<int>({7}));
    EXPECT_EQ(w.controls().text("btnInstall"), "Update Tessaron Configuration");
    EXPECT_EQ(w.controls().text("txtControlPanelTitle"), "Old Panel");
    w.controls().press("btnInstall");
    EXPECT_EQ(w.settings.ControlPanelTitle, "Old Panel");
}

TEST(LoadStep, WithoutConfigurationThereIsNoQuestion) {
    WindowOnMachine w;
    EXPECT_TRUE(w.messages.shown.empty());
    EXPECT_EQ(w.controls().text("btnInstall"), "Configure Tessaron");
}

}  // namespace
}  // namespace tessaron::app::testing
