#include "winui/WindowProgram.h"

#include <objbase.h>

#include <memory>

#include "app/window/SettingsWindow.h"
#include "app/window/WindowMachine.h"
#include "app/wiring/Backend.h"
#include "app/wiring/ExitStatus.h"
#include "winui/Choosers.h"
#include "winui/FileDialogs.h"
#include "winui/FormLook.h"
#include "winui/MainWindow.h"
#include "winui/MessageBoxes.h"

namespace tessaron::winui {
namespace {

// The "..." buttons' choosers: the image's own on a machine image, the
// shell's on the local machine.
struct Choosers {
    std::unique_ptr<app::window::FolderChooser> folders;
    std::unique_ptr<app::window::FileChooser> files;
};

Choosers choosersFor(const app::wiring::Backend& backend, Platform& machine, HWND owner,
                     app::window::MessageService& messages) {
    if (const ImageFolders* image =
            backend.imageFolders ? backend.imageFolders(machine) : nullptr) {
        return {std::make_unique<ImageFolderChooser>(*image, owner, messages),
                std::make_unique<ImageFileChooser>(*image, owner, messages)};
    }
    return {std::make_unique<LocalFolderChooser>(owner), std::make_unique<LocalFileChooser>(owner)};
}

}  // namespace

int runSettingsWindow(const app::wiring::Backend& backend, std::optional<std::string> machineDir,
                      const std::function<void(MainWindow&)>& shown) {
    // The shell's folder browser needs a single-threaded apartment.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    initialiseControls();
    int status = app::wiring::exit_status::kEndedAtLoad;
    [&] {
        if (app::window::windowNeedsMachineFolder(backend, machineDir)) {
            machineDir =
                browseForFolder(nullptr, "Choose the machine image folder to configure", {});
            if (!machineDir) {
                status = app::wiring::exit_status::kCompleted;
                return;
            }
        }
        app::window::WindowMachine opened = app::window::openWindowMachine(backend, machineDir);
        if (opened.failure) {
            showMessageBox(nullptr, *opened.failure);
            return;
        }
        MessageBoxes messages;
        SettingsRecord settings;
        app::window::SettingsWindow window(*opened.platform, settings, messages);
        MainWindow view(window);
        const Choosers choosers = choosersFor(backend, *opened.platform, view.hwnd(), messages);
        window.setFolderChooser(choosers.folders.get());
        window.setFileChooser(choosers.files.get());
        if (window.Load() == app::window::LoadResult::Ended) return;
        messages.setOwner(view.hwnd());
        view.dialogs().flow().setMachineOpener(
            app::wiring::machineOpener(backend, machineDir ? &*machineDir : nullptr));
        view.dialogs().flow().setMachineName(machineDir ? *machineDir
                                                        : std::string(app::wiring::kThisComputer));
        view.show();
        if (shown) shown(view);
        status = runMessageLoop();
    }();
    if (SUCCEEDED(com)) CoUninitialize();
    return status;
}

}  // namespace tessaron::winui
