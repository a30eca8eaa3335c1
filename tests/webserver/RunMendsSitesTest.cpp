// Whole runs with the web-server stage on a copy of the Windows Server 2003
// sample where the metabase or the run is disturbed: a taken-over site with
// its root, a save that fails, a release that cannot be read, runs killed
// between the body and the site lines, two runs at once. Whatever happens,
// config.inc stays whole and names only sites the metabase holds.
#include <gtest/gtest.h>
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <csignal>
#include <filesystem>
#include <fstream>

#include "SampleRun.h"
#include "platform/ForwardingPlatform.h"
#include "platform/TemporaryNames.h"
#include "platform/WindowsPath.h"
#include "run/RunDriver.h"
#include "settings/ConfigFileReader.h"
#include "support/FullFileSystem.h"

namespace tessaron::testing {
namespace {

namespace fs = std::filesystem;

// The site lines of an earlier run, naming sites the sample has.
const Lines kFormerSiteLines = {"MainFTPSVC = \"1\"",
                                "EnableSharedSecure = True",
                                "SharedSecureServer = \"secure.example.com\"",
                                "SharedSecureSVC = \"2\"",
                                "EnableWebsitePreview = True",
                                "PreviewSVC = \"1\""};

std::string crlfText(const Lines& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

void writeFormerConfig(const TestMachine& machine) {
    Lines lines;
    for (int line = 1; line <= 69; ++line) lines.push_back("' former line " + std::to_string(line));
    lines.insert(lines.end(), kFormerSiteLines.begin(), kFormerSiteLines.end());
    machine.writeFile(kConfig, crlfText(lines));
}

// Every site number config.inc names exists in the metabase on disk, and the
// file has its 69 body lines followed by nothing but site lines.
void expectConsistent(const TestMachine& machine) {
    const std::string text = machine.readFile(kConfig);
    const auto lines = fileLines(text);
    ASSERT_GE(lines.size(), 72u);
    EXPECT_EQ(lines[0].rfind("' Tessaron Configuration File For: ", 0), 0u) << lines[0];
    auto metabase = createImageMetabase(machine.host(kMetabase2003));
    for (const auto& line : parseConfigLines(text)) {
        std::string service;
        if (line.key == "mainftpsvc") service = "IIS://LocalHost/MSFTPSVC/";
        if (line.key == "sharedsecuresvc" || line.key == "previewsvc") {
            service = "IIS://LocalHost/W3SVC/";
        }
        if (service.empty() || line.value == "0") continue;
        EXPECT_NE(propertyText(*metabase, service + line.value, "Class"), "(missing)")
            << line.key << " = " << line.value;
    }
    for (const auto& entry : fs::directory_iterator(machine.host("C:\\Tessaron\\panel"))) {
        EXPECT_FALSE(isTemporaryName(entry.path().filename().string()));
    }
}

bool hasErrorLine(const ProgressLog& log) {
    for (const auto& entry : log.entries()) {
        if (entry.rfind("ERROR: ", 0) == 0) return true;
    }
    return false;
}

TEST(RunMendsSites, TakingOverTheDefaultWebSiteReusesItsRoot) {
    auto settings = wholeRunSettings();
    settings.ControlPanelSiteSelection = "Default Web Site";
    MachineRun run(TestMachine::sample("windows2003"), settings, {.SetUpSites = true});

    EXPECT_EQ(performInstallationRun(run.run), RunEnding::Completed);

    const auto& entries = run.log.entries();
    EXPECT_FALSE(hasErrorLine(run.log));
    EXPECT_EQ(entries[kBeforeSites.size() + 1], "Tessaron control panel website configured.");
    EXPECT_EQ(entries.back(), "Tessaron configuration completed.");
    EXPECT_FALSE(run.run.RunError);
    auto metabase = createImageMetabase(run.machine.host(kMetabase2003));
    EXPECT_EQ(propertyText(*metabase, "IIS://LocalHost/W3SVC/1", "ServerComment"),
              "Tessaron - Control Panel");
    EXPECT_EQ(propertyText(*metabase, "IIS://LocalHost/W3SVC/1", "ServerBindings"),
              ":2100:\n:2101:");
    EXPECT_EQ(propertyText(*metabase, "IIS://LocalHost/W3SVC/1/ROOT", "Path"),
              "C:\\Tessaron\\panel");
    EXPECT_EQ(propertyText(*metabase, "IIS://LocalHost/W3SVC/1/ROOT", "AppPoolId"), "Tessaron");
    EXPECT_EQ(propertyText(*metabase, "IIS://LocalHost/W3SVC/1/ROOT", "AccessScript"), "True");
    // The sites after it are created as on any run: site 3 is the first free.
    EXPECT_EQ(tailOf(run.machine.readFile(kConfig)),
              (Lines{"MainFTPSVC = \"2\"", "EnableSharedSecure = True",
                     "SharedSecureServer = \"secure.example.com\"", "SharedSecureSVC = \"3\"",
                     "EnableWebsitePreview = True", "PreviewSVC = \"4\""}));
}

struct SaveFailure {
    const char* name;
    // Done to the machine while the stage's last site starts, before the save.
    std::function<void(MachineRun&)> during;
    std::string reason;
    bool theirsKept = false;  // the file holds another program's version
};

const std::string kTheirs = "their version";

// The stage's commits cannot be saved: an ERROR line names the file and the
// reason, RunError is set, and config.inc keeps the former site lines, which
// name the sites the metabase still holds.
TEST(RunMendsSites, AMetabaseSaveThatFailsIsAnErrorAndNoSiteIsNamed) {
    const std::vector<SaveFailure> cases = {
        {"made read-only", [](MachineRun& r) { r.machine.setReadOnly(kMetabase2003, true); },
         "Access is denied"},
        {"replaced by rename",
         [](MachineRun& r) {
             const auto path = r.machine.host(kMetabase2003);
             std::ofstream(path.string() + ".theirs", std::ios::binary)
                 << replaceAll(r.machine.readFile(kMetabase2003), "Default Web Site", kTheirs);
             fs::rename(path.string() + ".theirs", path);
         },
         "read: another program has written to the file since it was read", true},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        MachineRun run(preparedSample(writeFormerConfig), wholeRunSettings(), {.SetUpSites = true});
        const auto before = run.machine.readFile(kMetabase2003);
        run.log.setListener([&](const std::string& entry, const std::string&) {
            if (entry == "Tessaron website preview site started.") test.during(run);
        });

        EXPECT_EQ(performInstallationRun(run.run), RunEnding::Completed);

        const auto& entries = run.log.entries();
        ASSERT_GE(entries.size(), 2u);
        EXPECT_EQ(entries[entries.size() - 2],
                  "ERROR: Could not save the IIS metabase - The metabase file " +
                      run.machine.host(kMetabase2003).string() + " could not be saved (" +
                      test.reason + ").");
        EXPECT_EQ(entries.back(), "Tessaron configuration completed.");
        EXPECT_TRUE(run.run.RunError);
        run.machine.setReadOnly(kMetabase2003, false);
        EXPECT_EQ(tailOf(run.machine.readFile(kConfig)), kFormerSiteLines);
        const auto after = run.machine.readFile(kMetabase2003);
        EXPECT_EQ(after,
                  test.theirsKept ? replaceAll(before, "Default Web Site", kTheirs) : before);
        expectConsistent(run.machine);
    }
}

// A full disk under the metabase: the save fails the same way, with the
// system's reason, once. Space that comes back afterwards does not let the
// given-up commits reach the file.
TEST(RunMendsSites, AFullDiskUnderTheMetabaseIsAnError) {
    const auto inetsrv = [](const TestMachine& m) {
        return m.host("C:\\WINDOWS\\system32\\inetsrv");
    };
    std::unique_ptr<FullFileSystem> disk;
    const auto fillTheDisk = [&](const TestMachine& m) {
        writeFormerConfig(m);
        const auto saved = m.root() / "inetsrv-files";
        fs::copy(inetsrv(m), saved, fs::copy_options::recursive);
        disk = std::make_unique<FullFileSystem>(inetsrv(m));
        if (!disk->mounted()) return;
        fs::copy(saved, inetsrv(m), fs::copy_options::recursive);
        disk->fill();
    };
    MachineRun run(preparedSample(fillTheDisk), wholeRunSettings(), {.SetUpSites = true});
    if (!disk->mounted()) GTEST_SKIP() << kCannotMount;
    const auto before = run.machine.readFile(kMetabase2003);
    run.log.setListener([&](const std::string& entry, const std::string&) {
        if (entry.rfind("ERROR: Could not save the IIS metabase", 0) == 0) {
            fs::remove(inetsrv(run.machine) / ".filler");
        }
    });

    EXPECT_EQ(performInstallationRun(run.run), RunEnding::Completed);

    const auto& entries = run.log.entries();
    EXPECT_EQ(entries[entries.size() - 2],
              "ERROR: Could not save the IIS metabase - The metabase file " +
                  run.machine.host(kMetabase2003).string() +
                  " could not be saved (write: There is not enough space on the disk.).");
    EXPECT_TRUE(run.run.RunError);
    run.image.Iis().Flush();
    EXPECT_EQ(run.machine.readFile(kMetabase2003), before);
    EXPECT_EQ(tailOf(run.machine.readFile(kConfig)), kFormerSiteLines);
    expectConsistent(run.machine);
    disk.reset();
}

// Without the release the stage cannot tell whether a pool is wanted: it
// ends at once with an ERROR line and RunError, the metabase untouched.
TEST(RunMendsSites, AReleaseThatCannotBeReadEndsTheStage) {
    const auto dropTheRelease = [](const TestMachine& m) {
        writeFormerConfig(m);
        // registry.reg is UTF-16LE text of ASCII characters.
        const auto bytes = readBytes(m.root() / "registry.reg");
        std::string text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) text += bytes[i];
        m.writeRegistry(replaceAll(text, "\"CurrentVersion\"=\"5.2\"\r\n", ""));
    };
    MachineRun run(preparedSample(dropTheRelease), wholeRunSettings(), {.SetUpSites = true});
    const auto before = run.machine.readFile(kMetabase2003);

    EXPECT_EQ(performInstallationRun(run.run), RunEnding::Completed);

    Lines expected = kBeforeSites;
    expected.push_back("ERROR: Could not read the operating system release - Generic failure ");
    expected.push_back("Tessaron configuration completed.");
    EXPECT_EQ(run.log.entries(), expected);
    EXPECT_TRUE(run.run.RunError);
    EXPECT_EQ(run.machine.readFile(kMetabase2003), before);
    EXPECT_EQ(tailOf(run.machine.readFile(kConfig)), kFormerSiteLines);
}

#ifndef _WIN32  // the killed and the concurrent runs are child processes (fork)

// The file system of the image, with the process killed at the second
// replacement of config.inc: the append step's, once its temporary file is
// complete.
class KilledAtTheAppendsReplace : public FileSystem {
public:
    explicit KilledAtTheAppendsReplace(FileSystem& files) : files_(files) {}
    bool FolderExists(const std::string& p) override { return files_.FolderExists(p); }
    bool FileExists(const std::string& p) override { return files_.FileExists(p); }
    void CreateFolder(const std::string& p) override { files_.CreateFolder(p); }
    void CopyFile(const std::string& s, const std::string& d, bool o) override {
        files_.CopyFile(s, d, o);
    }
    void ReplaceFile(const std::string& source, const std::string& destination) override {
        if (++replaces_ == 2) std::raise(SIGKILL);
        files_.ReplaceFile(source, destination);
    }
    void DeleteFile(const std::string& p) override { files_.DeleteFile(p); }
    std::vector<std::string> SubFolders(const std::string& p) override {
        return files_.SubFolders(p);
    }
    std::vector<std::string> FileNames(const std::string& p) override {
        return files_.FileNames(p);
    }
    std::unique_ptr<TextWriter> CreateTextFile(const std::string& p, bool o) override {
        return files_.CreateTextFile(p, o);
    }
    std::unique_ptr<TextWriter> OpenTextFileForAppending(const std::string& p) override {
        return files_.OpenTextFileForAppending(p);
    }
    std::string ReadTextFile(const std::string& p) override { return files_.ReadTextFile(p); }

private:
    FileSystem& files_;
    int replaces_ = 0;
};

class WithFiles : public ForwardingPlatform {
public:
    WithFiles(Platform& inner, FileSystem& files) : ForwardingPlatform(inner), files_(files) {}
    FileSystem& Files() override { return files_; }

private:
    FileSystem& files_;
};

// A run killed at each point between putting the body in place and
// completing it with the site lines leaves a whole config.inc that names
// only sites the metabase holds; the next run completes it and removes what
// the killed one left.
TEST(RunMendsSites, ARunKilledBetweenBodyAndSiteLinesLeavesAConsistentFile) {
    struct KillPoint {
        const char* name;
        std::function<void(MachineRun&)> run;  // runs in a child that is killed
        bool temporaryLeft;
    };
    const std::vector<KillPoint> points = {
        {"before the web-server stage",
         [](MachineRun& r) {
             RunStages stages;
             stages.webServer = [](RunContext&) {
                 std::raise(SIGKILL);
                 return WebServerResult{};
             };
             performInstallationRun(r.run, stages);
         },
         false},
        {"after the sites were saved, before the append step",
         [](MachineRun& r) {
             RunStages stages;
             stages.webServer = [](RunContext& run) {
                 auto result = runWebServerStage(run);
                 std::raise(SIGKILL);
                 return result;
             };
             performInstallationRun(r.run, stages);
         },
         false},
        {"inside the append step's rewrite",
         [](MachineRun& r) {
             KilledAtTheAppendsReplace files(r.image.Files());
             WithFiles platform(r.image, files);
             RunContext run(r.settings, r.options, platform, r.log);
             performInstallationRun(run);
         },
         true},
    };
    for (const auto& point : points) {
        SCOPED_TRACE(point.name);
        MachineRun killed(preparedSample(writeFormerConfig), wholeRunSettings(),
                          {.SetUpSites = true});
        EXPECT_EXIT(point.run(killed), ::testing::KilledBySignal(SIGKILL), "");

        const auto lines = fileLines(killed.machine.readFile(kConfig));
        ASSERT_EQ(lines.size(), 75u);
        EXPECT_EQ(lines[3], "ServerName = \"WEBHOST01\"");
        EXPECT_EQ(tailOf(killed.machine.readFile(kConfig)), kFormerSiteLines);
        bool temporary = false;
        for (const auto& entry :
             fs::directory_iterator(killed.machine.host("C:\\Tessaron\\panel"))) {
            if (isTemporaryName(entry.path().filename().string())) temporary = true;
        }
        EXPECT_EQ(temporary, point.temporaryLeft);
        if (!temporary) expectConsistent(killed.machine);

        auto settings = wholeRunSettings();
        const InstallOptions options{.SetUpSites = true};
        MachineImage image(killed.machine.root());
        ProgressLog log;
        RunContext next(settings, options, image, log);
        EXPECT_EQ(performInstallationRun(next), RunEnding::Completed);
        EXPECT_FALSE(next.RunError);
        EXPECT_FALSE(hasErrorLine(log));
        EXPECT_EQ(fileLines(killed.machine.readFile(kConfig)).size(), 75u);
        EXPECT_NE(tailOf(killed.machine.readFile(kConfig)), kFormerSiteLines);
        expectConsistent(killed.machine);
    }
}

// Two programs on one machine: the second starts while the first is in the
// middle of its web-server stage. It waits for the first and then works on
// the metabase as the first left it, so both complete, every site of both is
// saved, and config.inc names the sites of the one that finished last.
TEST(RunMendsSites, TwoRunsAtOnceLoseNothing) {
    MachineRun setup(preparedSample(writeFormerConfig), wholeRunSettings(), {.SetUpSites = true});
    int started[2];
    ASSERT_EQ(::pipe(started), 0);
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            auto settings = wholeRunSettings();
            InstallOptions options{.SetUpSites = true};
            MachineImage image(setup.machine.root());
            ProgressLog log;
            RunContext run(settings, options, image, log);
            // Both read the metabase before either changes it, as two
            // settings windows would.
            image.Iis().Open("IIS://LocalHost/W3SVC");
            if (child == 0) {
                // The first tells the second to start once it has committed
                // its control panel site, and takes its time over the rest.
                log.setListener([&](const std::string& entry, const std::string&) {
                    if (entry != "Tessaron control panel website configured.") return;
                    (void)!::write(started[1], "x", 1);
                    ::usleep(300 * 1000);
                });
            } else {
                char signal;
                (void)!::read(started[0], &signal, 1);
            }
            const bool clean = performInstallationRun(run) == RunEnding::Completed &&
                               !run.RunError && !hasErrorLine(log);
            ::_exit(clean ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (const pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ::close(started[0]);
    ::close(started[1]);
    auto metabase = createImageMetabase(setup.machine.host(kMetabase2003));
    for (const char* site : {"W3SVC/3", "W3SVC/4", "W3SVC/5", "W3SVC/6", "W3SVC/7", "W3SVC/8",
                             "MSFTPSVC/2", "MSFTPSVC/3"}) {
        EXPECT_NE(propertyText(*metabase, std::string("IIS://LocalHost/") + site, "Class"),
                  "(missing)")
            << site;
    }
    EXPECT_EQ(fileLines(setup.machine.readFile(kConfig)).size(), 75u);
    expectConsistent(setup.machine);
}

#endif

}  // namespace
}  // namespace tessaron::testing
