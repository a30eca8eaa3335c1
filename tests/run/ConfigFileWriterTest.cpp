#include "run/ConfigFileWriter.h"

#include <gtest/gtest.h>

#include <ostream>

#include <filesystem>

#include "RunMachine.h"
#include "settings/ConfigFileBody.h"

namespace tessaron::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kConfig = "C:\\Tessaron\\panel\\config.inc";
const std::string kFormerBytes = "ServerName = \"OLD\"\r\nCustomerPort = 2100\r\n";

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(bytes.substr(start) + "<no CR LF>");
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Names in the panel folder other than config.inc (left-over temporary files).
std::vector<std::string> strayFiles(const TempMachine& machine) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(machine.host("C:\\Tessaron\\panel"))) {
        if (entry.path().filename() != "config.inc") names.push_back(entry.path().filename().string());
    }
    return names;
}

const std::vector<std::string> kWritten = {"Writing configuration file...",
                                           "Configuration file written."};
const std::vector<std::string> kOpenFailed = {"Writing configuration file...",
                                              "Could not open configuration file for overwriting.",
                                              "Could not write to configuration file."};
const std::vector<std::string> kWriteFailed = {"Writing configuration file...",
                                               "Could not write to configuration file."};

TEST(ConfigFileWriter, WritesTheBodyInTheCodePageWithCrLfAfterEveryLine) {
    TempMachine machine;
    writeSmallServer(machine);
    RunFixture fixture(machine);
    fixture.settings.ControlPanelTitle = "Caf\xC3\xA9 \xE2\x82\xAC Panel";  // é and the euro sign
    fixture.run.now = [] { return std::chrono::system_clock::from_time_t(1700000000); };

    ConfigFileWriter(fixture.run);

    EXPECT_EQ(fixture.log.entries(), kWritten);
    EXPECT_FALSE(fixture.run.RunError);
    const std::string bytes = machine.readFile(kConfig);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    const auto lines = splitLines(bytes);
    ASSERT_EQ(lines.size(), 69u);
    EXPECT_EQ(lines[0], "' Tessaron Configuration File For: WEB01");
    EXPECT_EQ(lines[1], "' Creation Date: " +
                            ShortDateText(std::chrono::system_clock::from_time_t(1700000000)));
    EXPECT_EQ(lines[7], "ControlPanelTitle = \"Caf\xE9 \x80 Panel\"");
    EXPECT_EQ(lines[21],
              "FrontPage2002Path = \"C:\\Program Files\\Common Files\\Microsoft Shared\\Web Server "
              "Extensions\\50\\bin\\owsadm.exe\"");
    EXPECT_EQ(lines[22], "TempFolder = \"C:\\WINDOWS\\Temp\"");
    EXPECT_EQ(lines[68], "FTPServerEnabled = False");
    EXPECT_TRUE(strayFiles(machine).empty());
}

TEST(ConfigFileWriter, ReplacesTheFormerFileWhole) {
    TempMachine machine;
    writeSmallServer(machine);
    machine.writeFile(kConfig, std::string(5000, 'x') + "\r\n");
    RunFixture fixture(machine);

    ConfigFileWriter(fixture.run);

    EXPECT_EQ(fixture.log.entries(), kWritten);
    const auto lines = splitLines(machine.readFile(kConfig));
    ASSERT_EQ(lines.size(), 69u);
    EXPECT_EQ(lines[3], "ServerName = \"WEB01\"");
    EXPECT_TRUE(strayFiles(machine).empty());
}

struct FailureCase {
    const char* what;
    void (*prepare)(const TempMachine&, SettingsRecord&);
    std::vector<std::string> log;
    bool tempFolderKnown = true;
};

// Names the case in test output.
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.what; }

class ConfigFileWriterFailure : public ::testing::TestWithParam<FailureCase> {};

// Whatever fails, the former configuration keeps every byte, no temporary
// file is left beside it and RunError is set.
TEST_P(ConfigFileWriterFailure, KeepsTheFormerFileAndSetsRunError) {
    if (std::string(GetParam().what) == "panel folder read-only" &&
        !TempMachine::foldersCanBeReadOnly()) {
        GTEST_SKIP() << "folders cannot be read-only here";
    }
    TempMachine machine;
    writeSmallServer(machine, {.tempValue = GetParam().tempFolderKnown});
    machine.writeFile(kConfig, kFormerBytes);
    RunFixture fixture(machine);
    GetParam().prepare(machine, fixture.settings);

    ConfigFileWriter(fixture.run);

    machine.setReadOnly("C:\\Tessaron\\panel", false);
    machine.setReadOnly(kConfig, false);
    EXPECT_EQ(fixture.log.entries(), GetParam().log);
    EXPECT_TRUE(fixture.run.RunError);
    EXPECT_EQ(machine.readFile(kConfig), kFormerBytes);
    EXPECT_TRUE(strayFiles(machine).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConfigFileWriterFailure,
    ::testing::Values(
        FailureCase{"panel folder read-only",
                    [](const TempMachine& m, SettingsRecord&) {
                        m.setReadOnly("C:\\Tessaron\\panel", true);
                    },
                    kOpenFailed},
        FailureCase{"config.inc read-only",
                    [](const TempMachine& m, SettingsRecord&) { m.setReadOnly(kConfig, true); },
                    kOpenFailed},
        FailureCase{"value outside the code page",
                    [](const TempMachine&, SettingsRecord& s) {
                        s.MainCompanyName = "\xCE\xA9mega Hosting";  // Greek capital omega
                    },
                    kWriteFailed},
        FailureCase{"temp folder unknown", [](const TempMachine&, SettingsRecord&) {},
                    kWriteFailed, false}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (auto& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

TEST(ConfigFileWriter, MissingPanelFolderGivesBothFailureLines) {
    TempMachine machine;
    writeSmallServer(machine);
    fs::remove_all(machine.host("C:\\Tessaron\\panel"));
    RunFixture fixture(machine);

    ConfigFileWriter(fixture.run);

    EXPECT_EQ(fixture.log.entries(), kOpenFailed);
    EXPECT_TRUE(fixture.run.RunError);
    EXPECT_FALSE(fs::exists(machine.host("C:\\Tessaron\\panel")));
}

TEST(ConfigFileWriter, ALineBreakInAValueInjectsNoLine) {
    TempMachine machine;
    writeSmallServer(machine);
    RunFixture fixture(machine);
    fixture.settings.AdminPassword = "pw\r\nMainDatabaseIP = \"evil\"";
    fixture.settings.ServerName = "WEB\n01";

    ConfigFileWriter(fixture.run);

    EXPECT_EQ(fixture.log.entries(), kWritten);
    const auto lines = splitLines(machine.readFile(kConfig));
    ASSERT_EQ(lines.size(), 69u);
    EXPECT_EQ(lines[0], "' Tessaron Configuration File For: WEB01");
    EXPECT_EQ(lines[18], "AdminPassword = \"pwMainDatabaseIP = \"\"evil\"\"\"");
}

}  // namespace
}  // namespace tessaron::testing
