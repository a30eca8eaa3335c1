#include "support/app/AppMachine.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "platform/Text.h"
#include "run/ConfigFileWriter.h"
#include "settings/SiteChoices.h"
#include "support/RegistryText.h"
#include "support/SamplePaths.h"

namespace tessaron::app::testing {

using window::MessageAnswer;
using window::SettingsWindow;

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
            tessaron::testing::multiStringValue(setup.addresses) + "\r\n\r\n";
    }
    return text;
}

void appendSites(std::string& xml, const char* service, const char* siteClass,
                 const std::vector<Site>& sites) {
    for (const auto& site : sites) {
        xml += std::string("<") + siteClass + "\tLocation =\"/LM/" + service + "/" + site.number +
               "\"\r\n";
        if (site.comment) xml += "\t\tServerComment=\"" + xmlAttribute(*site.comment) + "\"\r\n";
        xml += "\t>\r\n</" + std::string(siteClass) + ">\r\n";
    }
}

}  // namespace

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

tessaron::testing::TestMachine buildMachine(const MachineSetup& setup) {
    tessaron::testing::TestMachine machine;
    machine.writeRegistry(registryText(setup));
    machine.makeFolder("C:\\WINDOWS\\TEMP");
    machine.makeFolder("C:\\Tessaron\\panel");
    if (setup.metabase) {
        machine.writeFile(tessaron::testing::kMetabase, metabaseXml(setup));
    }
    if (setup.stylesFolder) {
        machine.makeFolder("C:\\Tessaron\\panel\\styles");
        for (const auto& style : setup.styles) {
            machine.makeFolder("C:\\Tessaron\\panel\\styles\\" + style);
        }
    }
    if (setup.configInc) machine.writeFile(tessaron::testing::kConfigInc, *setup.configInc);
    return machine;
}

std::vector<std::string> configIncAfterInstall(WindowOnMachine& w) {
    w.controls().press("btnInstall");
    SettingsRecord settings = w.settings;
    const InstallOptions options;
    ProgressLog log;
    RunContext run(settings, options, w.image, log);
    ConfigFileWriter(run);
    if (run.RunError) ADD_FAILURE() << log.text();
    std::vector<std::string> lines =
        splitText(w.machine.readFile(configFilePath(settings)), "\r\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

WindowOnMachine::WindowOnMachine(const MachineSetup& setup, MessageAnswer answer, bool load)
    : machine(buildMachine(setup)), image(machine.root()) {
    messages.answer = answer;
    window = std::make_unique<SettingsWindow>(image, settings, messages);
    if (load) result = window->Load();
}

}  // namespace tessaron::app::testing
