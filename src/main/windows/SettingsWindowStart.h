#pragma once

#include <optional>
#include <string>

#include "app/wiring/Backend.h"

namespace tessaron::startup {

// The Windows program's settings window on the machine it runs on, or on the
// machine image folder when one is given. Returns the program's exit status
// once the window has closed.
int openSettingsWindow(const app::wiring::Backend& backend,
                       const std::optional<std::string>& machine);

}  // namespace tessaron::startup
