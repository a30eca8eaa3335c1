// Backups of config.inc and the metabase, the run journal and --restore, on
// copies of the 2003 sample.
#include <gtest/gtest.h>

#include "RunSupport.h"
#include "app/wiring/ProgressRun.h"
#include "platform/ForwardingPlatform.h"
#include "support/SamplePaths.h"

namespace tessaron::app::testing {
namespace {
using tessaron::testing::kConfigInc;
using tessaron::testing::kMetabase;

namespace fs = std::filesystem;
using tessaron::testing::readBytes;
using tessaron::testing::TestMachine;

const std::string kJournal = "C:\\Tessaron\\panel\\tessaron-run.journal";
const std::string kNotUndone =
    "Not undone (a restore puts back config.inc and the metabase only): scheduled tasks, "
    "database rows, folders created, files copied into the WBEM folder, changes of "
    "registry.reg and the lines of commands.log.";

// "config.inc.20261208-131500.bak" -> "2026-12-08 13:15:00"
std::string dateOfCopy(const std::string& copyName) {
    const std::string stamp = copyName.substr(11, 15);
    return stamp.substr(0, 4) + "-" + stamp.substr(4, 2) + "-" + stamp.substr(6, 2) + " " +
           stamp.substr(9, 2) + ":" + stamp.substr(11, 2) + ":" + stamp.substr(13, 2);
}

// A run with the sample's answers and the edits, tasks and sites chosen.
wiring::RunOutcome runWith(const TestMachine& machine, const std::string& edits,
                           InstallOptions options = InstallOptions{true, false, true}) {
    const bool configured = fs::exists(machine.host(kConfigInc));
    AnsweredWindow window(machine, sampleAnswers() + edits, nullptr, configured);
    ProgressLog log;
    return wiring::performRun(window.settings, options, window.image, log);
}

// Names of the files in a folder that start and end as given.
std::vector<std::string> filesLike(const fs::path& folder, const std::string& prefix,
                                   const std::string& suffix) {
    std::vector<std::string> names;
    if (!fs::exists(folder)) return names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0 && name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

fs::path panelFolder(const TestMachine& machine) {
    return machine.host("C:\\Tessaron\\panel");
}
fs::path historyFolder(const TestMachine& machine) {
    return machine.host("C:\\WINDOWS\\system32\\inetsrv\\History");
}

TEST(Backups, ARunKeepsBothFormerFilesAndRestorePutsThemBack) {
    TestMachine machine = TestMachine::sample("windows2003");
    runWith(machine, "");
    const std::string formerConfig = machine.readFile(kConfigInc);
    const std::string formerMetabase = machine.readFile(kMetabase);

    runWith(machine, "txtControlPanelTitle = Second\ntxtCustomerPort = 2200\n");
    const auto configCopies = filesLike(panelFolder(machine), "config.inc.", ".bak");
    ASSERT_EQ(configCopies.size(), 1u);
    EXPECT_EQ(readBytes(panelFolder(machine) / configCopies[0]), formerConfig);
    // The fresh run kept the sample's metabase, the second run its own.
    const auto history = filesLike(historyFolder(machine), "MetaBase_", ".xml");
    ASSERT_EQ(history, (std::vector<std::string>{"MetaBase_0000000014_0000000000.xml",
                                                 "MetaBase_0000000014_0000000001.xml"}));
    EXPECT_EQ(readBytes(historyFolder(machine) / history[1]), formerMetabase);
    EXPECT_NE(machine.readFile(kConfigInc), formerConfig);

    const auto restored = runFrontEnd({"--machine", machine.root().string(), "--restore"});
    EXPECT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(restored.out.substr(0, restored.out.find('\n')),
              "Restoring the files of the run of " + dateOfCopy(configCopies[0]) +
                  " (the latest run that changed them):");
    EXPECT_NE(restored.out.find("Restored C:\\Tessaron\\panel\\config.inc from "
                                "C:\\Tessaron\\panel\\" +
                                configCopies[0] + ".\n"),
              std::string::npos);
    EXPECT_NE(restored.out.find("Restored C:\\WINDOWS\\system32\\inetsrv\\MetaBase.xml from "
                                "C:\\WINDOWS\\system32\\inetsrv\\History\\" +
                                history[1] + ".\n"),
              std::string::npos);
    EXPECT_NE(restored.out.find("\n" + kNotUndone + "\n"), std::string::npos);
    EXPECT_EQ(machine.readFile(kConfigInc), formerConfig);
    EXPECT_EQ(machine.readFile(kMetabase), formerMetabase);

    // The journal went with the restore.
    const auto again = runFrontEnd({"--machine", machine.root().string(), "--restore"});
    EXPECT_EQ(again.status, 8);
    EXPECT_EQ(again.err, "Nothing to restore: no run journal at " + kJournal + ".\n");
}

TEST(Backups, RestoreAfterAFreshRunRemovesTheCreatedConfigFile) {
    TestMachine machine = TestMachine::sample("windows2003");
    const std::string metabase = machine.readFile(kMetabase);
    runWith(machine, "");
    const auto restored = runFrontEnd({"--machine", machine.root().string(), "--restore"});
    EXPECT_EQ(restored.status, 0);
    EXPECT_NE(restored.out.find("Removed " + kConfigInc + ", which the run created.\n"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(machine.host(kConfigInc)));
    EXPECT_EQ(machine.readFile(kMetabase), metabase);
}

TEST(Backups, TwelveRunsKeepTheLastTenCopiesOfEach) {
    TestMachine machine = TestMachine::sample("windows2003");
    std::vector<std::string> formerConfigs;
    for (int run = 0; run < 12; ++run) {
        if (fs::exists(machine.host(kConfigInc)))
            formerConfigs.push_back(machine.readFile(kConfigInc));
        runWith(machine, "txtControlPanelTitle = Run " + std::to_string(run) +
                             "\ntxtCustomerPort = " + std::to_string(3000 + run) + "\n");
    }
    const auto configCopies = filesLike(panelFolder(machine), "config.inc.", ".bak");
    ASSERT_EQ(configCopies.size(), 10u);
    // Within one second the copies are numbered; the oldest went first.
    std::vector<std::string> kept;
    for (const auto& name : configCopies) kept.push_back(readBytes(panelFolder(machine) / name));
    std::sort(kept.begin(), kept.end());
    std::vector<std::string> expected(formerConfigs.end() - 10, formerConfigs.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(kept, expected);
    EXPECT_EQ(filesLike(historyFolder(machine), "MetaBase_", ".xml").size(), 10u);
}

TEST(Backups, AFileChangedAfterTheRunIsRefusedAndNothingIsRestored) {
    TestMachine machine = TestMachine::sample("windows2003");
    runWith(machine, "");
    runWith(machine, "txtControlPanelTitle = Second\ntxtCustomerPort = 2200\n");
    const std::string metabase = machine.readFile(kMetabase);
    machine.writeFile(kConfigInc, machine.readFile(kConfigInc) + "' edited by hand\r\n");
    const std::string edited = machine.readFile(kConfigInc);

    const auto refused = runFrontEnd({"--machine", machine.root().string(), "--restore"});
    EXPECT_EQ(refused.status, 9);
    const auto date = dateOfCopy(filesLike(panelFolder(machine), "config.inc.", ".bak")[0]);
    EXPECT_EQ(refused.err, "Refused to restore the run of " + date +
                               "; nothing was changed:\n"
                               "  C:\\Tessaron\\panel\\config.inc was changed after the run (by "
                               "another program or person).\n");
    EXPECT_EQ(machine.readFile(kConfigInc), edited);
    EXPECT_EQ(machine.readFile(kMetabase), metabase);
}

TEST(Backups, ARunThatChangesNothingKeepsNoCopy) {
    TestMachine machine = TestMachine::sample("windows2003");
    runWith(machine, "");
    const std::string journal = machine.readFile(kJournal);
    runWith(machine, "", InstallOptions{});
    // The second run wrote the same config.inc and saved the same metabase;
    // the journal is still the first run's.
    EXPECT_EQ(machine.readFile(kJournal), journal);
    EXPECT_TRUE(filesLike(panelFolder(machine), "config.inc.", ".bak").empty());
    EXPECT_EQ(filesLike(historyFolder(machine), "MetaBase_", ".xml").size(), 1u);

    // A restore undoes the run that changed the files, and says which one.
    const std::string stamp = journal.substr(journal.find("run ") + 4, 15);
    const auto restored = runFrontEnd({"--machine", machine.root().string(), "--restore"});
    EXPECT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(restored.out.substr(0, restored.out.find('\n')),
              "Restoring the files of the run of " + dateOfCopy("config.inc." + stamp) +
                  " (the latest run that changed them):");
    EXPECT_NE(restored.out.find("\n" + kNotUndone + "\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(machine.host(kConfigInc)));
}

// The machine as the run sees it, whose metabase notes, when it is saved,
// whether another handle could take the machine's lock then.
class LockNotingMachine : public ForwardingPlatform {
public:
    explicit LockNotingMachine(MachineImage& image) : ForwardingPlatform(image), image_(image) {}
    Metabase& Iis() override { return metabase_; }
    std::optional<bool> lockFreeAtSave;

private:
    class NotingMetabase : public Metabase {
    public:
        explicit NotingMetabase(LockNotingMachine& machine) : machine_(machine) {}
        std::unique_ptr<MetabaseObject> Open(const std::string& path) override {
            return machine_.image_.Iis().Open(path);
        }
        int FirstFreeNumber(const std::string& parentPath) override {
            return machine_.image_.Iis().FirstFreeNumber(parentPath);
        }
        void Flush() override {
            MachineImage other(machine_.image_.root());
            machine_.lockFreeAtSave = other.LockMachine(std::chrono::milliseconds(0)) != nullptr;
            machine_.image_.Iis().Flush();
        }

    private:
        LockNotingMachine& machine_;
    };

    MachineImage& image_;
    NotingMetabase metabase_{*this};
};

// The metabase is saved (and the journal written) while the run still holds
// the machine, so that no other run starts between the steps and the save.
TEST(Backups, TheMetabaseIsSavedWhileTheRunHoldsTheMachine) {
    TestMachine machine = TestMachine::sample("windows2003");
    AnsweredWindow window(machine, sampleAnswers());
    LockNotingMachine noting(window.image);
    ProgressLog log;
    wiring::performRun(window.settings, InstallOptions{true, false, true}, noting, log);
    EXPECT_EQ(noting.lockFreeAtSave, false);
    EXPECT_NE(machine.readFile(kMetabase).find("AppPools/Tessaron"), std::string::npos);
}

// A journal that cannot be written leaves no part of itself, and the run's
// result says that it cannot be undone.
TEST(Backups, ARunWhoseJournalCannotBeWrittenSaysItCannotBeUndone) {
    TestMachine machine = TestMachine::sample("windows2003");
    machine.makeFolder(kJournal);
    AnsweredWindow window(machine, sampleAnswers());
    ProgressLog log;
    const wiring::RunOutcome outcome =
        wiring::performRun(window.settings, InstallOptions{true, false, true}, window.image, log);
    EXPECT_EQ(log.entries().back(),
              "WARNING: Could not write the run journal " + kJournal + " - Permission denied");
    EXPECT_EQ(wiring::describeRunOutcome(outcome).line,
              "Result: completed (exit status 0). The run cannot be undone: its run journal "
              "could not be written.");
    EXPECT_EQ(filesLike(panelFolder(machine), ".", ".tessaron-tmp"), std::vector<std::string>{});
}

// A restore takes the machine's lock as a run does, and first removes the
// temporary files that killed runs left beside the files it puts back.
TEST(Backups, RestoreWaitsForTheLockAndRemovesLeftOverTemporaries) {
    TestMachine machine = TestMachine::sample("windows2003");
    runWith(machine, "");
    const std::string config = machine.readFile(kConfigInc);
    {
        MachineImage other(machine.root());
        const auto held = other.LockMachine(std::chrono::milliseconds(0));
        ASSERT_TRUE(held);
        const auto busy = runFrontEnd({"--machine", machine.root().string(), "--restore"});
        EXPECT_EQ(busy.status, 5);
        EXPECT_EQ(busy.err,
                  "tessaron-config: another configuration run holds the machine; nothing was "
                  "done\n");
        EXPECT_EQ(machine.readFile(kConfigInc), config);
    }
    const std::vector<std::string> leftOvers = {
        "C:\\Tessaron\\panel\\.config.inc.0a1b2c3d.tessaron-tmp",
        "C:\\Tessaron\\panel\\.tessaron-run.journal.00000000.tessaron-tmp",
        "C:\\WINDOWS\\system32\\inetsrv\\.MetaBase.xml.ffffffff.tessaron-tmp",
    };
    for (const auto& file : leftOvers) machine.writeFile(file, "partial");
    const auto restored = runFrontEnd({"--machine", machine.root().string(), "--restore"});
    EXPECT_EQ(restored.status, 0) << restored.err;
    for (const auto& file : leftOvers) EXPECT_FALSE(fs::exists(machine.host(file))) << file;
}

TEST(Backups, ARunWithoutTheSitesLeavesTheMetabaseAndItsHistoryAlone) {
    TestMachine machine = TestMachine::sample("windows2003");
    const std::string metabase = machine.readFile(kMetabase);
    InstallOptions tasksOnly;
    tasksOnly.CreateTasks = true;
    runWith(machine, "", tasksOnly);
    EXPECT_FALSE(fs::exists(historyFolder(machine)));
    EXPECT_EQ(machine.readFile(kMetabase), metabase);
    EXPECT_EQ(machine.readFile(kJournal).find("MetaBase.xml"), std::string::npos);
}

TEST(Backups, AJournalOfAnOlderVersionIsNotRestored) {
    TestMachine machine = TestMachine::sample("windows2003");
    runWith(machine, "");
    runWith(machine, "txtControlPanelTitle = Second\n");
    const std::string config = machine.readFile(kConfigInc);
    // Former versions wrote SHA-256 digests, 64 hexadecimal digits.
    std::string journal = machine.readFile(kJournal);
    for (auto at = journal.find("xxh3:"); at != std::string::npos; at = journal.find("xxh3:")) {
        journal.replace(at, 37, std::string(64, 'a'));
    }
    machine.writeFile(kJournal, journal);

    const auto refused = runFrontEnd({"--machine", machine.root().string(), "--restore"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Cannot restore: " + kJournal +
                               " was written by an older version of this program; restore with "
                               "that version.\n");
    EXPECT_EQ(machine.readFile(kConfigInc), config);
}

}  // namespace
}  // namespace tessaron::app::testing
