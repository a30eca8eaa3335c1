#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "run/PrerequisiteChecks.h"
#include "run/RunDriver.h"
#include "support/MachineRun.h"

namespace tessaron::testing {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Stages of other folders replaced by recorders, so the driver's order and
// gates show in the log. Each asserts that it starts with a clear failure
// indicator (continue-on-error mode switched on again).
RunStages recordingStages(bool webServerSucceeds) {
    RunStages stages;
    stages.database = [](RunContext& run) {
        EXPECT_FALSE(run.failure.failed());
        run.AddProgressText("<database>");
    };
    stages.webServer = [webServerSucceeds](RunContext& run) {
        EXPECT_FALSE(run.failure.failed());
        run.AddProgressText("<web server>");
        return WebServerResult{.endedOnError = !webServerSucceeds};
    };
    stages.appendSites = [](RunContext& run, const std::optional<std::vector<std::string>>&,
                            const HeldSiteNumbers&) {
        EXPECT_FALSE(run.failure.failed());
        run.AddProgressText("<append>");
    };
    return stages;
}

const Lines kStart = {"Beginning Tessaron configuration...", "Checking installation integrity...",
                      "Accounts directory OK.", "Temp directory OK.", "Logfile directory OK."};
const Lines kWritten = {"Writing configuration file...", "Configuration file written."};
const Lines kNotWritten = {"Writing configuration file...",
                           "Could not open configuration file for overwriting.",
                           "Could not write to configuration file."};
const Lines kTasks = {"Creating task for bandwidth update..."};

Lines joined(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

struct GateCase {
    const char* what;
    InstallOptions options;
    bool configFails;
    bool webServerSucceeds;
    Lines log;
};

// Names the case in test output.
void PrintTo(const GateCase& c, std::ostream* os) {
    *os << c.what;
}

class RunGates : public ::testing::TestWithParam<GateCase> {};

TEST_P(RunGates, RunsEachStageOnlyWhereItsGateAllows) {
    auto machine = TestMachine::smallServer();
    if (GetParam().configFails && !TestMachine::foldersCanBeReadOnly()) {
        GTEST_SKIP() << "folders cannot be read-only here";
    }
    if (GetParam().configFails) machine.setReadOnly("C:\\Tessaron\\panel", true);
    MachineRun fixture(machine);
    fixture.options = GetParam().options;

    const RunEnding ending =
        performInstallationRun(fixture.run, recordingStages(GetParam().webServerSucceeds)).ending;

    EXPECT_EQ(ending, RunEnding::Completed);
    EXPECT_EQ(fixture.log.entries(), GetParam().log);
    EXPECT_EQ(fixture.run.RunError, GetParam().configFails);
    EXPECT_EQ(fixture.log.entries().back(), "Tessaron configuration completed.");
}

const Lines kDone = {"Tessaron configuration completed."};

INSTANTIATE_TEST_SUITE_P(
    Options, RunGates,
    ::testing::Values(
        GateCase{"no option", {}, false, true, joined({kStart, kWritten, {"<append>"}, kDone})},
        GateCase{"tasks",
                 {.CreateTasks = true},
                 false,
                 true,
                 joined({kStart, kWritten, kTasks, {"<append>"}, kDone})},
        GateCase{"database",
                 {.InitializeDatabase = true},
                 false,
                 true,
                 joined({kStart, kWritten, {"<database>", "<append>"}, kDone})},
        GateCase{"sites",
                 {.SetUpSites = true},
                 false,
                 true,
                 joined({kStart, kWritten, {"<web server>", "<append>"}, kDone})},
        GateCase{
            "all",
            {true, true, true},
            false,
            true,
            joined({kStart, kWritten, kTasks, {"<database>", "<web server>", "<append>"}, kDone})},
        GateCase{"web-server error skips the append",
                 {true, true, true},
                 false,
                 false,
                 joined({kStart, kWritten, kTasks, {"<database>", "<web server>"}, kDone})},
        GateCase{"config failure skips tasks and database",
                 {.InitializeDatabase = true, .CreateTasks = true},
                 true,
                 true,
                 joined({kStart, kNotWritten, {"<append>"}, kDone})},
        GateCase{"config failure still sets up sites",
                 {true, true, true},
                 true,
                 true,
                 joined({kStart, kNotWritten, {"<web server>", "<append>"}, kDone})}),
    [](const auto& info) {
        std::string name = info.param.what;
        for (auto& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

TEST(RunEndings, AFailedCheckStopsTheRunWithoutCompletionLine) {
    auto machine = TestMachine::smallServer();
    MachineRun fixture(machine);
    fixture.settings.ServerRoot = "C:\\Hosting\\Accounts";
    fixture.options = {true, true, true};
    bool anyStageRan = false;
    RunStages stages;
    stages.database = [&](RunContext&) { anyStageRan = true; };
    stages.webServer = [&](RunContext&) {
        anyStageRan = true;
        return WebServerResult{};
    };
    stages.appendSites = [&](RunContext&, const std::optional<std::vector<std::string>>&,
                             const HeldSiteNumbers&) { anyStageRan = true; };

    EXPECT_EQ(performInstallationRun(fixture.run, stages), RunEnding::StoppedByCheck);

    EXPECT_EQ(
        fixture.log.text(),
        "Beginning Tessaron configuration...\r\nChecking installation integrity...\r\n"
        "ERROR: Could not create accounts directory at C:\\Hosting\\Accounts - Path not found");
    EXPECT_FALSE(fixture.run.RunError);
    EXPECT_FALSE(anyStageRan);
    EXPECT_FALSE(fs::exists(machine.host("C:\\Tessaron\\panel\\config.inc")));
    EXPECT_FALSE(fs::exists(machine.root() / "commands.log"));
}

TEST(RunEndings, ANewRunClearsRunErrorAndCompletesTheInternalAddress) {
    auto machine = TestMachine::smallServer();
    MachineRun fixture(machine);
    fixture.run.RunError = true;  // left from an earlier run
    fixture.settings.InternalIP = "";

    EXPECT_EQ(performInstallationRun(fixture.run, recordingStages(true)), RunEnding::Completed);

    EXPECT_FALSE(fixture.run.RunError);
    EXPECT_EQ(fixture.settings.InternalIP, "192.0.2.10");
    EXPECT_NE(
        machine.readFile("C:\\Tessaron\\panel\\config.inc").find("InternalIP = \"192.0.2.10\"\r\n"),
        std::string::npos);
}

TEST(RunEndings, AGivenInternalAddressIsKept) {
    auto machine = TestMachine::smallServer();
    MachineRun fixture(machine);
    fixture.settings.InternalIP = "10.0.0.5";

    performInstallationRun(fixture.run, recordingStages(true));

    EXPECT_EQ(fixture.settings.InternalIP, "10.0.0.5");
}

}  // namespace
}  // namespace tessaron::testing

namespace tessaron::testing {
namespace {

// A cancel takes effect at the first safe point after it was asked for: the
// steps begun so far are whole, none after it runs, the cancel line ends the
// log and no completion line follows.
TEST(RunCancel, EndsAtTheNextSafePointBetweenSteps) {
    struct Case {
        int cancelAfterSteps;
        Lines tail;  // the log after the start lines
        std::vector<std::string> begun;
    };
    const std::vector<std::string> all = {
        "Checking the installation",    "Writing the configuration file",
        "Creating the scheduled tasks", "Initialising the database",
        "Setting up the web sites",     "Recording the site numbers"};
    const std::vector<Case> cases = {
        {0, {}, {}},
        {2, joined({kWritten, {std::string(kCancelledLine)}}), {all[0], all[1]}},
        {4,
         joined({kWritten, kTasks, {"<database>", std::string(kCancelledLine)}}),
         {all[0], all[1], all[2], all[3]}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cancelAfterSteps);
        auto machine = TestMachine::smallServer();
        MachineRun fixture(machine);
        fixture.options.CreateTasks = true;
        fixture.options.InitializeDatabase = true;
        fixture.options.SetUpSites = true;
        std::vector<std::string> begun;
        fixture.run.stepBegun = [&](int step, int steps, const std::string& name) {
            EXPECT_EQ(step, static_cast<int>(begun.size()) + 1);
            EXPECT_EQ(steps, 6);
            begun.push_back(name);
        };
        fixture.run.cancelRequested = [&] {
            return static_cast<int>(begun.size()) >= c.cancelAfterSteps;
        };

        EXPECT_EQ(performInstallationRun(fixture.run, recordingStages(true)), RunEnding::Cancelled);

        EXPECT_EQ(begun, c.begun);
        Lines expected = {"Beginning Tessaron configuration..."};
        if (c.cancelAfterSteps == 0) {
            expected.push_back(kCancelledLine);
        } else {
            expected = joined({kStart, c.tail});
        }
        EXPECT_EQ(fixture.log.entries(), expected);
    }
}

}  // namespace
}  // namespace tessaron::testing
