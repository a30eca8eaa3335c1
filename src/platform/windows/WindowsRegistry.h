#pragma once

#include <string>

#include "platform/RegistryValue.h"

namespace tessaron::platform::windows {

// Reads a value under HKEY_LOCAL_MACHINE: in the 64-bit view first, then in
// the 32-bit view (where 32-bit installers on 64-bit Windows write). Value
// names are found without regard to case; an expandable string comes back
// expanded; a missing key or value, or a type the program does not read,
// gives empty text. Never throws.
RegistryValue readMachineValue(const std::string& keyPath, const std::string& valueName);

}  // namespace tessaron::platform::windows
