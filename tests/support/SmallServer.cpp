#include "support/SmallServer.h"

#include <string>

#include "support/TestMachine.h"

namespace tessaron::testing {

TestMachine TestMachine::smallServer(const MachineLayout& layout) {
    TestMachine machine;
    const bool w2000 = layout.release == 2000;
    const std::string windows = w2000 ? "WINNT" : "WINDOWS";
    std::string registry =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaron]\r\n"
        "\"Install_Dir\"=\"C:\\\\Tessaron\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Tessaron.Master]\r\n"
        "@=\"Tessaron.Master\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n"
        "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
        "\"SystemRoot\"=\"C:\\\\" +
        windows + "\"\r\n" +
        (w2000 ? "\"CurrentVersion\"=\"5.0\"\r\n\"CurrentBuildNumber\"=\"2195\"\r\n"
               : "\"CurrentVersion\"=\"5.2\"\r\n\"CurrentBuildNumber\"=\"3790\"\r\n") +
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\r\n"
        "\"ComputerName\"=\"WEB01\"\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session "
        "Manager\\Environment]\r\n";
    if (layout.tempValue) registry += "\"TEMP\"=\"C:\\\\" + windows + "\\\\Temp\"\r\n";
    registry += "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\WBEM\\Namespaces\\root\\cimv2]\r\n";
    if (layout.dnsProvider) {
        registry +=
            "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\WBEM\\Namespaces\\root\\MicrosoftDNS]"
            "\r\n";
    }
    machine.writeRegistry(registry);

    machine.writeFile(
        "C:\\Program Files\\Common Files\\Microsoft Shared\\Web Server "
        "Extensions\\50\\bin\\owsadm.exe",
        "tool");
    machine.makeFolder("C:\\Tessaron\\panel");
    machine.makeFolder("C:\\Tessaron\\temp");
    machine.writeFile("C:\\Tessaron\\bin\\jt.exe", "jt");
    machine.writeFile("C:\\Tessaron\\bin\\dnsschema.mof", "schema");
    machine.writeFile("C:\\Tessaron\\bin\\dnsprov.dll", "provider");
    machine.makeFolder("C:\\Accounts");
    machine.makeFolder("C:\\" + windows + "\\Temp");
    machine.makeFolder("C:\\" + windows + "\\system32\\LogFiles");
    return machine;
}

}  // namespace tessaron::testing
