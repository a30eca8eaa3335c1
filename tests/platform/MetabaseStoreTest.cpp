// The metabase store on real MetaBase.xml files: reading, committing,
// saving byte for byte, and the directory service's failures.
#include <gtest/gtest.h>

#include "MetabaseTestSupport.h"
#include "platform/WindowsPath.h"

namespace tessaron::testing {
namespace {

const std::string kNotFound = "The system cannot find the path specified.";
const std::string kExists = "Cannot create a file when that file already exists.";
const std::string kNotInCache = "The active directory property cannot be found in the cache.";

class MetabaseStoreTest : public ::testing::Test {
protected:
    void SetUp() override { machine.writeFile(kMetabasePath, smallMetabase()); }
    std::unique_ptr<Metabase> store() { return createImageMetabase(machine.host(kMetabasePath)); }
    std::string file() const { return machine.readFile(kMetabasePath); }

    TestMachine machine;
};

TEST(MetabaseSampleTest, SamplesSurviveReadingAndUnchangedCommitsByteForByte) {
    for (const auto* sample : {"windows2003", "windows2000"}) {
        SCOPED_TRACE(sample);
        auto machine = TestMachine::sample(sample);
        const std::string windows = std::string(sample) == "windows2003" ? "WINDOWS" : "WINNT";
        const auto path = "C:\\" + windows + "\\system32\\inetsrv\\MetaBase.xml";
        const auto before = machine.readFile(path);
        {
            auto metabase = createImageMetabase(machine.host(path));
            auto web = metabase->Open("IIS://LocalHost/W3SVC");
            EXPECT_EQ(metabaseValueText(web->Get("LogFileDirectory")),
                      "%WinDir%\\System32\\LogFiles");
            for (auto& child : web->Children()) {
                if (child->Class() == "IIsWebServer") child->Get("ServerComment");
            }
            // Putting values equal to the committed ones changes nothing.
            auto site = metabase->Open("IIS://LocalHost/W3SVC/1");
            site->Put("ServerComment", std::string("Default Web Site"));
            site->Put("ServerBindings", std::vector<std::string>{":80:"});
            site->SetInfo();
            metabase->Flush();
        }
        EXPECT_EQ(machine.readFile(path), before);
    }
}

TEST(MetabaseSampleTest, ServerSampleHasTheUsualSitesAndPools) {
    auto machine = TestMachine::sample("windows2003");
    auto metabase = createImageMetabase(machine.host(kMetabasePath));
    std::vector<std::string> sites;
    for (auto& child : metabase->Open("IIS://LocalHost/W3SVC")->Children()) {
        sites.push_back(child->Class() + " " + child->Name());
    }
    EXPECT_EQ(sites, (std::vector<std::string>{"IIsFilters Filters", "IIsWebInfo Info",
                                               "IIsApplicationPools AppPools", "IIsWebServer 1",
                                               "IIsWebServer 2"}));
    EXPECT_EQ(metabaseValueText(metabase->Open("IIS://LocalHost/W3SVC/2")->Get("ServerComment")),
              "Administration");
    EXPECT_EQ(metabase->Open("IIS://LocalHost/W3SVC/AppPools/DefaultAppPool")->Class(),
              "IIsApplicationPool");
    auto ftp = metabase->Open("IIS://LocalHost/MSFTPSVC/1");
    EXPECT_EQ(metabaseValueText(ftp->Get("ServerComment")), "Default FTP Site");
    EXPECT_EQ(std::get<std::vector<std::string>>(ftp->Get("ServerBindings")),
              std::vector<std::string>{":21:"});
    // Eight script maps, one a line, without the indentation.
    const auto maps = std::get<std::vector<std::string>>(
        metabase->Open("IIS://LocalHost/W3SVC")->Get("ScriptMaps"));
    ASSERT_EQ(maps.size(), 8u);
    EXPECT_EQ(maps[1], ".cer,C:\\WINDOWS\\system32\\inetsrv\\asp.dll,5,GET,HEAD,POST,TRACE");
}

TEST_F(MetabaseStoreTest, PathsAreFoundWithoutRegardToCaseAndMissingOnesFail) {
    auto metabase = store();
    EXPECT_EQ(metabase->Open("iis://localhost/w3svc/1/root")->Name(), "ROOT");
    EXPECT_EQ(metabase->Open("IIS://LocalHost/W3SVC/")->Class(), "IIsWebService");
    EXPECT_EQ(metabase->Open("IIS://LocalHost")->Class(), "IIsComputer");
    for (const auto* path : {"IIS://LocalHost/W3SVC/3", "IIS://LocalHost/W3SVC/AppPools",
                             "IIS://OtherHost/W3SVC", "W3SVC/1", "IIS://LocalHost/W3SVC//1"}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(failureOf([&] { metabase->Open(path); }), kNotFound);
    }
}

TEST_F(MetabaseStoreTest, WithoutTheFileEveryOpenFails) {
    auto metabase = createImageMetabase(machine.host("C:\\WINDOWS\\system32\\inetsrv\\none.xml"));
    EXPECT_EQ(failureOf([&] { metabase->Open("IIS://LocalHost/W3SVC"); }), kNotFound);
    metabase->Flush();
}

TEST_F(MetabaseStoreTest, PropertiesReadWithTheirTypes) {
    auto metabase = store();
    auto site = metabase->Open("IIS://LocalHost/W3SVC/2");
    EXPECT_EQ(std::get<std::string>(site->Get("Name")), "2");
    EXPECT_EQ(std::get<std::string>(site->Get("Class")), "IIsWebServer");
    EXPECT_EQ(std::get<std::string>(site->Get("KeyType")), "IIsWebServer");
    EXPECT_EQ(std::get<std::vector<std::string>>(site->Get("serverbindings")),
              (std::vector<std::string>{":81:", "10.0.0.5:82:www.example.com"}));
    EXPECT_EQ(std::get<bool>(metabase->Open("IIS://LocalHost/W3SVC/1")->Get("ServerAutoStart")),
              true);
    EXPECT_EQ(failureOf([&] { site->Get("ServerAutoStart"); }), kNotInCache);
    EXPECT_EQ(failureOf([&] { site->Get("AccessRead"); }), kNotInCache);

    auto root = metabase->Open("IIS://LocalHost/W3SVC/1/ROOT");
    EXPECT_EQ(std::get<bool>(root->Get("AccessRead")), true);
    EXPECT_EQ(std::get<bool>(root->Get("AccessScript")), true);
    EXPECT_EQ(std::get<bool>(root->Get("AccessWrite")), false);
    EXPECT_EQ(std::get<long>(root->Get("AccessFlags")), 0x201);
}

TEST_F(MetabaseStoreTest, NewSiteIsInvisibleUntilCommittedThenWrittenInIisLayout) {
    const auto before = file();
    auto metabase = store();
    auto web = metabase->Open("IIS://LocalHost/W3SVC");
    auto site = web->Create("IIsWebServer", "3");
    site->Put("ServerBindings", std::vector<std::string>{":2100:", ":2101:"});
    site->Put("ServerComment", std::string("Tessaron - Control Panel"));
    site->Put("KeyType", std::string("IIsWebServer"));
    EXPECT_EQ(failureOf([&] { metabase->Open("IIS://LocalHost/W3SVC/3"); }), kNotFound);
    EXPECT_EQ(web->Children().size(), 2u);
    EXPECT_EQ(failureOf([&] { site->Create("IIsWebVirtualDir", "ROOT"); }), kNotFound);

    site->SetInfo();
    EXPECT_EQ(web->Children().size(), 3u);
    auto root = site->Create("IIsWebVirtualDir", "ROOT");
    root->Put("Path", std::string("C:\\Tessaron\\panel"));
    root->Put("AppPoolID", std::string("Tessaron"));
    root->Put("AccessRead", true);
    root->Put("AccessScript", true);
    root->AppCreate2(0);
    root->SetInfo();
    // Committed in memory, written by Flush.
    EXPECT_EQ(file(), before);
    metabase->Flush();

    const std::string added =
        "</IIsWebServer>\n"
        "<IIsWebServer\tLocation =\"/LM/W3SVC/3\"\n"
        "\t\tServerBindings=\":2100:\n"
        "\t\t\t:2101:\"\n"
        "\t\tServerComment=\"Tessaron - Control Panel\"\n"
        "\t>\n"
        "</IIsWebServer>\n"
        "<IIsWebVirtualDir\tLocation =\"/LM/W3SVC/3/ROOT\"\n"
        "\t\tAccessFlags=\"AccessRead | AccessScript\"\n"
        "\t\tAppFriendlyName=\"Default Application\"\n"
        "\t\tAppIsolated=\"0\"\n"
        "\t\tAppPoolId=\"Tessaron\"\n"
        "\t\tAppRoot=\"/LM/W3SVC/3/ROOT\"\n"
        "\t\tPath=\"C:\\Tessaron\\panel\"\n"
        "\t>\n"
        "</IIsWebVirtualDir>\n"
        "<IIsFtpService";
    auto expected = before;
    expected.replace(expected.find("</IIsWebServer>\n<IIsFtpService"),
                     std::string("</IIsWebServer>\n<IIsFtpService").size(), added);
    EXPECT_EQ(file(), expected);

    // A fresh store reads it back.
    metabase.reset();
    auto again = store();
    auto reread = again->Open("IIS://LocalHost/W3SVC/3");
    EXPECT_EQ(std::get<std::vector<std::string>>(reread->Get("ServerBindings")),
              (std::vector<std::string>{":2100:", ":2101:"}));
    auto rereadRoot = again->Open("IIS://LocalHost/W3SVC/3/ROOT");
    EXPECT_EQ(std::get<long>(rereadRoot->Get("AppIsolated")), 0);
    EXPECT_EQ(std::get<bool>(rereadRoot->Get("AccessScript")), true);
    EXPECT_EQ(std::get<bool>(rereadRoot->Get("AccessWrite")), false);
}

TEST_F(MetabaseStoreTest, CreatingAnExistingNameFails) {
    auto metabase = store();
    auto web = metabase->Open("IIS://LocalHost/W3SVC");
    EXPECT_EQ(failureOf([&] { web->Create("IIsWebServer", "1"); }), kExists);
    EXPECT_EQ(failureOf([&] {
                  metabase->Open("IIS://LocalHost/W3SVC/1")->Create("IIsWebVirtualDir", "root");
              }),
              kExists);
    // Two uncommitted children of one name: the second commit fails.
    auto first = web->Create("IIsWebServer", "7");
    auto second = web->Create("IIsWebServer", "7");
    first->SetInfo();
    EXPECT_EQ(failureOf([&] { second->SetInfo(); }), kExists);
}

TEST_F(MetabaseStoreTest, ChangedKeyIsRewrittenAloneAndKeepsItsChildElements) {
    const std::string withCustom =
        replaceAll(smallMetabase(), "\t>\n</IIsWebService>",
                   "\t>\n\t<Custom\n\t\tName=\"X\"\n\t\tValue=\"1\"\n\t/>\n</IIsWebService>");
    machine.writeFile(kMetabasePath, withCustom);
    auto metabase = store();
    auto web = metabase->Open("IIS://LocalHost/W3SVC");
    web->Put("LogFileDirectory", std::string("D:\\Logs"));
    web->Put("DefaultDoc", std::string("a&b<\"c\">"));
    web->SetInfo();
    metabase->Flush();
    const auto expected = replaceAll(
        withCustom, "\t\tLogFileDirectory=\"%WinDir%\\System32\\LogFiles\"\n",
        "\t\tDefaultDoc=\"a&amp;b&lt;&quot;c&quot;&gt;\"\n\t\tLogFileDirectory=\"D:\\Logs\"\n");
    EXPECT_EQ(file(), expected);
    EXPECT_EQ(metabaseValueText(store()->Open("IIS://LocalHost/W3SVC")->Get("DefaultDoc")),
              "a&b<\"c\">");
}

TEST_F(MetabaseStoreTest, AccessFlagsFollowTheirNamedBitsBothWays) {
    auto metabase = store();
    auto root = metabase->Open("IIS://LocalHost/W3SVC/1/ROOT");
    struct Step {
        const char* property;
        bool value;
        const char* flags;
    };
    for (const auto& step :
         {Step{"AccessWrite", true, "AccessRead | AccessWrite | AccessScript"},
          Step{"AccessRead", false, "AccessWrite | AccessScript"},
          Step{"AccessScript", false, "AccessWrite"}, Step{"AccessWrite", false, "0"},
          Step{"AccessExecute", true, "AccessExecute"}}) {
        SCOPED_TRACE(step.flags);
        root->Put(step.property, step.value);
        EXPECT_EQ(std::get<bool>(root->Get(step.property)), step.value);
        root->SetInfo();
        metabase->Flush();
        EXPECT_NE(file().find(std::string("AccessFlags=\"") + step.flags + "\""),
                  std::string::npos);
    }
    // A site without AccessFlags starts from no bits.
    auto site = metabase->Open("IIS://LocalHost/W3SVC/2");
    site->Put("AccessRead", true);
    EXPECT_EQ(std::get<long>(site->Get("AccessFlags")), 1);
}

TEST_F(MetabaseStoreTest, BooleansAndIntegersAreWrittenAsIisWritesThem) {
    auto metabase = store();
    auto ftp = metabase->Open("IIS://LocalHost/MSFTPSVC/1");
    ftp->Put("AllowAnonymous", false);
    ftp->Put("MaxConnections", 10L);
    ftp->SetInfo();
    metabase->Flush();
    EXPECT_NE(file().find("\t\tAllowAnonymous=\"FALSE\"\n\t\tMaxConnections=\"10\"\n"
                          "\t\tServerAutoStart=\"TRUE\"\n"),
              std::string::npos);
    EXPECT_EQ(std::get<bool>(store()->Open("IIS://LocalHost/MSFTPSVC/1")->Get("AllowAnonymous")),
              false);
    EXPECT_EQ(failureOf([&] { ftp->Put("MaxConnections", std::string("many")); }), "Type mismatch");
}

TEST_F(MetabaseStoreTest, EveryObjectSeesEveryCommit) {
    auto metabase = store();
    auto reader = metabase->Open("IIS://LocalHost/W3SVC/2");
    auto writer = metabase->Open("IIS://LocalHost/W3SVC/2");
    writer->Put("ServerComment", std::string("Renamed"));
    EXPECT_EQ(metabaseValueText(reader->Get("ServerComment")), "Second");
    writer->SetInfo();
    EXPECT_EQ(metabaseValueText(reader->Get("ServerComment")), "Renamed");
}

TEST_F(MetabaseStoreTest, ReadOnlyFileRefusesCommitsAndStaysUntouched) {
    const auto before = file();
    machine.setReadOnly(kMetabasePath, true);
    auto metabase = store();
    auto site = metabase->Open("IIS://LocalHost/W3SVC/2");
    site->Put("ServerComment", std::string("Renamed"));
    EXPECT_EQ(failureOf([&] { site->SetInfo(); }), "Access is denied.");
    auto created = metabase->Open("IIS://LocalHost/W3SVC")->Create("IIsWebServer", "3");
    EXPECT_EQ(failureOf([&] { created->SetInfo(); }), "Access is denied.");
    EXPECT_EQ(failureOf([&] { metabase->Open("IIS://LocalHost/W3SVC/3"); }), kNotFound);
    metabase->Flush();
    metabase.reset();
    EXPECT_EQ(file(), before);
}

// The file is written where the program saves and nowhere else: commits
// never saved are lost with the store, and a save that failed is not
// carried out later (when space or the write bit has come back), so what
// the run reported as not saved stays unsaved.
TEST_F(MetabaseStoreTest, OnlyAnExplicitSaveWritesTheFileAndAFailedOneIsGivenUp) {
    const auto before = file();
    {
        auto metabase = store();
        auto site = metabase->Open("IIS://LocalHost/W3SVC/2");
        site->Put("ServerComment", std::string("Renamed"));
        site->SetInfo();
    }
    EXPECT_EQ(file(), before);

    auto metabase = store();
    {
        auto site = metabase->Open("IIS://LocalHost/W3SVC/2");
        site->Put("ServerComment", std::string("Renamed"));
        site->SetInfo();
    }
    machine.setReadOnly(kMetabasePath, true);
    EXPECT_NE(failureOf([&] { metabase->Flush(); }), "");
    machine.setReadOnly(kMetabasePath, false);
    metabase->Flush();
    EXPECT_EQ(metabaseValueText(metabase->Open("IIS://LocalHost/W3SVC/2")->Get("ServerComment")),
              "Second");
    metabase.reset();
    EXPECT_EQ(file(), before);
}

// A rewritten key keeps its properties where they were, as IIS wrote them
// (ordinal order: "CGITimeout" before "CacheISAPI"); a new one goes to its
// ordinal place; AccessFlags naming the same flags in another order are no
// change.
TEST_F(MetabaseStoreTest, RewrittenKeyKeepsItsPropertiesAndEqualFlagSetsChangeNothing) {
    const std::string iisOrder =
        replaceAll(smallMetabase(), "\t\tAccessFlags=\"AccessRead | AccessScript\"\n",
                   "\t\tAccessFlags=\"AccessExecute | AccessRead | AccessScript\"\n"
                   "\t\tCGITimeout=\"300\"\n\t\tCacheISAPI=\"TRUE\"\n");
    machine.writeFile(kMetabasePath, iisOrder);
    {
        auto metabase = store();
        auto root = metabase->Open("IIS://LocalHost/W3SVC/1/ROOT");
        root->Put("AccessRead", true);
        root->Put("AccessExecute", true);
        root->SetInfo();
        metabase->Flush();
    }
    EXPECT_EQ(file(), iisOrder);

    auto metabase = store();
    auto root = metabase->Open("IIS://LocalHost/W3SVC/1/ROOT");
    root->Put("Path", std::string("D:\\Sites"));
    root->Put("AppRoot", std::string("/LM/W3SVC/1/ROOT"));
    root->SetInfo();
    metabase->Flush();
    EXPECT_EQ(file(), replaceAll(replaceAll(iisOrder, "\t\tCGITimeout=",
                                            "\t\tAppRoot=\"/LM/W3SVC/1/ROOT\"\n\t\tCGITimeout="),
                                 "c:\\inetpub\\wwwroot", "D:\\Sites"));
}

TEST_F(MetabaseStoreTest, ApplicationsAreMadeOnWebDirectoriesOnly) {
    auto metabase = store();
    auto root = metabase->Open("IIS://LocalHost/W3SVC/1/ROOT");
    root->AppCreate(true);
    EXPECT_EQ(metabaseValueText(root->Get("AppRoot")), "/LM/W3SVC/1/ROOT");
    EXPECT_EQ(std::get<long>(root->Get("AppIsolated")), 0);
    root->AppCreate2(2);
    EXPECT_EQ(std::get<long>(root->Get("AppIsolated")), 2);
    EXPECT_EQ(failureOf([&] { root->AppCreate2(5); }), "The parameter is incorrect.");
    EXPECT_EQ(failureOf([&] { metabase->Open("IIS://LocalHost/W3SVC/1")->AppCreate(true); }),
              "Object doesn't support this property or method");
}

TEST_F(MetabaseStoreTest, StartFailsOnABindingAnotherStartedSiteHolds) {
    auto metabase = store();
    auto web = metabase->Open("IIS://LocalHost/W3SVC");
    struct Case {
        std::vector<std::string> bindings;
        std::string failure;
    };
    int number = 10;
    for (const auto& test : {Case{{":80:"}, kExists}, Case{{":8080:", ":080:"}, kExists},
                             Case{{"10.0.0.5:80:"}, ""}, Case{{":80:nosite"}, ""},
                             // Site 2 holds :81: but is not started.
                             Case{{":81:"}, ""}}) {
        SCOPED_TRACE(test.bindings.front());
        auto site = web->Create("IIsWebServer", std::to_string(number++));
        site->Put("ServerBindings", test.bindings);
        site->SetInfo();
        EXPECT_EQ(failureOf([&] { site->Start(); }), test.failure);
        EXPECT_EQ(failureOf([&] { site->Get("ServerAutoStart"); }).empty(), test.failure.empty());
        if (test.failure.empty()) {
            // Leave the next case a clean service.
            site->Put("ServerAutoStart", false);
            site->SetInfo();
        }
    }
    // A started site conflicts by host name without regard to case.
    auto first = web->Create("IIsWebServer", "20");
    first->Put("ServerBindings", std::vector<std::string>{":90:Shop"});
    first->SetInfo();
    first->Start();
    auto second = web->Create("IIsWebServer", "21");
    second->Put("ServerBindings", std::vector<std::string>{":90:shop"});
    second->SetInfo();
    EXPECT_EQ(failureOf([&] { second->Start(); }), kExists);
    // Sites of another service never conflict.
    EXPECT_EQ(failureOf([&] { metabase->Open("IIS://LocalHost/MSFTPSVC/1")->Start(); }), "");
}

struct MalformedCase {
    const char* name;
    std::string text;
    std::string reason;
};

TEST_F(MetabaseStoreTest, MalformedFilesFailEveryOpenAndAreNeverSavedOver) {
    const std::vector<MalformedCase> cases = {
        {"not well-formed",
         replaceAll(smallMetabase(), "</IIsWebVirtualDir>", "</IIsWebVirtualDi>"),
         "not well-formed XML (Start-end tags mismatch) at line 21, column 3 (offset 516)."},
        {"another root", "<?xml version =\"1.0\"?>\n<settings>\n<MBProperty/>\n</settings>\n",
         "the root element is <settings>, not <configuration> at line 2, column 1 (offset 23)."},
        {"no MBProperty", "<configuration>\n</configuration>\n",
         "<configuration> holds no <MBProperty> at line 1, column 1 (offset 0)."},
        {"key without Location",
         replaceAll(smallMetabase(), "<IIsWebServer\tLocation =\"/LM/W3SVC/2\"", "<IIsWebServer"),
         "the key <IIsWebServer> has no Location at line 22, column 1 (offset 534)."},
        {"empty file", "",
         "not well-formed XML (No document element found) at line 1, column 1 (offset 0)."},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        machine.writeFile(kMetabasePath, test.text);
        auto metabase = store();
        const auto path = machine.host(kMetabasePath).string();
        for (const auto* ads : {"IIS://LocalHost/W3SVC", "IIS://LocalHost/MSFTPSVC"}) {
            EXPECT_EQ(failureOf([&] { metabase->Open(ads); }),
                      "The metabase file " + path + " cannot be read: " + test.reason);
        }
        metabase->Flush();
        metabase.reset();
        EXPECT_EQ(file(), test.text);
    }
}

TEST_F(MetabaseStoreTest, ByteOrderMarkAndLineBreaksOfTheFileAreKept) {
    const std::string text = "\xEF\xBB\xBF" + replaceAll(smallMetabase(), "\n", "\r\n");
    machine.writeFile(kMetabasePath, text);
    auto metabase = store();
    auto site = metabase->Open("IIS://LocalHost/W3SVC/2");
    EXPECT_EQ(std::get<std::vector<std::string>>(site->Get("ServerBindings")),
              (std::vector<std::string>{":81:", "10.0.0.5:82:www.example.com"}));
    site->Put("ServerComment", std::string("Renamed"));
    site->SetInfo();
    metabase->Flush();
    EXPECT_EQ(file(), replaceAll(text, "ServerComment=\"Second\"", "ServerComment=\"Renamed\""));
}

}  // namespace
}  // namespace tessaron::testing
