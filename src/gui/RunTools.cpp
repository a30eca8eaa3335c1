#include "gui/RunTools.h"

#include <QAbstractButton>
#include <QAction>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/Preview.h"
#include "app/UnattendedActions.h"
#include "run/RestoreRun.h"
#include "run/RunJournal.h"

namespace tessaron::gui {
namespace {

const QString kTitle = QStringLiteral("Tessaron Configuration");

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

void addAction(QDialog& dialog, const QString& text, const QKeySequence& keys,
               std::function<void()> handler) {
    auto* action = new QAction(text, &dialog);
    action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, &dialog, std::move(handler));
    dialog.addAction(action);
}

}  // namespace

RunTools::RunTools(app::SettingsWindow& window, QDialog& dialog, std::string machineName)
    : QObject(&dialog), window_(window), dialog_(dialog), machineName_(std::move(machineName)) {
    chooseAnswersFile = [this] {
        return QFileDialog::getSaveFileName(
            &dialog_, QStringLiteral("Save Answers"), QString(),
            QStringLiteral("Answers files (*.answers);;All files (*)"));
    };
    ask = [this](const QString& title, const QString& text) {
        return QMessageBox::question(&dialog_, title, text) == QMessageBox::Yes;
    };
    tell = [this](const QString& title, const QString& text) {
        QMessageBox::information(&dialog_, title, text);
    };
    dialog.setContextMenuPolicy(Qt::ActionsContextMenu);
    addAction(dialog, QStringLiteral("Preview..."), QKeySequence(QStringLiteral("Ctrl+P")),
              [this] { preview(); });
    addAction(dialog, QStringLiteral("Save Answers..."), QKeySequence(QStringLiteral("Ctrl+S")),
              [this] { saveAnswers(); });
    addAction(dialog, QStringLiteral("Restore Last Run..."), QKeySequence(QStringLiteral("Ctrl+R")),
              [this] { restoreLastRun(); });
}

InstallOptions RunTools::tickedOptions() const {
    const auto ticked = [this](const char* name) {
        auto* box = dialog_.findChild<QAbstractButton*>(QString::fromLatin1(name));
        return box && box->isChecked();
    };
    return InstallOptions{ticked("chkSetupIIS"), ticked("chkInitDB"), ticked("chkCreateTasks")};
}

void RunTools::preview() {
    std::string text;
    try {
        text = app::previewText(app::previewInstallation(window_.settings(), tickedOptions(),
                                                         window_.platform(), machineName_));
    } catch (const std::exception& error) {
        tell(kTitle, q(std::string("The preview could not be made: ") + error.what()));
        return;
    }
    if (!previewWindow_) {
        previewWindow_ = new QDialog(&dialog_);
        previewWindow_->setWindowTitle(QStringLiteral("Preview of the installation run"));
        auto* layout = new QVBoxLayout(previewWindow_);
        auto* view = new QPlainTextEdit(previewWindow_);
        view->setObjectName(QStringLiteral("txtPreview"));
        view->setReadOnly(true);
        view->setLineWrapMode(QPlainTextEdit::NoWrap);
        view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        layout->addWidget(view);
        previewWindow_->resize(760, 520);
    }
    previewWindow_->findChild<QPlainTextEdit*>(QStringLiteral("txtPreview"))->setPlainText(q(text));
    previewWindow_->show();
    previewWindow_->raise();
}

void RunTools::saveAnswers() {
    const QString path = chooseAnswersFile();
    if (path.isEmpty()) return;
    const bool clear = ask(kTitle, QStringLiteral("Write the passwords in clear text?\n\n"
                                                  "No writes references to environment variables "
                                                  "(TESSARON_..._PASSWORD) instead."));
    try {
        app::saveAnswersFile(window_, path.toStdString(), clear);
    } catch (const std::exception& error) {
        tell(kTitle, q(error.what()));
        return;
    }
    tell(kTitle, QStringLiteral("Answers saved to %1.").arg(path));
}

void RunTools::restoreLastRun() {
    if (!ask(kTitle, QStringLiteral("Put config.inc and the metabase back as they were before the "
                                    "latest configuration run?"))) {
        return;
    }
    const RestoreReport report =
        restoreLatestRun(window_.platform().Files(), runJournalPath(window_.installDir()));
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

}  // namespace tessaron::gui
