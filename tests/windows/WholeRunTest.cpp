// A whole unattended run of the program on the machine it runs on: the
// panel component, IIS and the DNS server's WMI provider are stand-ins
// registered for the run (wine has none of them), the registry, the files,
// COM activation and ODBC are the system's own, and the database is the
// throw-away MariaDB server of scripts/test-mariadb.sh.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "WindowsTestSupport.h"
#include "app/unattended/UnattendedFrontEnd.h"
#include "app/wiring/ExitStatus.h"
#include "main/ProgramBackend.h"
#include "platform/RegistryValue.h"
#include "platform/WideText.h"
#include "platform/image/MachineImage.h"
#include "platform/odbc/OdbcDatabase.h"
#include "platform/windows/IisProviderHint.h"
#include "platform/windows/Win32.h"
#include "platform/windows/WindowsSystemQueries.h"
#include "support/TestMachine.h"

namespace tessaron::testing {
namespace {

namespace fs = std::filesystem;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The facts that name a machine in a preview: the folder Tessaron is
// installed in, the Windows folder and the first address.
struct MachineFacts {
    std::string installDir, windowsDir, address;
};

MachineFacts factsOf(SystemQueries& system) {
    return {registryValueText(system.ReadRegistryValue("SOFTWARE\\Tessaron", "Install_Dir")),
            system.GetWindowsDir(), system.GetFirstIPAddress()};
}

std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A preview's sections (as blank lines part them) with the machine's facts
// written as names, so that the previews of two machines compare whole. The
// first line, which names the machine, is left out; so are the settings
// file's lines and the database's statements, beyond their sections' first
// lines: the computer's name is in them, and the answers' addresses, which
// may be the machine's own.
std::vector<std::string> comparableSections(const std::string& preview, const MachineFacts& facts) {
    std::string text = preview.substr(preview.find('\n') + 1);
    text = replaceAll(text, facts.installDir, "<install folder>");
    text = replaceAll(text, facts.windowsDir, "<Windows folder>");
    text = replaceAll(text, facts.address, "<address>");
    std::vector<std::string> sections;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = std::min(text.find("\n\n", start), text.size());
        auto section = text.substr(start, end - start);
        if (section.rfind("config.inc (", 0) == 0 || section.rfind("Database: ", 0) == 0)
            section.erase(section.find('\n'));
        sections.push_back(std::move(section));
        start = end + 2;
    }
    return sections;
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
    // The run is compared with one on the Windows Server 2003 sample; under
    // wine, ctest's fixture windows_release_2003 has wine report that release.
    platform::windows::WindowsSystemQueries system;
    ASSERT_EQ(system.GetServerOSVersion(), 2003) << system.OperatingSystemVersion();

    LocalSample sample;
    const TempFolder& machine = sample.folder;
    const auto metabase = sample.metabase();
    const auto commands = sample.commands();
    EXPECT_EQ(platform::windows::iisProviderHint(), std::nullopt);  // the provider is there

    const std::string database = "wine_run_" + std::to_string(GetCurrentProcessId());
    const auto answers = machine / "run.answers";
    writeBytes(answers,
               readBytes((sourceDir() / "examples" / "answers" / "windows2003.answers").string()) +
                   "\ntxtMainDatabaseIP = 127.0.0.1;PORT=" + port +
                   "\ntxtMainDatabaseName = " + database + "\n");

    OdbcDatabase odbc;
    auto admin = odbc.Open("Driver={MySQL ODBC 3.51 Driver};Server=127.0.0.1;Port=" + port +
                           ";User=" + environment("TESSARON_TEST_DB_USER") +
                           ";Password=" + environment("TESSARON_TEST_DB_PASSWORD") + ";");
    admin->Execute("CREATE DATABASE `" + database + "`");
    const auto tables = [&] {
        return admin->QueryNumber(
            "SELECT COUNT(*) AS C FROM information_schema.tables WHERE table_schema = '" +
                database + "'",
            "C");
    };

    const auto runOnce = [&](const std::string& options, std::string& log) {
        std::ostringstream out, err;
        const int status =
            app::unattended::runUnattended({"--answers", answers, "--options", options, "--yes"},
                                           startup::programBackend(), out, err);
        log = out.str() + err.str();
        return status;
    };

    // A preview on this machine writes nothing and says what a preview of the
    // sample image with the same answers says.
    const auto preview = [&](std::vector<std::string> args) {
        for (const char* arg : {"--answers", "", "--options", "tasks,database,sites", "--preview"})
            args.emplace_back(arg);
        args[args.size() - 4] = answers;
        std::ostringstream out, err;
        EXPECT_EQ(app::unattended::runUnattended(args, startup::programBackend(), out, err),
                  app::wiring::exit_status::kCompleted)
            << out.str() << err.str();
        return out.str();
    };
    const auto metabaseBefore = readBytes(metabase);
    const std::string local = preview({});
    EXPECT_EQ(readBytes(metabase), metabaseBefore);
    EXPECT_FALSE(fs::exists(commands));
    EXPECT_FALSE(fs::exists(fs::path(machine / "Tessaron") / "panel" / "config.inc"));
    EXPECT_EQ(tables(), 0);
    EXPECT_EQ(count(local, "jt.exe"), "2") << local;
    EXPECT_NE(local.find("panel\\config.inc): new file\n"), std::string::npos) << local;
    const TestMachine image = TestMachine::sample("windows2003");
    const std::string onImage = preview({"--machine", image.root().string()});
    MachineImage sampleMachine(image.root());
    EXPECT_EQ(comparableSections(local, factsOf(system)),
              comparableSections(onImage, factsOf(sampleMachine.System())))
        << local << onImage;

    std::string first;
    EXPECT_EQ(runOnce("tasks,database,sites", first), app::wiring::exit_status::kCompleted)
        << first;
    for (const char* line :
         {"DNS WMI provider OK.", "Configuration file written.",
          "Creating task for bandwidth update...",
          "IIS application pool for Tessaron control panel website configured.",
          "Tessaron control panel website configured.", "Tessaron control panel website started.",
          "Tessaron FTP configured.", "Website preview website configured."}) {
        EXPECT_NE(first.find(std::string(line) + "\n"), std::string::npos) << line << "\n" << first;
    }
    EXPECT_EQ(first.find("ERROR"), std::string::npos) << first;
    EXPECT_EQ(first.substr(first.rfind("Tessaron configuration")),
              "Tessaron configuration completed.\n");
    EXPECT_EQ(tables(), 18);

    // The sites are in the metabase file, the tasks went through the component.
    const auto saved = readBytes(metabase);
    for (const char* comment : {"Tessaron - Control Panel", "Tessaron - FTP",
                                "Tessaron - Shared Secure", "Tessaron - Website Preview"}) {
        EXPECT_EQ(count(saved, std::string("ServerComment=\"") + comment + "\""), "1") << comment;
    }
    EXPECT_EQ(count(saved, "Location =\"/LM/W3SVC/AppPools/Tessaron\""), "1");
    const auto executed = readBytes(commands);
    EXPECT_EQ(count(executed, "jt.exe"), "2") << executed;

    // A second run of the database stage finds the panel's database in place.
    std::string second;
    EXPECT_EQ(runOnce("database", second), app::wiring::exit_status::kCompleted) << second;
    EXPECT_EQ(second.find("ERROR"), std::string::npos) << second;
    EXPECT_EQ(tables(), 18);

    admin->Execute("DROP DATABASE IF EXISTS `" + database + "`");
}

}  // namespace
}  // namespace tessaron::testing
