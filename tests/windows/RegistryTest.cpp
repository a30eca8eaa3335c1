// Registry values imported with reg.exe read back through the backend.
#include <gtest/gtest.h>

#include "WindowsTestSupport.h"
#include "platform/Failure.h"
#include "platform/windows/WindowsRegistry.h"
#include "platform/windows/WindowsSystemQueries.h"

namespace tessaron::testing {
namespace {

using platform::windows::readMachineValue;

const char* const kKey = "SOFTWARE\\TessaronWindowsTest";
const char* const kKey32 = "SOFTWARE\\TessaronWindowsTest32";

class RegistryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        importRegistry(std::string("[HKEY_LOCAL_MACHINE\\") + kKey + "]\r\n" +
                       "\"Install_Dir\"=\"C:\\\\Program Files\\\\Tessaron\"\r\n"
                       "\"TempPath\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,"
                       "6f,00,74,00,25,00,5c,00,54,00,65,00,6d,00,70,00,00,00\r\n"
                       "\"Count\"=dword:0000002a\r\n"
                       "\"Addresses\"=hex(7):31,00,30,00,2e,00,30,00,2e,00,30,00,2e,00,31,00,00,"
                       "00,31,00,30,00,2e,00,30,00,2e,00,30,00,2e,00,32,00,00,00,00,00\r\n"
                       "\"Raw\"=hex:01,02,ff\r\n\r\n");
        importRegistry(std::string("[HKEY_LOCAL_MACHINE\\") + kKey32 + "]\r\n" +
                           "\"Install_Dir\"=\"C:\\\\Program Files (x86)\\\\Tessaron\"\r\n\r\n",
                       true);
    }
    static void TearDownTestSuite() {
        deleteMachineKey(kKey);
        deleteMachineKey(kKey32);
    }
};

TEST_F(RegistryTest, EveryTypeReadsBackAsTheProgramSeesIt) {
    platform::windows::WindowsSystemQueries system;
    struct Case {
        const char* key;
        const char* name;
        RegistryValue expected;
    };
    const Case cases[] = {
        {kKey, "Install_Dir", std::string("C:\\Program Files\\Tessaron")},
        {kKey, "install_dir", std::string("C:\\Program Files\\Tessaron")},  // other case
        {kKey, "TempPath", system.GetWindowsDir() + "\\Temp"},              // expanded
        {kKey, "Count", std::uint32_t{42}},
        {kKey, "Addresses", std::vector<std::string>{"10.0.0.1", "10.0.0.2"}},
        {kKey, "Raw", std::vector<std::uint8_t>{1, 2, 255}},
        {kKey, "Missing", std::string()},
        {"SOFTWARE\\TessaronNoSuchKey", "Install_Dir", std::string()},
        // Only in the 32-bit view, where 32-bit installers write.
        {kKey32, "Install_Dir", std::string("C:\\Program Files (x86)\\Tessaron")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.name);
        EXPECT_EQ(readMachineValue(c.key, c.name), c.expected);
        EXPECT_EQ(system.ReadRegistryValue(c.key, c.name), c.expected);
    }
}

TEST(SystemQueriesTest, FoldersAndVersionComeFromTheSystem) {
    platform::windows::WindowsSystemQueries system;
    const auto windows = system.GetWindowsDir();
    ASSERT_FALSE(windows.empty());
    EXPECT_NE(windows.back(), '\\');
    const auto systemDir = system.GetSystemDir();
    ASSERT_FALSE(systemDir.empty());
    EXPECT_EQ(systemDir.back(), '\0');
    EXPECT_EQ(systemDir, windows + "\\system32" + std::string(1, '\0'));
    EXPECT_NE(system.GetTempFolder().back(), '\\');
    const auto version = system.OperatingSystemVersion();
    EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 2) << version;
    EXPECT_EQ(system.GetServerOSVersion(), releaseFromVersion(version));
    const auto address = system.GetFirstIPAddress();
    EXPECT_EQ(std::count(address.begin(), address.end(), '.'), 3) << address;
}

TEST(WmiTest, NamespacesAreReachedThroughTheLocator) {
    platform::windows::WindowsWmi wmi;
    EXPECT_NO_THROW(wmi.ConnectServer("root\\cimv2"));
    try {
        wmi.ConnectServer("root\\TessaronNoSuchNamespace");
        FAIL() << "connected to a missing namespace";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.number(), static_cast<long>(0x8004100E));
        EXPECT_EQ(error.description(), "Invalid namespace ");
    }
}

}  // namespace
}  // namespace tessaron::testing
