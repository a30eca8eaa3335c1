#pragma once

#include "platform/SystemQueries.h"
#include "platform/Wmi.h"

namespace tessaron::platform::windows {

// The system queries answered by Windows itself.
class WindowsSystemQueries : public SystemQueries {
public:
    std::string GetFirstIPAddress() override;
    RegistryValue ReadRegistryValue(const std::string& keyPath,
                                    const std::string& valueName) override;
    std::string GetWindowsDir() override;
    std::string GetSystemDir() override;
    std::string GetTempFolder() override;
    std::string OperatingSystemVersion() override;
};

// The operating system's facts and WMI namespaces: the registration data
// from the registry keys WMI itself reads them from, the version from the
// kernel, and namespaces through the WMI locator.
class WindowsWmi : public Wmi {
public:
    std::vector<OperatingSystemInstance> OperatingSystems() override;
    void ConnectServer(const std::string& nameSpace) override;
};

// "major.minor.build" of the running system, as the kernel reports it
// (unaffected by compatibility settings of the program).
std::string kernelVersionText();

}  // namespace tessaron::platform::windows
