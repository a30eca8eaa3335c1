// Values that would break config.inc, the metabase or a task line: refused
// before the run with nothing on the machine changed, or, when acceptable,
// arriving in each of them exactly as typed. Whole unattended runs on copies
// of the Windows Server 2003 sample.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "RunSupport.h"
#include "app/window/InputValidation.h"
#include "main/ProgramBackend.h"
#include "platform/CodePage1252.h"
#include "platform/image/MachineImage.h"
#include "settings/ConfigFileReader.h"
#include "support/ImageDigest.h"
#include "support/TestMachine.h"
#include "support/WindowsArguments.h"

namespace tessaron::app::testing {

using window::checkSettingsInput;

namespace {

namespace fs = std::filesystem;
using tessaron::testing::TestMachine;

// The answers file lies beside the image's drives, written before the run.
Outcome runOn(const TestMachine& machine, const std::string& answers,
              const std::string& options = "tasks,sites") {
    return runFrontEnd({"--machine", machine.root().string(), "--answers",
                        writeBeside(machine, "answers.txt", answers), "--options", options});
}

const std::string kPort = "is not a whole number from 1 to 65535";
const std::string kAddress =
    "is not an IPv4 address (four numbers from 0 to 255 joined by dots, such as 10.0.0.5)";
const std::string kInternal =
    "is neither empty nor an IPv4 address (four numbers from 0 to 255 joined by dots, such as "
    "10.0.0.5)";
const std::string kControl = "contains a control character (such as a tab or a line break)";

TEST(InputSafety, RefusedValuesStopBeforeTheRunAndLeaveTheMachineAsItWas) {
    struct Case {
        std::string control;
        std::string value;  // as the answers file line gives it
        std::string problem;
    };
    const std::vector<Case> cases = {
        {"txtCustomerPort", "2100 : Execute Chr(77)", kPort},
        {"txtCustomerPort", "\"a\"\"b\"", kPort},
        {"txtCustomerPort", "100%", kPort},
        {"txtCustomerPort", "\"21\t00\"", kControl},
        {"txtCustomerPort", "\"\"", kPort},
        {"txtCustomerPort", "0", kPort},
        {"txtResellerPort", "65536", kPort},
        {"txtResellerPort", "021000", kPort},
        {"txtCustomerPort",
         "21\x01"
         "00",
         kControl},
        {"txtResellerPort",
         "21\x01"
         "01",
         kControl},
        {"txtInternalIP", "10.0.0\x01.5", kControl},
        {"txtInternalIP", "10.0.0.999", kInternal},
        {"txtInternalIP", "10.0.0", kInternal},
        {"txtMainIP", "\"\"", kAddress},
        {"txtMainIP", "10.0.0.5.", kAddress},
        {"txtMainIP", "10..0.5", kAddress},
        {"txtAdminPassword", std::string(51, 'p'),
         "is longer than the 50 characters that the database stores"},
        {"txtAdminUsername", std::string(49, 'u') + "\xC3\xA9\xC3\xA9",
         "is longer than the 50 characters that the database stores"},
        {"txtMainContactEmail", std::string(101, 'm'),
         "is longer than the 100 characters that the database stores"},
        {"txtSharedSecureServer", "secure\rhost", kControl},
        {"txtAdminPassword", "pass\x7F", kControl},
        {"txtControlPanelTitle", "Panel \xC2\x85 next", kControl},  // U+0085, a C1 control
        // Characters outside Windows-1252, which config.inc and the metabase
        // cannot hold, in the texts written last in the run.
        {"txtAdminPassword", "\"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\"",
         "contains the character \"\xE6\x97\xA5\" (U+65E5), which the configuration files "
         "(Windows-1252) cannot hold"},
        {"txtSharedSecureServer", "secure.example.com \xF0\x9F\x98\x80",
         "contains the character \"\xF0\x9F\x98\x80\" (U+1F600), which the configuration "
         "files (Windows-1252) cannot hold"},
        {"txtMainDatabasePassword", "caf\xC3\xA9\xCE\xA9",
         "contains the character \"\xCE\xA9\" (U+03A9), which the configuration files "
         "(Windows-1252) cannot hold"},
    };
    for (const auto& c : cases) {
        auto machine = TestMachine::sample("windows2003");
        const std::string answers = "txtControlPanelTitle = Panel\n# the value under test\n" +
                                    c.control + " = " + c.value + "\n";
        const auto file = writeBeside(machine, "answers.txt", answers);
        const auto before = tessaron::testing::imageDigest(machine.root());

        const auto result = runOn(machine, answers);
        EXPECT_EQ(result.status, 64) << c.control << " = " << c.value;
        EXPECT_EQ(result.err, "tessaron-config: " + file + ":3: the value of " + c.control + " " +
                                  c.problem + "\n")
            << c.value;
        EXPECT_EQ(result.out, "") << c.value;
        EXPECT_EQ(tessaron::testing::imageDigest(machine.root()), before) << c.value;
    }
}

TEST(InputSafety, BoundaryValuesAreAccepted) {
    struct Case {
        std::string SettingsRecord::*field;
        std::string value;
    };
    const std::vector<Case> cases = {
        {&SettingsRecord::CustomerPort, "1"},
        {&SettingsRecord::ResellerPort, "65535"},
        {&SettingsRecord::ServerIP, "255.255.255.255"},
        {&SettingsRecord::ServerIP, "0.0.0.0"},
        {&SettingsRecord::InternalIP, ""},
        {&SettingsRecord::AdminPassword, std::string(50, 'p')},
        {&SettingsRecord::AdminUsername, std::string(48, 'u') + "\xC3\xA9\xC3\xA9"},
        {&SettingsRecord::ControlPanelTitle, "\xC5\x92uvre \xE2\x82\xAC \" ' % : / \\"},
    };
    for (const auto& c : cases) {
        SettingsRecord settings;
        settings.CustomerPort = "2100";
        settings.ResellerPort = "2101";
        settings.ServerIP = "10.0.0.5";
        settings.*(c.field) = c.value;
        const auto problem = checkSettingsInput(settings);
        EXPECT_FALSE(problem) << c.value << ": " << (problem ? problem->problem : "");
    }
}

TEST(InputSafety, RefusalOfAValueTheFileDidNotSetNamesTheFile) {
    // The port comes from the existing config.inc the run would rewrite.
    auto machine = TestMachine::sample("windows2003");
    machine.writeFile("C:\\Tessaron\\panel\\config.inc",
                      "CustomerPort = 2100 : Execute Chr(77)\r\n");
    const auto file = writeBeside(machine, "answers.txt", "txtResellerPort = 2101\n");
    const auto before = tessaron::testing::imageDigest(machine.root());
    const auto result =
        runFrontEnd({"--machine", machine.root().string(), "--answers", file, "--yes"});
    EXPECT_EQ(result.status, 64);
    // After the question about the existing configuration, answered Yes.
    EXPECT_NE(
        result.err.find("\ntessaron-config: " + file +
                        ": the value of txtCustomerPort (not set in this file) " + kPort + "\n"),
        std::string::npos)
        << result.err;
    EXPECT_EQ(tessaron::testing::imageDigest(machine.root()), before);
}

// The VBScript value of each config.inc line as the panel reads it: the
// project's reader takes off the outer quotes and leaves the inner ones
// doubled; inside a literal a quote stands only doubled, and reads as one.
std::map<std::string, std::vector<std::string>> panelValues(const std::string& fileBytes) {
    std::map<std::string, std::vector<std::string>> values;
    for (const auto& line : parseConfigLines(decodeCodePage1252(fileBytes))) {
        if (line.key == "anonuser") continue;  // an expression, not a literal
        std::string value;
        for (std::size_t i = 0; i < line.value.size(); ++i) {
            if (line.value[i] == '"') {
                EXPECT_EQ(line.value.substr(i, 2), "\"\"") << line.key << " = " << line.value;
                ++i;
            }
            value += line.value[i];
        }
        values[line.key].push_back(value);
    }
    return values;
}

// What the body's conversion keeps of a typed value: "/" as "\", each run of
// backslashes as one (quotes come back through the literal).
std::string bodyForm(const std::string& typed) {
    std::string result;
    for (char c : typed) {
        if (c == '/' || c == '\\') {
            if (result.empty() || result.back() != '\\') result += '\\';
        } else {
            result += c;
        }
    }
    return result;
}

TEST(InputSafety, HostileButAcceptableValuesArriveExactlyAsTyped) {
    auto machine = TestMachine::sample("windows2003");
    const std::string title = "Say \"hi\" : Execute Chr(77) ' 100% \\\\srv\\x/y";
    const std::string company = "Caf\xC3\xA9 Na\xC3\xAFve \xC5\x92uvre \xE2\x82\xAC & <Co>";
    const std::string user = "Admin \"x\" /sc";
    const std::string password = "a\"b\\ c\\\\\" /x %TEMP%: Caf\xC3\xA9\\";
    const std::string secure = "x\" : CreateObject(\"WScript.Shell\").Run \"calc\" : y = \"";
    const std::string accounts = "C:\\Acc & Sites' %TEMP% 100% \xC3\xA9t\xC3\xA9 #1";
    const auto result =
        runOn(machine, "txtControlPanelTitle = \"" + title +
                           "\"\n"
                           "txtMainCompanyName = \"" +
                           company +
                           "\"\n"
                           "txtAdminUsername = \"" +
                           user +
                           "\"\n"
                           "txtAdminPassword = \"" +
                           password +
                           "\"\n"
                           "txtServerRoot = \"" +
                           accounts +
                           "\"\n"
                           "chkInternalIP = 1\ntxtInternalIP = 10.0.0.5\n"
                           "chkFTPServerEnabled = 1\ncmbFTPServerType = Microsoft FTP\n"
                           "chkSharedSecure = 1\n"
                           "cmbSharedSecureSVC = -- Create New Site --\n"
                           "txtSharedSecureServer = \"" +
                           secure +
                           "\"\n"
                           "chkWebsitePreview = 1\ncmbPreviewSVC = -- Create New Site --\n"
                           "chkStatistics = 1\n");
    ASSERT_EQ(result.status, 0) << result.err << result.out;

    // config.inc: one statement a line, each value whole.
    const auto values = panelValues(machine.readFile("C:\\Tessaron\\panel\\config.inc"));
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"controlpaneltitle", bodyForm(title)},
        {"maincompanyname", company},
        {"adminusername", bodyForm(user)},
        {"adminpassword", bodyForm(password)},
        {"serverroot", bodyForm(accounts + "\\")},
        {"sharedsecureserver", secure},  // a site line: no conversion
    };
    for (const auto& [key, value] : expected) {
        ASSERT_EQ(values.count(key), 1u) << key;
        EXPECT_EQ(values.at(key), std::vector<std::string>{value}) << key;
    }
    EXPECT_EQ(values.count("execute chr(77) ' 100% \\srv\\x\\y"), 0u);

    // The metabase, read again from the saved file: the roots' paths.
    MachineImage image(machine.root());
    int roots = 0;
    for (const char* comment :
         {"Tessaron - FTP", "Tessaron - Shared Secure", "Tessaron - Website Preview"}) {
        const std::string service = std::string(comment) == "Tessaron - FTP"
                                        ? "IIS://LocalHost/MSFTPSVC"
                                        : "IIS://LocalHost/W3SVC";
        for (auto& site : image.Iis().Open(service)->Children()) {
            if (site->Class() != "IIsWebServer" && site->Class() != "IIsFtpServer") continue;
            if (std::get<std::string>(site->Get("ServerComment")) != comment) continue;
            auto root = image.Iis().Open(service + "/" + site->Name() + "/ROOT");
            EXPECT_EQ(std::get<std::string>(root->Get("Path")), accounts) << comment;
            ++roots;
        }
    }
    EXPECT_EQ(roots, 3);

    // The task lines: each value one argument, exactly as typed.
    std::vector<std::vector<std::string>> tasks;
    std::istringstream log(tessaron::testing::readBytes(machine.root() / "commands.log"));
    for (std::string line; std::getline(log, line);) {
        if (line.find("jt.exe") != std::string::npos) {
            tasks.push_back(tessaron::testing::splitWindowsArguments(line));
        }
    }
    ASSERT_EQ(tasks.size(), 2u);
    for (std::size_t i = 0; i < tasks.size(); ++i) {
        const std::string script = i == 0 ? "updatebandwidth.vbs" : "updatestats.vbs";
        const std::string task =
            i == 0 ? "Tessaron - Update Bandwidth" : "Tessaron - Update Statistics";
        EXPECT_EQ(tasks[i],
                  (std::vector<std::string>{"C:\\Tessaron\\bin\\jt.exe", "/snj", task, "/sc", user,
                                            password, "/ctj", "starttime=00:00", "type=daily",
                                            "/sj", "workingdirectory=C:\\Tessaron\\bin",
                                            "applicationname=C:\\Tessaron\\bin\\" + script}));
    }
}

}  // namespace
}  // namespace tessaron::app::testing
