#include <gtest/gtest.h>

#include <string>

#include "ImageTestText.h"
#include "platform/Failure.h"
#include "platform/image/MachineImage.h"
#include "support/TestMachine.h"

namespace tessaron {
namespace {

using testing::TestMachine;

const std::string kSchemaCommand = "C:\\WINNT\\system32\\WBEM\\MOFCOMP.EXE DNSSCHEMA.MOF";
const std::string kRegisterCommand =
    "C:\\WINNT\\system32\\REGSVR32.EXE C:\\WINNT\\system32\\WBEM\\DNSPROV.DLL";
const std::string kDnsNamespace = "root\\microsoftdns";

// The provider installation as the run performs it on Windows 2000.
void copyProviderFiles(MachineImage& image, bool withLibrary) {
    auto& files = image.Files();
    files.CopyFile("C:\\Tessaron\\bin\\dnsschema.mof", "C:\\WINNT\\system32\\WBEM\\dnsschema.mof",
                   true);
    if (withLibrary) {
        files.CopyFile("C:\\Tessaron\\bin\\dnsprov.dll", "C:\\WINNT\\system32\\WBEM\\dnsprov.dll",
                       true);
    }
}

bool connects(MachineImage& image) {
    try {
        image.Management().ConnectServer(kDnsNamespace);
        return true;
    } catch (const PlatformError&) {
        return false;
    }
}

TEST(PanelComponent, CannotBeCreatedWhenNotRegistered) {
    TestMachine machine;
    machine.writeRegistry(
        "Windows Registry Editor Version 5.00\n\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Tessaron.Other]\n");
    MachineImage image(machine.root());
    try {
        image.CreatePanelComponent();
        FAIL() << "created an unregistered component";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.number(), 429);
        EXPECT_EQ(error.description(), "ActiveX component can't create object");
    }
}

TEST(PanelComponent, NamesTheMachineAndLogsEveryCommand) {
    TestMachine machine;
    machine.writeRegistry(testing::machineRegistry());
    MachineImage image(machine.root());
    auto component = image.CreatePanelComponent();
    EXPECT_EQ(component->ComputerName(), "WEBHOST01");
    component->Execute("C:\\Tessaron\\bin\\jt.exe /SAJ \"Tessaron - Update Bandwidth.job\"");
    image.CreatePanelComponent()->Execute("C:\\Tessaron\\bin\\jt.exe /SAJ x");
    EXPECT_EQ(testing::readBytes(machine.root() / "commands.log"),
              "C:\\Tessaron\\bin\\jt.exe /SAJ \"Tessaron - Update Bandwidth.job\"\n"
              "C:\\Tessaron\\bin\\jt.exe /SAJ x\n");
}

TEST(PanelComponent, InstallingTheDnsProviderAddsItsNamespace) {
    auto machine = TestMachine::sample("windows2000");
    const auto registryBefore = testing::readBytes(machine.root() / "registry.reg");
    {
        MachineImage image(machine.root());
        ASSERT_FALSE(connects(image));
        copyProviderFiles(image, true);
        image.CreatePanelComponent()->Execute(kSchemaCommand);
        EXPECT_FALSE(connects(image));  // the library is not registered yet
        image.CreatePanelComponent()->Execute(kRegisterCommand);
        EXPECT_TRUE(connects(image));
    }
    // The key section is appended in the file's own form (REGEDIT4, CR LF);
    // every byte before it stays.
    const auto registryAfter = testing::readBytes(machine.root() / "registry.reg");
    EXPECT_EQ(registryAfter,
              registryBefore +
                  "\r\n[HKEY_LOCAL_"
                  "MACHINE\\SOFTWARE\\Microsoft\\WBEM\\Namespaces\\root\\MicrosoftDNS]\r\n");
    EXPECT_EQ(testing::readBytes(machine.root() / "commands.log"),
              kSchemaCommand + "\n" + kRegisterCommand + "\n");
    MachineImage reopened(machine.root());
    EXPECT_TRUE(connects(reopened));
}

// The text with its LF line ends replaced by the given ones.
std::string withLineEnds(const std::string& text, const std::string& lineEnd) {
    std::string out;
    for (const char c : text) out += c == '\n' ? lineEnd : std::string(1, c);
    return out;
}

struct AppendCase {
    const char* name;
    bool utf16;
    std::string lineEnd;  // of every line but the last
    std::string lastEnd;  // of the last line
    std::string added;    // what the namespace's key adds, before encoding
};

// The key starts on a line of its own in the file's own line ends (those of
// its first line), and the file loads again, whatever its last line ends in.
TEST(PanelComponent, TheNamespaceIsAppendedInTheFilesOwnForm) {
    const std::string key =
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\WBEM\\Namespaces\\root\\MicrosoftDNS]";
    const AppendCase cases[] = {
        {"UTF-16, CR LF, no final line end", true, "\r\n", "", "\r\n\r\n" + key + "\r\n"},
        {"UTF-16, CR LF, last line ended by a lone CR", true, "\r\n", "\r",
         "\n\r\n" + key + "\r\n"},
        {"UTF-8, CR LF, last line ended by a lone CR", false, "\r\n", "\r",
         "\n\r\n" + key + "\r\n"},
        {"UTF-8, lone CRs", false, "\r", "\r", "\r" + key + "\r"},
        {"UTF-16, lone CRs, no final line end", true, "\r", "", "\r\r" + key + "\r"},
        {"UTF-8, LF, no final line end", false, "\n", "", "\n\n" + key + "\n"},
        {"UTF-8, LF", false, "\n", "\n", "\n" + key + "\n"},
    };
    for (const auto& c : cases) {
        TestMachine machine;
        const auto text =
            withLineEnds("Windows Registry Editor Version 5.00\n\n" + testing::machineKeys() +
                             "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaron]\n"
                             "\"Install_Dir\"=\"C:\\\\Tessaron\"",
                         c.lineEnd) +
            c.lastEnd;
        const auto before = c.utf16 ? testing::regeditExport(text) : text;
        machine.writeRegistry(before);
        machine.writeFile("C:\\WINDOWS\\system32\\wbem\\DnsSchema.mof", "schema");
        machine.writeFile("C:\\WINDOWS\\system32\\wbem\\dnsprov.dll", "library");
        {
            MachineImage image(machine.root());
            auto component = image.CreatePanelComponent();
            component->Execute(
                "C:\\WINDOWS\\system32\\REGSVR32.EXE C:\\WINDOWS\\system32\\WBEM\\DNSPROV.DLL");
            component->Execute("C:\\WINDOWS\\system32\\WBEM\\MOFCOMP.EXE DNSSCHEMA.MOF");
            EXPECT_TRUE(connects(image)) << c.name;
        }
        EXPECT_EQ(testing::readBytes(machine.root() / "registry.reg"),
                  before + (c.utf16 ? testing::utf16le(c.added) : c.added))
            << c.name;
        MachineImage reopened(machine.root());
        EXPECT_TRUE(connects(reopened)) << c.name;
        EXPECT_EQ(registryValueText(
                      reopened.System().ReadRegistryValue("SOFTWARE\\Tessaron", "Install_Dir")),
                  "C:\\Tessaron")
            << c.name;
    }
}

TEST(PanelComponent, NoNamespaceWithoutBothFilesInTheWbemFolder) {
    struct Case {
        const char* name;
        bool library;
        std::string registerCommand;
    };
    const Case cases[] = {
        {"library not copied", false, kRegisterCommand},
        {"library registered from elsewhere", true,
         "C:\\WINNT\\system32\\REGSVR32.EXE C:\\Tessaron\\bin\\dnsprov.dll"},
        {"library unregistered", true,
         "C:\\WINNT\\system32\\REGSVR32.EXE /u C:\\WINNT\\system32\\WBEM\\DNSPROV.DLL"},
    };
    for (const auto& c : cases) {
        auto machine = TestMachine::sample("windows2000");
        const auto registryBefore = testing::readBytes(machine.root() / "registry.reg");
        MachineImage image(machine.root());
        copyProviderFiles(image, c.library);
        image.CreatePanelComponent()->Execute(kSchemaCommand);
        image.CreatePanelComponent()->Execute(c.registerCommand);
        EXPECT_FALSE(connects(image)) << c.name;
        EXPECT_EQ(testing::readBytes(machine.root() / "registry.reg"), registryBefore) << c.name;
        EXPECT_EQ(testing::readBytes(machine.root() / "commands.log"),
                  kSchemaCommand + "\n" + c.registerCommand + "\n")
            << c.name;
    }
}

TEST(PanelComponent, ARegistryThatCannotBeExtendedFailsTheCommand) {
    auto machine = TestMachine::sample("windows2000");
    MachineImage image(machine.root());
    copyProviderFiles(image, true);
    std::filesystem::permissions(machine.root() / "registry.reg",
                                 std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    auto component = image.CreatePanelComponent();
    component->Execute(kSchemaCommand);
    try {
        component->Execute(kRegisterCommand);
        FAIL() << "the namespace was added to a read-only registry";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.description(), "Permission denied");
    }
    EXPECT_FALSE(connects(image));
}

TEST(MachineImage, DatabaseServiceAndMetabaseAreProvided) {
    TestMachine machine;
    machine.writeRegistry(testing::machineRegistry());
    MachineImage image(machine.root());
    EXPECT_THROW(image.Databases().Open("DRIVER={SQL Server};SERVER=x"), PlatformError);
    // One metabase per image, created when first used.
    EXPECT_EQ(&image.Iis(), &image.Iis());
}

}  // namespace
}  // namespace tessaron
