#include "app/tools/RunToolsCatalogue.h"

#include <filesystem>

#include "app/wiring/ExitStatus.h"
#include "app/wiring/RunSummary.h"

namespace tessaron::app::tools {

using window::Message;
using window::MessageAnswer;

using window::MessageButtons;

using preview::PreviewReport;
using preview::previewText;

namespace {

wiring::RunResult resultOfExitStatus(int status) {
    using namespace wiring::exit_status;
    switch (status) {
        case kCompleted:
            return wiring::RunResult::Completed;
        case kStoppedByCheck:
            return wiring::RunResult::StoppedByCheck;
        case kMachineBusy:
            return wiring::RunResult::MachineBusy;
        case kCancelled:
            return wiring::RunResult::Cancelled;
        default:
            return wiring::RunResult::CompletedWithErrors;
    }
}

}  // namespace

const std::vector<RunToolAction>& runToolActions() {
    static const std::vector<RunToolAction> actions = {
        {RunTool::Preview, "btnPreview", "Preview...", 'p', "Ctrl+P", true},
        {RunTool::SaveAnswers, "actSaveAnswers", "Save Answers...", 'a', "Ctrl+S", false},
        {RunTool::RestoreLastRun, "actRestoreLastRun", "Restore Last Run...", 'r', "Ctrl+R", false},
        {RunTool::OpenLastLog, "actOpenLastLog", "Open Last Log...", 'l', "Ctrl+L", false},
    };
    return actions;
}

std::string previewVerdict(const PreviewReport& report) {
    return "If you run it now: " + wiring::resultLine(resultOfExitStatus(report.result.exitStatus),
                                                      wiring::countLines(report.log));
}

std::string previewWindowText(const PreviewReport& report) {
    std::string text = previewText(report);
    const auto at = text.rfind(report.result.line);
    if (at == std::string::npos || report.result.line.empty()) return text + previewVerdict(report);
    return text.replace(at, report.result.line.size(), previewVerdict(report));
}

std::string withAnswersExtension(const std::string& path) {
    if (path.empty() || std::filesystem::path(path).has_extension()) return path;
    return path + ".answers";
}

namespace messages {

Message writePasswordsInClear() {
    Message message;
    message.title = "Tessaron Configuration";
    message.text =
        "Write the passwords in clear text?\n\nNo writes references to environment variables "
        "(TESSARON_..._PASSWORD) instead.";
    message.buttons = MessageButtons::YesNo;
    message.defaultAnswer = MessageAnswer::No;
    return message;
}

Message restoreLastRun() {
    Message message;
    message.title = "Tessaron Configuration";
    message.text =
        "Put config.inc and the metabase back as they were before the latest configuration run?";
    message.buttons = MessageButtons::YesNo;
    message.defaultAnswer = MessageAnswer::No;
    return message;
}

}  // namespace messages

}  // namespace tessaron::app::tools
