// Whole runs on a copy of the Windows Server 2003 sample against the real
// MariaDB server, where the server refuses the stage's statements: every
// refusal but a table or row that exists already is an ERROR line with the
// driver's text, sets RunError and keeps the stage from calling the database
// created.
#include <gtest/gtest.h>

#include <algorithm>

#include "MariaDbSupport.h"
#include "run/RunDriver.h"
#include "support/MachineRun.h"

namespace tessaron {
namespace {

using testing::FreshDatabase;
using testing::MachineRun;
using testing::TestMachine;
using testing::TestServer;
using Lines = std::vector<std::string>;

class RefusedStatements : public ::testing::Test {
protected:
    void SetUp() override {
        server = TestServer::fromEnvironment();
        if (!server) GTEST_SKIP() << testing::kNoTestServer;
    }

    // The database part of a run on the sample: checks, config.inc and the
    // database stage, nothing else.
    struct SampleRun : MachineRun {
        SampleRun(OdbcDatabase& odbc, SettingsRecord record)
            : MachineRun(TestMachine::sample("windows2003"), std::move(record),
                         {.InitializeDatabase = true}, &odbc) {
            settings.ServerRoot = "C:\\Hosting";
        }
        // The lines of the database stage.
        Lines stageLines() const {
            const auto& all = log.entries();
            auto begin = std::find(all.begin(), all.end(), "Beginning database initialization...");
            return Lines(begin, all.end() - 1);
        }
    };

    // A login of its own that may only read the test database.
    void addReadOnlyLogin(FreshDatabase& db) {
        login = "ro_" + db.name().substr(2, 20);
        for (const char* host : {"%", "localhost"}) {
            const std::string user = "'" + login + "'@'" + host + "'";
            db.admin().Execute("CREATE USER " + user + " IDENTIFIED BY 'read-only-pw'");
            db.admin().Execute("GRANT SELECT ON `" + db.name() + "`.* TO " + user);
        }
    }
    void TearDown() override {
        if (login.empty() || !server) return;
        auto admin = odbc.Open(server->connectionString(""));
        for (const char* host : {"%", "localhost"}) {
            admin->Execute("DROP USER IF EXISTS '" + login + "'@'" + host + "'");
        }
    }

    std::optional<TestServer> server;
    OdbcDatabase odbc;
    std::string login;
};

TEST_F(RefusedStatements, ASelectOnlyLoginCreatesNothingAndSaysSo) {
    FreshDatabase db(*server, "selectonly");
    addReadOnlyLogin(db);
    auto settings = db.mySqlSettings();
    settings.MainDatabaseUsername = login;
    settings.MainDatabasePassword = "read-only-pw";
    SampleRun run(odbc, settings);

    EXPECT_EQ(performInstallationRun(run.run), RunEnding::Completed);

    const Lines lines = run.stageLines();
    ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 3),
              (Lines{"Beginning database initialization...", "Connection to server established.",
                     "Creating tables..."}));
    // The driver's own text, which names the refused command and the table.
    EXPECT_EQ(lines[3].rfind("ERROR: Could not create the accounts table - [", 0), 0u) << lines[3];
    EXPECT_NE(lines[3].find("CREATE command denied to user '" + login + "'"), std::string::npos)
        << lines[3];
    EXPECT_TRUE(run.run.RunError);
    EXPECT_EQ(run.log.entries().back(), "Tessaron configuration completed.");
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM information_schema.TABLES WHERE "
                        "TABLE_SCHEMA = DATABASE()"),
              0);
}

// A password longer than the column: the reseller row is refused and said
// so; the rows before and after it are still inserted. A second run that
// finds every table and the same rows stays quiet.
TEST_F(RefusedStatements, AnOverLongPasswordIsAnErrorAndASecondRunIsQuiet) {
    FreshDatabase db(*server, "longpw");
    auto settings = db.mySqlSettings();
    settings.AdminPassword = std::string(51, 'p');
    SampleRun first(odbc, settings);

    EXPECT_EQ(performInstallationRun(first.run), RunEnding::Completed);

    const Lines lines = first.stageLines();
    ASSERT_EQ(lines.size(), 5u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[3], "Populating database with initial data...");
    // The driver's text: its own and the server's tags, then the server's words.
    const std::string prefix = "ERROR: Could not insert into the resellers table - [";
    const std::string words = "Data too long for column 'Password' at row 1";
    EXPECT_EQ(lines[4].rfind(prefix, 0), 0u) << lines[4];
    EXPECT_TRUE(lines[4].size() > words.size() &&
                lines[4].compare(lines[4].size() - words.size(), words.size(), words) == 0)
        << lines[4];
    EXPECT_TRUE(first.run.RunError);
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM resellers"), 0);
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM subjects"), 14);

    settings.AdminPassword = "secret";
    for (int run = 0; run < 2; ++run) {
        SampleRun again(odbc, settings);
        EXPECT_EQ(performInstallationRun(again.run), RunEnding::Completed);
        EXPECT_EQ(again.stageLines(),
                  (Lines{"Beginning database initialization...",
                         "Connection to server established.", "Creating tables...",
                         "Populating database with initial data...", "Tessaron database created."}))
            << "run " << run;
        EXPECT_FALSE(again.run.RunError);
    }
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM resellers"), 1);
}

}  // namespace
}  // namespace tessaron
