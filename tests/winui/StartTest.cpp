// The Windows program's start: with --machine DIR alone it opens the
// settings window, and closing the window stores its placement and ends it
// with status 0. Each start is timed from before the process is made to the
// window on screen; the median is printed beside the test's result.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "WindowDriver.h"
#include "platform/WideText.h"
#include "support/TestMachine.h"

namespace tessaron::winui::testing {
namespace {

using tessaron::testing::TestMachine;

// The program beside the test build, as a Windows path (wine maps the build
// machine's root to drive Z:).
std::wstring programPath() {
    std::wstring path = toWide(TESSARON_PROGRAM);
    if (!path.empty() && path.front() == L'/') path = L"Z:" + path;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

std::string placementValue(const wchar_t* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER,
                      L"Software\\VB and VBA Program Settings\\TessaronConfig\\Settings", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return "(no key)";
    }
    wchar_t text[64] = {};
    DWORD size = sizeof(text) - sizeof(wchar_t);
    const LONG read =
        RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
    RegCloseKey(key);
    return read == ERROR_SUCCESS ? fromWide(text) : "(no value)";
}

TEST(WinStart, TheProgramOpensTheWindowAndClosingItEndsTheProgram) {
    TestMachine machine = TestMachine::sample("windows2003");
    std::vector<double> startMs;
    for (int start = 0; start < 5; ++start) {
        SCOPED_TRACE(start);
        std::wstring line =
            L"\"" + programPath() + L"\" --machine \"" + machine.root().wstring() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        const auto began = std::chrono::steady_clock::now();
        ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        HWND main = nullptr;
        const bool shown = waitUntil(
            [&] { return (main = findProcessWindow(process.dwProcessId, L"TessaronMain")); },
            60000);
        startMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began)
                .count());
        EXPECT_TRUE(shown);
        RECT frame{};
        if (shown) {
            // Moved first, so that each start stores a placement of its own.
            SetWindowPos(main, nullptr, 20 + start * 10, 30, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            GetWindowRect(main, &frame);
            PostMessageW(main, WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
        // Closing stores the placement in twips (96 DPI here) in the user's
        // settings of TessaronConfig, section Settings.
        EXPECT_EQ(placementValue(L"MainLeft"), std::to_string(frame.left * 15));
        EXPECT_EQ(placementValue(L"MainTop"), std::to_string(frame.top * 15));
        EXPECT_EQ(placementValue(L"MainWidth"), std::to_string((frame.right - frame.left) * 15));
        DWORD status = 1;
        GetExitCodeProcess(process.hProcess, &status);
        EXPECT_EQ(status, 0u);
        if (!shown) TerminateProcess(process.hProcess, 1);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::sort(startMs.begin(), startMs.end());
    std::printf("start to window: median %.0f ms of %zu starts (%.0f to %.0f ms)\n",
                startMs[startMs.size() / 2], startMs.size(), startMs.front(), startMs.back());
}

}  // namespace
}  // namespace tessaron::winui::testing
