#include "platform/windows/LocalMachine.h"

#include "platform/windows/AdsiMetabase.h"
#include "platform/windows/WindowsFileSystem.h"
#include "platform/windows/WindowsMachineLock.h"
#include "platform/windows/WindowsPanelComponent.h"
#include "platform/windows/WindowsSystemQueries.h"

namespace tessaron::platform::windows {
namespace {

class LocalMachine : public Platform {
public:
    explicit LocalMachine(Database& database) : database_(database) {}

    SystemQueries& System() override { return system_; }
    Wmi& Management() override { return wmi_; }
    FileSystem& Files() override { return files_; }
    Metabase& Iis() override { return metabase_; }
    Database& Databases() override { return database_; }
    std::unique_ptr<PanelComponent> CreatePanelComponent() override {
        return createPanelComponent();
    }
    std::unique_ptr<MachineLock> LockMachine(std::chrono::milliseconds patience) override {
        return lockLocalMachine(patience);
    }

private:
    WindowsSystemQueries system_;
    WindowsWmi wmi_;
    WindowsFileSystem files_;
    AdsiMetabase metabase_;
    Database& database_;
};

}  // namespace

std::unique_ptr<Platform> openLocalMachine(Database& database) {
    return std::make_unique<LocalMachine>(database);
}

}  // namespace tessaron::platform::windows
