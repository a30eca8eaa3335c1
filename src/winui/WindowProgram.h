#pragma once

#include <functional>
#include <optional>
#include <string>

namespace tessaron::app::wiring {
struct Backend;
}

namespace tessaron::winui {

class MainWindow;

// The settings window on the machine the program runs on (or on a machine
// image folder), until the program ends; returns the exit status. Without a
// local machine and without a folder, the folder browser asks for one
// (cancelling ends the program). The load step's message boxes come before
// the window is shown; shown is called once it is on screen.
int runSettingsWindow(const app::wiring::Backend& backend, std::optional<std::string> machineDir,
                      const std::function<void(MainWindow&)>& shown = {});

}  // namespace tessaron::winui
