// The preview: the whole run as a dry run, compared with the real run that
// follows, on the 2003 sample and the test MariaDB server.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <tuple>

#include "MariaDbSupport.h"
#include "RunSupport.h"
#include "app/preview/Preview.h"
#include "app/preview/PreviewDatabase.h"
#include "app/preview/SecretMask.h"
#include "app/wiring/ProgressRun.h"
#include "database/MySqlSchema.h"
#include "platform/CodePage1252.h"
#include "platform/image/MachineImage.h"
#include "platform/odbc/OdbcDatabase.h"
#include "support/ImageDigest.h"
#include "support/MetabaseFileKeys.h"
#include "support/SamplePaths.h"

namespace tessaron::app::testing {

using preview::CreatedTable;
using preview::previewInstallation;
using preview::PreviewReport;
using preview::previewText;
using preview::SecretMask;
using preview::SiteTakeover;
using preview::splitLines;

namespace {
using tessaron::testing::kConfigInc;
using tessaron::testing::kMetabase;

namespace fs = std::filesystem;
using tessaron::testing::diffMetabaseKeys;
using tessaron::testing::FreshDatabase;
using tessaron::testing::imageDigest;
using tessaron::testing::readBytes;
using tessaron::testing::readMetabaseKeys;
using tessaron::testing::TestMachine;
using tessaron::testing::TestServer;

InstallOptions allOptions() {
    return InstallOptions{true, true, true};
}

// The preview on the image opened afresh, as the front end opens it.
PreviewReport previewOf(const SettingsRecord& settings, const InstallOptions& options,
                        const fs::path& image, Database& database) {
    MachineImage machine(image, &database);
    return previewInstallation(settings, options, machine, image.string());
}

// Rows of every table the stage creates, and the tables there are.
std::string databaseState(FreshDatabase& database) {
    std::string state = database.text(
        "SELECT COALESCE(GROUP_CONCAT(TABLE_NAME ORDER BY TABLE_NAME), '') AS C FROM "
        "information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE()");
    for (const auto& statement : mySqlCreateStatements()) {
        const std::string table = CreatedTable(statement);
        if (state.find(table) == std::string::npos) continue;
        state += " " + table + "=" +
                 std::to_string(database.number("SELECT COUNT(*) AS C FROM `" + table + "`"));
    }
    return state;
}

std::vector<std::string> fileLines(const TestMachine& machine, const std::string& path) {
    return splitLines(decodeCodePage1252(machine.readFile(path)));
}

class PreviewOnSample : public ::testing::Test {
protected:
    void SetUp() override {
        server = TestServer::fromEnvironment();
        if (!server) GTEST_SKIP() << tessaron::testing::kNoTestServer;
        database = std::make_unique<FreshDatabase>(*server, "preview");
        answers = sampleAnswers(server->serverAddress(), database->name(), server->user,
                                server->password);
    }

    std::optional<TestServer> server;
    std::unique_ptr<FreshDatabase> database;
    OdbcDatabase odbc;
    std::string answers;
};

TEST_F(PreviewOnSample, FreshMachineShowsWhatTheRealRunThenDoes) {
    TestMachine machine = TestMachine::sample("windows2003");
    AnsweredWindow window(machine, answers, &odbc);
    const std::string imageBefore = imageDigest(machine.root());
    const std::string databaseBefore = databaseState(*database);

    const PreviewReport report = previewOf(window.settings, allOptions(), machine.root(), odbc);

    EXPECT_EQ(imageDigest(machine.root()), imageBefore);
    EXPECT_EQ(databaseState(*database), databaseBefore);

    // config.inc: a new file, every line added, passwords masked.
    EXPECT_TRUE(report.configCreated);
    ASSERT_EQ(report.configChanges.size(), 75u);
    EXPECT_EQ(report.configChanges[18].text, "AdminPassword = \"********\"");
    EXPECT_EQ(report.configChanges[69].text, "MainFTPSVC = \"2\"");

    // The sites chosen, and the FTP site's start conflict with the default one.
    ASSERT_EQ(report.sites.size(), 4u);
    EXPECT_EQ(report.sites[0].name, "Tessaron - FTP");
    EXPECT_EQ(report.sites[0].location, "/LM/MSFTPSVC/2");
    EXPECT_EQ(report.sites[1].location, "/LM/W3SVC/3");
    EXPECT_TRUE(report.takeovers.empty());
    ASSERT_EQ(report.startConflicts.size(), 1u);
    EXPECT_EQ(report.startConflicts[0].holderName, "Default FTP Site");
    EXPECT_EQ(report.startConflicts[0].binding, ":21:");

    // The database: connected, nothing there yet, every statement in order.
    EXPECT_TRUE(report.database.connected);
    EXPECT_TRUE(report.database.existingTables.empty());
    ASSERT_GE(report.database.statements.size(), mySqlCreateStatements().size());
    for (std::size_t i = 0; i < mySqlCreateStatements().size(); ++i) {
        EXPECT_EQ(report.database.statements[i].text, mySqlCreateStatements()[i]);
    }

    // Commands with the password masked; folders created.
    ASSERT_EQ(report.commands.size(), 2u);
    EXPECT_NE(report.commands[0].find("/sc \"Administrator\" \"********\" /ctj"),
              std::string::npos);
    EXPECT_EQ(report.foldersCreated,
              (std::vector<std::string>{"C:\\Tessaron\\accounts", "C:\\Tessaron\\temp"}));
    EXPECT_EQ(report.result.line, "Result: completed (exit status 0).");
    EXPECT_EQ(report.log.back(), "Tessaron configuration completed.");

    // The real run with the same settings does exactly that.
    const std::string metabaseBefore = machine.readFile(kMetabase);
    ProgressLog log;
    SettingsRecord settings = window.settings;
    const wiring::RunOutcome outcome =
        wiring::performRun(settings, allOptions(), window.image, log);
    EXPECT_EQ(outcome.runError, false);
    const SecretMask mask(window.settings);
    const auto written = mask.apply(fileLines(machine, kConfigInc));
    ASSERT_EQ(written.size(), report.configChanges.size());
    for (std::size_t i = 0; i < written.size(); ++i) {
        EXPECT_EQ(report.configChanges[i].text, written[i]) << i;
    }
    const auto changes = diffMetabaseKeys(readMetabaseKeys(metabaseBefore),
                                          readMetabaseKeys(machine.readFile(kMetabase)));
    ASSERT_EQ(changes.size(), report.metabaseChanges.size());
    for (std::size_t i = 0; i < changes.size(); ++i) {
        EXPECT_EQ(changes[i].location, report.metabaseChanges[i].location);
        ASSERT_EQ(changes[i].properties.size(), report.metabaseChanges[i].properties.size());
        for (std::size_t p = 0; p < changes[i].properties.size(); ++p) {
            EXPECT_EQ(changes[i].properties[p].name, report.metabaseChanges[i].properties[p].name);
            EXPECT_EQ(changes[i].properties[p].after,
                      report.metabaseChanges[i].properties[p].after);
        }
    }
    EXPECT_EQ(mask.apply(log.entries()), report.log);
}

TEST_F(PreviewOnSample, ConfiguredMachineShowsDifferencesTakeoversAndExistingTables) {
    TestMachine machine = TestMachine::sample("windows2003");
    {
        AnsweredWindow first(machine, answers, &odbc);
        ProgressLog log;
        wiring::performRun(first.settings, allOptions(), first.image, log);
    }
    const std::string edits = answers +
                              "txtControlPanelTitle = Second Title\n"
                              "cmbControlPanelSite = Default Web Site\n";
    AnsweredWindow window(machine, edits, &odbc, /*yes=*/true);
    const std::string imageBefore = imageDigest(machine.root());
    const std::string databaseBefore = databaseState(*database);

    const PreviewReport report = previewOf(window.settings, allOptions(), machine.root(), odbc);

    EXPECT_EQ(imageDigest(machine.root()), imageBefore);
    EXPECT_EQ(databaseState(*database), databaseBefore);

    EXPECT_FALSE(report.configCreated);
    // The default web site's root is reused, so the takeover completes and the
    // site lines name the new FTP, shared secure and preview sites.
    const std::vector<std::tuple<char, int, std::string>> siteLines = {
        {'-', 70, "MainFTPSVC = \"2\""},      {'+', 70, "MainFTPSVC = \"3\""},
        {'-', 73, "SharedSecureSVC = \"4\""}, {'+', 73, "SharedSecureSVC = \"6\""},
        {'-', 75, "PreviewSVC = \"5\""},      {'+', 75, "PreviewSVC = \"7\""}};
    ASSERT_EQ(report.configChanges.size(), 2 + siteLines.size());
    for (std::size_t i = 0; i < siteLines.size(); ++i) {
        const auto& [change, lineNumber, text] = siteLines[i];
        EXPECT_EQ(report.configChanges[2 + i].change, change) << i;
        EXPECT_EQ(report.configChanges[2 + i].lineNumber, lineNumber) << i;
        EXPECT_EQ(report.configChanges[2 + i].text, text) << i;
    }
    EXPECT_EQ(report.result.line, "Result: completed (exit status 0).");
    EXPECT_EQ(report.configChanges[0].change, '-');
    EXPECT_EQ(report.configChanges[0].lineNumber, 8);
    EXPECT_EQ(report.configChanges[0].text,
              "ControlPanelTitle = \"Example Hosting Control Panel\"");
    EXPECT_EQ(report.configChanges[1].change, '+');
    EXPECT_EQ(report.configChanges[1].text, "ControlPanelTitle = \"Second Title\"");

    // The default web site is taken over by name: it loses its binding and name.
    ASSERT_EQ(report.takeovers.size(), 1u);
    const SiteTakeover& takeover = report.takeovers[0];
    EXPECT_EQ(takeover.location, "/LM/W3SVC/1");
    EXPECT_EQ(takeover.formerName, "Default Web Site");
    ASSERT_EQ(takeover.lost.size(), 2u);
    EXPECT_EQ(takeover.lost[0].name, "ServerBindings");
    EXPECT_EQ(takeover.lost[0].before, ":80:");
    EXPECT_EQ(takeover.lost[0].after, ":2100:\n:2101:");
    EXPECT_EQ(takeover.lost[1].name, "ServerComment");

    // Every table exists: each CREATE is marked as failing.
    EXPECT_EQ(report.database.existingTables.size(), mySqlCreateStatements().size());
    EXPECT_EQ(report.database.statements[0].note,
              "table " + report.database.existingTables[0] + " exists: the statement fails");
    const std::string text = previewText(report);
    EXPECT_NE(text.find("  Taken over by name: /LM/W3SVC/1 \"Default Web Site\" loses:\n"
                        "    ServerBindings \":80:\" (becomes \":2100:\", \":2101:\")\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("  -   8: ControlPanelTitle = \"Example Hosting Control Panel\"\n"
                        "  +   8: ControlPanelTitle = \"Second Title\"\n"),
              std::string::npos);
}

TEST(Preview, ConnectionFailureIsReportedWithTheDriverText) {
    TestMachine machine = TestMachine::sample("windows2003");
    OdbcDatabase odbc;
    const std::string answers =
        sampleAnswers() + "txtMainDatabaseIP = 127.0.0.1;Port=1\ntxtMainDatabasePassword = x\n";
    AnsweredWindow window(machine, answers, &odbc);
    const std::string before = imageDigest(machine.root());
    const PreviewReport report =
        previewOf(window.settings, InstallOptions{false, true, false}, machine.root(), odbc);
    EXPECT_EQ(imageDigest(machine.root()), before);
    EXPECT_TRUE(report.database.attempted);
    EXPECT_FALSE(report.database.connected);
    EXPECT_FALSE(report.database.failure.empty());
    EXPECT_EQ(report.log[report.log.size() - 2],
              "ERROR: Could not establish a connection to main MySQL database: " +
                  report.database.failure);
    EXPECT_EQ(report.result.line, "Result: completed with RunError set (exit status 1).");
    EXPECT_NE(previewText(report).find(
                  "\nDatabase: the connection fails: " + report.database.failure + "\n"),
              std::string::npos);
}

// python3 reads the JSON back; its facts match the text's.
TEST(Preview, JsonParsesAndMatchesTheText) {
    TestMachine machine = TestMachine::sample("windows2003");
    const auto answersPath = writeBeside(machine, "answers.txt", sampleAnswers());
    const std::string dir = machine.root().string();
    const auto text = runFrontEnd(
        {"--machine", dir, "--answers", answersPath, "--options", "tasks,sites", "--preview"});
    const auto json = runFrontEnd({"--machine", dir, "--answers", answersPath, "--options",
                                   "tasks,sites", "--preview", "--format", "json"});
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(json.status, 0);

#ifdef _WIN32
    GTEST_SKIP() << "the JSON is checked with the build machine's python3, which a Windows "
                    "program cannot start";
#endif
    const auto jsonPath = machine.root() / "preview.json";
    std::ofstream(jsonPath, std::ios::binary) << json.out;
    const std::string script =
        "import json,sys\n"
        "d=json.load(open(sys.argv[1]))\n"
        "print(d['result']['line'])\n"
        "print(len(d['configFile']['changes']))\n"
        "for s in d['metabase']['sites']: print(s['name']+': '+s['location'])\n"
        "for c in d['commands']: print(c)\n"
        "print(d['metabase']['startConflicts'][0]['holderName'])\n";
    const auto scriptPath = machine.root() / "check.py";
    std::ofstream(scriptPath) << script;
    FILE* pipe = popen(("python3 " + scriptPath.string() + " " + jsonPath.string()).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string parsed;
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe)) parsed += buffer;
    ASSERT_EQ(pclose(pipe), 0) << json.out;

    const auto lines = splitLines(parsed);
    ASSERT_GE(lines.size(), 8u) << parsed;
    EXPECT_EQ(lines[0], "Result: completed (exit status 0).");
    EXPECT_NE(text.out.find("\n" + lines[0] + "\n"), std::string::npos);
    EXPECT_EQ(lines[1], "75");
    for (std::size_t i = 2; i < 6; ++i) {
        EXPECT_NE(text.out.find("    " + lines[i] + " (new site)\n"), std::string::npos)
            << lines[i];
    }
    EXPECT_NE(text.out.find("  " + lines[6] + "\n"), std::string::npos);
    EXPECT_EQ(lines[8], "Default FTP Site");
}

}  // namespace
}  // namespace tessaron::app::testing
