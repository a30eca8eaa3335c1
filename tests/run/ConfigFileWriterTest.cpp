#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "run/ConfigFileWriter.h"
#include "settings/ConfigFileBody.h"
#include "support/FullFileSystem.h"
#include "support/MachineRun.h"

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

// Names in the panel folder other than config.inc (left-over temporary files)
// and the filler of a full file system.
std::vector<std::string> strayFiles(const TestMachine& machine) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(machine.host("C:\\Tessaron\\panel"))) {
        const auto name = entry.path().filename();
        if (name != "config.inc" && name != ".filler") names.push_back(name.string());
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
// A full disk is named after the line, in the system's words.
const std::vector<std::string> kDiskFull = {
    "Writing configuration file...",
    "Could not write to configuration file. - There is not enough space on the disk."};

TEST(ConfigFileWriter, WritesTheBodyInTheCodePageWithCrLfAfterEveryLine) {
    auto machine = TestMachine::smallServer();
    MachineRun fixture(machine);
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
                            shortDateText(std::chrono::system_clock::from_time_t(1700000000)));
    EXPECT_EQ(lines[7], "ControlPanelTitle = \"Caf\xE9 \x80 Panel\"");
    EXPECT_EQ(lines[21],
              "FrontPage2002Path = \"C:\\Program Files\\Common Files\\Microsoft Shared\\Web Server "
              "Extensions\\50\\bin\\owsadm.exe\"");
    EXPECT_EQ(lines[22], "TempFolder = \"C:\\WINDOWS\\Temp\"");
    EXPECT_EQ(lines[68], "FTPServerEnabled = False");
    EXPECT_TRUE(strayFiles(machine).empty());
}

TEST(ConfigFileWriter, ReplacesTheFormerFileWhole) {
    auto machine = TestMachine::smallServer();
    machine.writeFile(kConfig, std::string(5000, 'x') + "\r\n");
    MachineRun fixture(machine);

    ConfigFileWriter(fixture.run);

    EXPECT_EQ(fixture.log.entries(), kWritten);
    const auto lines = splitLines(machine.readFile(kConfig));
    ASSERT_EQ(lines.size(), 69u);
    EXPECT_EQ(lines[3], "ServerName = \"WEB01\"");
    EXPECT_TRUE(strayFiles(machine).empty());
}

struct FailureCase {
    const char* what;
    void (*prepare)(const TestMachine&, SettingsRecord&);
    std::vector<std::string> log;
    bool tempFolderKnown = true;
};

// Names the case in test output.
void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.what;
}

class ConfigFileWriterFailure : public ::testing::TestWithParam<FailureCase> {};

// Whatever fails, the former configuration keeps every byte, no temporary
// file is left beside it and RunError is set.
TEST_P(ConfigFileWriterFailure, KeepsTheFormerFileAndSetsRunError) {
    if (std::string(GetParam().what) == "panel folder read-only" &&
        !TestMachine::foldersCanBeReadOnly()) {
        GTEST_SKIP() << "folders cannot be read-only here";
    }
    auto machine = TestMachine::smallServer({.tempValue = GetParam().tempFolderKnown});
    machine.writeFile(kConfig, kFormerBytes);
    MachineRun fixture(machine);
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
    ::testing::Values(FailureCase{"panel folder and config.inc read-only",
                                  [](const TestMachine& m, SettingsRecord&) {
                                      m.setReadOnly("C:\\Tessaron\\panel", true);
                                      m.setReadOnly(kConfig, true);
                                  },
                                  kOpenFailed},
                      FailureCase{"config.inc read-only",
                                  [](const TestMachine& m, SettingsRecord&) {
                                      m.setReadOnly(kConfig, true);
                                  },
                                  kOpenFailed},
                      FailureCase{"value outside the code page",
                                  [](const TestMachine&, SettingsRecord& s) {
                                      s.MainCompanyName =
                                          "\xCE\xA9mega Hosting";  // Greek capital omega
                                  },
                                  kWriteFailed},
                      FailureCase{"temp folder unknown", [](const TestMachine&, SettingsRecord&) {},
                                  kWriteFailed, false}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (auto& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

TEST(ConfigFileWriter, MissingPanelFolderGivesBothFailureLines) {
    auto machine = TestMachine::smallServer();
    fs::remove_all(machine.host("C:\\Tessaron\\panel"));
    MachineRun fixture(machine);

    ConfigFileWriter(fixture.run);

    EXPECT_EQ(fixture.log.entries(), kOpenFailed);
    EXPECT_TRUE(fixture.run.RunError);
    EXPECT_FALSE(fs::exists(machine.host("C:\\Tessaron\\panel")));
}

TEST(ConfigFileWriter, ALineBreakInAValueInjectsNoLine) {
    auto machine = TestMachine::smallServer();
    MachineRun fixture(machine);
    fixture.settings.AdminPassword = "pw\r\nMainDatabaseIP = \"evil\"";
    fixture.settings.ServerName = "WEB\n01";

    ConfigFileWriter(fixture.run);

    EXPECT_EQ(fixture.log.entries(), kWritten);
    const auto lines = splitLines(machine.readFile(kConfig));
    ASSERT_EQ(lines.size(), 69u);
    EXPECT_EQ(lines[0], "' Tessaron Configuration File For: WEB01");
    EXPECT_EQ(lines[18], "AdminPassword = \"pwMainDatabaseIP = \"\"evil\"\"\"");
}

const std::string kFormerSiteLines =
    "MainFTPSVC = \"5\"\r\nEnableSharedSecure = False\r\nEnableWebsitePreview = True\r\n"
    "PreviewSVC = \"7\"\r\n";

// The new body carries the former file's site lines, as they stood, until
// the append step replaces them; the body itself is kept for that step.
TEST(ConfigFileWriter, CarriesTheFormerSiteLinesAfterTheBody) {
    auto machine = TestMachine::smallServer();
    machine.writeFile(kConfig, kFormerBytes + "mainftpsvc=\"5\"\r\n" + kFormerSiteLines +
                                   "' PreviewSVC = \"9\"\r\n");
    MachineRun fixture(machine);

    const auto written = ConfigFileWriter(fixture.run);

    EXPECT_EQ(fixture.log.entries(), kWritten);
    const auto lines = splitLines(machine.readFile(kConfig));
    ASSERT_EQ(lines.size(), 74u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 69, lines.end()),
              (std::vector<std::string>{"mainftpsvc=\"5\"", "MainFTPSVC = \"5\"",
                                        "EnableSharedSecure = False", "EnableWebsitePreview = True",
                                        "PreviewSVC = \"7\""}));
    ASSERT_TRUE(written);
    EXPECT_EQ(*written, std::vector<std::string>(lines.begin(), lines.begin() + 69));
}

// A folder that refuses new files with a config.inc that may be written:
// the file is overwritten in place. Without a file to overwrite nothing can
// be written.
TEST(ConfigFileWriter, ReadOnlyFolderWithWritableFileIsWrittenInPlace) {
    auto machine = TestMachine::smallServer();
    machine.writeFile(kConfig, kFormerBytes + kFormerSiteLines);
    machine.setReadOnly("C:\\Tessaron\\panel", true);
    MachineRun fixture(machine);

    ConfigFileWriter(fixture.run);

    machine.setReadOnly("C:\\Tessaron\\panel", false);
    EXPECT_EQ(fixture.log.entries(), kWritten);
    EXPECT_FALSE(fixture.run.RunError);
    const auto lines = splitLines(machine.readFile(kConfig));
    ASSERT_EQ(lines.size(), 73u);
    EXPECT_EQ(lines[3], "ServerName = \"WEB01\"");
    EXPECT_EQ(lines[72], "PreviewSVC = \"7\"");
    EXPECT_TRUE(strayFiles(machine).empty());

    if (!TestMachine::foldersCanBeReadOnly()) return;  // the refusal needs a read-only folder
    auto fresh = TestMachine::smallServer();
    fresh.setReadOnly("C:\\Tessaron\\panel", true);
    MachineRun refused(fresh);
    ConfigFileWriter(refused.run);
    fresh.setReadOnly("C:\\Tessaron\\panel", false);
    EXPECT_EQ(refused.log.entries(), kOpenFailed);
    EXPECT_FALSE(fs::exists(fresh.host(kConfig)));
}

// No space left: the former file keeps every byte, or stays absent; nothing
// empty or partial is put in its place, and the log says why.
TEST(ConfigFileWriter, FullDiskLeavesTheFormerFileOrNone) {
    for (const bool former : {true, false}) {
        SCOPED_TRACE(former ? "former file" : "no former file");
        auto machine = TestMachine::smallServer();
        FullFileSystem disk(machine.host("C:\\Tessaron\\panel"));
        if (!disk.mounted()) GTEST_SKIP() << kCannotMount;
        if (former) machine.writeFile(kConfig, kFormerBytes);
        disk.fill();
        MachineRun fixture(machine);

        const auto written = ConfigFileWriter(fixture.run);

        EXPECT_EQ(fixture.log.entries(), kDiskFull);
        EXPECT_TRUE(fixture.run.RunError);
        EXPECT_FALSE(written);
        if (former) {
            EXPECT_EQ(machine.readFile(kConfig), kFormerBytes);
        } else {
            EXPECT_FALSE(fs::exists(machine.host(kConfig)));
        }
        EXPECT_TRUE(strayFiles(machine).empty());
    }
}

}  // namespace
}  // namespace tessaron::testing
