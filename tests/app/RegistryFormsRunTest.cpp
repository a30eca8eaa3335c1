// Whole unattended runs on copies of the Windows Server 2003 sample whose
// registry.reg was edited by hand the way administrators do: comments, and
// an environment that cannot be expanded.
#include <gtest/gtest.h>

#include "RunSupport.h"
#include "support/RegistryText.h"
#include "support/TestMachine.h"

namespace tessaron::app::testing {
namespace {

using tessaron::testing::expandableValue;
using tessaron::testing::hexList;
using tessaron::testing::regeditExport;
using tessaron::testing::TestMachine;
using tessaron::testing::utf16le;

// The sample's registry.reg is UTF-16LE with byte order mark and holds ASCII
// text only.
std::string sampleRegistryText(const TestMachine& machine) {
    const auto bytes = tessaron::testing::readBytes(machine.root() / "registry.reg");
    std::string text;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) text += bytes[i];
    return text;
}

void replaceOnce(std::string& text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

struct Encoding {
    const char* name;
    bool utf16;
};

void writeRegistry(const TestMachine& machine, const std::string& text, const Encoding& encoding) {
    machine.writeRegistry(encoding.utf16 ? regeditExport(text) : text);
}

Outcome runOn(const TestMachine& machine) {
    return runFrontEnd({"--machine", machine.root().string(), "--answers",
                        writeBeside(machine, "answers.txt", "txtControlPanelTitle = x\n")});
}

class EditedRegistry : public ::testing::TestWithParam<Encoding> {};

// A comment after ComputerName, a "#" line before Install_Dir and a comment
// line inside the continued IPAddress list change none of the values the
// run writes into config.inc.
TEST_P(EditedRegistry, CommentsLeaveTheDiscoveredValues) {
    auto machine = TestMachine::sample("windows2003");
    auto text = sampleRegistryText(machine);
    replaceOnce(text, "\"ComputerName\"=\"WEBHOST01\"\r\n",
                "\"ComputerName\"=\"WEBHOST01\"  ;renamed when the server moved\r\n");
    replaceOnce(text, "\"Install_Dir\"=", "# written by the panel's installer\r\n\"Install_Dir\"=");
    // Two addresses, the lower one after the comment: a list cut at the
    // comment would make 10.0.0.9 the machine's address.
    const auto first = utf16le("10.0.0.9") + std::string(2, '\0');
    const auto second = utf16le("10.0.0.5") + std::string(4, '\0');
    replaceOnce(
        text,
        "\"IPAddress\"=hex(7):31,00,30,00,2e,00,30,00,2e,00,30,00,2e,00,35,00,00,00,00,00\r\n",
        "\"IPAddress\"=hex(7):" + hexList(first) + ",\\\r\n; the address of the panel\r\n\r\n  " +
            hexList(second) + "\r\n");
    writeRegistry(machine, text, GetParam());

    const auto result = runOn(machine);
    EXPECT_EQ(result.status, 0) << result.out << result.err;
    EXPECT_EQ(result.err, "");
    const auto config = machine.readFile("C:\\Tessaron\\panel\\config.inc");
    for (const char* line :
         {"' Tessaron Configuration File For: WEBHOST01\r\n", "ServerName = \"WEBHOST01\"\r\n",
          "ServerIP = \"10.0.0.5\"\r\n", "PanelRoot = \"C:\\Tessaron\\panel\\\"\r\n",
          "TempFolder = \"C:\\WINDOWS\\TEMP\"\r\n"}) {
        EXPECT_NE(config.find(line), std::string::npos) << line << config;
    }
}

// TEMP refers to A, and A to itself sixteen times: the expansion stops at
// the system's limit, the temporary folder cannot be found and config.inc's
// body is not written.
TEST_P(EditedRegistry, AnEnvironmentThatCannotBeExpandedFailsTheFileOnly) {
    auto machine = TestMachine::sample("windows2003");
    auto text = sampleRegistryText(machine);
    std::string bomb;
    for (int i = 0; i < 16; ++i) bomb += "%A%";
    replaceOnce(text, "\"TEMP\"=hex(2):",
                "\"A\"=" + expandableValue(bomb) + "\r\n\"TEMP\"=" + expandableValue("%A%") +
                    "\r\n\"Former TEMP\"=hex(2):");
    writeRegistry(machine, text, GetParam());

    const auto result = runOn(machine);
    EXPECT_EQ(result.status, 1) << result.out << result.err;
    EXPECT_NE(result.out.find("Writing configuration file...\nCould not write to configuration "
                              "file.\n"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("\nTessaron configuration completed.\n"), std::string::npos);
    // No body was put in place (what the site lines' append step makes of a
    // failed body is not this test's matter).
    const auto configFile = machine.host("C:\\Tessaron\\panel\\config.inc");
    const auto config = std::filesystem::exists(configFile)
                            ? tessaron::testing::readBytes(configFile)
                            : std::string();
    EXPECT_EQ(config.find("TempFolder = "), std::string::npos) << config;
}

INSTANTIATE_TEST_SUITE_P(Registry, EditedRegistry,
                         ::testing::Values(Encoding{"Utf16LeWithBom", true},
                                           Encoding{"Utf8", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tessaron::app::testing
