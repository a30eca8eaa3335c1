// The dry-run platform over a real machine image: what it keeps in memory,
// what it reads through, and that the image's files stay as they were.
#include <gtest/gtest.h>

#include "ImageTestText.h"
#include "MetabaseTestSupport.h"
#include "platform/dryrun/DryRunPlatform.h"
#include "support/ImageDigest.h"

namespace tessaron::testing {
namespace {

using dry_run::DryRunPlatform;

class NoDatabase : public Database {
public:
    std::unique_ptr<DatabaseConnection> Open(const std::string&) override {
        throw PlatformError("no database");
    }
};

class DryRunOnImage : public ::testing::Test {
protected:
    DryRunOnImage() {
        machine.writeRegistry(machineRegistry());
        machine.writeFile(kMetabasePath, smallMetabase());
        machine.writeFile("C:\\Tessaron\\panel\\config.inc", "Old = \"1\"\r\n");
        before = imageDigest(machine.root());
    }

    TestMachine machine;
    std::string before;
    NoDatabase database;
};

// Sites created, taken over and started, as the web stage does it; the
// changes come in the metabase's order with the texts the file would hold.
TEST_F(DryRunOnImage, MetabaseKeepsCommitsAndRefusesAHeldBinding) {
    MachineImage image(machine.root());
    DryRunPlatform dryRun(image, database);
    Metabase& iis = dryRun.Iis();

    auto first = iis.Open("IIS://LocalHost/W3SVC/1");
    first->Put("ServerComment", std::string("Panel"));
    first->Put("ServerBindings", std::vector<std::string>{":2100:", ":2101:"});
    first->Put("ServerAutoStart", true);  // as it was: no change
    first->SetInfo();
    auto root = iis.Open("IIS://LocalHost/W3SVC/1/ROOT");
    root->Put("AccessWrite", true);
    root->AppCreate2(2);
    root->SetInfo();
    EXPECT_EQ(std::get<long>(iis.Open("IIS://LocalHost/W3SVC/1/ROOT")->Get("AccessFlags")), 0x203);

    EXPECT_EQ(iis.FirstFreeNumber("IIS://LocalHost/MSFTPSVC"), 2);
    auto ftp = iis.Open("IIS://LocalHost/MSFTPSVC")->Create("IIsFtpServer", "2");
    EXPECT_EQ(failureOf([&] { ftp->Start(); }), "The system cannot find the path specified.");
    ftp->Put("ServerComment", std::string("Panel FTP"));
    ftp->Put("ServerBindings", std::vector<std::string>{":21:"});
    ftp->SetInfo();
    EXPECT_EQ(iis.FirstFreeNumber("IIS://LocalHost/MSFTPSVC"), 3);
    EXPECT_EQ(failureOf([&] { ftp->Start(); }),
              "Cannot create a file when that file already exists.");
    auto site = iis.Open("IIS://LocalHost/W3SVC")->Create("IIsWebServer", "3");
    site->Put("ServerBindings", std::vector<std::string>{":8080:"});
    site->SetInfo();
    site->Start();
    EXPECT_EQ(std::get<bool>(iis.Open("IIS://LocalHost/W3SVC/3")->Get("ServerAutoStart")), true);

    std::vector<std::string> listed;
    iis.Open("IIS://LocalHost/W3SVC")
        ->ListChildren("IIsWebServer", "ServerComment", [&](const MetabaseChildView& child) {
            listed.push_back(std::string(child.name) + "=" +
                             std::string(child.value.value_or("(unset)")));
            return true;
        });
    EXPECT_EQ(listed, (std::vector<std::string>{"1=Panel", "2=Second", "3=(unset)"}));

    const auto changes = dryRun.metabase()->changes();
    std::vector<std::string> seen;
    for (const auto& change : changes) {
        std::string line = (change.created ? "+ " : "~ ") + change.location + ":";
        for (const auto& property : change.properties) {
            line += " " + property.name + " " + property.before.value_or("-") + " -> " +
                    property.after.value_or("-") + ";";
        }
        seen.push_back(line);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "~ /LM/W3SVC/1: ServerBindings :80: -> :2100:\n:2101:; ServerComment "
                        "Default Web Site -> Panel;",
                        "~ /LM/W3SVC/1/ROOT: AccessFlags AccessRead | AccessScript -> AccessRead "
                        "| AccessWrite | AccessScript; AppFriendlyName - -> Default Application; "
                        "AppIsolated - -> 2; AppRoot - -> /LM/W3SVC/1/ROOT;",
                        "+ /LM/W3SVC/3: ServerAutoStart - -> TRUE; ServerBindings - -> :8080:;",
                        "+ /LM/MSFTPSVC/2: ServerBindings - -> :21:; ServerComment - -> Panel FTP;",
                    }));
    ASSERT_EQ(dryRun.metabase()->startConflicts().size(), 1u);
    const auto& conflict = dryRun.metabase()->startConflicts()[0];
    EXPECT_EQ(conflict.location + " " + conflict.holderLocation + " " + conflict.holderName + " " +
                  conflict.binding,
              "/LM/MSFTPSVC/2 /LM/MSFTPSVC/1 Default FTP Site :21:");
    EXPECT_EQ(imageDigest(machine.root()), before);
}

// Folders and files: the scripting runtime's failures, reads through the
// overlay, and what is reported as created and changed.
TEST_F(DryRunOnImage, FilesKeepEveryWriteInMemory) {
    MachineImage image(machine.root());
    DryRunPlatform dryRun(image, database);
    FileSystem& files = dryRun.Files();
    const std::string panel = "C:\\Tessaron\\panel";

    EXPECT_EQ(failureOf([&] { files.CreateFolder("C:\\Tessaron\\x\\y"); }), "Path not found");
    EXPECT_EQ(failureOf([&] { files.CreateFolder(panel); }), "File already exists");
    files.CreateFolder("C:\\Tessaron\\temp");
    files.CreateFolder("C:\\Tessaron\\temp\\inner");
    EXPECT_TRUE(files.FolderExists("c:\\tessaron\\TEMP"));
    EXPECT_EQ(files.SubFolders("C:\\Tessaron"), (std::vector<std::string>{"panel", "temp"}));

    auto writer = files.CreateTextFile(panel + "\\config.inc.tmp", true);
    writer->WriteLine("New = \"\xC3\xA9\"");
    EXPECT_EQ(failureOf([&] { writer->WriteLine("\xE6\x97\xA5"); }),
              "Invalid procedure call or argument");
    writer->Close();
    files.ReplaceFile(panel + "\\config.inc.tmp", panel + "\\config.inc");
    EXPECT_FALSE(files.FileExists(panel + "\\config.inc.tmp"));
    EXPECT_EQ(files.ReadTextFile(panel + "\\CONFIG.INC"), "New = \"\xC3\xA9\"\r\n");
    EXPECT_EQ(
        failureOf([&] { files.CopyFile(panel + "\\config.inc", panel + "\\config.inc", true); }),
        "Permission denied");
    EXPECT_EQ(failureOf([&] { files.CopyFile(panel + "\\none", panel + "\\copy", true); }),
              "File not found");
    files.CopyFile(panel + "\\config.inc", "C:\\Tessaron\\temp\\", false);
    EXPECT_EQ(
        failureOf([&] { files.CopyFile(panel + "\\config.inc", "C:\\Tessaron\\temp\\", false); }),
        "File already exists");
    auto log = files.OpenTextFileForAppending("C:\\Tessaron\\temp\\config.inc");
    log->WriteLine("More");
    EXPECT_EQ(files.ReadTextFile("C:\\Tessaron\\temp\\config.inc"),
              "New = \"\xC3\xA9\"\r\nMore\r\n");
    EXPECT_EQ(files.FileNames("C:\\Tessaron\\temp"), (std::vector<std::string>{"config.inc"}));

    EXPECT_EQ(dryRun.files().foldersCreated(),
              (std::vector<std::string>{"C:\\Tessaron\\temp", "C:\\Tessaron\\temp\\inner"}));
    EXPECT_EQ(dryRun.files().filesCreated(),
              (std::vector<std::string>{"C:\\Tessaron\\temp\\config.inc"}));
    EXPECT_EQ(dryRun.files().filesChanged(),
              (std::vector<std::string>{"C:\\Tessaron\\panel\\config.inc"}));
    EXPECT_EQ(dryRun.files().textBefore(panel + "\\config.inc"), "Old = \"1\"\r\n");

    auto component = dryRun.CreatePanelComponent();
    component->Execute("jt.exe /sc x");
    EXPECT_EQ(dryRun.commands(), (std::vector<std::string>{"jt.exe /sc x"}));
    EXPECT_EQ(imageDigest(machine.root()), before);
}

// The DNS provider's installation commands are written down, not run: the
// namespace they would add (and no other) is reachable through the dry run
// only, and the machine's registry and command log stay as they were. The
// commands reach it only with the provider's files in the WBEM folder, as the
// real commands would.
TEST_F(DryRunOnImage, ProviderCommandsReachTheNamespaceWithoutWritingTheRegistry) {
    const std::string wbem = "C:\\WINDOWS\\system32\\WBEM";
    machine.writeFile(wbem + "\\dnsschema.mof", "schema");
    machine.writeFile(wbem + "\\dnsprov.dll", "MZ");
    const std::string registry = readBytes(machine.root() / "registry.reg");
    MachineImage image(machine.root());
    DryRunPlatform dryRun(image, database);
    const auto reaches = [](Platform& platform, const char* nameSpace = "root\\MicrosoftDNS") {
        try {
            platform.Management().ConnectServer(nameSpace);
            return true;
        } catch (const PlatformError&) {
            return false;
        }
    };

    EXPECT_FALSE(reaches(dryRun));
    dryRun.CreatePanelComponent()->Execute(wbem + "\\MOFCOMP.EXE DNSSCHEMA.MOF");
    EXPECT_FALSE(reaches(dryRun));  // the provider's library is not registered yet
    dryRun.CreatePanelComponent()->Execute("C:\\WINDOWS\\system32\\REGSVR32.EXE " + wbem +
                                           "\\DNSPROV.DLL");
    EXPECT_TRUE(reaches(dryRun));
    EXPECT_FALSE(reaches(dryRun, "root\\Other"));
    EXPECT_FALSE(reaches(image));

    dryRun.Files().DeleteFile(wbem + "\\dnsprov.dll");
    EXPECT_FALSE(reaches(dryRun));
    EXPECT_EQ(readBytes(machine.root() / "registry.reg"), registry);
    EXPECT_FALSE(std::filesystem::exists(machine.root() / "commands.log"));
}

}  // namespace
}  // namespace tessaron::testing
