// A whole unattended run of the program on the machine it runs on: the
// panel component, IIS and the DNS server's WMI provider are stand-ins
// registered for the run (wine has none of them), the registry, the files,
// COM activation and ODBC are the system's own, and the database is the
// throw-away MariaDB server of scripts/test-mariadb.sh.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

#include "WindowsTestSupport.h"
#include "app/CommandLine.h"
#include "platform/odbc/OdbcDatabase.h"
#include "platform/windows/Win32.h"
#include "support/TempMachine.h"

namespace tessaron::testing {
namespace {

namespace fs = std::filesystem;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string count(const std::string& text, const std::string& piece) {
    std::size_t found = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1))
        ++found;
    return std::to_string(found);
}

TEST(WholeRun, TheRunCompletesThroughTheSystemsInterfaces) {
    if (environment("TESSARON_WHOLE_RUN") != "1") {
        GTEST_SKIP() << "runs in a process of its own (ctest's windows_whole_run)";
    }
    const auto port = environment("TESSARON_TEST_DB_PORT");
    if (port.empty()) GTEST_SKIP() << "the test database server is not running";

    TempFolder machine;
    const auto sample = sourceDir() / "examples" / "machines" / "windows2003" / "C";
    fs::copy(sample / "Tessaron", fs::path(machine / "Tessaron"), fs::copy_options::recursive);
    const auto metabase = machine / "MetaBase.xml";
    fs::copy_file(sample / "WINDOWS" / "system32" / "inetsrv" / "MetaBase.xml", fs::path(metabase));

    std::string installDir;
    for (char c : machine / "Tessaron")
        installDir += c == '\\' ? std::string("\\\\") : std::string(1, c);
    importRegistry("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaron]\r\n\"Install_Dir\"=\"" + installDir +
                   "\"\r\n\r\n");
    RegisteredTestMaster master;
    RegisteredTestIis iis(metabase);
    RegisteredDnsNamespace dns;
    const auto commands = machine / "commands.log";
    SetEnvironmentVariableA("TESSARON_TEST_COMMANDS", commands.c_str());

    const std::string database = "wine_run_" + std::to_string(GetCurrentProcessId());
    const auto answers = machine / "run.answers";
    writeBytes(answers,
               readBytes((sourceDir() / "examples" / "answers" / "windows2003.answers").string()) +
                   "\ntxtMainDatabaseIP = 127.0.0.1;PORT=" + port +
                   "\ntxtMainDatabaseName = " + database + "\n");

    const auto runOnce = [&](std::string& log) {
        std::ostringstream out, err;
        const int status = app::runUnattended(
            {"--answers", answers, "--options", "tasks,database,sites", "--yes"}, out, err);
        log = out.str();
        return status;
    };
    std::string first;
    EXPECT_EQ(runOnce(first), app::exit_status::kCompleted) << first;
    EXPECT_NE(first.find("DNS WMI provider OK."), std::string::npos) << first;
    EXPECT_NE(first.find("Tessaron control panel website configured."), std::string::npos) << first;
    EXPECT_NE(first.find("Website preview website configured."), std::string::npos) << first;
    EXPECT_EQ(first.substr(first.rfind("Tessaron configuration")),
              "Tessaron configuration completed.\n");

    // The sites are in the metabase file, the tasks went through the component.
    const auto saved = readBytes(metabase);
    for (const char* comment : {"Tessaron - Control Panel", "Tessaron - FTP",
                                "Tessaron - Shared Secure", "Tessaron - Website Preview"}) {
        EXPECT_EQ(count(saved, std::string("ServerComment=\"") + comment + "\""), "1") << comment;
    }
    const auto executed = readBytes(commands);
    EXPECT_EQ(count(executed, "jt.exe"), "2") << executed;

    // A second run finds the sites and the database in place.
    std::string second;
    EXPECT_EQ(runOnce(second), app::exit_status::kCompleted) << second;
    EXPECT_EQ(count(readBytes(metabase), "ServerComment=\"Tessaron - Control Panel\""), "1");

    OdbcDatabase odbc;
    auto admin = odbc.Open("Driver={MySQL ODBC 3.51 Driver};Server=127.0.0.1;Port=" + port +
                           ";User=" + environment("TESSARON_TEST_DB_USER") +
                           ";Password=" + environment("TESSARON_TEST_DB_PASSWORD") + ";");
    EXPECT_EQ(admin->QueryNumber("SELECT COUNT(*) AS C FROM information_schema.tables WHERE "
                                 "table_schema = '" +
                                     database + "'",
                                 "C"),
              18);
    admin->Execute("DROP DATABASE IF EXISTS `" + database + "`");
    SetEnvironmentVariableA("TESSARON_TEST_COMMANDS", nullptr);
    deleteMachineKey("SOFTWARE\\Tessaron");
}

}  // namespace
}  // namespace tessaron::testing
