#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ForwardingPlatform.h"
#include "platform/ImageFolders.h"
#include "platform/Platform.h"

namespace tessaron::app::wiring {

// How the program reaches the machine it configures. Program start
// (src/main) fills it, so that the window model and the front ends link no
// backend. Every thread that works on the machine opens a platform of its
// own through it: the window for its load step, each run on its worker.
struct Backend {
    // Opens a machine image folder; throws PlatformError when it cannot.
    std::function<std::unique_ptr<Platform>(const std::string& folder)> openImage;
    // Opens the machine the program runs on; empty where there is none.
    std::function<std::unique_ptr<Platform>()> openLocal;
    // The folders of a machine image this backend opened, for the window's
    // choosers to browse; null for other machines.
    std::function<const ImageFolders*(Platform& machine)> imageFolders;
};

// Opens one machine again and again (the one the window or the front end
// works on); throws PlatformError when it cannot.
using MachineOpener = std::function<std::unique_ptr<Platform>()>;

// How the preview names the machine the program runs on.
inline constexpr std::string_view kThisComputer = "this computer";

// The image folder when one is given, otherwise the local machine (empty
// when the backend has none).
inline MachineOpener machineOpener(const Backend& backend, const std::string* imageFolder) {
    if (imageFolder) {
        return [open = backend.openImage, folder = *imageFolder] { return open(folder); };
    }
    return backend.openLocal;
}

// Hands out the machine already opened (and read) instead of opening it
// again: each platform handed out works on `opened`, which must outlive
// them. Only for a machine whose objects any thread may use (an image:
// files, kept open or read again when changed); the local machine's
// automation objects belong to the thread that created them.
inline MachineOpener alreadyOpened(Platform& opened) {
    return [&opened]() -> std::unique_ptr<Platform> {
        return std::make_unique<ForwardingPlatform>(opened);
    };
}

}  // namespace tessaron::app::wiring
