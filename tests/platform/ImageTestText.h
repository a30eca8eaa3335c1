#pragma once

// The registry of a small machine for the platform tests.

#include <string>

#include "support/RegistryText.h"

namespace tessaron::testing {

// The registry of a small Windows Server 2003 machine, "Windows Registry
// Editor Version 5.00" without its header line; tests add keys after it.
inline std::string machineKeys(const std::string& version = "5.2",
                               const std::string& build = "3790") {
    return "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\n"
           "\"CurrentVersion\"=\"" +
           version +
           "\"\n"
           "\"CurrentBuildNumber\"=\"" +
           build +
           "\"\n"
           "\"SystemRoot\"=\"C:\\\\WINDOWS\"\n"
           "\"RegisteredOrganization\"=\"Example Hosting Ltd\"\n"
           "\"RegisteredOwner\"=\"Administrator\"\n"
           "\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Tessaron.Master]\n"
           "\n"
           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\WBEM\\Namespaces\\root\\cimv2]\n"
           "\n"
           "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\n"
           "\"ComputerName\"=\"WEBHOST01\"\n"
           "\n"
           "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session "
           "Manager\\Environment]\n"
           // %SystemRoot%\TEMP as UTF-16LE bytes
           "\"TEMP\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,\\\n"
           "  00,25,00,5c,00,54,00,45,00,4d,00,50,00,00,00\n"
           "\n";
}

inline std::string machineRegistry() {
    return "Windows Registry Editor Version 5.00\n\n" + machineKeys();
}

}  // namespace tessaron::testing
