#include "main/ProgramBackend.h"

#include "platform/ForwardingPlatform.h"
#include "platform/HostPath.h"
#include "platform/image/MachineImage.h"
#include "platform/odbc/OdbcDatabase.h"
#ifdef _WIN32
#include "platform/windows/LocalMachine.h"
#endif

namespace tessaron::startup {
namespace {

// The ODBC service is constructed before the image that is handed it.
struct OdbcService {
    OdbcDatabase odbc;
};

// A machine image whose database service is the ODBC driver manager.
class OdbcMachineImage : private OdbcService, public MachineImage {
public:
    explicit OdbcMachineImage(const std::string& folder)
        : MachineImage(hostPathFromUtf8(folder), &odbc) {}
};

#ifdef _WIN32
// The Windows machine the program runs on, with the ODBC service of odbc32.
// The machine is held in a base of its own, so that it is opened before the
// forwarding base is given it.
struct OwnedLocalMachine {
    std::unique_ptr<Platform> machine;
};

class OdbcLocalMachine : private OdbcService, private OwnedLocalMachine, public ForwardingPlatform {
public:
    OdbcLocalMachine()
        : OwnedLocalMachine{platform::windows::openLocalMachine(odbc)},
          ForwardingPlatform(*machine) {}
};
#endif

}  // namespace

app::wiring::Backend programBackend() {
    app::wiring::Backend backend;
    backend.openImage = [](const std::string& folder) -> std::unique_ptr<Platform> {
        return std::make_unique<OdbcMachineImage>(folder);
    };
    // The choosers browse the folders of the machine images this backend opens.
    backend.imageFolders = [](Platform& machine) -> const ImageFolders* {
        return dynamic_cast<const ImageFolders*>(&machine);
    };
#ifdef _WIN32
    backend.openLocal = []() -> std::unique_ptr<Platform> {
        return std::make_unique<OdbcLocalMachine>();
    };
#endif
    return backend;
}

}  // namespace tessaron::startup
