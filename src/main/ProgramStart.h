#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tessaron::startup {

// What the settings window is to start with: the machine image folder
// (--machine; without it the window asks) and, for --screenshots OUTDIR, the
// folder of the pictures instead of the window itself.
struct WindowStart {
    std::optional<std::string> machine;
    std::optional<std::string> screenshots;
};

// Everything the Linux program does without Qt: usage errors (on standard
// error, status 64), --help (with the screenshots part) and --version on
// standard output, and the unattended modes. Returns their exit status, or
// the window's start when the arguments ask for the window or its
// screenshots.
std::variant<int, WindowStart> startWithoutWindow(const std::vector<std::string>& args);

}  // namespace tessaron::startup
