#include "run/ScheduledTasks.h"

#include <gtest/gtest.h>

#include <ostream>

#include "RunMachine.h"

namespace tessaron::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(TaskCommandLine, EmptyPasswordIsAnEmptyPairOfQuotes) {
    EXPECT_EQ(TaskCommandLine("C:\\Tessaron", "Administrator", "", "Tessaron - Update Bandwidth",
                              "updatebandwidth.vbs"),
              "C:\\Tessaron\\bin\\jt.exe /snj \"Tessaron - Update Bandwidth\" /sc \"Administrator\" "
              "\"\" /ctj starttime=00:00 type=daily /sj "
              "workingdirectory=\"C:\\Tessaron\\bin\" "
              "applicationname=\"C:\\Tessaron\\bin\\updatebandwidth.vbs\"");
}

TEST(TaskCommandLine, ToolPathStaysUnquotedAndValuesUnconverted) {
    EXPECT_EQ(TaskCommandLine("D:\\Program Files\\Tessaron", "host\\admin", "p\"w/1",
                              "Tessaron - Update Statistics", "updatestats.vbs"),
              "D:\\Program Files\\Tessaron\\bin\\jt.exe /snj \"Tessaron - Update Statistics\" "
              "/sc \"host\\admin\" \"p\"w/1\" /ctj starttime=00:00 type=daily /sj "
              "workingdirectory=\"D:\\Program Files\\Tessaron\\bin\" "
              "applicationname=\"D:\\Program Files\\Tessaron\\bin\\updatestats.vbs\"");
}

struct TaskCase {
    const char* statistics;
    Lines log;
    std::size_t commands;
};

// Names the case in test output.
void PrintTo(const TaskCase& c, std::ostream* os) { *os << c.statistics; }

class ScheduledTasksTest : public ::testing::TestWithParam<TaskCase> {};

TEST_P(ScheduledTasksTest, RegistersTheStatisticsTaskOnlyWhenStatisticsAreOn) {
    TempMachine machine;
    writeSmallServer(machine);
    RunFixture fixture(machine);
    fixture.settings.EnableStatistics = GetParam().statistics;
    fixture.settings.AdminPassword = "secret";

    CreateScheduledTasks(fixture.run);

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

}  // namespace
}  // namespace tessaron::testing
