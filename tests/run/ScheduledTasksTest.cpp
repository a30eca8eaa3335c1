#include <gtest/gtest.h>

#include <ostream>

#include "CommandsLog.h"
#include "run/ScheduledTasks.h"
#include "support/MachineRun.h"
#include "support/WindowsArguments.h"

namespace tessaron::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(TaskCommandLine, EmptyPasswordIsAnEmptyPairOfQuotes) {
    EXPECT_EQ(
        taskCommandLine("C:\\Tessaron", "Administrator", "", "Tessaron - Update Bandwidth",
                        "updatebandwidth.vbs"),
        "C:\\Tessaron\\bin\\jt.exe /snj \"Tessaron - Update Bandwidth\" /sc \"Administrator\" "
        "\"\" /ctj starttime=00:00 type=daily /sj "
        "workingdirectory=\"C:\\Tessaron\\bin\" "
        "applicationname=\"C:\\Tessaron\\bin\\updatebandwidth.vbs\"");
}

TEST(TaskCommandLine, ToolPathStaysUnquotedAndValuesUnconverted) {
    EXPECT_EQ(taskCommandLine("D:\\Program Files\\Tessaron", "host\\admin", "p/w\\1",
                              "Tessaron - Update Statistics", "updatestats.vbs"),
              "D:\\Program Files\\Tessaron\\bin\\jt.exe /snj \"Tessaron - Update Statistics\" "
              "/sc \"host\\admin\" \"p/w\\1\" /ctj starttime=00:00 type=daily /sj "
              "workingdirectory=\"D:\\Program Files\\Tessaron\\bin\" "
              "applicationname=\"D:\\Program Files\\Tessaron\\bin\\updatestats.vbs\"");
}

// Quotes and backslashes in the account and password: the line as the tool
// gets it, and each value back as one argument when split by the rules of
// the Windows command line.
TEST(TaskCommandLine, EachValueIsExactlyOneArgument) {
    struct Case {
        std::string user, password, quoted;
    };
    const std::vector<Case> cases = {
        {"admin", "a\"b", "\"admin\" \"a\\\"b\""},
        {"admin", "secret\\", "\"admin\" \"secret\\\\\""},
        {"admin", "a\\\"b", "\"admin\" \"a\\\\\\\"b\""},
        {"x\" /ru SYSTEM /y \"", "\\\\srv\\ \\\"\"",
         "\"x\\\" /ru SYSTEM /y \\\"\" \"\\\\srv\\ \\\\\\\"\\\"\""},
        {"", "", "\"\" \"\""},
    };
    for (const auto& c : cases) {
        const std::string line =
            taskCommandLine("C:\\Tessaron", c.user, c.password, "Tessaron - Update Bandwidth",
                            "updatebandwidth.vbs");
        EXPECT_NE(line.find(" /sc " + c.quoted + " /ctj "), std::string::npos) << line;
        EXPECT_EQ(splitWindowsArguments(line),
                  (std::vector<std::string>{
                      "C:\\Tessaron\\bin\\jt.exe", "/snj", "Tessaron - Update Bandwidth", "/sc",
                      c.user, c.password, "/ctj", "starttime=00:00", "type=daily", "/sj",
                      "workingdirectory=C:\\Tessaron\\bin",
                      "applicationname=C:\\Tessaron\\bin\\updatebandwidth.vbs"}))
            << line;
    }
}

struct TaskCase {
    const char* statistics;
    Lines log;
    std::size_t commands;
};

// Names the case in test output.
void PrintTo(const TaskCase& c, std::ostream* os) {
    *os << c.statistics;
}

class ScheduledTasksTest : public ::testing::TestWithParam<TaskCase> {};

TEST_P(ScheduledTasksTest, RegistersTheStatisticsTaskOnlyWhenStatisticsAreOn) {
    auto machine = TestMachine::smallServer();
    MachineRun fixture(machine);
    fixture.settings.EnableStatistics = GetParam().statistics;
    fixture.settings.AdminPassword = "secret";

    createScheduledTasks(fixture.run);

    EXPECT_EQ(fixture.log.entries(), GetParam().log);
    const Lines expected = {
        "C:\\Tessaron\\bin\\jt.exe /snj \"Tessaron - Update Bandwidth\" /sc \"Administrator\" "
        "\"secret\" /ctj starttime=00:00 type=daily /sj workingdirectory=\"C:\\Tessaron\\bin\" "
        "applicationname=\"C:\\Tessaron\\bin\\updatebandwidth.vbs\"",
        "C:\\Tessaron\\bin\\jt.exe /snj \"Tessaron - Update Statistics\" /sc \"Administrator\" "
        "\"secret\" /ctj starttime=00:00 type=daily /sj workingdirectory=\"C:\\Tessaron\\bin\" "
        "applicationname=\"C:\\Tessaron\\bin\\updatestats.vbs\"",
    };
    EXPECT_EQ(commandsLogLines(machine),
              Lines(expected.begin(), expected.begin() + GetParam().commands));
    EXPECT_FALSE(fixture.run.failure.failed());
}

INSTANTIATE_TEST_SUITE_P(
    Statistics, ScheduledTasksTest,
    ::testing::Values(TaskCase{"False", {"Creating task for bandwidth update..."}, 1},
                      TaskCase{"True",
                               {"Creating task for bandwidth update...",
                                "Creating task for statistics update..."},
                               2}));

// Run again, a task is registered only when its command line changed: the
// tool would replace it by name with the same task.
TEST(ScheduledTasksAgain, RegistersOnlyTheTasksWhoseCommandLineChanged) {
    auto machine = TestMachine::smallServer();
    struct Run {
        const char* password;
        const char* statistics;
        Lines log;
        std::size_t commandsAfter;
    };
    const std::vector<Run> runs = {
        {"secret", "False", {"Creating task for bandwidth update..."}, 1},
        {"secret", "False", {"Task for bandwidth update is registered already."}, 1},
        {"secret",
         "True",
         {"Task for bandwidth update is registered already.",
          "Creating task for statistics update..."},
         2},
        {"changed",
         "True",
         {"Creating task for bandwidth update...", "Creating task for statistics update..."},
         4},
        {"changed",
         "True",
         {"Task for bandwidth update is registered already.",
          "Task for statistics update is registered already."},
         4},
    };
    for (std::size_t index = 0; index < runs.size(); ++index) {
        MachineRun fixture(machine);
        fixture.settings.AdminPassword = runs[index].password;
        fixture.settings.EnableStatistics = runs[index].statistics;
        createScheduledTasks(fixture.run);
        EXPECT_EQ(fixture.log.entries(), runs[index].log) << "run " << index + 1;
        EXPECT_EQ(commandsLogLines(machine).size(), runs[index].commandsAfter)
            << "run " << index + 1;
    }
    // The record holds digests, never the password itself.
    const std::string record = machine.readFile("C:\\Tessaron\\panel\\tessaron-tasks.registered");
    EXPECT_EQ(record.find("changed"), std::string::npos) << record;
    EXPECT_NE(record.find("Tessaron - Update Statistics = "), std::string::npos) << record;
}

}  // namespace
}  // namespace tessaron::testing
