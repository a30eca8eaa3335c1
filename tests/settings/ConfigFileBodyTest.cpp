#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "settings/ConfigFileBody.h"
#include "support/LocalTime.h"

namespace tessaron {
namespace {

using testing::localTime;

// The line of the body table whose key column is key.
std::optional<std::string> lineFor(const ConfigFileSources& sources, const std::string& key) {
    for (const auto& line : configKeys()) {
        if (line.name == key) return configFileLineText(line, sources);
    }
    ADD_FAILURE() << "no body line " << key;
    return std::nullopt;
}

struct Sample {
    SettingsRecord settings;
    ConfigFileSources sources{settings, "C:\\Program Files", std::string("C:\\WINDOWS\\Temp"),
                              "3/7/2024"};
};

struct LineCase {
    const char* what;
    void (*set)(SettingsRecord&);
    const char* key;
    const char* expected;
};

// Names the case in test output.
void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.what;
}

class BodyLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(BodyLineTest, WritesTheLineInItsForm) {
    Sample sample;
    GetParam().set(sample.settings);
    EXPECT_EQ(lineFor(sample.sources, GetParam().key), std::string(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, BodyLineTest,
    ::testing::Values(
        LineCase{
            "header is not converted", [](SettingsRecord& s) { s.ServerName = "web/01\"a"; },
            "' Tessaron Configuration File For: ", "' Tessaron Configuration File For: web/01\"a"},
        LineCase{"ServerName line is converted",
                 [](SettingsRecord& s) { s.ServerName = "web/01\"a"; }, "ServerName",
                 "ServerName = \"web\\01\"\"a\""},
        LineCase{"creation date", [](SettingsRecord&) {},
                 "' Creation Date: ", "' Creation Date: 3/7/2024"},
        LineCase{"port is bare", [](SettingsRecord& s) { s.CustomerPort = "2100"; }, "CustomerPort",
                 "CustomerPort = 2100"},
        LineCase{"quoted switch", [](SettingsRecord& s) { s.OversellAllowed = "False"; },
                 "OversellAllowed", "OversellAllowed = \"False\""},
        LineCase{"bare switch", [](SettingsRecord& s) { s.EnableStatistics = "True"; },
                 "EnableStatistics", "EnableStatistics = True"},
        LineCase{"bare values are converted too",
                 [](SettingsRecord& s) { s.ResellerPort = "21/01"; }, "ResellerPort",
                 "ResellerPort = 21\\01"},
        LineCase{"raw bare", [](SettingsRecord& s) { s.FTPServerEnabled = "a//b\"c"; },
                 "FTPServerEnabled", "FTPServerEnabled = a//b\"c"},
        LineCase{"empty field", [](SettingsRecord& s) { s.StatisticsType = ""; }, "StatisticsType",
                 "StatisticsType = \"\""},
        LineCase{"empty bare field", [](SettingsRecord& s) { s.MSSQLActive = ""; }, "MSSQLActive",
                 "MSSQLActive = "},
        LineCase{"tickets always shown", [](SettingsRecord&) {}, "ShowAllServerTickets",
                 "ShowAllServerTickets = \"True\""},
        LineCase{"notices always shown", [](SettingsRecord&) {}, "ShowAllServerNotices",
                 "ShowAllServerNotices = \"True\""},
        LineCase{"accounts root gains its backslash",
                 [](SettingsRecord& s) { s.ServerRoot = "C:\\Accounts"; }, "ServerRoot",
                 "ServerRoot = \"C:\\Accounts\\\""},
        LineCase{"accounts root keeps one backslash",
                 [](SettingsRecord& s) { s.ServerRoot = "C:\\Accounts\\"; }, "ServerRoot",
                 "ServerRoot = \"C:\\Accounts\\\""},
        LineCase{"log root gains its backslash",
                 [](SettingsRecord& s) { s.LogRoot = "C:\\WINDOWS\\system32\\LogFiles"; },
                 "LogRoot", "LogRoot = \"C:\\WINDOWS\\system32\\LogFiles\\\""},
        LineCase{"log root keeps one backslash",
                 [](SettingsRecord& s) { s.LogRoot = "D:\\Logs\\\\"; }, "LogRoot",
                 "LogRoot = \"D:\\Logs\\\""},
        LineCase{"empty log root", [](SettingsRecord& s) { s.LogRoot = ""; }, "LogRoot",
                 "LogRoot = \"\\\""},
        LineCase{"panel root", [](SettingsRecord& s) { s.InstallDir = "C:\\Tessaron"; },
                 "PanelRoot", "PanelRoot = \"C:\\Tessaron\\panel\\\""},
        LineCase{"FrontPage tool", [](SettingsRecord&) {}, "FrontPage2002Path",
                 "FrontPage2002Path = \"C:\\Program Files\\Common Files\\Microsoft "
                 "Shared\\Web Server Extensions\\50\\bin\\owsadm.exe\""},
        LineCase{"temp folder", [](SettingsRecord&) {}, "TempFolder",
                 "TempFolder = \"C:\\WINDOWS\\Temp\""},
        LineCase{"webmail address",
                 [](SettingsRecord& s) { s.WebmailURL = "http://mail.example.com/"; }, "WebmailURL",
                 "WebmailURL = \"http:\\mail.example.com\\\""},
        LineCase{"line break removed from a quoted value",
                 [](SettingsRecord& s) { s.AdminPassword = "se\r\ncret\"\nServerIP = \"1.2.3.4"; },
                 "AdminPassword", "AdminPassword = \"secret\"\"ServerIP = \"\"1.2.3.4\""},
        LineCase{"line break removed from a raw value",
                 [](SettingsRecord& s) { s.FTPServerEnabled = "True\r\nX = 1"; },
                 "FTPServerEnabled", "FTPServerEnabled = TrueX = 1"},
        LineCase{"line break removed from the header",
                 [](SettingsRecord& s) { s.ServerName = "WEB\n01"; },
                 "' Tessaron Configuration File For: ", "' Tessaron Configuration File For: WEB01"},
        LineCase{"anonymous account expression", [](SettingsRecord& s) { s.ServerName = "X"; },
                 "AnonUser = ServerName & \"\\IUSR_\" & ServerName",
                 "AnonUser = ServerName & \"\\IUSR_\" & ServerName"}));

TEST(ConfigFileBody, AnonymousAccountLineIsTheFixedExpression) {
    Sample sample;
    const auto lines = configFileBodyLines(sample.sources);
    ASSERT_EQ(lines.size(), 69u);
    ASSERT_TRUE(lines[16]);
    EXPECT_EQ(lines[16]->size(), 45u);
    EXPECT_EQ(*lines[2], "'---");
}

TEST(ConfigFileBody, MissingTempFolderFailsOnlyItsLine) {
    Sample sample;
    sample.sources.tempFolder.reset();
    const auto lines = configFileBodyLines(sample.sources);
    ASSERT_EQ(lines.size(), 69u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].has_value(), i != 22) << "line " << i + 1;
    }
}

TEST(ConfigFileBody, NoValueCanBreakALine) {
    Sample sample;
    for (std::string* field : {&sample.settings.ServerName, &sample.settings.ControlPanelTitle,
                               &sample.settings.CustomerPort, &sample.settings.MySQLDataPath,
                               &sample.settings.FTPServerEnabled}) {
        *field = "a\rb\nc\r\n";
    }
    sample.sources.tempFolder = "C:\\T\r\nEMP";
    for (const auto& line : configFileBodyLines(sample.sources)) {
        ASSERT_TRUE(line);
        EXPECT_EQ(line->find_first_of("\r\n"), std::string::npos) << *line;
    }
}

TEST(ConfigFileBody, CreationDateIsMonthDayYearWithoutLeadingZeros) {
    EXPECT_EQ(shortDateText(localTime(2024, 3, 7, 0)), "3/7/2024");
    EXPECT_EQ(shortDateText(localTime(2023, 12, 25, 23)), "12/25/2023");
    EXPECT_EQ(shortDateText(localTime(2005, 1, 31, 12)), "1/31/2005");
}

}  // namespace
}  // namespace tessaron
