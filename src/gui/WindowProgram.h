#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "gui/ImageChoosers.h"

namespace tessaron::app::wiring {
struct Backend;
}

namespace tessaron::gui {

// The settings window on a machine image (the local machine when no folder
// is given and the backend has one; otherwise the user is asked for a
// folder, and cancelling ends the program), until the program ends; returns
// the exit status. Needs a QApplication.
int runWindow(const app::wiring::Backend& backend, std::optional<std::string> machineDir);

// The folder dialog that asks for a machine image folder; nothing when
// cancelled (tests answer the dialog through the runner).
std::optional<std::string> askMachineFolder(const DialogRunner& runner = {});

// Renders the settings window's six tabs, the install-options dialog, the
// preview of a run without options and the progress window of a finished run (no options ticked) to
// PNG files in outDir. The run is performed on a temporary copy of the machine image, so the image
// itself stays as it is. Message boxes go to err as "TITLE: TEXT" (the existing-configuration
// question is answered Yes); the files written are named on out. Needs a QApplication (offscreen is
// enough).
int takeScreenshots(const app::wiring::Backend& backend, const std::string& machineDir,
                    const std::string& outDir, std::ostream& out, std::ostream& err);

}  // namespace tessaron::gui
