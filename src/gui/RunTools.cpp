#include "gui/RunTools.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/tools/RunTools.h"
#include "app/window/DialogControls.h"
#include "gui/ControlBinding.h"
#include "gui/DialogMessages.h"
#include "gui/InstallOptionsView.h"

namespace tessaron::gui {

namespace frmInstall = app::window::frmInstall;

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

RunTools::RunTools(app::window::SettingsWindow& window, InstallOptionsView& dialog,
                   std::string machineName)
    : QObject(&dialog), window_(window), dialog_(dialog), machineName_(std::move(machineName)) {
    chooseAnswersFile = [this] {
        QFileDialog chooser(&dialog_, QStringLiteral("Save Answers"));
        chooser.setAcceptMode(QFileDialog::AcceptSave);
        chooser.setNameFilters(
            {QStringLiteral("Answers files (*.answers)"), QStringLiteral("All files (*)")});
        chooser.setDefaultSuffix(QStringLiteral("answers"));
        if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty()) {
            return QString();
        }
        return chooser.selectedFiles().front();
    };
    ask = [this](const app::window::Message& question) {
        return messageBox(question, &dialog_)->exec() == QMessageBox::Yes;
    };
    tell = [this](const QString& title, const QString& text) {
        QMessageBox::information(&dialog_, title, text);
    };
    const auto handle = [this](app::tools::RunTool tool, void (RunTools::*handler)()) {
        if (QAction* action = dialog_.toolAction(tool)) {
            connect(action, &QAction::triggered, this, handler);
        }
    };
    handle(app::tools::RunTool::Preview, &RunTools::preview);
    handle(app::tools::RunTool::SaveAnswers, &RunTools::saveAnswers);
    handle(app::tools::RunTool::RestoreLastRun, &RunTools::restoreLastRun);
    handle(app::tools::RunTool::OpenLastLog, &RunTools::openLastLog);
    setLastLog({});
}

app::tools::ToolPrompts RunTools::prompts() const {
    return {[this](const app::window::Message& question) { return ask(question); },
            [this](const std::string& title, const std::string& text) { tell(q(title), q(text)); }};
}

void RunTools::preview() {
    previewed_ = app::tools::tickedOptions(dialog_.controls());
    const auto text = app::tools::previewRun(window_, previewed_, machineName_, prompts());
    if (!text) return;
    if (!previewWindow_) {
        previewWindow_ = new ReportWindow(q(app::tools::kPreviewWindowTitle),
                                          QStringLiteral("tessaron-preview.txt"), &dialog_);
        previewWindow_->setObjectName(QStringLiteral("frmPreview"));
        auto* run = previewWindow_->addButton(
            app::tools::kPreviewRunNow.name,
            q(app::window::mnemonicCaption(app::tools::kPreviewRunNow.caption,
                                           app::tools::kPreviewRunNow.mnemonic)));
        connect(run, &QPushButton::clicked, this, &RunTools::runPreviewed);
    }
    previewWindow_->setText(q(*text));
    previewWindow_->show();
    previewWindow_->raise();
}

// The run the preview showed: the same options, ticked again in the dialog
// as they were previewed, then OK.
void RunTools::runPreviewed() {
    if (previewWindow_) previewWindow_->hide();
    auto& boxes = dialog_.controls();
    const auto tick = [&boxes](std::string_view name, bool on) {
        boxes.setChecked(name, on ? app::window::kChecked : app::window::kUnchecked);
    };
    tick(frmInstall::chkCreateTasks, previewed_.CreateTasks);
    tick(frmInstall::chkInitDB, previewed_.InitializeDatabase);
    tick(frmInstall::chkSetupIIS, previewed_.SetUpSites);
    boxes.press(frmInstall::OKButton);
}

void RunTools::saveAnswers() {
    app::tools::saveAnswers(window_, chooseAnswersFile().toStdString(), prompts());
}

void RunTools::restoreLastRun() {
    if (app::tools::restoreLastRun(window_, prompts())) emit restored();
}

void RunTools::setLastLog(const std::string& log) {
    lastLog_ = log;
    if (QAction* open = dialog_.toolAction(app::tools::RunTool::OpenLastLog)) {
        open->setEnabled(!lastLog_.empty());
    }
}

void RunTools::openLastLog() {
    if (lastLog_.empty()) return;
    if (!logWindow_) {
        logWindow_ = new ReportWindow(QStringLiteral("Log of the last configuration run"),
                                      QStringLiteral("tessaron-configuration.txt"), &dialog_);
        logWindow_->setObjectName(QStringLiteral("frmLastLog"));
    }
    logWindow_->setText(ControlBinding::displayText(lastLog_));
    logWindow_->show();
    logWindow_->raise();
}

}  // namespace tessaron::gui
