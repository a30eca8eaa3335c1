#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app/window/MessageService.h"
#include "app/wiring/Backend.h"
#include "platform/Platform.h"

namespace tessaron::app::window {

// The machine a settings window works on: the image folder when one is
// given, otherwise the machine the program runs on. Without either, the
// view first asks for a folder (cancelling ends the program).
bool windowNeedsMachineFolder(const wiring::Backend& backend,
                              const std::optional<std::string>& folder);

struct WindowMachine {
    std::unique_ptr<Platform> platform;
    // Set when the machine could not be opened: the box to show (the text is
    // also what goes to standard error), after which the program ends at
    // load.
    std::optional<Message> failure;
    // The failure's reason alone ("the folder does not exist").
    std::string reason;
};
WindowMachine openWindowMachine(const wiring::Backend& backend,
                                const std::optional<std::string>& folder);

// The box of a machine that cannot be opened ("of this computer" for the
// local machine).
Message cannotOpenMachine(const std::string& machine, const std::string& reason);

}  // namespace tessaron::app::window
