// The store answers from indexes and saves from the file as read; these
// cases hold it to the plain rules: free numbers as opening each path gives
// them, keys with equal locations, started bindings after edits, saves after
// saves, and a file changed under the store.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "MetabaseTestSupport.h"
#include "platform/WindowsPath.h"

namespace tessaron::testing {
namespace {

const std::string kNotFound = "The system cannot find the path specified.";
const std::string kExists = "Cannot create a file when that file already exists.";

// Forwards Open only, so FirstFreeNumber is the interface's own loop that
// opens one path after another.
class OpenOnly : public Metabase {
public:
    explicit OpenOnly(Metabase& inner) : inner_(inner) {}
    std::unique_ptr<MetabaseObject> Open(const std::string& path) override {
        return inner_.Open(path);
    }

private:
    Metabase& inner_;
};

std::string key(const std::string& className, const std::string& location,
                const std::string& comment = "") {
    return "<" + className + "\tLocation =\"" + location + "\"\n" +
           (comment.empty() ? "" : "\t\tServerComment=\"" + comment + "\"\n") + "\t>\n</" +
           className + ">\n";
}

// The small metabase (sites 1 and 2, FTP site 1) with more keys at its end.
std::string smallMetabaseWith(const std::string& keys) {
    return replaceAll(smallMetabase(), "</MBProperty>", keys + "</MBProperty>");
}

class MetabaseIndexesTest : public ::testing::Test {
protected:
    std::unique_ptr<Metabase> store(const std::string& text) {
        machine.writeFile(kMetabasePath, text);
        return createImageMetabase(machine.host(kMetabasePath));
    }
    std::string file() const { return machine.readFile(kMetabasePath); }

    TestMachine machine;
};

TEST_F(MetabaseIndexesTest, FreeNumberIsTheOneOpeningEachPathFindsFirst) {
    struct Case {
        const char* name;
        std::string keys;
        int web;  // the free number below IIS://LocalHost/W3SVC
    };
    const std::vector<Case> cases = {
        {"sites 1 and 2", "", 3},
        {"gap after 4",
         key("IIsWebServer", "/LM/W3SVC/3") + key("IIsWebServer", "/LM/W3SVC/4") +
             key("IIsWebServer", "/LM/W3SVC/6"),
         5},
        {"locations in another case", key("IIsWebServer", "/lm/w3svc/3"), 4},
        {"names that are not the number",
         key("IIsWebServer", "/LM/W3SVC/03") + key("IIsWebServer", "/LM/W3SVC/+3") +
             key("IIsWebServer", "/LM/W3SVC/3/") + key("IIsWebVirtualDir", "/LM/W3SVC/3/ROOT"),
         3},
        {"the same number twice",
         key("IIsWebServer", "/LM/W3SVC/3") + key("IIsFilters", "/LM/W3SVC/3"), 4},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        auto iis = store(smallMetabaseWith(test.keys));
        OpenOnly opening(*iis);
        EXPECT_EQ(iis->FirstFreeNumber("IIS://LocalHost/W3SVC"), test.web);
        for (const auto* parent :
             {"IIS://LocalHost/W3SVC", "iis://localhost/w3svc/", "IIS://LocalHost/MSFTPSVC",
              "IIS://LocalHost/W3SVC/1", "IIS://LocalHost/W3SVC/3", "IIS://OtherHost/W3SVC",
              "IIS://LocalHost/W3SVC//", "W3SVC"}) {
            SCOPED_TRACE(parent);
            EXPECT_EQ(iis->FirstFreeNumber(parent), opening.FirstFreeNumber(parent));
        }
    }
}

TEST_F(MetabaseIndexesTest, FreeNumberCountsCommittedSitesOnly) {
    auto iis = store(smallMetabase());
    auto web = iis->Open("IIS://LocalHost/W3SVC");
    auto committed = web->Create("IIsWebServer", "3");
    committed->SetInfo();
    auto pending = web->Create("IIsWebServer", "4");
    EXPECT_EQ(iis->FirstFreeNumber("IIS://LocalHost/W3SVC"), 4);
    pending->SetInfo();
    EXPECT_EQ(iis->FirstFreeNumber("IIS://LocalHost/W3SVC"), 5);
    EXPECT_EQ(
        createImageMetabase(machine.host("C:\\none.xml"))->FirstFreeNumber("IIS://LocalHost/W3SVC"),
        1);
}

TEST_F(MetabaseIndexesTest, OfEqualLocationsOnlyTheFirstIsListedAndOpened) {
    auto iis = store(smallMetabaseWith(key("IIsWebServer", "/lm/w3svc/2", "Copy of the second") +
                                       key("IIsWebServer", "/LM/W3SVC/7", "Seventh")));
    // Enough lookups that the store indexes its keys on the way.
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        std::vector<std::string> listed;
        for (auto& child : iis->Open("IIS://LocalHost/W3SVC")->Children()) {
            listed.push_back(child->Name() + " " + metabaseValueText(child->Get("ServerComment")));
        }
        EXPECT_EQ(listed,
                  (std::vector<std::string>{"1 Default Web Site", "2 Second", "7 Seventh"}));
        EXPECT_EQ(metabaseValueText(iis->Open("IIS://LocalHost/W3SVC/2")->Get("ServerComment")),
                  "Second");
    }
}

// Among thousands of children, where many distinct names share hash bits,
// only the later keys of equal locations drop out, in any case and order.
TEST_F(MetabaseIndexesTest, OfManyChildrenOnlyRepeatedLocationsDropOut) {
    std::string keys;
    std::vector<std::string> expected{"1", "2"};
    for (int n = 100; n < 3100; ++n) {
        keys += key("IIsWebServer", "/LM/W3SVC/" + std::to_string(n), "Site");
        expected.push_back(std::to_string(n));
        if (n % 500 == 0) keys += key("IIsWebServer", "/lm/w3svc/" + std::to_string(n / 5));
    }
    keys += key("IIsWebServer", "/LM/W3SVC/1", "Copy") + key("IIsWebVirtualDir", "/LM/W3SVC/X");
    expected.push_back("X");
    auto iis = store(smallMetabaseWith(keys));
    std::vector<std::string> listed;
    for (auto& child : iis->Open("IIS://LocalHost/W3SVC")->Children()) {
        listed.push_back(child->Name());
    }
    EXPECT_EQ(listed, expected);
}

// What ListChildren reports, one line per child; stops after `limit`.
std::vector<std::string> listing(
    const std::function<void(const MetabaseObject::ChildVisitor&)>& list,
    std::size_t limit = 1000) {
    std::vector<std::string> lines;
    list([&](const MetabaseChildView& child) {
        lines.push_back(std::string(child.className) + " " + std::string(child.name) + " " +
                        (child.value ? "[" + std::string(*child.value) + "]" : "unreadable"));
        return lines.size() < limit;
    });
    return lines;
}

TEST_F(MetabaseIndexesTest, ListingChildrenTellsWhatChildrenClassGetAndNameTell) {
    auto iis = store(smallMetabaseWith(
        key("IIsWebServer", "/lm/w3svc/2", "Copy of the second") +
        key("IIsWebServer", "/LM/W3SVC/7") + key("IIsWebServer", "/LM/W3SVC/8", "Eighth") +
        "<IIsWebServer\tLocation =\"/LM/W3SVC/9\"\n\t\tServerAutoStart=\"yes\"\n"
        "\t\tServerComment=\"Line one\n\t\t\tline two\"\n\t>\n</IIsWebServer>\n" +
        key("IIsFilters", "/LM/W3SVC/Filters")));
    {
        auto web = iis->Open("IIS://LocalHost/W3SVC");
        web->Create("IIsWebServer", "10")->SetInfo();
        auto renamed = web->Create("IIsWebServer", "11");
        renamed->Put("ServerComment", std::string("Eleventh"));
        renamed->SetInfo();
        auto eighth = iis->Open("IIS://LocalHost/W3SVC/8");
        eighth->Put("KeyType", std::string("IIsWebVirtualDir"));
        eighth->SetInfo();
        web->Create("IIsWebServer", "12");  // never committed
    }
    // Before and after the store indexes its keys.
    for (int round = 0; round < 12; ++round) {
        SCOPED_TRACE(round);
        for (const auto* path :
             {"IIS://LocalHost/W3SVC", "IIS://LocalHost/W3SVC/1", "IIS://LocalHost/MSFTPSVC"}) {
            auto parent = iis->Open(path);
            for (const auto* className :
                 {"IIsWebServer", "IIsWebVirtualDir", "IIsFtpServer", "iiswebserver"}) {
                for (const auto* property : {"ServerComment", "servercomment", "ServerAutoStart",
                                             "ServerBindings", "AccessFlags", "AccessRead", "Path",
                                             "Class", "Name", "KeyType", "Location", "Unknown"}) {
                    SCOPED_TRACE(std::string(path) + " " + className + " " + property);
                    for (const std::size_t limit : {std::size_t{1000}, std::size_t{2}}) {
                        const auto stored = listing(
                            [&](const auto& visit) {
                                parent->ListChildren(className, property, visit);
                            },
                            limit);
                        const auto plain = listing(
                            [&](const auto& visit) {
                                parent->MetabaseObject::ListChildren(className, property, visit);
                            },
                            limit);
                        EXPECT_EQ(stored, plain);
                    }
                }
            }
        }
    }
    std::vector<std::string> comments;
    iis->Open("IIS://LocalHost/W3SVC")
        ->ListChildren("IIsWebServer", "ServerComment", [&](const MetabaseChildView& child) {
            comments.push_back(std::string(child.name) + " " +
                               (child.value ? std::string(*child.value) : "unreadable"));
            return true;
        });
    EXPECT_EQ(comments, (std::vector<std::string>{"1 Default Web Site", "2 Second", "7 unreadable",
                                                  "9 Line one\n\t\t\tline two", "10 unreadable",
                                                  "11 Eleventh"}));
}

TEST_F(MetabaseIndexesTest, StartSeesBindingsChangedSinceTheFirstStart) {
    auto iis = store(smallMetabase());
    auto web = iis->Open("IIS://LocalHost/W3SVC");
    const auto site = [&](const std::string& number, const std::string& binding) {
        auto created = web->Create("IIsWebServer", number);
        created->Put("ServerBindings", std::vector<std::string>{binding});
        created->SetInfo();
        return created;
    };
    // Site 2 holds :81: and is not started.
    auto tenth = site("10", ":81:");
    EXPECT_EQ(failureOf([&] { tenth->Start(); }), "");

    // Site 1, read from the file and started, moves from :80: to :85:.
    auto first = iis->Open("IIS://LocalHost/W3SVC/1");
    first->Put("ServerBindings", std::vector<std::string>{":85:"});
    first->SetInfo();
    EXPECT_EQ(failureOf([&] { site("11", ":80:")->Start(); }), "");
    EXPECT_EQ(failureOf([&] { site("12", ":85:")->Start(); }), kExists);
    // Site 10, created and started, holds :81: now.
    EXPECT_EQ(failureOf([&] { site("13", ":81:")->Start(); }), kExists);
    EXPECT_EQ(failureOf([&] { iis->Open("IIS://LocalHost/W3SVC/2")->Start(); }), kExists);
    // Stopped again, it holds :81: no longer.
    tenth->Put("ServerAutoStart", false);
    tenth->SetInfo();
    EXPECT_EQ(failureOf([&] { iis->Open("IIS://LocalHost/W3SVC/2")->Start(); }), "");
}

TEST_F(MetabaseIndexesTest, SecureBindingsConflictWithSecureBindingsOnly) {
    // Site 1 of the file, started, also answers :443: for secure connections.
    auto iis = store(replaceAll(smallMetabase(), "\t\tServerBindings=\":80:\"\n",
                                "\t\tSecureBindings=\":443:\"\n\t\tServerBindings=\":80:\"\n"));
    auto web = iis->Open("IIS://LocalHost/W3SVC");
    struct Case {
        const char* property;
        std::string binding;
        std::string failure;
    };
    int number = 10;
    for (const auto& test :
         {Case{"SecureBindings", ":443:", kExists}, Case{"SecureBindings", "10.0.0.5:443:", ""},
          Case{"ServerBindings", ":443:", ""}, Case{"SecureBindings", ":80:", ""}}) {
        SCOPED_TRACE(std::string(test.property) + " " + test.binding);
        auto site = web->Create("IIsWebServer", std::to_string(number++));
        site->Put(test.property, std::vector<std::string>{test.binding});
        site->SetInfo();
        EXPECT_EQ(failureOf([&] { site->Start(); }), test.failure);
        site->Put("ServerAutoStart", false);
        site->SetInfo();
    }
}

TEST_F(MetabaseIndexesTest, EverySaveOfOneStoreHoldsAllItsCommits) {
    auto iis = store(smallMetabase());
    auto second = iis->Open("IIS://LocalHost/W3SVC/2");
    second->Put("ServerComment", std::string("Renamed"));
    second->SetInfo();
    iis->Flush();
    const auto renamed =
        replaceAll(smallMetabase(), "ServerComment=\"Second\"", "ServerComment=\"Renamed\"");
    EXPECT_EQ(file(), renamed);

    auto web = iis->Open("IIS://LocalHost/W3SVC");
    web->Put("LogFileDirectory", std::string("D:\\Logs"));
    web->SetInfo();
    web->Create("IIsWebServer", "3")->SetInfo();
    iis->Flush();
    EXPECT_EQ(file(), replaceAll(replaceAll(renamed, "%WinDir%\\System32\\LogFiles", "D:\\Logs"),
                                 "</IIsWebServer>\n<IIsFtpService",
                                 "</IIsWebServer>\n<IIsWebServer\tLocation =\"/LM/W3SVC/3\"\n\t>\n"
                                 "</IIsWebServer>\n<IIsFtpService"));
}

TEST_F(MetabaseIndexesTest, FileWrittenToSinceReadingIsNotSavedOver) {
    auto iis = store(smallMetabase());
    auto second = iis->Open("IIS://LocalHost/W3SVC/2");
    second->Put("ServerComment", std::string("Renamed"));
    second->SetInfo();
    const std::string theirs = replaceAll(smallMetabase(), "Default Web Site", "Their site");
    machine.writeFile(kMetabasePath, theirs);
    EXPECT_EQ(failureOf([&] { iis->Flush(); }),
              "The metabase file " + machine.host(kMetabasePath).string() +
                  " could not be saved (read: another program has written to the file since it "
                  "was read).");
    iis.reset();
    EXPECT_EQ(file(), theirs);
}

// A file made read-only after the commits were accepted: the save names the
// file and the reason, and the file keeps its bytes.
TEST_F(MetabaseIndexesTest, FileMadeReadOnlyBeforeTheSaveIsNamedInTheFailure) {
    auto iis = store(smallMetabase());
    auto second = iis->Open("IIS://LocalHost/W3SVC/2");
    second->Put("ServerComment", std::string("Renamed"));
    second->SetInfo();
    machine.setReadOnly(kMetabasePath, true);
    EXPECT_EQ(failureOf([&] { iis->Flush(); }), "The metabase file " +
                                                    machine.host(kMetabasePath).string() +
                                                    " could not be saved (Access is denied).");
    EXPECT_EQ(file(), smallMetabase());
    machine.setReadOnly(kMetabasePath, false);
}

// IIS saves by renaming a new file over the old one; that change is kept as
// one written in place is, and this store's commits stay pending. Saves of
// this store's own, one after another, are not taken for such a change.
TEST_F(MetabaseIndexesTest, FileReplacedSinceReadingIsNotSavedOver) {
    auto iis = store(smallMetabase());
    auto second = iis->Open("IIS://LocalHost/W3SVC/2");
    second->Put("ServerComment", std::string("Renamed"));
    second->SetInfo();
    iis->Flush();
    second->Put("ServerComment", std::string("Renamed again"));
    second->SetInfo();
    iis->Flush();
    const std::string ours = file();
    EXPECT_EQ(ours, replaceAll(smallMetabase(), "ServerComment=\"Second\"",
                               "ServerComment=\"Renamed again\""));

    second->Put("ServerComment", std::string("Third time"));
    second->SetInfo();
    const auto path = machine.host(kMetabasePath);
    const std::string theirs = replaceAll(ours, "Default Web Site", "Their site");
    std::ofstream(path.string() + ".other", std::ios::binary) << theirs;
    std::filesystem::rename(path.string() + ".other", path);
    EXPECT_EQ(failureOf([&] { iis->Flush(); }),
              "The metabase file " + path.string() +
                  " could not be saved (read: another program has written to the file since it "
                  "was read).");
    second.reset();
    iis.reset();
    EXPECT_EQ(file(), theirs);
}

// A store read before another program saved the file, with no object open
// and nothing pending (a run going on from a load step that read the file,
// after waiting for another run's lock): it works on the file as it is now,
// and its save keeps the other program's change.
TEST_F(MetabaseIndexesTest, FileReplacedWhileNothingIsPendingIsReadAgain) {
    auto iis = store(smallMetabase());
    EXPECT_EQ(std::get<std::string>(iis->Open("IIS://LocalHost/W3SVC/1")->Get("ServerComment")),
              "Default Web Site");
    const auto path = machine.host(kMetabasePath);
    const std::string theirs = replaceAll(smallMetabase(), "Default Web Site", "Their site");
    std::ofstream(path.string() + ".other", std::ios::binary) << theirs;
    std::filesystem::rename(path.string() + ".other", path);

    auto first = iis->Open("IIS://LocalHost/W3SVC/1");
    EXPECT_EQ(std::get<std::string>(first->Get("ServerComment")), "Their site");
    auto second = iis->Open("IIS://LocalHost/W3SVC/2");
    second->Put("ServerComment", std::string("Renamed"));
    second->SetInfo();
    iis->Flush();
    EXPECT_EQ(file(), replaceAll(theirs, "ServerComment=\"Second\"", "ServerComment=\"Renamed\""));
}

}  // namespace
}  // namespace tessaron::testing
