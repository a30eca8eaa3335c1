#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "app/window/ProgressWindow.h"
#include "winui/FormControls.h"
#include "winui/NativeWindow.h"

namespace tessaron::winui {

// The ids of the window's own row, below the form (tests find them by id).
enum ProgressRowId { kStepId = 3000, kBarId, kResultId, kSaveLogId, kCancelId, kCloseId };

// The progress window frmProgress: a view of app::window::ProgressWindow, modal over
// its owner. Once it is on screen the run starts on its worker thread; each
// log entry shows in txtProgress as it is logged (ERROR lines red and bold,
// WARNING lines brown), with the step count and the current step's name on a
// progress bar below. Cancel asks the run to end at its next safe point.
// When the run has ended, the title and a result line state how,
// "Save Log..." writes the log's text, and Close (Enter, Escape, the close
// box) calls closed; before that the close box does nothing.
class ProgressDialog : public NativeWindow {
public:
    ProgressDialog(app::window::ProgressWindow::StartRun start, HWND owner);
    ~ProgressDialog() override;

    app::window::ProgressWindow& model() { return model_; }
    // A form control (txtProgress) or one of the row: lblStep, barProgress,
    // lblResult, btnSaveLog, btnCancel, btnClose.
    HWND control(std::string_view name) const;

    void show();
    std::function<void()> closed;
    // The file "Save Log..." writes to (the save dialog by default; tests
    // answer it themselves); empty: cancelled.
    std::function<std::string()> chooseLogFile;
    // Writes the log to a file; false (after a message box) when it cannot.
    bool saveLog(const std::string& path);

protected:
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void buildRow(int dpi);
    void showProgress();
    void markEntry(const std::string& entry);
    void showResult();
    void tryClose();

    app::window::ProgressWindow model_;
    HWND owner_;
    HFONT font_ = nullptr;
    HFONT bold_ = nullptr;
    std::unique_ptr<FormControls> controls_;
    HWND step_ = nullptr;
    HWND bar_ = nullptr;
    HWND result_ = nullptr;
    HWND save_ = nullptr;
    HWND cancel_ = nullptr;
    HWND close_ = nullptr;
};

}  // namespace tessaron::winui
