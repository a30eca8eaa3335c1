#include "gui/RunTools.h"

#include <QAction>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "gui/InstallOptionsView.h"
#include "platform/image/MachineImage.h"

namespace tessaron::gui {
namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

RunTools::RunTools(app::SettingsWindow& window, InstallOptionsView& dialog,
                   app::ScratchMachineOpener openScratch)
    : QObject(&dialog), window_(window), dialog_(dialog), openScratch_(std::move(openScratch)) {
    chooseAnswersFile = [this] {
        return QFileDialog::getSaveFileName(
            &dialog_, q(app::kSaveAnswersTitle), QString(),
            QStringLiteral("Answers files (*.answers);;All files (*)"));
    };
    ask = [this](const QString& title, const QString& text) {
        return QMessageBox::question(&dialog_, title, text) == QMessageBox::Yes;
    };
    tell = [this](const QString& title, const QString& text) {
        QMessageBox::information(&dialog_, title, text);
    };
    dialog.setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const app::RunToolAction& tool : app::runToolActions()) {
        auto* action = new QAction(q(tool.caption), &dialog);
        action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(tool.key)));
        connect(action, &QAction::triggered, &dialog, [this, which = tool.tool] {
            switch (which) {
                case app::RunTool::Preview:
                    preview();
                    break;
                case app::RunTool::SaveAnswers:
                    saveAnswers();
                    break;
                case app::RunTool::RestoreLastRun:
                    restoreLastRun();
                    break;
            }
        });
        dialog.addAction(action);
    }
}

app::ToolPrompts RunTools::prompts() const {
    return {[this](const std::string& title, const std::string& text) {
                return ask(q(title), q(text));
            },
            [this](const std::string& title, const std::string& text) { tell(q(title), q(text)); }};
}

void RunTools::preview() {
    std::optional<std::filesystem::path> root;
    if (auto* image = dynamic_cast<MachineImage*>(&window_.platform())) root = image->root();
    const auto text = app::previewRun(window_, app::tickedOptions(dialog_.controls()), root,
                                      openScratch_, prompts());
    if (!text) return;
    if (!previewWindow_) {
        previewWindow_ = new QDialog(&dialog_);
        previewWindow_->setWindowTitle(q(app::kPreviewWindowTitle));
        auto* layout = new QVBoxLayout(previewWindow_);
        auto* view = new QPlainTextEdit(previewWindow_);
        view->setObjectName(QStringLiteral("txtPreview"));
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        layout->addWidget(view);
        previewWindow_->resize(760, 520);
    }
    previewWindow_->findChild<QPlainTextEdit*>(QStringLiteral("txtPreview"))
        ->setPlainText(q(*text));
    previewWindow_->show();
    previewWindow_->raise();
}

void RunTools::saveAnswers() {
    app::saveAnswers(window_, chooseAnswersFile().toStdString(), prompts());
}

void RunTools::restoreLastRun() {
    if (app::restoreLastRun(window_, prompts())) emit restored();
}

}  // namespace tessaron::gui
