// Who writes the settings record: the install button alone, from the controls
// and the values the window holds; a run works on its own copy and hands back
// only what the next run needs.
#include <gtest/gtest.h>

#include <algorithm>

#include "RunSupport.h"
#include "app/wiring/ProgressRun.h"
#include "platform/Text.h"
#include "support/SamplePaths.h"
#include "support/app/AppMachine.h"

namespace tessaron::app::testing {

using window::FolderChooser;
using window::kChecked;
using window::kUnchecked;
using window::LoadResult;
using window::MessageAnswer;

namespace {
using tessaron::testing::kConfigInc;

using tessaron::testing::MachineSetup;
using tessaron::testing::TestMachine;

bool holdsLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::vector<std::string> linesOf(const std::string& text) {
    return splitText(text, "\r\n");
}

class AnswerFolders : public FolderChooser {
public:
    std::string BrowseForFolder(const std::string&, const std::string&) override {
        return "D:\\Chosen";
    }
};

TEST(SettingsFlow, NothingButTheInstallButtonWritesTheRecord) {
    MachineSetup setup;
    setup.configInc =
        "MainCompanyName = \"Old Co\"\r\nEnableStatistics = False\r\nSQLServerIP = \"10.1.1.1\"\r\n"
        "PreviewSVC = \"7\"\r\nFTPLinkPath = D:\\links\r\nServerIP = \"1.2.3.4\"\r\n";
    WindowOnMachine w(setup, MessageAnswer::Yes);
    ASSERT_EQ(w.result, LoadResult::Shown);
    AnswerFolders folders;
    w.window->setFolderChooser(&folders);
    auto& c = w.controls();
    c.setText("txtMainIP", "5.6.7.8");
    c.setChecked("chkStatistics", kChecked);
    c.setChecked("chkSharedSecure", kUnchecked);
    c.setSelectedIndex("cmbFTPServerType", 1);
    c.press("btnMySQLDataPath");
    c.press("btnServerRoot");
    // Load step, reader, rules and choosers have shown everything in the
    // controls and left the record alone.
    EXPECT_EQ(w.settings, SettingsRecord{});

    c.press("btnInstall");
    const auto& s = w.settings;
    EXPECT_EQ(s.InstallDir, "C:\\Tessaron");
    EXPECT_EQ(s.ServerName, "WEBHOST01");
    EXPECT_EQ(s.MainCompanyName, "Old Co");
    EXPECT_EQ(s.ServerIP, "5.6.7.8");
    EXPECT_EQ(s.EnableStatistics, "True");
    EXPECT_EQ(s.EnableSharedSecure, "False");
    EXPECT_EQ(s.SQLServerIP, "10.1.1.1");
    EXPECT_EQ(s.MySQLDataPath, "D:\\Chosen");
    EXPECT_EQ(s.ServerRoot, "D:\\Chosen");
    EXPECT_EQ(s.PreviewSVC, "7");
    EXPECT_EQ(s.FTPServerType, c.entries("cmbFTPServerType")[1]);
    EXPECT_EQ(s.FTPLinkPath, "D:\\links");
}

// What the reader put into a control is only a default: the administrator's
// edit is what config.inc gets, for every kind of control.
TEST(SettingsFlow, AnEditAfterTheReaderIsWhatConfigIncGets) {
    MachineSetup setup;
    setup.configInc =
        "MainCompanyName = \"Old Co\"\r\nEnableStatistics = False\r\n"
        "StatisticsType = \"AWStats\"\r\nServerIP = \"1.2.3.4\"\r\nInternalIP = \"1.2.3.4\"\r\n"
        "OversellAllowed = True\r\nMSSQLActive = True\r\nSQLServerIP = \"10.1.1.1\"\r\n";
    WindowOnMachine w(setup, MessageAnswer::Yes);
    auto& c = w.controls();
    c.setText("txtMainCompanyName", "New Co");
    c.setChecked("chkStatistics", kChecked);
    c.setSelectedIndex("cmbStatisticsType", 1);
    c.setText("txtMainIP", "5.6.7.8");  // the internal box is cleared: it follows
    c.setChecked("chkOversellAllowed", kUnchecked);
    c.setText("txtSQLServerIP", "10.2.2.2");
    const auto config = configIncAfterInstall(w);
    for (const char* line :
         {"MainCompanyName = \"New Co\"", "EnableStatistics = True",
          "StatisticsType = \"Webalizer\"", "ServerIP = \"5.6.7.8\"", "InternalIP = \"5.6.7.8\"",
          "OversellAllowed = \"False\"", "SQLServerIP = \"10.2.2.2\""}) {
        EXPECT_TRUE(holdsLine(config, line)) << line;
    }
}

// A run on the sample with the internal address left empty and a new shared
// secure site: the run fills in the internal address and learns the site's
// number, but the record it was given stays as the install button filled it;
// the window keeps the number for its next run.
TEST(SettingsFlow, ARunLeavesItsRecordAndTheWindowKeepsTheSiteNumberItLearnt) {
    TestMachine machine = TestMachine::sample("windows2003");
    AnsweredWindow window(machine, sampleAnswers() + "chkInternalIP = 1\ntxtInternalIP = \"\"\n");
    const SettingsRecord filled = window.settings;
    ASSERT_EQ(filled.InternalIP, "");
    ASSERT_FALSE(filled.ServerIP.empty());

    ProgressLog log;
    const wiring::RunOutcome first =
        wiring::performRun(window.settings, {.SetUpSites = true}, window.image, log);
    ASSERT_EQ(first.ending, RunEnding::Completed) << log.text();
    EXPECT_EQ(window.settings, filled);
    auto config = linesOf(machine.readFile(kConfigInc));
    EXPECT_TRUE(holdsLine(config, "InternalIP = \"" + filled.ServerIP + "\""));
    ASSERT_TRUE(first.SharedSecureSVC);
    const std::string site = *first.SharedSecureSVC;
    EXPECT_NE(site, "");
    EXPECT_NE(site, "0");
    EXPECT_TRUE(holdsLine(config, "SharedSecureSVC = \"" + site + "\""));

    // The progress window closes; the next run (without the sites) names the
    // site the first one created, also after another press of the button.
    window.window->keepRunResults(first);
    EXPECT_EQ(window.settings.SharedSecureSVC, site);
    window.controls().press("btnInstall");
    EXPECT_EQ(window.settings.SharedSecureSVC, site);
    ProgressLog again;
    wiring::performRun(window.settings, {}, window.image, again);
    config = linesOf(machine.readFile(kConfigInc));
    EXPECT_TRUE(holdsLine(config, "SharedSecureSVC = \"" + site + "\"")) << again.text();
}

}  // namespace
}  // namespace tessaron::app::testing
