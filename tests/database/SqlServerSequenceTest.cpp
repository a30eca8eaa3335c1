// The SQL Server sequence against a scripted server: the faults a real SQL
// Server produces (a CREATE for an existing table, an ALTER for constraints
// that exist, a refused insert) are played back here, because the test
// machine has no SQL Server.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "StageTestSupport.h"
#include "database/DatabaseStage.h"

namespace tessaron {
namespace {

using testing::expectedStatements;
using testing::StageRun;

class ScriptedSqlServer : public Database {
public:
    std::set<std::string> tables;               // existing tables
    std::set<std::string> tablesWithDefaults;   // tables whose constraints exist
    std::set<std::string> refusedStatements;    // fail with a driver text
    std::map<std::string, long long> ipCounts;  // address -> rows
    long long adminResellers = 0;               // rows of the administrator's reseller
    bool ipQueryFails = false;

    std::vector<std::string> statements;  // everything executed or queried, in order
    std::vector<std::string> connectionStrings;

    std::unique_ptr<DatabaseConnection> Open(const std::string& connectionString) override {
        connectionStrings.push_back(connectionString);
        return std::make_unique<Connection>(*this);
    }

private:
    static std::string bracketedName(const std::string& statement, const std::string& prefix) {
        std::size_t start = prefix.size();
        return statement.substr(start, statement.find(']', start) - start);
    }

    struct Connection : DatabaseConnection {
        explicit Connection(ScriptedSqlServer& server) : server(server) {}
        ScriptedSqlServer& server;

        void Execute(const std::string& statement) override {
            server.statements.push_back(statement);
            if (server.refusedStatements.count(statement)) {
                throw PlatformError(error_number::kDatabaseFailure,
                                    "[FreeTDS][SQL Server]Statement refused by the script");
            }
            if (statement.rfind("CREATE TABLE [", 0) == 0) {
                std::string name = bracketedName(statement, "CREATE TABLE [");
                if (!server.tables.insert(name).second) {
                    throw PlatformError(error_number::kDatabaseFailure,
                                        "[FreeTDS][SQL Server]There is already an object named '" +
                                            name + "' in the database.");
                }
            } else if (statement.rfind("ALTER TABLE [", 0) == 0) {
                std::string name = bracketedName(statement, "ALTER TABLE [");
                if (!server.tablesWithDefaults.insert(name).second) {
                    throw PlatformError(error_number::kDatabaseFailure,
                                        "[FreeTDS][SQL Server]Column already has a DEFAULT bound "
                                        "to it.");
                }
            }
        }

        long long QueryNumber(const std::string& query, const std::string& column) override {
            server.statements.push_back(query);
            EXPECT_EQ(column, "Total");
            if (server.ipQueryFails) {
                throw PlatformError(error_number::kDatabaseFailure,
                                    "[FreeTDS][SQL Server]Invalid object name 'IPs'.");
            }
            if (query.rfind("SELECT COUNT(*) AS Total FROM resellers WHERE ", 0) == 0) {
                return server.adminResellers;
            }
            const std::string prefix = "SELECT COUNT(*) AS Total FROM IPs WHERE IPAddress = '";
            std::string address = query.substr(prefix.size(), query.size() - prefix.size() - 1);
            return server.ipCounts[address];
        }

        std::string QueryText(const std::string& query, const std::string&) override {
            server.statements.push_back(query);
            throw PlatformError(error_number::kDatabaseFailure, "not expected on SQL Server");
        }
    };
};

const std::string kResellerRow =
    "INSERT INTO resellers VALUES ('WEB01','admin','secret','','Tessaron Admin',"
    "'owner@example.com','','','','','','','','','Free','','','3/7/2004 2:05:09 PM',"
    "'3/7/2004 2:05:09 PM',1,1,'Active','ns1.example.com','192.0.2.53','ns2.example.com',"
    "'192.0.2.54',0,NULL,NULL,'',12,14,16,'Arial','Arial','Arial','black','black','black',"
    "'white','white','white','blue','red','tickets@example.com',1,1,'Coming soon',"
    "'default.htm',0,'',NULL,'original')";
const std::string kIpQuery = "SELECT COUNT(*) AS Total FROM IPs WHERE IPAddress = '192.0.2.10'";
const std::string kResellerQuery =
    "SELECT COUNT(*) AS Total FROM resellers WHERE Username = 'admin' AND Admin = 1";
const std::string kIpRow = "INSERT INTO ips VALUES ('192.0.2.10','10.0.0.10','WEB01','-1','-1')";

SettingsRecord sqlServerSettings() {
    SettingsRecord settings = testing::sampleSettings({testing::kSeedValues});
    settings.MainSQLServerType = "SQL Server";
    settings.MainDatabaseIP = "SQL01";
    settings.MainDatabaseName = "Tessaron";
    settings.MainDatabaseUsername = "sa";
    settings.MainDatabasePassword = "pw";
    return settings;
}

std::vector<std::string> tableNames() {
    std::vector<std::string> names;
    for (const auto& statement : expectedStatements("sqlserver-create.sql")) {
        std::size_t start = std::string("CREATE TABLE [").size();
        names.push_back(statement.substr(start, statement.find(']', start) - start));
    }
    return names;
}

TEST(SqlServerSequence, FirstRunCreatesSeedsAltersAndPopulates) {
    ScriptedSqlServer server;
    StageRun stage(server, sqlServerSettings());
    runDatabaseStage(stage.run);

    EXPECT_EQ(server.connectionStrings,
              std::vector<std::string>{
                  "DRIVER={SQL Server};Server=SQL01;Database=Tessaron;UID=sa;pwd=pw;"});
    EXPECT_EQ(stage.lines(), (std::vector<std::string>{
                                 "Beginning database initialization...",
                                 "Connection to server established.",
                                 "Creating tables...",
                                 "Making necessary modifications...",
                                 "Populating database with initial data..",
                                 "Tessaron database created.",
                             }));
    EXPECT_FALSE(stage.run.RunError);

    // Each table's seed rows come right after its CREATE, before the next one.
    auto creates = expectedStatements("sqlserver-create.sql");
    auto seeds = expectedStatements("sqlserver-seed.sql");
    std::vector<std::string> expected;
    for (const auto& create : creates) {
        expected.push_back(create);
        if (create.rfind("CREATE TABLE [AccountTypes]", 0) == 0) expected.push_back(seeds[0]);
        if (create.rfind("CREATE TABLE [Version]", 0) == 0) expected.push_back(seeds[1]);
        if (create.rfind("CREATE TABLE [Subjects]", 0) == 0) {
            expected.insert(expected.end(), seeds.begin() + 2, seeds.end());
        }
    }
    auto alters = expectedStatements("sqlserver-alter.sql");
    expected.insert(expected.end(), alters.begin(), alters.end());
    expected.insert(expected.end(), {kIpQuery, kIpRow, kResellerQuery, kResellerRow});
    EXPECT_EQ(server.statements, expected);
}

TEST(SqlServerSequence, SecondRunReportsEveryTableAndAddsNothing) {
    ScriptedSqlServer server;
    for (const auto& name : tableNames()) {
        server.tables.insert(name);
        server.tablesWithDefaults.insert(name);
    }
    server.ipCounts["192.0.2.10"] = 1;
    server.adminResellers = 1;
    StageRun stage(server, sqlServerSettings());
    runDatabaseStage(stage.run);

    std::vector<std::string> expectedLines = {"Beginning database initialization...",
                                              "Connection to server established.",
                                              "Creating tables..."};
    for (const auto& name : tableNames()) {
        expectedLines.push_back("Could not add " + name + " table; table may already exist.");
    }
    expectedLines.insert(expectedLines.end(),
                         {"Making necessary modifications...",
                          "Populating database with initial data..", "Tessaron database created."});
    EXPECT_EQ(stage.lines(), expectedLines);
    EXPECT_EQ(expectedLines[3], "Could not add AccountTypes table; table may already exist.");

    // No seed rows, no defaults for tables that had them, no IP row and no
    // second administrator.
    std::vector<std::string> expected = expectedStatements("sqlserver-create.sql");
    expected.insert(expected.end(), {kIpQuery, kResellerQuery});
    EXPECT_EQ(server.statements, expected);
    EXPECT_FALSE(stage.run.RunError);
    EXPECT_FALSE(stage.run.failure.failed());
}

TEST(SqlServerSequence, OnlyTheExistingTablesAreReported) {
    ScriptedSqlServer server;
    server.tables = {"Accounts", "Version"};
    StageRun stage(server, sqlServerSettings());
    runDatabaseStage(stage.run);

    auto lines = stage.lines();
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[3], "Could not add Accounts table; table may already exist.");
    EXPECT_EQ(lines[4], "Could not add Version table; table may already exist.");
    // The version row belongs to the CREATE that failed, so it is not inserted.
    for (const auto& statement : server.statements) {
        EXPECT_NE(statement, "INSERT INTO Version VALUES ('1.0')");
    }
    EXPECT_EQ(std::count(server.statements.begin(), server.statements.end(),
                         "INSERT INTO subjects VALUES ('GENERAL','General')"),
              1);
}

// A refused seed insert is an ERROR line with the driver's text, never the
// next table's "Could not add" line; the stage does not call the database
// created.
TEST(SqlServerSequence, AFailedSeedInsertIsAnErrorNeverTheNextTablesFailure) {
    ScriptedSqlServer server;
    auto seeds = expectedStatements("sqlserver-seed.sql");
    server.refusedStatements = {seeds[0], seeds[1],
                                seeds.back()};  // accounttypes, version, last subject
    StageRun stage(server, sqlServerSettings());
    runDatabaseStage(stage.run);

    const std::string refused = " - [FreeTDS][SQL Server]Statement refused by the script";
    EXPECT_EQ(
        stage.lines(),
        (std::vector<std::string>{
            "Beginning database initialization...", "Connection to server established.",
            "Creating tables...", "ERROR: Could not insert into the accounttypes table" + refused,
            "ERROR: Could not insert into the Version table" + refused,
            "ERROR: Could not insert into the subjects table" + refused,
            "Making necessary modifications...", "Populating database with initial data.."}));
    EXPECT_EQ(server.tables.size(), 18u);
    EXPECT_TRUE(stage.run.RunError);
    EXPECT_FALSE(stage.run.failure.failed());
}

TEST(SqlServerSequence, AFailedIpQueryInsertsTheRowAsIfNoneExisted) {
    ScriptedSqlServer server;
    server.ipQueryFails = true;
    server.refusedStatements = {kResellerRow};
    StageRun stage(server, sqlServerSettings());
    runDatabaseStage(stage.run);

    ASSERT_GE(server.statements.size(), 4u);
    auto tail = std::vector<std::string>(server.statements.end() - 4, server.statements.end());
    EXPECT_EQ(tail, (std::vector<std::string>{kIpQuery, kIpRow, kResellerQuery, kResellerRow}));
    EXPECT_EQ(stage.lines().back(),
              "ERROR: Could not insert into the resellers table - [FreeTDS][SQL Server]Statement "
              "refused by the script");
    EXPECT_TRUE(stage.run.RunError);
}

TEST(SqlServerSequence, AQuoteInASettingIsDoubledNotInjected) {
    ScriptedSqlServer server;
    SettingsRecord settings = sqlServerSettings();
    settings.ServerName = "O'Brien";
    settings.InternalIP = "C:\\temp\\new";
    StageRun stage(server, settings);
    runDatabaseStage(stage.run);

    EXPECT_NE(
        std::find(server.statements.begin(), server.statements.end(),
                  "INSERT INTO ips VALUES ('192.0.2.10','C:\\temp\\new','O''Brien','-1','-1')"),
        server.statements.end());
}

}  // namespace
}  // namespace tessaron
