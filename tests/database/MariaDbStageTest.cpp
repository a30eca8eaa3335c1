// The MySQL sequence against the real MariaDB server through the real ODBC
// driver manager and MariaDB Connector/ODBC.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>

#include "MariaDbSupport.h"
#include "StageTestSupport.h"
#include "database/DatabaseStage.h"

namespace tessaron {
namespace {

using testing::expectedStatements;
using testing::FreshDatabase;
using testing::StageRun;
using testing::TestServer;

class MariaDbStage : public ::testing::Test {
protected:
    void SetUp() override {
        server = TestServer::fromEnvironment();
        if (!server) GTEST_SKIP() << testing::kNoTestServer;
    }
    std::optional<TestServer> server;
    OdbcDatabase odbc;
};

const std::vector<std::string> kMySqlRunLines = {
    "Beginning database initialization...",
    "Connection to server established.",
    "Creating tables...",
    "Populating database with initial data...",
    "Tessaron database created.",
};

std::vector<std::string> split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + separator.size();
    }
}

// What information_schema should say about each column of the fixture's
// CREATE statements: "table column type nullable default extra key", the
// default as the server shows it (numbers bare, texts quoted, "NULL" for a
// nullable column without one, "-" for none), tables in name order.
std::string expectedColumns() {
    std::map<std::string, std::vector<std::string>> tables;
    for (const auto& statement : expectedStatements("mysql-create.sql")) {
        std::size_t open = statement.find(" (");
        std::string table = statement.substr(13, open - 13);
        std::string body = statement.substr(open + 2, statement.rfind(")") - open - 2);
        std::string primaryKey;
        std::size_t key = body.find(", PRIMARY KEY(");
        if (key != std::string::npos) {
            primaryKey = body.substr(key + 14, body.size() - key - 15);
            body = body.substr(0, key);
        }
        for (const auto& definition : split(body, ", ")) {
            auto words = split(definition, " ");
            std::string name = words[0], type = words[1];
            std::string rest =
                definition.substr(std::min(definition.size(), name.size() + type.size() + 2));
            bool notNull = rest.rfind("NOT NULL", 0) == 0;
            std::string fallback;
            std::string extra;
            if (rest.find("auto_increment") != std::string::npos) {
                fallback = "-";
                extra = "auto_increment";
            } else if (rest.find("default '") != std::string::npos) {
                std::string value = rest.substr(rest.find("default '") + 8);
                bool numeric = type.rfind("int", 0) == 0;
                fallback = numeric ? value.substr(1, value.size() - 2) : value;
            } else {
                fallback = "NULL";
            }
            tables[table].push_back(table + " " + name + " " + type + " " +
                                    (notNull ? "NO" : "YES") + " " + fallback + " " + extra + " " +
                                    (name == primaryKey ? "PRI" : ""));
        }
    }
    std::string all;
    for (const auto& [table, columns] : tables) {
        for (const auto& column : columns) all += (all.empty() ? "" : ";") + column;
    }
    return all;
}

const char* kColumnsQuery =
    "SELECT GROUP_CONCAT(CONCAT_WS(' ', TABLE_NAME, COLUMN_NAME, COLUMN_TYPE, IS_NULLABLE, "
    "IFNULL(COLUMN_DEFAULT, '-'), EXTRA, COLUMN_KEY) ORDER BY TABLE_NAME, ORDINAL_POSITION "
    "SEPARATOR ';') AS C FROM information_schema.COLUMNS WHERE TABLE_SCHEMA = DATABASE()";

const char* kResellerQuery =
    "SELECT CONCAT_WS('|', ResellerID, ServerName, Username, Password, CompanyName, ContactName, "
    "ContactEmail, StreetAddress1, ChargeType, DateEntered, DateRenewed, AccountType, Duration, "
    "Status, PrimaryDNS, PrimaryDNSIP, SecondaryDNS, SecondaryDNSIP, LogoImageUsed, "
    "ISNULL(LogoImage1), ISNULL(LogoImage2), FontSize1, FontSize2, FontSize3, FontName3, "
    "FontColor3, BGColor3, LinkColor, LinkRollover, TroubleTicketEmail, EmailTroubleTickets, "
    "Admin, CONCAT('[', DefaultPage, ']'), DefaultPageName, SetupDefaultPage, "
    "ISNULL(LastLoggedInDate), PanelStyle) AS C FROM resellers";

const char* kSubjectsQuery =
    "SELECT GROUP_CONCAT(CONCAT(ShortType, '=', Type) SEPARATOR ',') AS C FROM subjects";
const char* kFourteenSubjects =
    "GENERAL=General,DNS=DNS,FTP=FTP,FRONTP=FrontPage,EMAIL=E-Mail,"
    "DATABASE=SQL Server/Databases,SECURE=Secure Server,SUPPORT=Support Site,STATS=Statistics,"
    "WEBSITE=Website Viewing,PERM=Permissions,ASP=ASP,OTHER=Other,BILLING=Billing";

TEST_F(MariaDbStage, FirstRunCreatesEveryTableAndTheInitialRows) {
    FreshDatabase db(*server, "first");
    StageRun stage(odbc, db.mySqlSettings());
    runDatabaseStage(stage.run);

    EXPECT_EQ(stage.lines(), kMySqlRunLines);
    EXPECT_FALSE(stage.run.RunError);

    EXPECT_EQ(db.text("SELECT CONCAT(COUNT(*), ' ', GROUP_CONCAT(DISTINCT ENGINE)) AS C FROM "
                      "information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE()"),
              "18 MyISAM");
    EXPECT_EQ(split(db.text(kColumnsQuery), ";"), split(expectedColumns(), ";"));

    EXPECT_EQ(db.text("SELECT CONCAT_WS(',', AccountType, AccountTypeClass, Description, Price_1, "
                      "Price_6, Price_12, DiskSpace, Bandwidth, Accounts, IPsAllowed, Active) AS C "
                      "FROM accounttypes"),
              "1,1,Admin,0,0,0,1048576,6000,6000,2,1");
    EXPECT_EQ(db.text(kSubjectsQuery), kFourteenSubjects);
    EXPECT_EQ(db.text("SELECT GROUP_CONCAT(VersionNumber) AS C FROM version"), "1.0");
    EXPECT_EQ(db.text("SELECT GROUP_CONCAT(CONCAT_WS('|', IPAddress, InternalIPAddress, "
                      "ServerName, Used, ResellerID)) AS C FROM ips"),
              "192.0.2.10|10.0.0.10|WEB01|-1|-1");
    EXPECT_EQ(db.text(kResellerQuery),
              "1|WEB01|admin|secret||Tessaron Admin|owner@example.com||Free|"
              "2004-03-07 14:05:00|2004-03-07 14:05:00|1|1|Active|ns1.example.com|192.0.2.53|"
              "ns2.example.com|192.0.2.54|0|1|1|12|14|16|Arial|black|white|blue|red|"
              "tickets@example.com|1|1|[]|default.htm|0|1|original");
}

TEST_F(MariaDbStage, SecondAndThirdRunsAddNoRow) {
    FreshDatabase db(*server, "second");
    for (int run = 1; run <= 3; ++run) {
        StageRun stage(odbc, db.mySqlSettings());
        runDatabaseStage(stage.run);
        EXPECT_EQ(stage.lines(), kMySqlRunLines) << "run " << run;
        EXPECT_FALSE(stage.run.RunError);
    }
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM accounttypes"), 1);
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM subjects"), 14);
    EXPECT_EQ(db.number("SELECT COUNT(DISTINCT ShortType) AS C FROM subjects"), 14);
    EXPECT_EQ(db.text("SELECT GROUP_CONCAT(VersionNumber) AS C FROM version"), "1.0");
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM ips"), 1);
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM resellers"), 1);
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM information_schema.TABLES WHERE "
                        "TABLE_SCHEMA = DATABASE()"),
              18);
}

TEST_F(MariaDbStage, AResellerRowRefusedByItsKeyIsReported) {
    // Another administrator's name finds no row of its own, and the fixed
    // ResellerID 1 of the first one refuses the insert.
    FreshDatabase db(*server, "otheradmin");
    StageRun first(odbc, db.mySqlSettings());
    runDatabaseStage(first.run);
    SettingsRecord other = db.mySqlSettings();
    other.AdminUsername = "second";
    StageRun stage(odbc, other);
    runDatabaseStage(stage.run);

    const auto lines = stage.lines();
    const auto warning = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.rfind("WARNING: ", 0) == 0;
    });
    ASSERT_NE(warning, lines.end());
    EXPECT_EQ(warning->rfind("WARNING: Could not insert into the resellers table, a row with the "
                             "same key exists - ",
                             0),
              0u)
        << *warning;
    EXPECT_NE(warning->find("Duplicate entry"), std::string::npos) << *warning;
    EXPECT_FALSE(stage.run.RunError);
    EXPECT_EQ(lines.back(), "Tessaron database created.");
    EXPECT_EQ(db.text("SELECT GROUP_CONCAT(Username) AS C FROM resellers"), "admin");
}

TEST_F(MariaDbStage, AnAddressListedAlreadyIsNotAddedAgain) {
    // The check compares the address alone: another internal address or
    // server name on the row still counts as present.
    FreshDatabase db(*server, "iplisted");
    db.admin().Execute(
        "CREATE TABLE ips (IPAddress varchar(15), InternalIPAddress varchar(15), "
        "ServerName varchar(50), Used int(11), ResellerID int(11)) ENGINE=MyISAM");
    db.admin().Execute("INSERT INTO ips VALUES ('192.0.2.10', '10.9.9.9', 'OTHER', 0, 0)");
    StageRun stage(odbc, db.mySqlSettings());
    runDatabaseStage(stage.run);
    EXPECT_EQ(stage.lines(), kMySqlRunLines);
    EXPECT_EQ(db.text("SELECT GROUP_CONCAT(CONCAT_WS('|', IPAddress, InternalIPAddress, "
                      "ServerName)) AS C FROM ips"),
              "192.0.2.10|10.9.9.9|OTHER");
}

TEST_F(MariaDbStage, HostileValuesArriveByteForByte) {
    FreshDatabase db(*server, "hostile");
    SettingsRecord settings = db.mySqlSettings();
    settings.ServerIP = "10.0.0.1\\'x";  // a backslash before a quote
    settings.InternalIP = "C:\\temp\\new";
    settings.ServerName = "O'Brien";
    settings.AdminUsername = "C:\\temp\\new";
    settings.AdminPassword = "'); DROP TABLE ips; --";
    settings.MainContactEmail = "a\\";  // a backslash at the very end
    for (int run = 1; run <= 2; ++run) {
        StageRun stage(odbc, settings);
        runDatabaseStage(stage.run);
        EXPECT_EQ(stage.lines(), kMySqlRunLines);
    }
    EXPECT_EQ(db.text("SELECT GROUP_CONCAT(CONCAT_WS('|', IPAddress, InternalIPAddress, "
                      "ServerName)) AS C FROM ips"),
              "10.0.0.1\\'x|C:\\temp\\new|O'Brien");
    EXPECT_EQ(db.text("SELECT CONCAT_WS('|', ServerName, Username, Password, ContactEmail) AS C "
                      "FROM resellers"),
              "O'Brien|C:\\temp\\new|'); DROP TABLE ips; --|a\\");
}

TEST_F(MariaDbStage, NoBackslashEscapesModeKeepsBackslashesSingle) {
    FreshDatabase db(*server, "nobackslash");
    SettingsRecord settings = db.mySqlSettings();
    // A driver option after the address starts the session without backslash
    // escapes, as a server configured so would.
    settings.MainDatabaseIP += ";INITSTMT=SET SESSION sql_mode='NO_BACKSLASH_ESCAPES'";
    settings.ServerName = "C:\\temp\\new";
    settings.AdminPassword = "it's";
    auto probe = odbc.Open(server->connectionString(db.name()) +
                           "INITSTMT=SET SESSION sql_mode='NO_BACKSLASH_ESCAPES';");
    ASSERT_EQ(probe->QueryText("SELECT @@SESSION.sql_mode AS M", "M"), "NO_BACKSLASH_ESCAPES");
    StageRun stage(odbc, settings);
    runDatabaseStage(stage.run);
    EXPECT_EQ(stage.lines(), kMySqlRunLines);
    EXPECT_EQ(db.text("SELECT ServerName AS C FROM ips"), "C:\\temp\\new");
    EXPECT_EQ(db.text("SELECT CONCAT_WS('|', ServerName, Password) AS C FROM resellers"),
              "C:\\temp\\new|it's");
}

TEST_F(MariaDbStage, PasswordWithSemicolonAndBraceConnects) {
    FreshDatabase db(*server, "quoting");
    const std::string login = "t;q{" + std::to_string(getpid()) + "}";
    for (const char* host : {"%", "localhost"}) {
        db.admin().Execute("CREATE USER '" + login + "'@'" + host + "' IDENTIFIED BY 'a;b}c'");
        db.admin().Execute("GRANT ALL ON `" + db.name() + "`.* TO '" + login + "'@'" + host + "'");
    }
    SettingsRecord settings = db.mySqlSettings();
    settings.MainDatabaseUsername = login;
    settings.MainDatabasePassword = "a;b}c";
    StageRun stage(odbc, settings);
    runDatabaseStage(stage.run);
    for (const char* host : {"%", "localhost"}) {
        db.admin().Execute("DROP USER '" + login + "'@'" + host + "'");
    }
    EXPECT_EQ(stage.lines(), kMySqlRunLines);
    EXPECT_EQ(db.number("SELECT COUNT(*) AS C FROM resellers"), 1);
}

}  // namespace
}  // namespace tessaron
