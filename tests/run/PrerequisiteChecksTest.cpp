#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "CommandsLog.h"
#include "platform/ForwardingPlatform.h"
#include "run/PrerequisiteChecks.h"
#include "support/MachineRun.h"

namespace tessaron::testing {
namespace {

namespace fs = std::filesystem;

using Lines = std::vector<std::string>;

const Lines kAllPresent = {"Accounts directory OK.", "Temp directory OK.", "Logfile directory OK."};

struct DirectoryCase {
    const char* what;
    void (*prepare)(const TestMachine&, SettingsRecord&);
    Lines log;
    bool goesOn;
};

// Names the case in test output.
void PrintTo(const DirectoryCase& c, std::ostream* os) {
    *os << c.what;
}

class WorkingDirectoryTest : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(WorkingDirectoryTest, LogsEachDirectoryAndStopsAtTheFirstFailure) {
    if (std::string(GetParam().what) == "logfile parent read-only" &&
        !TestMachine::foldersCanBeReadOnly()) {
        GTEST_SKIP() << "folders cannot be read-only here";
    }
    auto machine = TestMachine::smallServer();
    SettingsRecord settings = sampleSettings();
    GetParam().prepare(machine, settings);
    MachineRun fixture(machine, settings);

    EXPECT_EQ(runPrerequisiteChecks(fixture.run), GetParam().goesOn);
    EXPECT_EQ(fixture.log.entries(), GetParam().log);
    EXPECT_FALSE(fixture.run.RunError);
}

void bulletProof(SettingsRecord& s, const std::string& linkPath) {
    s.FTPServerEnabled = "True";
    s.FTPServerType = "BulletProof FTP";
    s.FTPLinkPath = linkPath;
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, WorkingDirectoryTest,
    ::testing::Values(
        DirectoryCase{"all present", [](const TestMachine&, SettingsRecord&) {}, kAllPresent, true},
        DirectoryCase{"FTP link present",
                      [](const TestMachine& m, SettingsRecord& s) {
                          m.makeFolder("C:\\Tessaron\\ftp");
                          bulletProof(s, "C:\\Tessaron\\ftp");
                      },
                      {"Accounts directory OK.", "Temp directory OK.", "Logfile directory OK.",
                       "FTP link directory OK."},
                      true},
        DirectoryCase{
            "FTP link created",
            [](const TestMachine&, SettingsRecord& s) { bulletProof(s, "C:\\Tessaron\\ftp"); },
            {"Accounts directory OK.", "Temp directory OK.", "Logfile directory OK.",
             "FTP link directory created."},
            true},
        DirectoryCase{"Microsoft FTP has no link directory",
                      [](const TestMachine&, SettingsRecord& s) {
                          s.FTPServerEnabled = "True";
                          s.FTPServerType = "Microsoft FTP";
                          s.FTPLinkPath = "C:\\nowhere\\ftp";
                      },
                      kAllPresent, true},
        DirectoryCase{"FTP off has no link directory",
                      [](const TestMachine&, SettingsRecord& s) {
                          bulletProof(s, "C:\\nowhere\\ftp");
                          s.FTPServerEnabled = "False";
                      },
                      kAllPresent, true},
        DirectoryCase{
            "temp created",
            [](const TestMachine& m, SettingsRecord&) {
                fs::remove_all(m.host("C:\\Tessaron\\temp"));
            },
            {"Accounts directory OK.", "Temp directory created.", "Logfile directory OK."},
            true},
        DirectoryCase{
            "accounts found without regard to case",
            [](const TestMachine&, SettingsRecord& s) { s.ServerRoot = "c:\\ACCOUNTS\\"; },
            kAllPresent, true},
        DirectoryCase{
            "accounts parent missing",
            [](const TestMachine&, SettingsRecord& s) { s.ServerRoot = "C:\\Hosting\\Accounts"; },
            {"ERROR: Could not create accounts directory at C:\\Hosting\\Accounts - Path "
             "not found"},
            false},
        DirectoryCase{
            "logfile parent read-only",
            [](const TestMachine& m, SettingsRecord& s) {
                m.makeFolder("C:\\Logs");
                m.setReadOnly("C:\\Logs", true);
                s.LogRoot = "C:\\Logs\\Tessaron";
            },
            {"Accounts directory OK.", "Temp directory OK.",
             "ERROR: Could not create logfile directory at C:\\Logs\\Tessaron - Permission "
             "denied"},
            false},
        DirectoryCase{"empty logfile path",
                      [](const TestMachine&, SettingsRecord& s) { s.LogRoot = ""; },
                      {"Accounts directory OK.", "Temp directory OK.",
                       "ERROR: Could not create logfile directory at  - Invalid procedure call or "
                       "argument"},
                      false},
        DirectoryCase{
            "FTP link parent missing",
            [](const TestMachine&, SettingsRecord& s) { bulletProof(s, "C:\\ftp\\links"); },
            {"Accounts directory OK.", "Temp directory OK.", "Logfile directory OK.",
             "ERROR: Could not create FTP link directory at C:\\ftp\\links - Path not found"},
            false}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (auto& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

// The image answers every folder query; a failing query (an unreachable
// volume on a real server) is put in by delegating to the image and failing
// the query for one path.
class FolderQueryFails : public FileSystem {
public:
    FolderQueryFails(FileSystem& files, std::string failingPath)
        : files_(files), failingPath_(std::move(failingPath)) {}
    bool FolderExists(const std::string& path) override {
        if (path == failingPath_)
            throw PlatformError(error_number::kPermissionDenied, "Permission denied");
        return files_.FolderExists(path);
    }
    bool FileExists(const std::string& path) override { return files_.FileExists(path); }
    void CreateFolder(const std::string& path) override { files_.CreateFolder(path); }
    void CopyFile(const std::string& s, const std::string& d, bool o) override {
        files_.CopyFile(s, d, o);
    }
    void ReplaceFile(const std::string& s, const std::string& d) override {
        files_.ReplaceFile(s, d);
    }
    void DeleteFile(const std::string& path) override { files_.DeleteFile(path); }
    std::vector<std::string> SubFolders(const std::string& path) override {
        return files_.SubFolders(path);
    }
    std::vector<std::string> FileNames(const std::string& path) override {
        return files_.FileNames(path);
    }
    std::unique_ptr<TextWriter> CreateTextFile(const std::string& path, bool overwrite) override {
        return files_.CreateTextFile(path, overwrite);
    }
    std::unique_ptr<TextWriter> OpenTextFileForAppending(const std::string& path) override {
        return files_.OpenTextFileForAppending(path);
    }
    std::string ReadTextFile(const std::string& path) override { return files_.ReadTextFile(path); }

private:
    FileSystem& files_;
    std::string failingPath_;
};

class WithFiles : public ForwardingPlatform {
public:
    WithFiles(Platform& platform, FileSystem& files)
        : ForwardingPlatform(platform), files_(files) {}
    FileSystem& Files() override { return files_; }

private:
    FileSystem& files_;
};

TEST(WorkingDirectories, AFailedFolderQueryCallsThePathInvalid) {
    auto machine = TestMachine::smallServer();
    SettingsRecord settings = sampleSettings();
    MachineImage image(machine.root());
    FolderQueryFails files(image.Files(), "C:\\Tessaron\\temp");
    WithFiles platform(image, files);
    InstallOptions options;
    ProgressLog log;
    RunContext run(settings, options, platform, log);

    EXPECT_FALSE(runPrerequisiteChecks(run));
    EXPECT_EQ(log.entries(), (Lines{"Accounts directory OK.",
                                    "ERROR: Temp directory C:\\Tessaron\\temp is invalid."}));
}

TEST(FrontPageCheck, MissingToolStopsBeforeTheDirectories) {
    auto machine = TestMachine::smallServer();
    fs::remove(
        machine.host("C:\\Program Files\\Common Files\\Microsoft Shared\\Web Server "
                     "Extensions\\50\\bin\\owsadm.exe"));
    fs::remove_all(machine.host("C:\\Tessaron\\temp"));
    MachineRun fixture(machine);

    EXPECT_FALSE(runPrerequisiteChecks(fixture.run));
    EXPECT_EQ(fixture.log.entries(), Lines{kFrontPageErrorLine});
    EXPECT_FALSE(fs::exists(machine.host("C:\\Tessaron\\temp")));
}

struct DnsCase {
    const char* what;
    MachineLayout layout;
    const char* server;
    const char* enabled;
    Lines log;
};

// Names the case in test output.
void PrintTo(const DnsCase& c, std::ostream* os) {
    *os << c.what;
}

class DnsProviderTest : public ::testing::TestWithParam<DnsCase> {};

TEST_P(DnsProviderTest, ChecksTheProviderOnlyForMicrosoftDns) {
    auto machine = TestMachine::smallServer(GetParam().layout);
    SettingsRecord settings = sampleSettings();
    settings.DNSServerEnabled = GetParam().enabled;
    settings.DNSServer = GetParam().server;
    MachineRun fixture(machine, settings);

    runPrerequisiteChecks(fixture.run);

    EXPECT_EQ(fixture.log.entries(), GetParam().log);
    // Nothing is installed on Windows Server 2003.
    EXPECT_FALSE(fs::exists(machine.root() / "commands.log"));
    EXPECT_FALSE(fs::exists(machine.host("C:\\WINDOWS\\system32\\WBEM")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DnsProviderTest,
    ::testing::Values(
        DnsCase{"other DNS server", {.dnsProvider = false}, "Simple DNS Plus", "True", kAllPresent},
        DnsCase{"DNS off", {.dnsProvider = false}, "Microsoft DNS", "False", kAllPresent},
        DnsCase{"provider present",
                {},
                "Microsoft DNS",
                "True",
                {"DNS WMI provider OK.", "Accounts directory OK.", "Temp directory OK.",
                 "Logfile directory OK."}},
        DnsCase{"provider missing on 2003",
                {.dnsProvider = false},
                "Microsoft DNS",
                "True",
                {kDnsProviderErrorLine}}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (auto& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

SettingsRecord windows2000Settings() {
    SettingsRecord s = sampleSettings();
    s.LogRoot = "C:\\WINNT\\system32\\LogFiles";
    s.DNSServerEnabled = "True";
    s.DNSServer = "Microsoft DNS";
    return s;
}

const Lines kProviderCommands = {
    "C:\\WINNT\\system32\\WBEM\\MOFCOMP.EXE DNSSCHEMA.MOF",
    "C:\\WINNT\\system32\\REGSVR32.EXE C:\\WINNT\\system32\\WBEM\\DNSPROV.DLL",
};

TEST(DnsProviderOnWindows2000, IsCopiedCompiledRegisteredAndReached) {
    auto machine = TestMachine::smallServer({.release = 2000, .dnsProvider = false});
    MachineRun fixture(machine, windows2000Settings());

    EXPECT_TRUE(runPrerequisiteChecks(fixture.run));

    EXPECT_EQ(fixture.log.entries(),
              (Lines{"DNS WMI provider registered.  Reinitializing...", "DNS WMI provider OK.",
                     "Accounts directory OK.", "Temp directory OK.", "Logfile directory OK."}));
    EXPECT_EQ(machine.readFile("C:\\WINNT\\system32\\WBEM\\dnsschema.mof"), "schema");
    EXPECT_EQ(machine.readFile("C:\\WINNT\\system32\\WBEM\\dnsprov.dll"), "provider");
    EXPECT_EQ(commandsLogLines(machine), kProviderCommands);
}

TEST(DnsProviderOnWindows2000, ReplacesOldProviderFilesInAnExistingWbemFolder) {
    auto machine = TestMachine::smallServer({.release = 2000, .dnsProvider = false});
    machine.writeFile("C:\\WINNT\\system32\\wbem\\dnsprov.dll", "old provider");
    MachineRun fixture(machine, windows2000Settings());

    EXPECT_TRUE(runPrerequisiteChecks(fixture.run));

    EXPECT_EQ(machine.readFile("C:\\WINNT\\system32\\wbem\\dnsprov.dll"), "provider");
    EXPECT_EQ(commandsLogLines(machine), kProviderCommands);
}

TEST(DnsProviderOnWindows2000, StopsWhenTheSecondConnectionFails) {
    auto machine = TestMachine::smallServer({.release = 2000, .dnsProvider = false});
    fs::remove(machine.host("C:\\Tessaron\\bin\\dnsprov.dll"));
    MachineRun fixture(machine, windows2000Settings());

    EXPECT_FALSE(runPrerequisiteChecks(fixture.run));

    EXPECT_EQ(fixture.log.entries(),
              (Lines{"DNS WMI provider registered.  Reinitializing...", kDnsProviderErrorLine}));
    EXPECT_EQ(commandsLogLines(machine), kProviderCommands);
    EXPECT_FALSE(fixture.run.RunError);
}

}  // namespace
}  // namespace tessaron::testing
