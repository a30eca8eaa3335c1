#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "app/window/ControlCatalogue.h"

namespace tessaron::winui::testing {

// The settings window program on a machine image folder (or, without one,
// on this machine), on a thread of its own (its user-interface thread) until
// it ends; the test thread drives it by messages.
class RunningProgram {
public:
    explicit RunningProgram(const std::optional<std::filesystem::path>& machine);
    // Closes what is still open and waits for the program to end.
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The settings window once it is visible (null when the program ended
    // before that or the time ran out).
    HWND mainWindow(int timeoutMs = 20000);
    // The exit status once the program has ended (nothing when it runs on
    // after the time given).
    std::optional<int> exitStatus(int timeoutMs = 20000);
    DWORD threadId() const { return threadId_; }

private:
    std::thread thread_;
    std::atomic<DWORD> threadId_{0};
    std::atomic<bool> ended_{false};
    std::atomic<int> status_{-1};
};

// Waits until done() holds; false when the time ran out first.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 20000);

// A visible top-level window of the program's thread by class (and title).
HWND findWindow(DWORD thread, const wchar_t* windowClass, const std::string& title = {});
// A visible top-level window of another process by class.
HWND findProcessWindow(DWORD process, const wchar_t* windowClass);
// The window of a form's control under a top-level window.
HWND controlWindow(HWND top, const app::window::FormDesign& form, const std::string& name);
// A child window by its id under a top-level window.
HWND childById(HWND top, int id);

std::string textOf(HWND window);
std::string classOf(HWND window);
// The control's place in the top-level window's client area.
RECT placeIn(HWND top, HWND control);

// A user's actions, as the messages the controls send.
void typeText(HWND edit, const std::string& text);
void click(HWND button);       // waits for the click to be handled
void clickLater(HWND button);  // does not wait (the click opens a modal box)
void selectEntry(HWND combo, int index);
void selectTab(HWND tabs, int index);

// A message box of the thread: its title, text and how it is answered.
struct MessageBoxSeen {
    std::string title;
    std::string text;
};
std::optional<MessageBoxSeen> answerMessageBox(DWORD thread, int answer, int timeoutMs = 20000);

// The whole window as it is drawn, into a PNG file (BitBlt from the
// window's DC into a 32-bit DIB, opaque); false when it could not be saved.
// blankPixels tells how many pixels hold the most frequent colour.
bool captureWindow(HWND window, const std::filesystem::path& file,
                   double* mostFrequentShare = nullptr);

}  // namespace tessaron::winui::testing
