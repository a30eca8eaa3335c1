#pragma once

#include <string>
#include <vector>

#include "app/preview/Preview.h"
#include "app/window/MessageService.h"

namespace tessaron::app::tools {

// What the install-options dialog offers besides its designed controls, and
// what the preview window offers: the same for every view.
enum class RunTool { Preview, SaveAnswers, RestoreLastRun, OpenLastLog };

struct RunToolAction {
    RunTool tool;
    const char* name;     // the widget's or action's name
    const char* caption;  // as shown, without the mnemonic mark
    char mnemonic;
    const char* shortcut;  // "Ctrl+P"; empty for none
    // True: a button beside OK; false: an entry of the dialog's "More" menu
    // (also its context menu).
    bool button;
};
const std::vector<RunToolAction>& runToolActions();

// The "More" menu button of the install-options dialog.
inline constexpr const char* kMoreButtonName = "btnMore";
inline constexpr const char* kMoreButtonCaption = "More";
inline constexpr char kMoreButtonMnemonic = 'm';

// The buttons of the preview window, left to right.
struct PreviewWindowButton {
    const char* name;
    const char* caption;
    char mnemonic;
};
inline constexpr PreviewWindowButton kPreviewSave{"btnSavePreview", "Save...", 's'};
inline constexpr PreviewWindowButton kPreviewRunNow{"btnRunNow", "Run Now", 'r'};
inline constexpr PreviewWindowButton kPreviewClose{"btnClosePreview", "Close", 0};
inline constexpr const char* kPreviewWindowTitle = "Preview of the installation run";

// The preview as the window shows it: the report, its last line saying in
// words what the run would do instead of naming an exit status.
std::string previewWindowText(const app::preview::PreviewReport& report);
std::string previewVerdict(const app::preview::PreviewReport& report);

// An answers file chosen without an extension gets ".answers".
std::string withAnswersExtension(const std::string& path);

namespace messages {
// Yes writes the passwords in clear text: No is the default.
app::window::Message writePasswordsInClear();
// Yes replaces config.inc and the metabase: No is the default.
app::window::Message restoreLastRun();
}  // namespace messages

}  // namespace tessaron::app::tools
