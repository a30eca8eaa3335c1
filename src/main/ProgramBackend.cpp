#include "main/ProgramBackend.h"

#include "platform/image/MachineImage.h"
#include "platform/odbc/OdbcDatabase.h"

namespace tessaron::startup {
namespace {

// The ODBC service is constructed before the image that is handed it.
struct OdbcService {
    OdbcDatabase odbc;
};

// A machine image whose database service is the ODBC driver manager.
class OdbcMachineImage : private OdbcService, public MachineImage {
public:
    explicit OdbcMachineImage(const std::string& folder) : MachineImage(folder, &odbc) {}
};

}  // namespace

app::Backend programBackend() {
    app::Backend backend;
    backend.openImage = [](const std::string& folder) -> std::unique_ptr<Platform> {
        return std::make_unique<OdbcMachineImage>(folder);
    };
    return backend;
}

}  // namespace tessaron::startup
