#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/RegistryValue.h"
#include "platform/image/RegistryFile.h"

namespace tessaron {

// The registry of a machine image: registry.reg read once at start, queried
// under HKEY_LOCAL_MACHINE, and extended by appending to the file.
class ImageRegistry {
public:
    // Throws PlatformError naming the file (and the line) when it is missing
    // or malformed.
    explicit ImageRegistry(std::filesystem::path file);

    // A value under HKEY_LOCAL_MACHINE as the registry provider reports it:
    // the first value whose name matches without regard to case; expandable
    // strings expanded (a PlatformError when the expansion fails); the empty
    // text for a missing key or value or a type this program does not read.
    RegistryValue readValue(const std::string& keyPath, const std::string& valueName) const;
    // The value as text ("" when missing).
    std::string readText(const std::string& keyPath, const std::string& valueName) const;

    bool keyExists(const std::string& keyPath) const;
    // Relative paths (below HKEY_LOCAL_MACHINE) of the keys directly below.
    std::vector<std::string> subKeys(const std::string& keyPath) const;

    // Replaces %NAME% references by the system's environment: the variables
    // of Session Manager\Environment, SystemRoot, windir and SystemDrive.
    // Unknown references stay as written. Like the system's own expansion,
    // it fails (PlatformError) when the result would be longer than
    // kMaxExpandedLength characters.
    std::string expand(const std::string& text) const;

    // Adds an (empty) key under HKEY_LOCAL_MACHINE, appending its section to
    // registry.reg. Throws PlatformError when the file cannot be extended; the
    // registry in memory then stays as it was.
    void addKey(const std::string& keyPath);

    const std::filesystem::path& file() const { return file_; }

private:
    class Expansion;

    std::filesystem::path file_;
    RegistryFile registry_;
};

// The longest text an environment expansion yields, in UTF-16 characters,
// as on Windows.
inline constexpr std::size_t kMaxExpandedLength = 32767;

// Key paths the machine image reads, below HKEY_LOCAL_MACHINE.
namespace registry_keys {
inline constexpr const char* kWindowsNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
inline constexpr const char* kEnvironment =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
inline constexpr const char* kInterfaces =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces";
inline constexpr const char* kComputerName =
    "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
inline constexpr const char* kWmiNamespaces = "SOFTWARE\\Microsoft\\WBEM\\Namespaces";
// The panel component counts as registered when its class key exists.
inline constexpr const char* kPanelComponentClass = "SOFTWARE\\Classes\\Tessaron.Master";
}  // namespace registry_keys

}  // namespace tessaron
