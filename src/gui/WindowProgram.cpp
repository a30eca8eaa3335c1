#include "gui/WindowProgram.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QTabWidget>
#include <QTemporaryDir>
#include <filesystem>
#include <iostream>
#include <memory>

#include "app/unattended/ConsoleMessages.h"
#include "app/window/DialogControls.h"
#include "app/window/SettingsWindow.h"
#include "app/window/WindowMachine.h"
#include "app/wiring/Backend.h"
#include "app/wiring/ExitStatus.h"
#include "gui/DialogMessages.h"
#include "gui/ImageChoosers.h"
#include "gui/SettingsView.h"
#include "platform/Failure.h"

namespace tessaron::gui {

namespace frmInstall = app::window::frmInstall;
namespace fs = std::filesystem;

namespace {

// A machine that cannot be opened: on standard error and in a box.
int cannotOpen(const app::window::Message& message) {
    std::cerr << "tessaron-config: " << message.text << '\n';
    if (QApplication::platformName() != QStringLiteral("offscreen")) {
        messageBox(message, nullptr)->exec();
    }
    return app::wiring::exit_status::kEndedAtLoad;
}

bool save(QWidget& widget, const QString& file, std::ostream& out, std::ostream& err) {
    QCoreApplication::processEvents();
    if (!widget.grab().save(file, "PNG")) {
        err << "tessaron-config: cannot write " << file.toStdString() << '\n';
        return false;
    }
    out << file.toStdString() << '\n';
    return true;
}

}  // namespace

std::optional<std::string> askMachineFolder(const DialogRunner& runner) {
    QFileDialog dialog(nullptr, QStringLiteral("Choose the machine image folder to configure"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    const int answer = runner ? runner(dialog) : dialog.exec();
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

int runWindow(const app::wiring::Backend& backend, std::optional<std::string> machineDir) {
    if (app::window::windowNeedsMachineFolder(backend, machineDir)) {
        machineDir = askMachineFolder();
        if (!machineDir) return app::wiring::exit_status::kCompleted;
    }
    app::window::WindowMachine opened = app::window::openWindowMachine(backend, machineDir);
    if (opened.failure) return cannotOpen(*opened.failure);
    std::unique_ptr<Platform> machine = std::move(opened.platform);

    DialogMessages messages;
    SettingsRecord settings;
    app::window::SettingsWindow window(*machine, settings, messages);
    SettingsView view(window);
    // The choosers browse a machine image; other backends bring their own.
    std::unique_ptr<ImageFolderChooser> folders;
    std::unique_ptr<ImageFileChooser> files;
    if (const ImageFolders* image =
            backend.imageFolders ? backend.imageFolders(*machine) : nullptr) {
        folders = std::make_unique<ImageFolderChooser>(*image, &view);
        folders->setMessages(&messages);
        files = std::make_unique<ImageFileChooser>(*image, &view);
        window.setFolderChooser(folders.get());
        window.setFileChooser(files.get());
    }

    // The load step's boxes come before the window is shown.
    if (window.Load() == app::window::LoadResult::Ended) {
        view.setEndProgram([](int) {});
        view.unload();
        return app::wiring::exit_status::kEndedAtLoad;
    }
    messages.setOwner(&view);
    view.flow().setMachineOpener(
        app::wiring::machineOpener(backend, machineDir ? &*machineDir : nullptr));
    view.flow().setMachineName(machineDir ? *machineDir : std::string(app::wiring::kThisComputer));
    view.show();
    return QApplication::exec();
}

int takeScreenshots(const app::wiring::Backend& backend, const std::string& machineDir,
                    const std::string& outDir, std::ostream& out, std::ostream& err) {
    QTemporaryDir copy;
    std::error_code error;
    if (!copy.isValid() || !fs::is_directory(machineDir, error)) {
        err << "tessaron-config: cannot copy the machine image " << machineDir << '\n';
        return app::wiring::exit_status::kEndedAtLoad;
    }
    fs::copy(machineDir, copy.path().toStdString(), fs::copy_options::recursive, error);
    if (error) {
        err << "tessaron-config: cannot copy the machine image " << machineDir << ": "
            << error.message() << '\n';
        return app::wiring::exit_status::kEndedAtLoad;
    }
    if (!QDir().mkpath(QString::fromStdString(outDir))) {
        err << "tessaron-config: cannot create " << outDir << '\n';
        return app::wiring::exit_status::kUsage;
    }
    const QDir folder(QString::fromStdString(outDir));

    const std::string copyDir = copy.path().toStdString();
    app::window::WindowMachine opened = app::window::openWindowMachine(backend, copyDir);
    if (opened.failure) {
        return cannotOpen(app::window::cannotOpenMachine(machineDir, opened.reason));
    }
    const std::unique_ptr<Platform> machine = std::move(opened.platform);
    app::unattended::ConsoleMessages messages(err, /*answerYes=*/true);
    SettingsRecord settings;
    app::window::SettingsWindow window(*machine, settings, messages);
    SettingsView view(window);
    view.setEndProgram([](int) {});
    view.flow().setMachineOpener(app::wiring::machineOpener(backend, &copyDir));
    view.flow().setMachineName(copyDir);
    if (window.Load() == app::window::LoadResult::Ended)
        return app::wiring::exit_status::kEndedAtLoad;
    view.show();

    bool written = true;
    auto* tabs = view.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    const char* names[] = {"general",    "database",   "mail-server",
                           "dns-server", "sql-server", "ftp-web"};
    for (int tab = 0; tab < tabs->count() && tab < 6; ++tab) {
        tabs->setCurrentIndex(tab);
        written &=
            save(view, folder.filePath(QStringLiteral("main-%1.png").arg(names[tab])), out, err);
    }
    tabs->setCurrentIndex(0);

    window.controls().press("btnInstall");
    InstallOptionsView* dialog = view.flow().dialog();
    written &= save(*dialog, folder.filePath(QStringLiteral("install-options.png")), out, err);

    if (RunTools* tools = view.flow().tools()) {
        tools->preview();
        if (ReportWindow* preview = tools->previewWindow()) {
            written &= save(*preview, folder.filePath(QStringLiteral("preview.png")), out, err);
            preview->hide();
        }
    }

    dialog->controls().press(frmInstall::OKButton);
    ProgressView* progress = view.flow().progress();
    QElapsedTimer clock;
    clock.start();
    while (progress->state() != ProgressView::State::Finished && clock.elapsed() < 120000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    written &= save(*progress, folder.filePath(QStringLiteral("progress.png")), out, err);
    return written ? 0 : 1;
}

}  // namespace tessaron::gui
