// Whole runs on a small server image where config.inc cannot be written, or
// where another run holds the machine: the file is left as it was, or
// absent, and never shortened, grown or emptied.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/TemporaryNames.h"
#include "run/RunDriver.h"
#include "support/FullFileSystem.h"
#include "support/MachineRun.h"

namespace tessaron::testing {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr const char* kConfig = "C:\\Tessaron\\panel\\config.inc";
const std::string kNotAdded =
    "Site settings were not added because the configuration file could not be written.";

Lines fileLines(const std::string& bytes) {
    Lines lines;
    std::string::size_type start = 0;
    while (start < bytes.size()) {
        const auto end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return lines;
}

// A configured machine: 69 body lines and the site lines of an earlier run.
std::string configuredFile() {
    std::string bytes;
    for (int line = 1; line <= 69; ++line)
        bytes += "' former line " + std::to_string(line) + "\r\n";
    return bytes +
           "EnableSharedSecure = False\r\nEnableWebsitePreview = False\r\nPreviewSVC = \"0\"\r\n";
}

const Lines kWriteFailed = {
    "Beginning Tessaron configuration...",
    "Checking installation integrity...",
    "Accounts directory OK.",
    "Temp directory OK.",
    "Logfile directory OK.",
    "Writing configuration file...",
    "Could not write to configuration file.",
    kNotAdded,
    "Tessaron configuration completed.",
};

// A title the code page cannot hold fails the body: on a fresh machine no
// config.inc appears, on a configured one it keeps every byte, run after run.
TEST(RunWithAFailedBody, LeavesConfigIncAsItWasOrAbsent) {
    for (const bool configured : {false, true}) {
        SCOPED_TRACE(configured ? "configured" : "fresh");
        auto machine = TestMachine::smallServer();
        if (configured) machine.writeFile(kConfig, configuredFile());
        for (int run = 1; run <= 2; ++run) {
            MachineRun fixture(machine);
            fixture.settings.ControlPanelTitle = "\xD0\x96 Hosting";  // Cyrillic Zhe
            EXPECT_EQ(performInstallationRun(fixture.run), RunEnding::Completed);
            EXPECT_EQ(fixture.log.entries(), kWriteFailed) << "run " << run;
            EXPECT_TRUE(fixture.run.RunError);
            if (configured) {
                EXPECT_EQ(machine.readFile(kConfig), configuredFile()) << "run " << run;
            } else {
                EXPECT_FALSE(fs::exists(machine.host(kConfig))) << "run " << run;
            }
        }
    }
}

// No space on the panel's drive: nothing named config.inc appears, not even
// an empty file; the failure line says why, and the run goes on as after
// any failed write.
TEST(RunWithAFailedBody, FullDiskOnAFreshMachineLeavesNoFile) {
    auto machine = TestMachine::smallServer();
    FullFileSystem disk(machine.host("C:\\Tessaron\\panel"));
    if (!disk.mounted()) GTEST_SKIP() << kCannotMount;
    disk.fill();
    MachineRun fixture(machine);

    EXPECT_EQ(performInstallationRun(fixture.run), RunEnding::Completed);

    Lines expected = kWriteFailed;
    expected[6] += " - There is not enough space on the disk.";
    EXPECT_EQ(fixture.log.entries(), expected);
    EXPECT_TRUE(fixture.run.RunError);
    EXPECT_FALSE(fs::exists(machine.host(kConfig)));
    EXPECT_EQ(fs::directory_iterator(machine.host("C:\\Tessaron\\panel"))->path().filename(),
              ".filler");
}

// A run killed while it wrote config.inc, the journal, a backup copy or the
// metabase leaves a temporary file of one name form, and earlier versions
// left theirs in other forms; the next run, holding the lock, removes every
// one of them and nothing else, not even names that only look alike.
TEST(LeftOverFiles, ARunRemovesTheTemporariesOfAKilledRun) {
    auto machine = TestMachine::smallServer();
    const std::string panel = "C:\\Tessaron\\panel\\";
    const std::string inetsrv = "C:\\WINDOWS\\system32\\inetsrv\\";
    const std::string history = inetsrv + "History\\";
    const std::vector<std::string> leftOvers = {
        panel + temporaryNameFor("config.inc"),
        panel + temporaryNameFor("config.inc.20261208-131500.bak"),
        panel + temporaryNameFor("tessaron-run.journal"),
        inetsrv + temporaryNameFor("MetaBase.xml"),
        history + temporaryNameFor("MetaBase_0000000014_0000000001.xml"),
        // the forms of earlier versions
        panel + "config.inc.tmp-0a9f3c7e",
        panel + "CONFIG.INC.tmp-00000000",
        panel + ".config.inc.0.tmp",
        panel + ".config.inc.999999.tmp",
        panel + ".config.inc.20261208-131500.bak.482913.tmp",
        panel + ".config.inc.20261208-131500-3.bak.7.tmp",
        inetsrv + "MetaBase.xml.saving",
        inetsrv + ".MetaBase.xml.31337.tmp",
        history + ".MetaBase_0000000014_0000000002.xml.650221.tmp",
    };
    const std::vector<std::string> kept = {
        panel + "config.inc.bak",
        panel + ".config.inc.tmp",
        history + "MetaBase_0000000014_0000000000.xml",
        // alike, but of no form the program ever wrote
        panel + "config.inc.tmp-DEADBEEF",
        panel + "config.inc.tmp-0a9f3c7",
        panel + "config.inc.tmp-0a9f3c7e1",
        panel + "config.inc.tmp-mine",
        panel + "notes.inc.tmp-0a9f3c7e",
        panel + ".config.inc.1234567.tmp",
        panel + ".config.inc.0123.tmp",
        panel + ".config.inc..tmp",
        panel + ".config.inc.12.tmp.txt",
        panel + ".config.inc.2026-12-08.bak.12.tmp",
        panel + ".config.inc.20261208-131500.bak.tmp",
        panel + ".config.inc.20261208-131500-x.bak.1.tmp",
        panel + "MetaBase.xml.saving",
        inetsrv + "MetaBase.xml.saving.old",
        inetsrv + "config.inc.tmp-0a9f3c7e",
        inetsrv + ".MetaBase.xml.-1.tmp",
        history + ".MetaBase_14_2.xml.650221.tmp",
        history + ".MetaBase_0000000014_0000000002.xml.tmp",
        history + "MetaBase.xml.saving",
    };
    for (const auto& file : leftOvers) machine.writeFile(file, "' Tessaron Con");
    for (const auto& file : kept) machine.writeFile(file, "kept");
    MachineRun fixture(machine);

    EXPECT_EQ(performInstallationRun(fixture.run), RunEnding::Completed);

    for (const auto& file : leftOvers) EXPECT_FALSE(fs::exists(machine.host(file))) << file;
    for (const auto& file : kept) EXPECT_EQ(machine.readFile(file), "kept") << file;
}

// A run while another holds the machine waits, then says so and changes
// nothing, not even the internal address of the settings.
TEST(MachineLock, ARunFindingTheMachineHeldChangesNothing) {
    auto machine = TestMachine::smallServer();
    machine.writeFile(kConfig, configuredFile());
    MachineImage other(machine.root());
    const auto held = other.LockMachine(std::chrono::milliseconds(0));
    ASSERT_TRUE(held);

    MachineRun fixture(machine);
    fixture.run.machineLockPatience = std::chrono::milliseconds(300);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(performInstallationRun(fixture.run), RunEnding::MachineBusy);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));

    EXPECT_EQ(fixture.log.entries(),
              Lines{"Another configuration run is in progress on this machine."});
    EXPECT_EQ(machine.readFile(kConfig), configuredFile());
    EXPECT_EQ(fixture.settings.InternalIP, "");
    EXPECT_FALSE(fixture.run.RunError);
}

// A run that waits while the other run finishes goes on once it is free.
TEST(MachineLock, ARunWaitsForTheOtherToFinish) {
    auto machine = TestMachine::smallServer();
    MachineImage other(machine.root());
    auto held = other.LockMachine(std::chrono::milliseconds(0));
    ASSERT_TRUE(held);
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        held.reset();
    });

    MachineRun fixture(machine);
    EXPECT_EQ(performInstallationRun(fixture.run), RunEnding::Completed);
    release.join();
    EXPECT_EQ(fixture.log.entries().back(), "Tessaron configuration completed.");
    EXPECT_EQ(fileLines(machine.readFile(kConfig)).size(), 72u);
}

}  // namespace
}  // namespace tessaron::testing
