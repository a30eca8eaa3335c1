#pragma once

#include <string>
#include <vector>

namespace tessaron {

// One instance of Win32_OperatingSystem, as far as this program reads it.
struct OperatingSystemInstance {
    std::string Organization;
    std::string RegisteredUser;
    std::string Version;
};

// Windows Management Instrumentation as the program uses it.
class Wmi {
public:
    virtual ~Wmi() = default;

    // InstancesOf("Win32_OperatingSystem"). Throws PlatformError.
    virtual std::vector<OperatingSystemInstance> OperatingSystems() = 0;
    // ConnectServer("", nameSpace, "", ""): throws PlatformError when the
    // namespace cannot be reached.
    virtual void ConnectServer(const std::string& nameSpace) = 0;
};

}  // namespace tessaron
