#include "platform/image/ImageSystemQueries.h"

#include <algorithm>
#include <optional>

#include "platform/Failure.h"
#include "platform/ScriptingErrors.h"
#include "platform/WindowsPath.h"

namespace tessaron {
namespace {

std::optional<std::uint32_t> parseAddress(const std::string& text) {
    const auto parts = splitText(trimSpaces(text), ".");
    if (parts.size() != 4) return std::nullopt;
    std::uint32_t address = 0;
    for (const auto& part : parts) {
        if (part.empty() || part.size() > 3 ||
            !std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            return std::nullopt;
        }
        const int octet = std::stoi(part);
        if (octet > 255) return std::nullopt;
        address = (address << 8) | static_cast<std::uint32_t>(octet);
    }
    return address;
}

std::string withoutTrailingBackslash(std::string path) {
    // "C:\" keeps its backslash: it is the drive's root.
    while (path.size() > 3 && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace

std::string addressText(std::uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

std::string imageVersionText(const ImageRegistry& registry) {
    const auto version = trimSpaces(registry.readText(registry_keys::kWindowsNt, "CurrentVersion"));
    const auto build =
        trimSpaces(registry.readText(registry_keys::kWindowsNt, "CurrentBuildNumber"));
    if (version.empty() || build.empty()) return {};
    return version + "." + build;
}

std::vector<std::uint32_t> ImageSystemQueries::AddressTable() const {
    std::vector<std::uint32_t> table;
    for (const auto& interfaceKey : registry_.subKeys(registry_keys::kInterfaces)) {
        RegistryValue value;
        try {
            value = registry_.readValue(interfaceKey, "IPAddress");
        } catch (const PlatformError&) {
            continue;  // an expandable text that cannot be expanded lists no address
        }
        std::vector<std::string> listed;
        if (const auto* many = std::get_if<std::vector<std::string>>(&value)) {
            listed = *many;
        } else if (const auto* one = std::get_if<std::string>(&value)) {
            listed.push_back(*one);
        }
        for (const auto& text : listed) {
            const auto address = parseAddress(text);
            if (address && *address != 0) table.push_back(*address);
        }
    }
    std::sort(table.begin(), table.end());
    return table;
}

std::string ImageSystemQueries::GetFirstIPAddress() {
    const auto table = AddressTable();
    return table.empty() ? std::string() : addressText(table.front());
}

RegistryValue ImageSystemQueries::ReadRegistryValue(const std::string& keyPath,
                                                    const std::string& valueName) {
    try {
        return registry_.readValue(keyPath, valueName);
    } catch (...) {
        return std::string();
    }
}

std::string ImageSystemQueries::GetWindowsDir() {
    return withoutTrailingBackslash(registry_.readText(registry_keys::kWindowsNt, "SystemRoot"));
}

std::string ImageSystemQueries::GetSystemDir() {
    const auto windows = GetWindowsDir();
    if (windows.empty()) return {};
    return withTrailingBackslash(windows) + "system32" + std::string(1, '\0');
}

std::string ImageSystemQueries::GetTempFolder() {
    const auto temp = trimSpaces(registry_.readText(registry_keys::kEnvironment, "TEMP"));
    if (temp.empty()) throw scripting_error::pathNotFound();
    return withoutTrailingBackslash(temp);
}

std::string ImageSystemQueries::OperatingSystemVersion() {
    auto version = imageVersionText(registry_);
    if (version.empty()) throw wmi_error::genericFailure();
    return version;
}

std::vector<OperatingSystemInstance> ImageWmi::OperatingSystems() {
    OperatingSystemInstance instance;
    instance.Organization = registry_.readText(registry_keys::kWindowsNt, "RegisteredOrganization");
    instance.RegisteredUser = registry_.readText(registry_keys::kWindowsNt, "RegisteredOwner");
    instance.Version = imageVersionText(registry_);
    return {instance};
}

void ImageWmi::ConnectServer(const std::string& nameSpace) {
    // An empty namespace is WMI's default one.
    const auto wanted = nameSpace.empty() ? std::string("root\\cimv2") : nameSpace;
    if (wanted.find("\\\\") != std::string::npos || wanted.front() == '\\' ||
        !registry_.keyExists(std::string(registry_keys::kWmiNamespaces) + "\\" + wanted)) {
        throw wmi_error::invalidNamespace();
    }
}

}  // namespace tessaron
