#pragma once

#include <chrono>
#include <memory>

#include "platform/Database.h"
#include "platform/FileSystem.h"
#include "platform/MachineLock.h"
#include "platform/Metabase.h"
#include "platform/PanelComponent.h"
#include "platform/SystemQueries.h"
#include "platform/Wmi.h"

namespace tessaron {

// Every platform service the program uses, from one backend.
class Platform {
public:
    virtual ~Platform() = default;

    virtual SystemQueries& System() = 0;
    virtual Wmi& Management() = 0;
    virtual FileSystem& Files() = 0;
    virtual Metabase& Iis() = 0;
    virtual Database& Databases() = 0;
    // Creates an instance of the panel component; throws PlatformError when
    // it is not registered.
    virtual std::unique_ptr<PanelComponent> CreatePanelComponent() = 0;
    // Takes the machine's run lock, waiting up to `patience` while another
    // run holds it; null when it is still held then. Throws PlatformError
    // when the lock cannot be taken at all.
    virtual std::unique_ptr<MachineLock> LockMachine(std::chrono::milliseconds patience) = 0;
};

}  // namespace tessaron
