#include <gtest/gtest.h>

#include <ctime>

#include "StageTestSupport.h"
#include "database/ConnectionString.h"
#include "database/InitialRows.h"
#include "database/SqlLiteral.h"

namespace tessaron {
namespace {

SettingsRecord databaseSettings(const std::string& type, const std::string& login,
                                const std::string& password) {
    SettingsRecord settings;
    settings.MainSQLServerType = type;
    settings.MainDatabaseIP = "db.example.com;Port=3307";
    settings.MainDatabaseName = "panel";
    settings.MainDatabaseUsername = login;
    settings.MainDatabasePassword = password;
    return settings;
}

TEST(ConnectionString, DriverByServerTypeAndBracedCredentials) {
    struct Case {
        std::string type, login, password, expected;
    };
    const Case cases[] = {
        {"SQL Server", "sa", "pw",
         "DRIVER={SQL Server};Server=db.example.com;Port=3307;Database=panel;UID=sa;pwd=pw;"},
        {"MySQL", "root", "pw",
         "DRIVER={MySQL ODBC 3.51 Driver};Server=db.example.com;Port=3307;Database=panel;"
         "UID=root;pwd=pw;"},
        // Any other type, even one differing only in case, names no driver.
        {"mysql", "root", "pw", "Server=db.example.com;Port=3307;Database=panel;UID=root;pwd=pw;"},
        {"", "root", "pw", "Server=db.example.com;Port=3307;Database=panel;UID=root;pwd=pw;"},
        {"MySQL", "o;dd", "a;b}c",
         "DRIVER={MySQL ODBC 3.51 Driver};Server=db.example.com;Port=3307;Database=panel;"
         "UID={o;dd};pwd={a;b}}c};"},
        {"MySQL", "u", "{x}",
         "DRIVER={MySQL ODBC 3.51 Driver};Server=db.example.com;Port=3307;Database=panel;"
         "UID=u;pwd={{x}}};"},
        // Other characters, blanks and "=" included, stay as typed.
        {"MySQL", "u", " p=w ",
         "DRIVER={MySQL ODBC 3.51 Driver};Server=db.example.com;Port=3307;Database=panel;"
         "UID=u;pwd= p=w ;"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(buildConnectionString(databaseSettings(c.type, c.login, c.password)), c.expected);
    }
}

TEST(SqlLiteral, DoublesQuotesAndBackslashesOnlyWhereTheServerEscapes) {
    const LiteralStyle sqlServer{.backslashEscapes = false};
    const LiteralStyle mysql{.backslashEscapes = true};
    EXPECT_EQ(quotedLiteral("O'Brien", sqlServer), "'O''Brien'");
    EXPECT_EQ(quotedLiteral("O'Brien", mysql), "'O''Brien'");
    EXPECT_EQ(quotedLiteral("C:\\temp\\new", sqlServer), "'C:\\temp\\new'");
    EXPECT_EQ(quotedLiteral("C:\\temp\\new", mysql), "'C:\\\\temp\\\\new'");
    EXPECT_EQ(quotedLiteral("'); DROP TABLE ips; --", mysql), "'''); DROP TABLE ips; --'");
    EXPECT_EQ(quotedLiteral("end\\", mysql), "'end\\\\'");

    EXPECT_TRUE(sqlModeDisablesBackslashEscapes("STRICT_TRANS_TABLES,NO_BACKSLASH_ESCAPES"));
    EXPECT_TRUE(sqlModeDisablesBackslashEscapes("NO_BACKSLASH_ESCAPES"));
    EXPECT_FALSE(sqlModeDisablesBackslashEscapes(
        "STRICT_TRANS_TABLES,ERROR_FOR_DIVISION_BY_ZERO,NO_AUTO_CREATE_USER"));
    EXPECT_FALSE(sqlModeDisablesBackslashEscapes(""));
}

std::tm at(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    return local;
}

TEST(Timestamps, UnitedStatesFormForSqlServerAndNoLeadingZerosForMySql) {
    struct Case {
        std::tm time;
        std::string sqlServer, mysql;
    };
    const Case cases[] = {
        {at(2004, 3, 7, 14, 5, 9), "3/7/2004 2:05:09 PM", "2004-3-7 14:5:00"},
        {at(2004, 12, 31, 0, 0, 0), "12/31/2004 12:00:00 AM", "2004-12-31 0:0:00"},
        {at(2010, 1, 2, 12, 30, 59), "1/2/2010 12:30:59 PM", "2010-1-2 12:30:00"},
        {at(1999, 10, 10, 9, 59, 5), "10/10/1999 9:59:05 AM", "1999-10-10 9:59:00"},
        {at(2024, 6, 1, 23, 1, 1), "6/1/2024 11:01:01 PM", "2024-6-1 23:1:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(sqlServerTimestamp(c.time), c.sqlServer);
        EXPECT_EQ(mySqlTimestamp(c.time), c.mysql);
    }
}

TEST(InitialRows, IpQueryNamesTheTableAsEachDialectCreatedIt) {
    SettingsRecord settings = testing::sampleSettings({testing::kSeedValues});
    EXPECT_EQ(ipCountQuery(SqlDialect::SqlServer, settings, {}),
              "SELECT COUNT(*) AS Total FROM IPs WHERE IPAddress = '192.0.2.10'");
    EXPECT_EQ(ipCountQuery(SqlDialect::MySql, settings, {.backslashEscapes = true}),
              "SELECT COUNT(*) AS Total FROM ips WHERE IPAddress = '192.0.2.10'");
    EXPECT_EQ(ipInsertStatement(settings, {}),
              "INSERT INTO ips VALUES ('192.0.2.10','10.0.0.10','WEB01','-1','-1')");
}

TEST(InitialRows, ResellerRowInBothDialects) {
    SettingsRecord settings = testing::sampleSettings({testing::kSeedValues});
    EXPECT_EQ(
        resellerInsertStatement(SqlDialect::SqlServer, settings, "3/7/2004 2:05:09 PM", {}),
        "INSERT INTO resellers VALUES ('WEB01','admin','secret','','Tessaron Admin',"
        "'owner@example.com','','','','','','','','','Free','','','3/7/2004 2:05:09 PM',"
        "'3/7/2004 2:05:09 PM',1,1,'Active','ns1.example.com','192.0.2.53','ns2.example.com',"
        "'192.0.2.54',0,NULL,NULL,'',12,14,16,'Arial','Arial','Arial','black','black','black',"
        "'white','white','white','blue','red','tickets@example.com',1,1,'Coming soon',"
        "'default.htm',0,'',NULL,'original')");
    EXPECT_EQ(
        resellerInsertStatement(SqlDialect::MySql, settings, "2004-3-7 14:5:00",
                                {.backslashEscapes = true}),
        "INSERT INTO resellers VALUES ('1', 'WEB01', 'admin', 'secret', '', 'Tessaron Admin', "
        "'owner@example.com', '', '', '', '', '', '', '', '', 'Free', '', '', "
        "'2004-3-7 14:5:00', '2004-3-7 14:5:00', 1, 1, 'Active', 'ns1.example.com', "
        "'192.0.2.53', 'ns2.example.com', '192.0.2.54', 0, NULL, NULL, '', 12, 14, 16, "
        "'Arial', 'Arial', 'Arial', 'black', 'black', 'black', 'white', 'white', 'white', "
        "'blue', 'red', 'tickets@example.com', 1, 1, '', 'default.htm', 0, '', NULL, "
        "'original')");
}

}  // namespace
}  // namespace tessaron
