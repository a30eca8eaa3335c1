#include "platform/windows/IisProviderHint.h"

#include <objbase.h>

#include <cstdlib>

#include "platform/windows/WindowsSystemQueries.h"

namespace tessaron::platform::windows {
namespace {

bool iisProviderRegistered() {
    // The moniker IIS://... resolves through the class registered as "IIS".
    CLSID provider{};
    return SUCCEEDED(CLSIDFromProgID(L"IIS", &provider));
}

}  // namespace

std::optional<std::string> iisProviderHint(const std::string& kernelVersion,
                                           bool providerRegistered) {
    // Windows 2000 and Server 2003 (5.x) have the provider whenever IIS is
    // installed: there the load step's own message says all there is.
    const bool iis7OrLater = std::strtol(kernelVersion.c_str(), nullptr, 10) >= 6;
    if (providerRegistered || !iis7OrLater) return std::nullopt;
    return std::string(
        "IIS's directory-service provider is missing: add the role service \"IIS 6 Metabase "
        "Compatibility\" (Server Manager: Web Server (IIS), Management Tools, IIS 6 Management "
        "Compatibility), or run Install-WindowsFeature Web-Metabase in PowerShell.");
}

std::optional<std::string> iisProviderHint() {
    std::string version;
    try {
        version = kernelVersionText();
    } catch (const std::exception&) {
        return std::nullopt;
    }
    return iisProviderHint(version, iisProviderRegistered());
}

}  // namespace tessaron::platform::windows
