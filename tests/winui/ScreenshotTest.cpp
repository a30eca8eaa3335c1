// Pictures of the Windows window as it is drawn: each tab of the settings
// window, the install-options dialog and the progress window of a finished
// run. They go to a temporary folder, or to TESSARON_WINDOWS_SCREENSHOTS
// (docs/screenshots for the README) when it is set.
#include <gtest/gtest.h>

#include <cstdlib>

#include "WindowDriver.h"
#include "support/TestMachine.h"
#include "winui/ProgressDialog.h"

namespace tessaron::winui::testing {
namespace {

namespace fs = std::filesystem;
using tessaron::testing::TestMachine;

fs::path pictureFolder(const TestMachine& scratch) {
    if (const char* folder = std::getenv("TESSARON_WINDOWS_SCREENSHOTS")) return folder;
    return scratch.root();
}

// Saves a picture and checks that it shows more than one flat colour.
void expectPicture(HWND window, const fs::path& file) {
    SCOPED_TRACE(file.string());
    double flat = 1.0;
    ASSERT_TRUE(captureWindow(window, file, &flat));
    EXPECT_GT(fs::file_size(file), 1000u);
    EXPECT_LT(flat, 0.97);  // not a blank image
}

TEST(WinScreenshots, EachTabTheDialogAndTheProgressWindow) {
    TestMachine scratch;
    const fs::path folder = pictureFolder(scratch);
    TestMachine machine = TestMachine::sample("windows2003");
    RunningProgram program(machine.root());
    HWND main = program.mainWindow();
    ASSERT_NE(main, nullptr);
    const app::window::FormDesign& form = app::window::mainFormDesign();
    const char* names[] = {"general",    "database",   "mail-server",
                           "dns-server", "sql-server", "ftp-web"};
    HWND tabs = controlWindow(main, form, "SSTab1");
    for (int tab = 0; tab < 6; ++tab) {
        selectTab(tabs, tab);
        expectPicture(main, folder / (std::string("windows-main-") + names[tab] + ".png"));
    }
    selectTab(tabs, 0);

    clickLater(controlWindow(main, form, "btnInstall"));
    HWND dialog = nullptr;
    ASSERT_TRUE(
        waitUntil([&] { return (dialog = findWindow(program.threadId(), L"TessaronInstall")); }));
    expectPicture(dialog, folder / "windows-install-options.png");

    clickLater(controlWindow(dialog, app::window::installFormDesign(), "OKButton"));
    HWND progress = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] { return (progress = findWindow(program.threadId(), L"TessaronProgress")); }));
    ASSERT_TRUE(
        waitUntil([&] { return IsWindowVisible(childById(progress, kCloseId)) != 0; }, 120000));
    expectPicture(progress, folder / "windows-progress.png");
}

}  // namespace
}  // namespace tessaron::winui::testing
