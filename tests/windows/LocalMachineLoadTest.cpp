// The program without --machine: the load step on the machine it runs on,
// through real COM activation, the registry and the directory service.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "WindowsTestSupport.h"
#include "app/unattended/UnattendedFrontEnd.h"
#include "app/wiring/ExitStatus.h"
#include "main/ProgramBackend.h"
#include "platform/WideText.h"
#include "platform/odbc/OdbcDatabase.h"
#include "platform/windows/IisProviderHint.h"
#include "platform/windows/LocalMachine.h"
#include "platform/windows/Win32.h"

namespace tessaron::testing {
namespace {

const char* const kComponentMessage =
    "Tessaron DLL Not Accessable!: Sorry, I cannot access the Tessaron DLL.  Please reinstall "
    "Tessaron.\n";
// Without IIS the load step ends when it reads the log directory among the
// machine's facts.
const char* const kNoIisMessage =
    "Critical Error 1: Sorry, I encountered problems getting the necessary information for "
    "configuration.  Please make sure IIS is installed properly, and that you are running this "
    "utility with Administrator privileges.\n";

// The line added on IIS 7 and later, where the provider is a role service.
const char* const kIisProviderHint =
    "IIS's directory-service provider is missing: add the role service \"IIS 6 Metabase "
    "Compatibility\" (Server Manager: Web Server (IIS), Management Tools, IIS 6 Management "
    "Compatibility), or run Install-WindowsFeature Web-Metabase in PowerShell.";

std::string escaped(const std::string& path) {
    std::string out;
    for (char c : path) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

// A panel installation in a temporary folder, recorded in the registry as
// the panel's installer does.
class LocalMachineLoad : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(
            std::filesystem::path(panel_ / "panel\\styles\\Default"));
        importRegistry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaron]\r\n\"Install_Dir\"=\"" +
                       escaped(panel_.path()) + "\"\r\n\r\n");
        writeBytes(panel_ / "answers.txt", "# nothing to change\n");
    }
    void TearDown() override { deleteMachineKey("SOFTWARE\\Tessaron"); }

    int run(std::string& err) {
        std::ostringstream out, errors;
        const int status = app::unattended::runUnattended({"--answers", panel_ / "answers.txt"},
                                                          startup::programBackend(), out, errors);
        err = errors.str();
        return status;
    }

    TempFolder panel_;
};

TEST_F(LocalMachineLoad, WithoutTheComponentTheProgramEndsWithMessage2) {
    std::string err;
    EXPECT_EQ(run(err), app::wiring::exit_status::kEndedAtLoad);
    EXPECT_EQ(err, kComponentMessage);

    OdbcDatabase odbc;
    const auto machine = platform::windows::openLocalMachine(odbc);
    try {
        machine->CreatePanelComponent();
        FAIL() << "created an unregistered component";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.number(), 429);
        EXPECT_EQ(error.description(), "ActiveX component can't create object");
    }
}

TEST_F(LocalMachineLoad, TheComponentIsReachedThroughCom) {
    RegisteredTestMaster master;
    TempFolder logFolder;
    const auto log = logFolder / "commands.log";
    SetEnvironmentVariableA("TESSARON_TEST_COMMANDS", log.c_str());

    OdbcDatabase odbc;
    const auto machine = platform::windows::openLocalMachine(odbc);
    auto component = machine->CreatePanelComponent();
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(name, &length);
    EXPECT_EQ(component->ComputerName(), fromWide(std::wstring_view(name, length)));
    component->Execute("C:\\Tessaron\\bin\\jt.exe /SAJ \"Tessaron - Update Bandwidth.job\"");
    component->Execute("caf\xC3\xA9.exe");
    EXPECT_EQ(
        readBytes(log),
        "C:\\Tessaron\\bin\\jt.exe /SAJ \"Tessaron - Update Bandwidth.job\"\ncaf\xC3\xA9.exe\n");
    SetEnvironmentVariableA("TESSARON_TEST_COMMANDS", nullptr);
}

TEST_F(LocalMachineLoad, WithoutTheIisProviderTheProgramEndsWithMessage3) {
    RegisteredTestMaster master;
    OdbcDatabase odbc;
    const auto machine = platform::windows::openLocalMachine(odbc);
    try {
        machine->Iis().Open("IIS://LocalHost/W3SVC");
        FAIL() << "opened the web service without a provider";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.description(), "The system cannot find the path specified.")
            << std::hex << error.number();
    }
    std::string err;
    EXPECT_EQ(run(err), app::wiring::exit_status::kEndedAtLoad);
    EXPECT_EQ(err, kNoIisMessage);

    // The program at a command prompt: the same message, then (wine reports
    // a release after Server 2008) the line naming the role service, and the
    // status for the prompt.
    std::string output;
    EXPECT_EQ(runProgram("\"" + builtProgram("tessaron-config.com") + "\" --answers \"" +
                             panel_ / "answers.txt" + "\"",
                         &output),
              static_cast<unsigned long>(app::wiring::exit_status::kEndedAtLoad));
    EXPECT_EQ(output, std::string(kNoIisMessage) + kIisProviderHint + "\n");
}

TEST(IisProviderHint, OnlyReleasesWhoseIisLacksTheProviderByDefaultGetTheLine) {
    struct Case {
        const char* version;
        bool registered;
        bool hint;
    };
    for (const Case& c : {Case{"5.0.2195", false, false}, Case{"5.2.3790", false, false},
                          Case{"6.0.6001", false, true}, Case{"10.0.17763", false, true},
                          Case{"10.0.17763", true, false}}) {
        const auto hint = platform::windows::iisProviderHint(c.version, c.registered);
        EXPECT_EQ(hint.has_value(), c.hint) << c.version << " " << c.registered;
        if (hint) {
            EXPECT_EQ(*hint, kIisProviderHint);
        }
    }
}

}  // namespace
}  // namespace tessaron::testing
