#pragma once

#include <windows.h>

#include <string>

namespace tessaron::winui {

// A top-level or child window of one of the program's own classes, whose
// messages reach handle() of the object that made it. The object outlives
// its window: the destructor destroys the window if it is still there.
class NativeWindow {
public:
    NativeWindow() = default;
    virtual ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    HWND hwnd() const { return hwnd_; }

    // Keyboard handling of a message meant for this window or a child of it
    // before it is dispatched (dialog navigation, accelerators); true when
    // the message was used.
    virtual bool preTranslate(MSG& message);

protected:
    // Registers the class on first use and creates the window.
    void create(const wchar_t* className, DWORD exStyle, DWORD style, const std::wstring& title,
                HWND parent, RECT place);
    virtual LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT byDefault(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// The program's message loop: every message goes first to preTranslate() of
// the program window its target belongs to. Returns the status handed to
// PostQuitMessage.
int runMessageLoop();

// A tab control's page: a child dialog (so that the dialog manager moves the
// focus through it and the visual style can draw the tab's background behind
// it) that passes its controls' commands and notifications on to the window
// it sits on.
class TabPage {
public:
    TabPage(HWND parent, RECT place);
    ~TabPage();
    TabPage(const TabPage&) = delete;
    TabPage& operator=(const TabPage&) = delete;

    HWND hwnd() const { return hwnd_; }

private:
    static INT_PTR CALLBACK procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace tessaron::winui
