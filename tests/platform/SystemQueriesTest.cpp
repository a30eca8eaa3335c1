#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "ImageTestText.h"
#include "platform/Failure.h"
#include "platform/image/MachineImage.h"
#include "support/TestMachine.h"

namespace tessaron {
namespace {

using testing::TestMachine;

std::string interfaceKey(int number, const std::vector<std::string>& addresses) {
    return "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\"
           "Interfaces\\{0000000" +
           std::to_string(number) +
           "}]\n"
           "\"IPAddress\"=" +
           testing::multiStringValue(addresses) + "\n\n";
}

struct AddressCase {
    const char* name;
    std::vector<std::vector<std::string>> interfaces;
    std::string first;
};

class FirstAddress : public ::testing::TestWithParam<AddressCase> {};

TEST_P(FirstAddress, IsTheLowestListedAddress) {
    TestMachine machine;
    std::string keys;
    int number = 1;
    for (const auto& addresses : GetParam().interfaces) keys += interfaceKey(number++, addresses);
    machine.writeRegistry(testing::machineRegistry() + keys);
    MachineImage image(machine.root());
    EXPECT_EQ(image.System().GetFirstIPAddress(), GetParam().first);
}

INSTANTIATE_TEST_SUITE_P(
    SystemQueries, FirstAddress,
    ::testing::Values(
        AddressCase{"UnassignedSkipped", {{"0.0.0.0"}, {"10.0.0.5"}}, "10.0.0.5"},
        AddressCase{"LoopbackWhenListedAndLowest", {{"192.168.0.20"}, {"127.0.0.1"}}, "127.0.0.1"},
        // By value, not by text: "10.0.0.20" < "10.0.0.3" < "9.1.1.1" as texts.
        AddressCase{"ByValueNotText", {{"10.0.0.20", "10.0.0.3"}, {"192.168.1.1"}}, "10.0.0.3"},
        AddressCase{"ByValueFirstOctet", {{"10.0.0.1"}, {"9.1.1.1"}}, "9.1.1.1"},
        AddressCase{"OnlyUnassigned", {{"0.0.0.0"}}, ""}, AddressCase{"NoInterface", {}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct ReleaseCase {
    std::string version;
    std::string build;
    std::optional<int> release;
};

class ServerRelease : public ::testing::TestWithParam<ReleaseCase> {};

TEST_P(ServerRelease, FollowsTheVersion) {
    TestMachine machine;
    machine.writeRegistry("Windows Registry Editor Version 5.00\n\n" +
                          testing::machineKeys(GetParam().version, GetParam().build));
    MachineImage image(machine.root());
    EXPECT_EQ(image.System().OperatingSystemVersion(), GetParam().version + "." + GetParam().build);
    EXPECT_EQ(image.System().GetServerOSVersion(), GetParam().release);
    EXPECT_EQ(image.Management().OperatingSystems().at(0).Version,
              GetParam().version + "." + GetParam().build);
}

INSTANTIATE_TEST_SUITE_P(SystemQueries, ServerRelease,
                         ::testing::Values(ReleaseCase{"5.0", "2195", 2000},
                                           ReleaseCase{"5.2", "3790", 2003},
                                           ReleaseCase{"5.1", "2600", std::nullopt},
                                           ReleaseCase{"6.0", "6001", std::nullopt}));

TEST(SystemQueries, AMissingVersionFailsTheQuery) {
    TestMachine machine;
    machine.writeRegistry(
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\n"
        "\"CurrentVersion\"=\"5.2\"\n");
    MachineImage image(machine.root());
    EXPECT_THROW(image.System().GetServerOSVersion(), PlatformError);
    EXPECT_EQ(image.Management().OperatingSystems().at(0).Version, "");
}

TEST(SystemQueries, ReadRegistryValueMatchesNamesWithoutCase) {
    TestMachine machine;
    machine.writeRegistry(testing::machineRegistry() +
                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaron]\n"
                          "\"Install_Dir\"=\"C:\\\\Tessaron\"\n"
                          "\"Nothing\"=hex(0):\n");
    MachineImage image(machine.root());
    auto& system = image.System();
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue("SOFTWARE\\Tessaron", "install_dir")),
              "C:\\Tessaron");
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue("software\\TESSARON", "Install_Dir")),
              "C:\\Tessaron");
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue("SOFTWARE\\Tessaron", "Missing")), "");
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue("SOFTWARE\\Nowhere", "Install_Dir")),
              "");
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue("SOFTWARE\\Tessaron", "Nothing")), "");
    // The expandable TEMP of the environment, expanded with SystemRoot.
    EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue(
                  "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment", "temp")),
              "C:\\WINDOWS\\TEMP");
}

TEST(SystemQueries, FoldersOfTheWindowsInstallation) {
    TestMachine machine;
    machine.writeRegistry(testing::machineRegistry() +
                          "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\n"
                          "\"ProgramFilesDir\"=\"  C:\\\\Program Files  \"\n");
    MachineImage image(machine.root());
    auto& system = image.System();
    EXPECT_EQ(system.GetWindowsDir(), "C:\\WINDOWS");
    const auto systemDir = system.GetSystemDir();
    EXPECT_EQ(systemDir.size(), 20u);
    EXPECT_EQ(systemDir, std::string("C:\\WINDOWS\\system32") + '\0');
    EXPECT_EQ(system.GetProgramFilesDir(), "C:\\Program Files");
    EXPECT_EQ(system.GetTempFolder(), "C:\\WINDOWS\\TEMP");
}

TEST(SystemQueries, EnvironmentVariablesExpandThroughEachOther) {
    TestMachine machine;
    machine.writeRegistry(
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\n"
        "\"SystemRoot\"=\"D:\\\\WIN\"\n\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment]\n"
        "\"Scratch\"=" +
        testing::expandableValue("%windir%\\Scratch") +
        "\n"
        "\"windir\"=" +
        testing::expandableValue("%SystemRoot%") +
        "\n"
        "\"TEMP\"=" +
        testing::expandableValue("%SCRATCH%\\%Unknown%\\%SystemDrive%") + "\n");
    MachineImage image(machine.root());
    EXPECT_EQ(image.System().GetTempFolder(), "D:\\WIN\\Scratch\\%Unknown%\\D:");
}

// A machine whose environment holds the given values (the lines after the
// key), SystemRoot C:\WINDOWS.
std::string environmentRegistry(const std::string& values) {
    return "Windows Registry Editor Version 5.00\n\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\n"
           "\"SystemRoot\"=\"C:\\\\WINDOWS\"\n\n"
           "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session "
           "Manager\\Environment]\n" +
           values;
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// The system's expansion fails when its result would not fit 32,767
// characters; the registry query then fails: ReadRegistryValue swallows it
// (empty text) and the temporary folder's query passes it on.
TEST(SystemQueries, AnExpansionLongerThanTheSystemAllowsFails) {
    const std::string environment =
        "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
    struct Case {
        const char* name;
        std::string values;
        std::optional<std::string> temp;  // nullopt: the expansion fails
    };
    const std::string e = "\xC3\xA9";  // one character in UTF-16, two bytes in UTF-8
    const Case cases[] = {
        {"bomb of 12",
         "\"A\"=" + testing::expandableValue(repeated("%A%", 12)) +
             "\n\"TEMP\"=" + testing::expandableValue("%A%") + "\n",
         std::nullopt},
        {"bomb of 16",
         "\"A\"=" + testing::expandableValue(repeated("%A%", 16)) +
             "\n\"TEMP\"=" + testing::expandableValue("%A%") + "\n",
         std::nullopt},
        {"exactly the limit",
         "\"B\"=\"" + repeated(e, 32767 - 3) +
             "\"\n\"TEMP\"=" + testing::expandableValue("%B%\\%SystemDrive%") + "\n",
         repeated(e, 32767 - 3) + "\\C:"},
        {"one beyond",
         "\"B\"=\"" + repeated(e, 32767 - 3) +
             "\"\n\"TEMP\"=" + testing::expandableValue("%B%\\x%SystemDrive%") + "\n",
         std::nullopt},
        // Each reference costs a long look-up for one character: the work
        // is bounded too, and ends the same way.
        {"long names",
         "\"" + repeated("N", 20000) +
             "\"=\"y\"\n\"W\"=" + testing::expandableValue("%" + repeated("N", 20000) + "%") +
             "\n\"TEMP\"=" + testing::expandableValue(repeated("%W%", 5000)) + "\n",
         std::nullopt},
        // A long text that refers to itself through short names, each level
        // under the limit: the nesting stops it, as it stops any loop.
        {"loop",
         "\"L\"=" + testing::expandableValue("x%L%") +
             "\n\"TEMP\"=" + testing::expandableValue("%L%") + "\n",
         "xxxxxxxx%L%"},
    };
    for (const auto& c : cases) {
        TestMachine machine;
        machine.writeRegistry(environmentRegistry(c.values));
        MachineImage image(machine.root());
        auto& system = image.System();
        if (c.temp) {
            EXPECT_EQ(system.GetTempFolder(), *c.temp) << c.name;
            EXPECT_EQ(registryValueText(system.ReadRegistryValue(environment, "TEMP")), *c.temp)
                << c.name;
            continue;
        }
        EXPECT_EQ(std::get<std::string>(system.ReadRegistryValue(environment, "TEMP")), "")
            << c.name;
        try {
            system.GetTempFolder();
            ADD_FAILURE() << c.name << ": no failure";
        } catch (const PlatformError& error) {
            EXPECT_EQ(error.number(), static_cast<long>(0x8007007A)) << c.name;
            EXPECT_EQ(error.description(), "The data area passed to a system call is too small.")
                << c.name;
        }
    }
}

TEST(SystemQueries, AMissingTempFolderFails) {
    TestMachine machine;
    machine.writeRegistry(
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\n"
        "\"SystemRoot\"=\"C:\\\\WINDOWS\"\n");
    MachineImage image(machine.root());
    try {
        image.System().GetTempFolder();
        FAIL() << "no failure";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.number(), 76);
        EXPECT_EQ(error.description(), "Path not found");
    }
    // Without SystemRoot there is no system folder at all.
    TestMachine bare;
    bare.writeRegistry("Windows Registry Editor Version 5.00\n");
    MachineImage empty(bare.root());
    EXPECT_EQ(empty.System().GetSystemDir(), "");
    EXPECT_EQ(empty.System().GetWindowsDir(), "");
}

TEST(Wmi, DescribesTheOperatingSystem) {
    TestMachine machine;
    machine.writeRegistry(testing::machineRegistry());
    MachineImage image(machine.root());
    const auto systems = image.Management().OperatingSystems();
    ASSERT_EQ(systems.size(), 1u);
    EXPECT_EQ(systems[0].Organization, "Example Hosting Ltd");
    EXPECT_EQ(systems[0].RegisteredUser, "Administrator");
    EXPECT_EQ(systems[0].Version, "5.2.3790");
}

TEST(Wmi, ConnectsToRegisteredNamespacesOnly) {
    TestMachine machine;
    machine.writeRegistry(testing::machineRegistry());
    MachineImage image(machine.root());
    EXPECT_NO_THROW(image.Management().ConnectServer("ROOT\\CIMV2"));
    EXPECT_NO_THROW(image.Management().ConnectServer("root"));  // implied by root\cimv2
    try {
        image.Management().ConnectServer("root\\microsoftdns");
        FAIL() << "connected to a missing namespace";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.number(), static_cast<long>(0x8004100E));
        EXPECT_EQ(error.description(), "Invalid namespace ");
    }
}

TEST(Samples, Windows2003) {
    auto machine = TestMachine::sample("windows2003");
    MachineImage image(machine.root());
    auto& system = image.System();
    EXPECT_EQ(system.GetFirstIPAddress(), "10.0.0.5");
    EXPECT_EQ(system.GetServerOSVersion(), 2003);
    EXPECT_EQ(system.GetWindowsDir(), "C:\\WINDOWS");
    EXPECT_EQ(system.GetTempFolder(), "C:\\WINDOWS\\TEMP");
    EXPECT_EQ(system.GetProgramFilesDir(), "C:\\Program Files");
    EXPECT_EQ(registryValueText(system.ReadRegistryValue("SOFTWARE\\Tessaron", "Install_Dir")),
              "C:\\Tessaron");
    EXPECT_EQ(image.CreatePanelComponent()->ComputerName(), "WEBHOST01");
    EXPECT_EQ(image.Management().OperatingSystems().at(0).Organization, "Example Hosting Ltd");
    EXPECT_NO_THROW(image.Management().ConnectServer("root\\microsoftdns"));

    auto& files = image.Files();
    EXPECT_GE(files.SubFolders("C:\\Tessaron\\panel\\styles").size(), 2u);
    EXPECT_TRUE(files.FileExists(
        system.GetProgramFilesDir() +
        "\\Common Files\\Microsoft Shared\\Web Server Extensions\\50\\bin\\owsadm.exe"));
    EXPECT_TRUE(files.FolderExists("C:\\WINDOWS\\System32\\LogFiles"));
    EXPECT_TRUE(files.FolderExists("C:\\WINDOWS\\system32\\WBEM"));
    EXPECT_FALSE(files.FileExists("C:\\Tessaron\\panel\\config.inc"));
    EXPECT_EQ(testing::readBytes(machine.root() / "registry.reg").substr(0, 2), "\xFF\xFE");
}

TEST(Samples, Windows2000) {
    auto machine = TestMachine::sample("windows2000");
    MachineImage image(machine.root());
    auto& system = image.System();
    EXPECT_EQ(system.GetFirstIPAddress(), "192.168.0.20");
    EXPECT_EQ(system.GetServerOSVersion(), 2000);
    EXPECT_EQ(system.GetWindowsDir(), "C:\\WINNT");
    EXPECT_EQ(system.GetSystemDir(), std::string("C:\\WINNT\\system32") + '\0');
    EXPECT_EQ(system.GetTempFolder(), "C:\\WINNT\\TEMP");
    EXPECT_THROW(image.Management().ConnectServer("root\\microsoftdns"), PlatformError);
    EXPECT_NO_THROW(image.CreatePanelComponent());
    EXPECT_TRUE(image.Files().FileExists("C:\\Tessaron\\bin\\dnsschema.mof"));
    EXPECT_TRUE(image.Files().FileExists("C:\\Tessaron\\bin\\dnsprov.dll"));
    EXPECT_TRUE(
        image.Files().FileExists("C:\\Program Files\\Common Files\\Microsoft Shared\\Web Server "
                                 "Extensions\\50\\bin\\owsadm.exe"));
}

}  // namespace
}  // namespace tessaron
