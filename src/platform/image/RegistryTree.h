#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/RegistryValue.h"

namespace tessaron {

// One value of a registry key, decoded from its export form.
struct RegistryEntry {
    std::string name;  // as written; empty for the default value "@"
    // Any 32-bit code an export names in hex(...), read or not.
    RegistryType type = RegistryType::None;
    std::string text;                 // String and ExpandString (UTF-8)
    std::vector<std::string> texts;   // MultiString
    std::uint32_t number = 0;         // DWord
    std::vector<std::uint8_t> bytes;  // Binary and every type this program does not read
};

struct RegistryKey {
    std::string path;  // full path as first written ("HKEY_LOCAL_MACHINE\SOFTWARE\...")
    std::vector<RegistryEntry> values;  // in file order
};

// The registry's keys, by full path; paths and value names compare without
// regard to case. A key exists when it is listed or when a key below it is.
class RegistryTree {
public:
    RegistryKey& addKey(const std::string& path);
    void deleteKey(const std::string& path);
    // Adds a value; a later value of the same name replaces the earlier one,
    // as importing the export does.
    void setValue(const std::string& keyPath, RegistryEntry entry);
    void deleteValue(const std::string& keyPath, const std::string& name);

    const RegistryKey* findKey(const std::string& path) const;
    bool keyExists(const std::string& path) const;
    // Full paths of the keys directly below the given one (listed or implied),
    // in order of their lower-case paths.
    std::vector<std::string> subKeys(const std::string& path) const;
    // The first value whose name equals the given one without regard to case.
    const RegistryEntry* findValue(const std::string& keyPath, const std::string& name) const;

private:
    std::map<std::string, RegistryKey> keys_;  // by lower-case path
};

// Lower case of a key path with trailing backslashes removed.
std::string registryKeyId(const std::string& path);

}  // namespace tessaron
