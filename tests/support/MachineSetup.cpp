#include "support/MachineSetup.h"

#include "support/RegistryText.h"
#include "support/SamplePaths.h"
#include "support/TestMachine.h"

namespace tessaron::testing {

namespace {

std::string regString(const std::string& value) {
    std::string escaped;
    for (char c : value) {
        if (c == '\\' || c == '"') escaped += '\\';
        escaped += c;
    }
    return "\"" + escaped + "\"";
}

std::string xmlAttribute(const std::string& value) {
    std::string escaped;
    for (char c : value) {
        if (c == '&')
            escaped += "&amp;";
        else if (c == '"')
            escaped += "&quot;";
        else if (c == '<')
            escaped += "&lt;";
        else
            escaped += c;
    }
    return escaped;
}

std::string registryText(const MachineSetup& setup) {
    std::string text = "Windows Registry Editor Version 5.00\r\n\r\n";
    if (setup.component) {
        text +=
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Tessaron.Master]\r\n@=\"Tessaron."
            "Master\"\r\n\r\n";
    }
    text +=
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion]\r\n"
        "\"ProgramFilesDir\"=\"C:\\\\Program Files\"\r\n\r\n";
    text +=
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
        "\"CurrentBuildNumber\"=" +
        regString(setup.build) +
        "\r\n"
        "\"CurrentVersion\"=" +
        regString(setup.version) +
        "\r\n"
        "\"RegisteredOrganization\"=" +
        regString(setup.organization) +
        "\r\n"
        "\"RegisteredOwner\"=" +
        regString(setup.owner) +
        "\r\n"
        "\"SystemRoot\"=\"C:\\\\WINDOWS\"\r\n\r\n";
    text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaron]\r\n";
    if (setup.installDirValue)
        text += "\"Install_Dir\"=" + regString(*setup.installDirValue) + "\r\n";
    text += "\r\n";
    text +=
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName]\r\n"
        "\"ComputerName\"=" +
        regString(setup.computerName) + "\r\n\r\n";
    text +=
        "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment]\r\n"
        "\"TEMP\"=\"C:\\\\WINDOWS\\\\TEMP\"\r\n\r\n";
    if (!setup.addresses.empty()) {
        text +=
            "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\"
            "Interfaces\\{0}]\r\n\"IPAddress\"=" +
            multiStringValue(setup.addresses) + "\r\n\r\n";
    }
    return text;
}

void appendSites(std::string& xml, const char* service, const char* siteClass,
                 const std::vector<MachineSetup::Site>& sites) {
    for (const auto& site : sites) {
        xml += std::string("<") + siteClass + "\tLocation =\"/LM/" + service + "/" + site.number +
               "\"\r\n";
        if (site.comment) xml += "\t\tServerComment=\"" + xmlAttribute(*site.comment) + "\"\r\n";
        xml += "\t>\r\n</" + std::string(siteClass) + ">\r\n";
    }
}

// The metabase text for a machine setup.
std::string metabaseXml(const MachineSetup& setup) {
    std::string xml =
        "<?xml version =\"1.0\"?>\r\n"
        "<configuration xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">\r\n<MBProperty>\r\n";
    xml += "<IIsWebService\tLocation =\"/LM/W3SVC\"\r\n\t\tLogFileDirectory=\"" +
           xmlAttribute(setup.logFileDirectory) + "\"\r\n\t>\r\n</IIsWebService>\r\n";
    appendSites(xml, "W3SVC", "IIsWebServer", setup.webSites);
    if (setup.ftpService) {
        xml += "<IIsFtpService\tLocation =\"/LM/MSFTPSVC\"\r\n\t>\r\n</IIsFtpService>\r\n";
        appendSites(xml, "MSFTPSVC", "IIsFtpServer", setup.ftpSites);
    }
    xml += "</MBProperty>\r\n</configuration>\r\n";
    return xml;
}

}  // namespace

TestMachine TestMachine::described(const MachineSetup& setup) {
    TestMachine machine;
    machine.writeRegistry(registryText(setup));
    machine.makeFolder("C:\\WINDOWS\\TEMP");
    machine.makeFolder("C:\\Tessaron\\panel");
    if (setup.metabase) {
        machine.writeFile(kMetabase, metabaseXml(setup));
    }
    if (setup.stylesFolder) {
        machine.makeFolder("C:\\Tessaron\\panel\\styles");
        for (const auto& style : setup.styles) {
            machine.makeFolder("C:\\Tessaron\\panel\\styles\\" + style);
        }
    }
    if (setup.configInc) machine.writeFile(kConfigInc, *setup.configInc);
    return machine;
}

}  // namespace tessaron::testing
