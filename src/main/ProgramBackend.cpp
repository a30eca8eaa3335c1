#include "main/ProgramBackend.h"

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
    explicit OdbcMachineImage(const std::string& folder) : MachineImage(folder, &odbc) {}
};

#ifdef _WIN32
// The Windows machine the program runs on, with the ODBC service of odbc32.
class OdbcLocalMachine : private OdbcService, public Platform {
public:
    OdbcLocalMachine() : machine_(platform::windows::openLocalMachine(odbc)) {}

    SystemQueries& System() override { return machine_->System(); }
    Wmi& Management() override { return machine_->Management(); }
    FileSystem& Files() override { return machine_->Files(); }
    Metabase& Iis() override { return machine_->Iis(); }
    Database& Databases() override { return machine_->Databases(); }
    std::unique_ptr<PanelComponent> CreatePanelComponent() override {
        return machine_->CreatePanelComponent();
    }
    std::unique_ptr<MachineLock> LockMachine(std::chrono::milliseconds patience) override {
        return machine_->LockMachine(patience);
    }

private:
    std::unique_ptr<Platform> machine_;
};
#endif

}  // namespace

app::Backend programBackend() {
    app::Backend backend;
    backend.openImage = [](const std::string& folder) -> std::unique_ptr<Platform> {
        return std::make_unique<OdbcMachineImage>(folder);
    };
#ifdef _WIN32
    backend.openLocal = []() -> std::unique_ptr<Platform> {
        return std::make_unique<OdbcLocalMachine>();
    };
#endif
    return backend;
}

}  // namespace tessaron::startup
