// The file system through the wide Win32 functions, with the scripting
// runtime's numbers and texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "WindowsTestSupport.h"
#include "platform/Failure.h"
#include "platform/windows/WindowsFileSystem.h"

namespace tessaron::testing {
namespace {

using platform::windows::WindowsFileSystem;

void expectFailure(const std::function<void()>& operation, long number, const std::string& text) {
    try {
        operation();
        ADD_FAILURE() << "no failure, expected " << text;
    } catch (const PlatformError& error) {
        EXPECT_EQ(error.number(), number);
        EXPECT_EQ(error.description(), text);
    }
}

TEST(WindowsFiles, FailuresCarryTheRuntimesNumbersAndTexts) {
    TempFolder folder;
    WindowsFileSystem files;
    writeBytes(folder / "locked.txt", "kept");
    setReadOnly(folder / "locked.txt", true);
    writeBytes(folder / "plain.txt", "plain");
    files.CreateFolder(folder / "sub");

    struct Case {
        const char* what;
        std::function<void()> operation;
        long number;
        const char* text;
    };
    const Case cases[] = {
        {"folder again", [&] { files.CreateFolder(folder / "sub"); }, 58, "File already exists"},
        {"folder in a missing one", [&] { files.CreateFolder(folder / "none\\sub"); }, 76,
         "Path not found"},
        {"empty folder name", [&] { files.CreateFolder(""); }, 5,
         "Invalid procedure call or argument"},
        {"read missing file", [&] { files.ReadTextFile(folder / "none.txt"); }, 53,
         "File not found"},
        {"read in missing folder", [&] { files.ReadTextFile(folder / "none\\a.txt"); }, 76,
         "Path not found"},
        {"create existing without overwrite",
         [&] { files.CreateTextFile(folder / "plain.txt", false); }, 58, "File already exists"},
        {"overwrite read-only", [&] { files.CreateTextFile(folder / "locked.txt", true); }, 70,
         "Permission denied"},
        {"delete read-only", [&] { files.DeleteFile(folder / "locked.txt"); }, 70,
         "Permission denied"},
        {"copy over read-only",
         [&] { files.CopyFile(folder / "plain.txt", folder / "locked.txt", true); }, 70,
         "Permission denied"},
        {"copy onto existing without overwrite",
         [&] { files.CopyFile(folder / "plain.txt", folder / "locked.txt", false); }, 58,
         "File already exists"},
        {"copy of missing", [&] { files.CopyFile(folder / "none.txt", folder / "x.txt", true); },
         53, "File not found"},
        {"sub-folders of missing", [&] { files.SubFolders(folder / "none"); }, 76,
         "Path not found"},
        {"file names of missing", [&] { files.FileNames(folder / "none"); }, 76, "Path not found"},
        {"line outside the code page",
         [&] { files.CreateTextFile(folder / "omega.txt", true)->WriteLine("\xCE\xA9"); }, 5,
         "Invalid procedure call or argument"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        expectFailure(c.operation, c.number, c.text);
    }
    EXPECT_EQ(readBytes(folder / "locked.txt"), "kept");
    EXPECT_EQ(files.SubFolders(folder.path()), std::vector<std::string>{"sub"});
    auto names = files.FileNames(folder.path());
    std::sort(names.begin(), names.end());
    // omega.txt: created before its line was refused.
    EXPECT_EQ(names, (std::vector<std::string>{"locked.txt", "omega.txt", "plain.txt"}));
    EXPECT_TRUE(files.FileNames(folder / "sub").empty());
    setReadOnly(folder / "locked.txt", false);
}

TEST(WindowsFiles, TextFilesAreCodePage1252WithCrLf) {
    TempFolder folder;
    WindowsFileSystem files;
    auto writer = files.CreateTextFile(folder / "config.inc", true);
    writer->WriteLine("caf\xC3\xA9 \xE2\x82\xAC");  // café €
    writer->Close();
    auto appender = files.OpenTextFileForAppending(folder / "config.inc");
    appender->WriteLine("second");
    appender->Close();
    EXPECT_EQ(readBytes(folder / "config.inc"), "caf\xE9 \x80\r\nsecond\r\n");
    EXPECT_EQ(files.ReadTextFile(folder / "config.inc"), "caf\xC3\xA9 \xE2\x82\xAC\r\nsecond\r\n");
    EXPECT_TRUE(files.FileExists(folder / "CONFIG.INC"));
    EXPECT_FALSE(files.FolderExists(folder / "config.inc"));
    EXPECT_TRUE(files.FolderExists(folder.path()));
}

TEST(WindowsFiles, ReplaceTakesTheNewFileOrKeepsTheFormerOne) {
    TempFolder folder;
    WindowsFileSystem files;
    writeBytes(folder / "config.inc", "former");
    writeBytes(folder / "new.tmp", "new");
    setReadOnly(folder / "config.inc", true);
    expectFailure([&] { files.ReplaceFile(folder / "new.tmp", folder / "config.inc"); }, 70,
                  "Permission denied");
    EXPECT_EQ(readBytes(folder / "config.inc"), "former");
    EXPECT_TRUE(files.FileExists(folder / "new.tmp"));

    setReadOnly(folder / "config.inc", false);
    files.ReplaceFile(folder / "new.tmp", folder / "config.inc");
    EXPECT_EQ(readBytes(folder / "config.inc"), "new");
    EXPECT_FALSE(files.FileExists(folder / "new.tmp"));

    expectFailure([&] { files.CopyFile(folder / "config.inc", folder / "none\\", true); }, 76,
                  "Path not found");
}

}  // namespace
}  // namespace tessaron::testing
