#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/SystemQueries.h"
#include "platform/Wmi.h"
#include "platform/image/ImageRegistry.h"

namespace tessaron {

// The system queries answered from the image's registry.
class ImageSystemQueries : public SystemQueries {
public:
    explicit ImageSystemQueries(const ImageRegistry& registry) : registry_(registry) {}

    std::string GetFirstIPAddress() override;
    RegistryValue ReadRegistryValue(const std::string& keyPath,
                                    const std::string& valueName) override;
    std::string GetWindowsDir() override;
    std::string GetSystemDir() override;
    std::string GetTempFolder() override;
    std::string OperatingSystemVersion() override;

    // The address table: every address of every interface except 0.0.0.0,
    // in ascending order of value.
    std::vector<std::uint32_t> AddressTable() const;

private:
    const ImageRegistry& registry_;
};

// WMI as far as the registry describes it: the operating system's instance
// and the namespaces registered under SOFTWARE\Microsoft\WBEM\Namespaces.
class ImageWmi : public Wmi {
public:
    explicit ImageWmi(const ImageRegistry& registry) : registry_(registry) {}

    std::vector<OperatingSystemInstance> OperatingSystems() override;
    void ConnectServer(const std::string& nameSpace) override;

private:
    const ImageRegistry& registry_;
};

// The version text "CurrentVersion.CurrentBuildNumber", or "" when either is
// missing.
std::string imageVersionText(const ImageRegistry& registry);

// Dotted text of an address held as a number (first octet highest).
std::string addressText(std::uint32_t address);

}  // namespace tessaron
