// The unattended front end, called as the executable calls it.
#include <gtest/gtest.h>

#include <functional>

#include "MariaDbSupport.h"
#include "RunSupport.h"
#include "app/answers/AnswersFile.h"

namespace tessaron::app::testing {

using answers::parseAnswers;

namespace {

namespace fs = std::filesystem;
using tessaron::testing::MachineSetup;
using tessaron::testing::readBytes;
using tessaron::testing::sourceDir;
using tessaron::testing::TestMachine;

// An answers file in the machine's temporary folder (outside the drives).
std::string answersFile(const TestMachine& machine, const std::string& text,
                        const std::string& name = "answers.txt") {
    return writeBeside(machine, name, text);
}

TestMachine sample2003() {
    return TestMachine::sample("windows2003");
}

TEST(Unattended, HelpPrintsTheUsage) {
    const auto result = runFrontEnd({"--help"});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(
        result.out.find("tessaron-config --machine DIR --answers FILE [--options LIST] [--yes]"),
        std::string::npos);
    for (const char* status : {"  4   the run completed, but its log holds ERROR lines\n",
                               "  5   another configuration run holds the machine\n",
                               "  6   the run was cancelled (SIGINT or SIGTERM)"}) {
        EXPECT_NE(result.out.find(status), std::string::npos) << status << "\n" << result.out;
    }
}

TEST(Unattended, UsageErrorsStopBeforeTheMachineIsTouched) {
    // A machine whose load would end with message 3: no usage error reaches it.
    MachineSetup setup;
    setup.metabase = false;
    auto machine = TestMachine::described(setup);
    const std::string dir = machine.root().string();
    const auto good = answersFile(machine, "txtControlPanelTitle = x\n", "good.txt");

    struct Case {
        std::vector<std::string> args;
        std::string answers;
        std::string expected;
    };
    std::vector<Case> cases = {
        {{"--machine", dir, "--answers", good, "--colour"}, "", "unknown option --colour"},
        {{"--machine", dir, "--answers", good, "--options", "tasks,web"},
         "",
         "unknown install option \"web\""},
        {{"--machine", dir, "--answers", dir + "/missing.txt"},
         "",
         "cannot read answers file " + dir + "/missing.txt"},
        {{},
         "txtControlPanelTitle = x\ntxtNoSuchBox = 1\n",
         ":2: unknown control \"txtNoSuchBox\""},
        {{}, "# comment\n\ntxtControlPanelTitle x\n", ":3: malformed line"},
        {{},
         "chkStatistics = yes\n",
         ":1: chkStatistics is a check box: the value must be 0, 1 or 2"},
        {{}, "txtMainIP = 1234567890123456\n", ":1: txtMainIP accepts at most 15 characters"},
        {{}, "Label7 = hello\n", ":1: Label7 is a label and takes no value"},
        {{}, "# Caf\xE9\ntxtMainCompanyName = Caf\xE9\n", ":2: the line is not UTF-8 text"},
        // Echoed input is cut to a readable length, its length said.
        {{},
         std::string(100000, 'x') + " = 1\n",
         ":1: unknown control \"" + std::string(80, 'x') +
             "...\" (100000 characters) (not a control of the settings window)"},
        {{},
         "chkStatistics = \"" + std::string(5000, '1') + "\"\n",
         "must be 0, 1 or 2, not \"" + std::string(80, '1') + "...\" (5000 characters)\n"},
    };
#ifndef _WIN32  // on Windows the program without --machine configures the machine itself
    cases.push_back({{"--answers", good}, "", "--answers needs --machine DIR"});
#endif
    for (const auto& c : cases) {
        auto args = c.args;
        if (args.empty()) args = {"--machine", dir, "--answers", answersFile(machine, c.answers)};
        const auto result = runFrontEnd(args);
        EXPECT_EQ(result.status, 64) << c.expected;
        EXPECT_NE(result.err.find(c.expected), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find("Critical Error 1"), std::string::npos) << c.expected;
        EXPECT_LT(result.err.size(), 1000u) << c.expected;
        EXPECT_EQ(result.out, "");
    }
}

TEST(AnswersFile, ValueIsTrimmedOrTakenExactlyBetweenEnclosingQuotes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"txtControlPanelTitle =   plain  text \t", "plain  text"},
        {"txtControlPanelTitle = \"  spaced \"", "  spaced "},
        {"txtControlPanelTitle = \"\"", ""},
        {"txtControlPanelTitle = \"open", "\"open"},
        {"txtControlPanelTitle = \"", "\""},
        {"txtControlPanelTitle = say \"hi\"", "say \"hi\""},
        {"txtControlPanelTitle = a = b", "a = b"},
    };
    for (const auto& [line, value] : cases) {
        const auto answers = parseAnswers(line + "\r\n", "answers.txt");
        ASSERT_EQ(answers.size(), 1u) << line;
        EXPECT_EQ(answers[0].value, value) << line;
    }
}

TEST(Unattended, ListValueThatIsNoEntryStopsBeforeTheRun) {
    auto machine = sample2003();
    const auto answers =
        answersFile(machine, "txtControlPanelTitle = x\ncmbStatisticsType = Analog\n");
    const auto result = runFrontEnd({"--machine", machine.root().string(), "--answers", answers});
    EXPECT_EQ(result.status, 64);
    EXPECT_NE(result.err.find(answers + ":2: \"Analog\" is not an entry of cmbStatisticsType "
                                        "(entries: \"AWStats\", \"Webalizer\")"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(fs::exists(machine.host("C:\\Tessaron\\panel\\config.inc")));
}

TEST(Unattended, ProgramEndedAtLoadExitsWithThree) {
    MachineSetup setup;
    setup.installDirValue.reset();
    auto machine = TestMachine::described(setup);
    const auto result =
        runFrontEnd({"--machine", machine.root().string(), "--answers", answersFile(machine, "")});
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.err,
              "Installation Directory Not Found!: Sorry, I cannot find your Tessaron installation "
              "directory.  Please reinstall Tessaron.\n");
    EXPECT_EQ(result.out, "");
}

TEST(Unattended, ExistingConfigurationWithoutYesEndsTheProgram) {
    auto machine = sample2003();
    machine.writeFile("C:\\Tessaron\\panel\\config.inc", "ControlPanelTitle = \"Old\"\r\n");
    const auto result =
        runFrontEnd({"--machine", machine.root().string(), "--answers", answersFile(machine, "")});
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.err.find("Tessaron Already Configured: Tessaron has already been configured"),
              std::string::npos);
    EXPECT_EQ(machine.readFile("C:\\Tessaron\\panel\\config.inc"),
              "ControlPanelTitle = \"Old\"\r\n");
}

TEST(Unattended, CheckThatStopsTheRunExitsWithTwo) {
    auto machine = sample2003();
    fs::remove(
        machine.host("C:\\Program Files\\Common Files\\Microsoft Shared\\Web Server "
                     "Extensions\\50\\bin\\owsadm.exe"));
    const auto result = runFrontEnd({"--machine", machine.root().string(), "--answers",
                                     answersFile(machine, "txtControlPanelTitle = x\n")});
    EXPECT_EQ(result.status, 2) << result.out << result.err;
    EXPECT_NE(result.out.find("ERROR: Could not find FrontPage 2002 extensions administration "
                              "tools."),
              std::string::npos);
    EXPECT_EQ(result.out.find("Tessaron configuration completed."), std::string::npos);
}

TEST(Unattended, RunCompletesWithZeroAndWithRunErrorOne) {
    {
        auto machine = sample2003();
        const auto answers = answersFile(machine,
                                         "txtControlPanelTitle = \"  Spaced Title \"\n"
                                         "txtMainIP = 81.2.3.4\n");
        const auto result =
            runFrontEnd({"--machine", machine.root().string(), "--answers", answers});
        EXPECT_EQ(result.status, 0) << result.out << result.err;
        EXPECT_EQ(result.out.rfind("Beginning Tessaron configuration...\n", 0), 0u);
        EXPECT_NE(result.out.find("\nTessaron configuration completed.\n"), std::string::npos);
        const auto config = machine.readFile("C:\\Tessaron\\panel\\config.inc");
        EXPECT_NE(config.find("ControlPanelTitle = \"  Spaced Title \"\r\n"), std::string::npos);
        EXPECT_NE(config.find("ServerIP = \"81.2.3.4\"\r\n"), std::string::npos);
        // With the internal box ticked on this machine the internal address stays.
        EXPECT_NE(config.find("InternalIP = \"10.0.0.5\"\r\n"), std::string::npos);
    }
    if (TestMachine::foldersCanBeReadOnly()) {
        auto machine = sample2003();
        machine.setReadOnly("C:\\Tessaron\\panel", true);
        const auto result = runFrontEnd({"--machine", machine.root().string(), "--answers",
                                         answersFile(machine, "txtControlPanelTitle = x\n")});
        machine.setReadOnly("C:\\Tessaron\\panel", false);
        EXPECT_EQ(result.status, 1) << result.out << result.err;
        EXPECT_NE(result.out.find("Could not write to configuration file."), std::string::npos);
    }
}

// An error line of the web-server stage leaves RunError false; unattended the
// run still says it completed with errors.
TEST(Unattended, ARunWithAnErrorLineButNoRunErrorExitsWithFour) {
    auto machine = sample2003();
    machine.setReadOnly("C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml", true);
    const auto result =
        runFrontEnd({"--machine", machine.root().string(), "--answers",
                     answersFile(machine, "txtControlPanelTitle = x\n"), "--options", "sites"});
    machine.setReadOnly("C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml", false);
    EXPECT_EQ(result.status, 4) << result.out << result.err;
    EXPECT_NE(result.out.find("\nERROR: Could not set properties of IIS application pool for "
                              "Tessaron control panel - Access is denied.\nTessaron "
                              "configuration completed.\n"),
              std::string::npos)
        << result.out;
}

// A site without a display name: the window loads, the site is listed with
// an empty name, and choosing that entry finds no site by name.
TEST(Unattended, ASiteWithoutADisplayNameIsListedButNeverFoundByName) {
    auto machine = sample2003();
    const std::string metabase = "C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml";
    auto text = machine.readFile(metabase);
    const std::string comment = "\t\tServerComment=\"Administration\"\r\n";
    ASSERT_NE(text.find(comment), std::string::npos);
    machine.writeFile(metabase, text.erase(text.find(comment), comment.size()));
    const auto result =
        runFrontEnd({"--machine", machine.root().string(), "--answers",
                     answersFile(machine, "chkWebsitePreview = 1\ncmbPreviewSVC = \"\"\n"),
                     "--options", "sites"});
    EXPECT_EQ(result.status, 4) << result.out << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("\nCould not find website \"\".\nTessaron configuration "
                              "completed.\n"),
              std::string::npos)
        << result.out;
}

// Another run holds the machine: after waiting, the run says so, changes
// nothing and exits with 5.
TEST(Unattended, AMachineHeldByAnotherRunExitsWithFive) {
    auto machine = sample2003();
    MachineImage other(machine.root());
    const auto held = other.LockMachine(std::chrono::milliseconds(0));
    ASSERT_TRUE(held);
    const auto result =
        runFrontEnd({"--machine", machine.root().string(), "--answers",
                     answersFile(machine, "txtControlPanelTitle = x\n"), "--options", "sites"});
    EXPECT_EQ(result.status, 5) << result.out << result.err;
    EXPECT_EQ(result.out, "Another configuration run is in progress on this machine.\n");
    EXPECT_FALSE(fs::exists(machine.host("C:\\Tessaron\\panel\\config.inc")));

    // A preview and recorded answers read the machine only while no run
    // changes it, and end with the run's status.
    const auto answers = answersFile(machine, "txtControlPanelTitle = x\n");
    const auto recorded = machine.root() / "recorded.answers";
    for (const auto& extra : std::vector<std::vector<std::string>>{
             {"--preview"}, {"--save-answers", recorded.string()}}) {
        std::vector<std::string> args = {"--machine", machine.root().string(), "--answers",
                                         answers};
        args.insert(args.end(), extra.begin(), extra.end());
        const auto refused = runFrontEnd(args);
        EXPECT_EQ(refused.status, 5) << extra[0] << refused.out << refused.err;
        EXPECT_EQ(refused.err,
                  "tessaron-config: another configuration run holds the machine; nothing was "
                  "done\n");
        EXPECT_EQ(refused.out, "");
    }
    EXPECT_FALSE(fs::exists(recorded));
}

#ifndef _WIN32  // POSIX texts and links; the Windows lock opens links as themselves
// A lock file that cannot be opened is no other run's hold: the run says
// which file and why, exits with 7 and changes nothing; a link there is
// never followed.
TEST(Unattended, ALockFileThatCannotBeOpenedIsAnErrorOfItsOwn) {
    struct Case {
        const char* name;
        std::function<void(const fs::path& lock, const fs::path& outside)> make;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"a folder", [](const fs::path& lock, const fs::path&) { fs::create_directory(lock); },
         "Is a directory"},
        {"a link to a missing file",
         [](const fs::path& lock, const fs::path& outside) { fs::create_symlink(outside, lock); },
         "it is a symbolic link to another file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto machine = sample2003();
        const auto lock = machine.root() / ".tessaron-run.lock";
        const fs::path outside = machine.root().string() + "-outside";
        c.make(lock, outside);
        const auto result = runFrontEnd({"--machine", machine.root().string(), "--answers",
                                         answersFile(machine, "txtControlPanelTitle = x\n")});
        EXPECT_EQ(result.status, 7) << result.out << result.err;
        EXPECT_EQ(result.out,
                  "ERROR: Could not lock this machine for the configuration run - The lock file " +
                      lock.string() + " could not be opened (" + c.reason + ").\n");
        EXPECT_FALSE(fs::exists(machine.host("C:\\Tessaron\\panel\\config.inc")));
        EXPECT_FALSE(fs::exists(outside));

        const auto restore = runFrontEnd({"--machine", machine.root().string(), "--restore"});
        EXPECT_EQ(restore.status, 7);
        EXPECT_EQ(restore.err, "tessaron-config: cannot lock the machine: The lock file " +
                                   lock.string() + " could not be opened (" + c.reason + ").\n");
        EXPECT_FALSE(fs::exists(outside));
    }
}
#endif

TEST(Unattended, FullRunOnTheSampleAgainstTheTestDatabase) {
    const auto server = tessaron::testing::TestServer::fromEnvironment();
    if (!server) GTEST_SKIP() << tessaron::testing::kNoTestServer;
    tessaron::testing::FreshDatabase database(*server, "full");
    const std::string& name = database.name();

    auto machine = sample2003();
    const std::string answers =
        sampleAnswers(server->serverAddress(), name, server->user, server->password);
    const auto result =
        runFrontEnd({"--machine", machine.root().string(), "--answers",
                     answersFile(machine, answers), "--options", "tasks,database,sites"});
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("\nTessaron configuration completed.\n"), std::string::npos)
        << result.out;

    const auto config = machine.readFile("C:\\Tessaron\\panel\\config.inc");
    EXPECT_NE(config.find("ControlPanelTitle = \"Example Hosting Control Panel\"\r\n"),
              std::string::npos);
    EXPECT_NE(config.find("MainSQLServerType = \"MySQL\"\r\n"), std::string::npos);
    EXPECT_NE(config.find("MainDatabaseName = \"" + name + "\"\r\n"), std::string::npos);
    EXPECT_NE(config.find("EnableSharedSecure = True\r\n"), std::string::npos) << config;
    EXPECT_NE(config.find("EnableWebsitePreview = True\r\n"), std::string::npos);

    const auto metabase = machine.readFile("C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml");
    for (const char* site : {"Tessaron - Control Panel", "Tessaron - FTP",
                             "Tessaron - Shared Secure", "Tessaron - Website Preview"}) {
        EXPECT_NE(metabase.find(site), std::string::npos) << site;
    }
    const auto commands = readBytes(machine.root() / "commands.log");
    EXPECT_NE(commands.find("Tessaron - Update Bandwidth"), std::string::npos) << commands;
    EXPECT_NE(commands.find("Tessaron - Update Statistics"), std::string::npos);

    EXPECT_EQ(database.tables(), 18);

    // A second run answers Yes, reads the first run's config.inc back and
    // writes the same settings again.
    const auto second =
        runFrontEnd({"--machine", machine.root().string(), "--answers",
                     answersFile(machine, "txtAdminUsername = admin2\n", "second.txt"), "--yes"});
    EXPECT_EQ(second.status, 0) << second.out << second.err;
    EXPECT_NE(second.err.find("Tessaron Already Configured: "), std::string::npos);
    const auto rewritten = machine.readFile("C:\\Tessaron\\panel\\config.inc");
    for (const char* line :
         {"ControlPanelTitle = \"Example Hosting Control Panel\"\r\n",
          "MainCompanyName = \"Example Hosting Ltd\"\r\n", "MainSQLServerType = \"MySQL\"\r\n",
          "MySQLActive = True\r\n", "MSSQLActive = False\r\n", "EnablePerl = False\r\n",
          "AdminUsername = \"admin2\"\r\n", "MaximumMailboxSize = \"100\"\r\n"}) {
        EXPECT_NE(rewritten.find(line), std::string::npos) << line << rewritten;
    }
    EXPECT_NE(rewritten.find("MainDatabaseName = \"" + name + "\"\r\n"), std::string::npos);
}

}  // namespace
}  // namespace tessaron::app::testing
