// A whole installation run, as the progress window performs it, on a copy of
// the Windows Server 2003 sample machine: the complete progress log and the
// bytes of config.inc are compared with what the file format prescribes
// (fixtures under tests/data/run, written by hand).
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>

#include "CommandsLog.h"
#include "platform/image/MachineImage.h"
#include "run/RunDriver.h"
#include "runcontext/RunContext.h"
#include "support/Fixtures.h"
#include "support/LocalTime.h"
#include "support/SampleSettings.h"

namespace tessaron::testing {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// What the install button makes of a filled-in settings window on that
// machine; values chosen to pass through every conversion of the file:
// every optional part on but the sites, which stay the machine's.
constexpr SettingsChange kEveryConversion[] = {
    {&SettingsRecord::ControlPanelTitle, "Example \"Hosting\" Panel"},
    {&SettingsRecord::MainCompanyName, "Ex\xC3\xA4mple Hosting Ltd"},
    {&SettingsRecord::AdminPassword, "s3cret/pw"},
    {&SettingsRecord::ControlPanelSiteSelection, kNewSiteChoice},
    {&SettingsRecord::MainDatabaseUsername, "tessaron"},
    {&SettingsRecord::MainDatabasePassword, "db//pass"},
    {&SettingsRecord::EnableStatistics, "True"},
    {&SettingsRecord::StatisticsType, "AWStats"},
    {&SettingsRecord::StatsRoot, "C:\\Tessaron\\stats\\AWStats"},
    {&SettingsRecord::StatsDataRoot, "C:\\Tessaron\\stats\\AWStats\\data"},
    {&SettingsRecord::StatsFileRoot, "C:\\Tessaron\\stats\\AWStats\\output"},
    {&SettingsRecord::MailServerEnabled, "True"},
    {&SettingsRecord::MailServerType, "MailEnable"},
    {&SettingsRecord::MailServerIP, "10.0.0.5"},
    {&SettingsRecord::MailServerDir, "C:\\Program Files\\Mail Enable\\"},
    {&SettingsRecord::EnableWebmail, "True"},
    {&SettingsRecord::WebmailURL, "http://webmail.example.com/"},
    {&SettingsRecord::MaximumMailboxSize, "-1"},
    {&SettingsRecord::AdminEmail, "hostmaster@example.com"},
    {&SettingsRecord::DefaultPrimaryDNS, "ns1.example.com"},
    {&SettingsRecord::DefaultPrimaryDNSIP, "10.0.0.5"},
    {&SettingsRecord::DefaultSecondaryDNS, "ns2.example.com"},
    {&SettingsRecord::DefaultSecondaryDNSIP, "10.0.0.6"},
    {&SettingsRecord::DNSRoot, "C:\\WINDOWS\\system32\\dns\\"},
    {&SettingsRecord::MSSQLActive, "True"},
    {&SettingsRecord::SQLServerAdminUsername, "sa"},
    {&SettingsRecord::SQLServerAdminPassword, ""},
    {&SettingsRecord::SQLServerIP, "10.0.0.20"},
    {&SettingsRecord::SQLServerDataPath, "D:\\SQLData\\"},
    {&SettingsRecord::EnablePHP, "True"},
    {&SettingsRecord::PHPLocation, "C:\\PHP\\php-cgi.exe"},
    {&SettingsRecord::PreviewSVCSelection, "0"},
};

SettingsRecord everyConversionSettings() {
    return sampleSettings({kSample2003, kFilledInWindow, kEveryConversion});
}

std::chrono::system_clock::time_point march7th2024() {
    return localTime(2024, 3, 7, 12);
}

struct WholeRunCase {
    const char* name;
    InstallOptions options;
    Lines tasks;
    Lines commands;
};

// Names the case in test output.
void PrintTo(const WholeRunCase& c, std::ostream* os) {
    *os << c.name;
}

class WholeRun : public ::testing::TestWithParam<WholeRunCase> {};

TEST_P(WholeRun, OnTheWindows2003Sample) {
    TestMachine machine = TestMachine::sample("windows2003");
    SettingsRecord settings = everyConversionSettings();
    MachineImage image(machine.root());
    ProgressLog log;
    RunContext run(settings, GetParam().options, image, log);
    run.now = march7th2024;

    EXPECT_EQ(performInstallationRun(run), RunEnding::Completed);

    Lines expectedLog = kSample2003LogBeforeSites;
    expectedLog.insert(expectedLog.end(), GetParam().tasks.begin(), GetParam().tasks.end());
    expectedLog.push_back("Tessaron configuration completed.");
    EXPECT_EQ(log.entries(), expectedLog);
    std::string expectedText;
    for (const auto& entry : expectedLog)
        expectedText += (expectedText.empty() ? "" : "\r\n") + entry;
    EXPECT_EQ(log.text(), expectedText);
    EXPECT_FALSE(run.RunError);

    EXPECT_EQ(
        machine.readFile("C:\\Tessaron\\panel\\config.inc"),
        fixtureBytes("run/windows2003-body.inc") + fixtureBytes("run/windows2003-site-lines.inc"));
    EXPECT_TRUE(fs::is_directory(machine.host("C:\\Hosting")));
    EXPECT_TRUE(fs::is_directory(machine.host("C:\\Tessaron\\temp")));
    EXPECT_EQ(commandsLogLines(machine), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(
    Options, WholeRun,
    ::testing::Values(
        WholeRunCase{"none", {}, {}, {}},
        WholeRunCase{
            "tasks",
            {.CreateTasks = true},
            {"Creating task for bandwidth update...", "Creating task for statistics update..."},
            {"C:\\Tessaron\\bin\\jt.exe /snj \"Tessaron - Update Bandwidth\" /sc \"Administrator\" "
             "\"s3cret/pw\" /ctj starttime=00:00 type=daily /sj "
             "workingdirectory=\"C:\\Tessaron\\bin\" "
             "applicationname=\"C:\\Tessaron\\bin\\updatebandwidth.vbs\"",
             "C:\\Tessaron\\bin\\jt.exe /snj \"Tessaron - Update Statistics\" /sc "
             "\"Administrator\" "
             "\"s3cret/pw\" /ctj starttime=00:00 type=daily /sj "
             "workingdirectory=\"C:\\Tessaron\\bin\" "
             "applicationname=\"C:\\Tessaron\\bin\\updatestats.vbs\""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WholeRunOnWindows2000, InstallsTheDnsProviderAndGoesOn) {
    TestMachine machine = TestMachine::sample("windows2000");
    SettingsRecord settings = everyConversionSettings();
    settings.LogRoot = "C:\\WINNT\\system32\\LogFiles";
    InstallOptions options;
    MachineImage image(machine.root());
    ProgressLog log;
    RunContext run(settings, options, image, log);

    EXPECT_EQ(performInstallationRun(run), RunEnding::Completed);

    EXPECT_EQ(log.entries(),
              (Lines{"Beginning Tessaron configuration...", "Checking installation integrity...",
                     "DNS WMI provider registered.  Reinitializing...", "DNS WMI provider OK.",
                     "Accounts directory created.", "Temp directory created.",
                     "Logfile directory OK.", "Writing configuration file...",
                     "Configuration file written.", "Tessaron configuration completed."}));
    EXPECT_EQ(commandsLogLines(machine),
              (Lines{"C:\\WINNT\\system32\\WBEM\\MOFCOMP.EXE DNSSCHEMA.MOF",
                     "C:\\WINNT\\system32\\REGSVR32.EXE C:\\WINNT\\system32\\WBEM\\DNSPROV.DLL"}));
    EXPECT_EQ(machine.readFile("C:\\WINNT\\system32\\wbem\\dnsprov.dll"),
              machine.readFile("C:\\Tessaron\\bin\\dnsprov.dll"));
}

}  // namespace
}  // namespace tessaron::testing
