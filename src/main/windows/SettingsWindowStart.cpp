// The Windows program's window start: the settings window with Windows' own
// controls (src/winui).
#include "main/windows/SettingsWindowStart.h"

#include "winui/WindowProgram.h"

namespace tessaron::startup {

int openSettingsWindow(const app::wiring::Backend& backend,
                       const std::optional<std::string>& machine) {
    return winui::runSettingsWindow(backend, machine);
}

}  // namespace tessaron::startup
