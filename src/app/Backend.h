#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/ScratchMachine.h"
#include "platform/Platform.h"

namespace tessaron::app {

// How the program reaches the machine it configures. Program start
// (src/main) fills it, so that the window model and the front ends link no
// backend. Every thread that works on the machine opens a platform of its
// own through it: the window for its load step, each run on its worker.
struct Backend {
    // Opens a machine image folder; throws PlatformError when it cannot.
    std::function<std::unique_ptr<Platform>(const std::string& folder)> openImage;
    // Opens the machine the program runs on; empty where there is none.
    std::function<std::unique_ptr<Platform>()> openLocal;
    // Opens a preview's scratch copy of a machine image.
    ScratchMachineOpener openScratchImage;
};

// Opens one machine again and again (the one the window or the front end
// works on); throws PlatformError when it cannot.
using MachineOpener = std::function<std::unique_ptr<Platform>()>;

// The image folder when one is given, otherwise the local machine (empty
// when the backend has none).
inline MachineOpener machineOpener(const Backend& backend, const std::string* imageFolder) {
    if (imageFolder) {
        return [open = backend.openImage, folder = *imageFolder] { return open(folder); };
    }
    return backend.openLocal;
}

}  // namespace tessaron::app
