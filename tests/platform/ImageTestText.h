#pragma once

// Helpers for writing registry exports in tests.

#include <string>

namespace tessaron::testing {

// UTF-16LE bytes of UTF-8 text (characters of the basic plane).
inline std::string utf16le(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        char32_t c = lead;
        int length = 1;
        if (lead >= 0xE0) {
            c = lead & 0x0F, length = 3;
        } else if (lead >= 0xC0) {
            c = lead & 0x1F, length = 2;
        }
        for (int k = 1; k < length; ++k)
            c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

// A regedit export as regedit writes it: UTF-16LE with byte order mark.
inline std::string regeditExport(const std::string& utf8Text) {
    return "\xFF\xFE" + utf16le(utf8Text);
}

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
