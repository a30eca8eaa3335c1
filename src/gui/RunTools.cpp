#include "gui/RunTools.h"

#include <QAction>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "app/preview/Preview.h"
#include "app/tools/RunToolsCatalogue.h"
#include "app/tools/UnattendedActions.h"
#include "gui/ControlBinding.h"
#include "gui/DialogMessages.h"
#include "gui/InstallOptionsView.h"
#include "run/RestoreRun.h"
#include "run/RunJournal.h"

namespace tessaron::gui {
namespace {

const QString kTitle = QStringLiteral("Tessaron Configuration");

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

InstallOptions RunTools::tickedOptions() const {
    auto& boxes = dialog_.controls();
    const auto ticked = [&boxes](const char* name) {
        return boxes.checked(name) == app::window::kChecked;
    };
    return InstallOptions{ticked("chkSetupIIS"), ticked("chkInitDB"), ticked("chkCreateTasks")};
}

void RunTools::preview() {
    previewed_ = tickedOptions();
    std::string text;
    try {
        text = app::tools::previewWindowText(app::preview::previewInstallation(
            window_.settings(), previewed_, window_.platform(), machineName_));
    } catch (const std::exception& error) {
        tell(kTitle, q(std::string("The preview could not be made: ") + error.what()));
        return;
    }
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
    previewWindow_->setText(q(text));
    previewWindow_->show();
    previewWindow_->raise();
}

// The run the preview showed: the same options, ticked again in the dialog
// as they were previewed, then OK.
void RunTools::runPreviewed() {
    if (previewWindow_) previewWindow_->hide();
    auto& boxes = dialog_.controls();
    const auto tick = [&boxes](const char* name, bool on) {
        boxes.setChecked(name, on ? app::window::kChecked : app::window::kUnchecked);
    };
    tick("chkCreateTasks", previewed_.CreateTasks);
    tick("chkInitDB", previewed_.InitializeDatabase);
    tick("chkSetupIIS", previewed_.SetUpSites);
    boxes.press("OKButton");
}

void RunTools::saveAnswers() {
    const std::string path = app::tools::withAnswersExtension(chooseAnswersFile().toStdString());
    if (path.empty()) return;
    const bool clear = ask(app::tools::messages::writePasswordsInClear());
    try {
        app::tools::saveAnswersFile(window_, path, clear);
    } catch (const std::exception& error) {
        tell(kTitle, q(error.what()));
        return;
    }
    tell(kTitle, QStringLiteral("Answers saved to %1.").arg(q(path)));
}

void RunTools::restoreLastRun() {
    if (!ask(app::tools::messages::restoreLastRun())) return;
    const RestoreReport report =
        app::tools::restoreLatestRunHolding(window_.platform(), window_.installDir()).report;
    QString text;
    for (const auto& line : report.lines) text += q(line) + QLatin1Char('\n');
    if (report.restored) {
        text += QStringLiteral(
            "\nThe program ends now; start it again to work with the restored "
            "files.");
    }
    tell(kTitle, text.trimmed());
    if (report.restored) emit restored();
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
