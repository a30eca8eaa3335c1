#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "ImageTestText.h"
#include "platform/Failure.h"
#include "platform/image/MachineImage.h"
#include "support/TestMachine.h"

namespace fs = std::filesystem;

namespace tessaron {
namespace {

using testing::TestMachine;

class ImageFiles : public ::testing::Test {
protected:
    ImageFiles() {
        machine.writeRegistry(testing::machineRegistry());
        machine.makeFolder("C:\\WINDOWS\\system32\\wbem");
        machine.writeFile("C:\\Tessaron\\bin\\dnsprov.dll", "provider");
        machine.writeFile("C:\\Tessaron\\panel\\config.inc", "old");
        image = std::make_unique<MachineImage>(machine.root());
    }

    FileSystem& files() { return image->Files(); }

    // Runs the operation and returns "number description" of its failure.
    static std::string failureOf(const std::function<void()>& operation) {
        try {
            operation();
        } catch (const PlatformError& error) {
            return std::to_string(error.number()) + " " + error.description();
        }
        return "no failure";
    }

    TestMachine machine;
    std::unique_ptr<MachineImage> image;
};

TEST_F(ImageFiles, ResolvesWindowsPathsWithoutRegardToCase) {
    EXPECT_TRUE(files().FolderExists("c:\\windows\\SYSTEM32\\Wbem"));
    EXPECT_TRUE(files().FolderExists("C:\\WINDOWS\\system32\\wbem\\"));
    EXPECT_TRUE(files().FileExists("C:\\tessaron\\BIN\\DnsProv.DLL"));
    EXPECT_TRUE(files().FileExists("C:/Tessaron/bin/../bin/dnsprov.dll"));
    EXPECT_FALSE(files().FileExists("C:\\Tessaron\\bin"));  // a folder is no file
    EXPECT_FALSE(files().FolderExists("C:\\Tessaron\\bin\\dnsprov.dll"));
    EXPECT_FALSE(files().FolderExists("D:\\Tessaron"));  // no such drive
    EXPECT_FALSE(files().FolderExists(""));
    EXPECT_FALSE(files().FolderExists("Tessaron\\bin"));  // relative

#ifndef _WIN32  // Windows' own file system finds the path in the case given.
    EXPECT_EQ(image->hostPath("c:\\windows\\System32\\inetsrv\\MetaBase.xml"),
              machine.root() / "C/WINDOWS/system32/inetsrv/MetaBase.xml");
#endif
    EXPECT_EQ(image->hostPath("Q:\\x"), std::nullopt);
    EXPECT_EQ(image->windowsPath(machine.root() / "C/WINDOWS/system32"), "C:\\WINDOWS\\system32");
    EXPECT_EQ(image->windowsPath(machine.root() / "C"), "C:\\");
    EXPECT_EQ(image->windowsPath(machine.root() / "registry.reg"), std::nullopt);
    EXPECT_EQ(image->windowsPath(machine.root().parent_path()), std::nullopt);
}

TEST_F(ImageFiles, NewEntriesTakeTheCaseGiven) {
    files().CreateFolder("c:\\windows\\NewFolder");
    EXPECT_TRUE(fs::is_directory(machine.root() / "C/WINDOWS/NewFolder"));
    files().CopyFile("C:\\TESSARON\\bin\\dnsprov.dll", "c:\\windows\\system32\\WBEM\\DnsProv.Dll",
                     true);
    EXPECT_TRUE(fs::is_regular_file(machine.root() / "C/WINDOWS/system32/wbem/DnsProv.Dll"));
    // An existing file keeps its own name when overwritten.
    files().CopyFile("C:\\Tessaron\\bin\\dnsprov.dll", "C:\\Tessaron\\panel\\CONFIG.INC", true);
    EXPECT_EQ(machine.readFile("C:\\Tessaron\\panel\\config.inc"), "provider");
#ifndef _WIN32  // on Windows' own file system every case names the same file
    EXPECT_FALSE(fs::exists(machine.root() / "C/Tessaron/panel/CONFIG.INC"));
#endif
}

TEST_F(ImageFiles, CreatesOneFolderLevelOnly) {
    struct Case {
        std::string path;
        std::string failure;
    };
    const std::vector<Case> cases = {
        {"C:\\Tessaron\\temp", "no failure"},
        {"C:\\Tessaron\\accounts\\customers", "76 Path not found"},
        {"C:\\tessaron\\TEMP", "58 File already exists"},
        {"C:\\Tessaron\\bin\\dnsprov.dll", "58 File already exists"},
        {"C:\\", "58 File already exists"},
        {"E:\\Logs", "76 Path not found"},
        {"", "5 Invalid procedure call or argument"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(failureOf([&] { files().CreateFolder(c.path); }), c.failure) << c.path;
    }
    EXPECT_TRUE(fs::is_directory(machine.root() / "C/Tessaron/temp"));
    EXPECT_FALSE(fs::exists(machine.root() / "C/Tessaron/accounts"));
}

TEST_F(ImageFiles, CopiesWithAndWithoutOverwrite) {
    const std::string source = "C:\\Tessaron\\bin\\dnsprov.dll";
    const std::string target = "C:\\Tessaron\\panel\\config.inc";
    EXPECT_EQ(failureOf([&] { files().CopyFile(source, target, false); }),
              "58 File already exists");
    EXPECT_EQ(machine.readFile(target), "old");
    EXPECT_EQ(failureOf([&] { files().CopyFile(source, target, true); }), "no failure");
    EXPECT_EQ(machine.readFile(target), "provider");

    EXPECT_EQ(failureOf([&] { files().CopyFile("C:\\Tessaron\\bin\\none.dll", target, true); }),
              "53 File not found");
    EXPECT_EQ(failureOf([&] { files().CopyFile("C:\\Missing\\none.dll", target, true); }),
              "76 Path not found");
    EXPECT_EQ(failureOf([&] { files().CopyFile(source, "C:\\Missing\\x.dll", true); }),
              "76 Path not found");
    EXPECT_EQ(failureOf([&] { files().CopyFile(source, "C:\\WINDOWS\\system32\\wbem", true); }),
              "70 Permission denied");  // a folder, named without trailing backslash
    // A trailing backslash names the folder to copy into.
    EXPECT_EQ(failureOf([&] { files().CopyFile(source, "C:\\WINDOWS\\system32\\wbem\\", true); }),
              "no failure");
    EXPECT_EQ(machine.readFile("C:\\WINDOWS\\system32\\wbem\\dnsprov.dll"), "provider");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(machine.root() / "C/WINDOWS/system32/wbem"),
                            fs::directory_iterator()),
              1);
}

TEST_F(ImageFiles, ReadOnlyFilesRefuseChangesEvenToRoot) {
    const std::string target = "C:\\Tessaron\\panel\\config.inc";
    machine.writeFile("C:\\Tessaron\\panel\\config.new", "new");
    machine.setReadOnly(target, true);
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"copy over", [&] { files().CopyFile("C:\\Tessaron\\bin\\dnsprov.dll", target, true); }},
        {"create over", [&] { files().CreateTextFile(target, true); }},
        {"append", [&] { files().OpenTextFileForAppending(target); }},
        {"delete", [&] { files().DeleteFile(target); }},
        {"replace", [&] { files().ReplaceFile("C:\\Tessaron\\panel\\config.new", target); }},
    };
    for (const auto& [name, operation] : operations) {
        EXPECT_EQ(failureOf(operation), "70 Permission denied") << name;
    }
    EXPECT_EQ(machine.readFile(target), "old");
    EXPECT_EQ(files().ReadTextFile(target), "old");  // reading is allowed
}

TEST_F(ImageFiles, ReadOnlyFoldersRefuseNewEntriesEvenToRoot) {
    if (!TestMachine::foldersCanBeReadOnly()) GTEST_SKIP() << "folders cannot be read-only here";
    machine.setReadOnly("C:\\Tessaron\\panel", true);
    const std::vector<std::pair<const char*, std::function<void()>>> operations = {
        {"folder", [&] { files().CreateFolder("C:\\Tessaron\\panel\\temp"); }},
        {"text file", [&] { files().CreateTextFile("C:\\Tessaron\\panel\\new.inc", false); }},
        {"append", [&] { files().OpenTextFileForAppending("C:\\Tessaron\\panel\\new.inc"); }},
        {"copy",
         [&] {
             files().CopyFile("C:\\Tessaron\\bin\\dnsprov.dll", "C:\\Tessaron\\panel\\x", false);
         }},
        {"delete", [&] { files().DeleteFile("C:\\Tessaron\\panel\\config.inc"); }},
        {"replace",
         [&] {
             files().ReplaceFile("C:\\Tessaron\\bin\\dnsprov.dll",
                                 "C:\\Tessaron\\panel\\config.inc");
         }},
    };
    for (const auto& [name, operation] : operations) {
        EXPECT_EQ(failureOf(operation), "70 Permission denied") << name;
    }
    machine.setReadOnly("C:\\Tessaron\\panel", false);
    EXPECT_EQ(files().SubFolders("C:\\Tessaron\\panel"), std::vector<std::string>{});
    EXPECT_TRUE(files().FileExists("C:\\Tessaron\\bin\\dnsprov.dll"));
    EXPECT_EQ(machine.readFile("C:\\Tessaron\\panel\\config.inc"), "old");
}

TEST_F(ImageFiles, ReplaceMovesTheFileOverTheDestination) {
    machine.writeFile("C:\\Tessaron\\panel\\config.new", "new");
    files().ReplaceFile("C:\\Tessaron\\panel\\config.new", "C:\\TESSARON\\panel\\Config.inc");
    EXPECT_EQ(machine.readFile("C:\\Tessaron\\panel\\config.inc"), "new");
    EXPECT_FALSE(files().FileExists("C:\\Tessaron\\panel\\config.new"));
    EXPECT_EQ(failureOf([&] {
                  files().ReplaceFile("C:\\Tessaron\\panel\\config.new", "C:\\Tessaron\\x");
              }),
              "53 File not found");
    EXPECT_EQ(failureOf([&] { files().DeleteFile("C:\\Tessaron\\panel\\config.new"); }),
              "53 File not found");
    files().DeleteFile("C:\\Tessaron\\panel\\CONFIG.inc");
    EXPECT_FALSE(files().FileExists("C:\\Tessaron\\panel\\config.inc"));
}

TEST_F(ImageFiles, TextFilesAreWindows1252WithCrLf) {
    const std::string path = "C:\\Tessaron\\panel\\note.txt";
    {
        auto writer = files().CreateTextFile(path, false);
        writer->WriteLine(
            "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC"
            "5");
        writer->WriteLine("");
        writer->Close();
    }
    EXPECT_EQ(machine.readFile(path),
              "Caf\xE9 \x93quoted\x94 \x80"
              "5\r\n\r\n");
    EXPECT_EQ(files().ReadTextFile(path),
              "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D \xE2\x82\xAC"
              "5\r\n\r\n");

    auto writer = files().OpenTextFileForAppending(path);
    writer->WriteLine("second");
    try {
        writer->WriteLine("Greek \xCE\xA9 is outside the code page");
        FAIL() << "an unencodable line was written";
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.number(), 5);
        EXPECT_EQ(error.description(), "Invalid procedure call or argument");
    }
    writer->WriteLine("third");
    writer->Close();
    EXPECT_EQ(machine.readFile(path),
              "Caf\xE9 \x93quoted\x94 \x80"
              "5\r\n\r\nsecond\r\nthird\r\n");

    EXPECT_EQ(failureOf([&] { files().CreateTextFile(path, false); }), "58 File already exists");
    EXPECT_EQ(failureOf([&] { files().CreateTextFile("C:\\Nowhere\\x.txt", true); }),
              "76 Path not found");
    EXPECT_EQ(failureOf([&] { files().ReadTextFile("C:\\Tessaron\\panel\\none.txt"); }),
              "53 File not found");
    // Bytes the code page leaves undefined still read back, as control characters.
    machine.writeFile("C:\\Tessaron\\panel\\odd.txt", "\x81\x9D");
    EXPECT_EQ(files().ReadTextFile("C:\\Tessaron\\panel\\odd.txt"), "\xC2\x81\xC2\x9D");
}

// Folders are listed as NTFS lists them, by upper-cased UTF-16 code units,
// whatever order the host's file system keeps: the same image gives the
// same lists (and the same default panel style) on every host.
TEST_F(ImageFiles, FoldersAndFilesComeInNtfsOrderOnEveryHost) {
    const std::vector<std::string> ntfsOrder = {"Blue-Sky", "BlueSky",          "Blue_Sky",
                                                "Classic",  "Default",          "ocean",
                                                "Zeta",     "\xC3\xA9t\xC3\xA9"};
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "created in reverse" : "created in order");
        const std::string folder = reversed ? "C:\\Tessaron\\reversed" : "C:\\Tessaron\\ordered";
        auto names = ntfsOrder;
        if (reversed) std::reverse(names.begin(), names.end());
        for (const auto& name : names) {
            machine.makeFolder(folder + "\\styles\\" + name);
            machine.writeFile(folder + "\\" + name + ".txt", "");
        }
        machine.writeFile(folder + "\\styles\\readme.txt", "not a style");

        EXPECT_EQ(files().SubFolders(folder + "\\STYLES"), ntfsOrder);
        std::vector<std::string> textFiles;
        for (const auto& name : ntfsOrder) textFiles.push_back(name + ".txt");
        EXPECT_EQ(files().FileNames(folder), textFiles);
    }
    EXPECT_EQ(failureOf([&] { files().SubFolders("C:\\Tessaron\\panel\\themes"); }),
              "76 Path not found");
}

}  // namespace
}  // namespace tessaron
