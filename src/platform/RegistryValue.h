#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace tessaron {

// Registry value type codes, as the registry reports them (and as an export
// names them in hex(...)); any other 32-bit code is a type this program does
// not read.
enum class RegistryType : std::uint32_t {
    None = 0,
    String = 1,
    ExpandString = 2,
    Binary = 3,
    DWord = 4,
    MultiString = 7,
};

// The typed result of ReadRegistryValue: empty text when the value is missing.
using RegistryValue =
    std::variant<std::string, std::uint32_t, std::vector<std::string>, std::vector<std::uint8_t>>;

// The value as text, the way every caller of this program uses it: strings as
// they are, a double word in decimal, a multi-string joined by blanks, bytes
// as empty text.
std::string registryValueText(const RegistryValue& value);

}  // namespace tessaron
