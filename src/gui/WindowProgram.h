#pragma once

#include <iosfwd>
#include <string>

namespace tessaron::app {
struct Backend;
}

namespace tessaron::gui {

// The settings window on a machine image, until the program ends; returns
// the exit status. Needs a QApplication.
int runWindow(const app::Backend& backend, const std::string& machineDir);

// Renders the settings window's six tabs, the install-options dialog and the
// progress window of a finished run (no options ticked) to PNG files in
// outDir. The run is performed on a temporary copy of the machine image, so
// the image itself stays as it is. Message boxes go to err as "TITLE: TEXT"
// (the existing-configuration question is answered Yes); the files written
// are named on out. Needs a QApplication (offscreen is enough).
int takeScreenshots(const app::Backend& backend, const std::string& machineDir, const std::string& outDir, std::ostream& out,
                    std::ostream& err);

}  // namespace tessaron::gui
