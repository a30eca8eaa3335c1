#include "app/window/WindowMachine.h"

#include <filesystem>

#include "app/window/ControlCatalogue.h"
#include "platform/Failure.h"

namespace tessaron::app::window {

bool windowNeedsMachineFolder(const wiring::Backend& backend,
                              const std::optional<std::string>& folder) {
    return !folder && !backend.openLocal;
}

Message cannotOpenMachine(const std::string& machine, const std::string& reason) {
    Message message;
    message.title = std::string(kApplicationTitle);
    message.text = "Sorry, I cannot open the machine image " + machine + " - " + reason + ".";
    message.icon = MessageIcon::Error;
    return message;
}

namespace {

void fail(WindowMachine& opened, const std::string& machine, const std::string& reason) {
    opened.failure = cannotOpenMachine(machine, reason);
    opened.reason = reason;
}

}  // namespace

WindowMachine openWindowMachine(const wiring::Backend& backend,
                                const std::optional<std::string>& folder) {
    WindowMachine opened;
    if (!folder) {
        try {
            opened.platform = backend.openLocal();
        } catch (const PlatformError& failure) {
            fail(opened, "of this computer", failure.description());
        }
        return opened;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(*folder, error)) {
        fail(opened, *folder, "the folder does not exist");
        return opened;
    }
    try {
        opened.platform = backend.openImage(*folder);
    } catch (const PlatformError& failure) {
        fail(opened, *folder, failure.description());
    }
    return opened;
}

}  // namespace tessaron::app::window
