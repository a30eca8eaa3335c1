#include "support/MetabaseGenerator.h"

#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tessaron::bench {
namespace {

// The file's line break, as IIS writes it.
constexpr const char* kEol = "\r\n";

void key(std::string& out, const std::string& className, const std::string& location,
         std::initializer_list<std::pair<const char*, std::string>> properties) {
    out += "<" + className + "\tLocation =\"" + location + "\"" + kEol;
    for (const auto& [name, value] : properties) {
        out += std::string("\t\t") + name + "=\"" + value + "\"" + kEol;
    }
    out += std::string("\t>") + kEol + "</" + className + ">" + kEol;
}

// A distinct private address per site: 10.<hi>.<lo>.<1..250>.
std::string address(int n) {
    return "10." + std::to_string(1 + n / 62500) + "." + std::to_string((n / 250) % 250) + "." +
           std::to_string(1 + n % 250);
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

std::string generateMetabase(int webSites, int ftpSites) {
    std::string out;
    out.reserve(static_cast<std::size_t>(webSites) * 700 +
                static_cast<std::size_t>(ftpSites) * 400 + 4096);
    out += std::string("<?xml version =\"1.0\"?>") + kEol +
           "<configuration xmlns=\"urn:microsoft-catalog:XML_Metabase_V64_0\">" + kEol +
           "<MBProperty>" + kEol;
    key(out, "IIS_Global", ".", {{"ChangeNumber", "1"}, {"HistoryMajorVersionNumber", "1"}});
    key(out, "IIS_ROOT", "/", {});
    key(out, "IIsComputer", "/LM", {{"EnableHistory", "1"}, {"MaxHistoryFiles", "10"}});
    key(out, "IIsFtpService", "/LM/MSFTPSVC",
        {{"AllowAnonymous", "TRUE"}, {"LogFileDirectory", "%WinDir%\\System32\\LogFiles"}});
    key(out, "IIsFtpInfo", "/LM/MSFTPSVC/Info", {{"ServerConfigFlags", "1"}});
    for (int n = 1; n <= ftpSites; ++n) {
        const auto site = "/LM/MSFTPSVC/" + std::to_string(n);
        key(out, "IIsFtpServer", site,
            {{"ServerAutoStart", "TRUE"},
             {"ServerBindings", address(n) + ":21:"},
             {"ServerComment", "FTP of customer " + std::to_string(n)}});
        key(out, "IIsFtpVirtualDir", site + "/ROOT",
            {{"AccessFlags", "AccessRead | AccessWrite"},
             {"Path", "D:\\Hosting\\customer" + std::to_string(n)}});
    }
    key(out, "IIsWebService", "/LM/W3SVC",
        {{"AccessFlags", "AccessRead | AccessScript"},
         {"AppPoolId", "DefaultAppPool"},
         {"LogFileDirectory", "%WinDir%\\System32\\LogFiles"},
         {"ScriptMaps",
          std::string(".asp,C:\\WINDOWS\\system32\\inetsrv\\asp.dll,5,GET,HEAD,POST,TRACE") + kEol +
              "\t\t\t.cer,C:\\WINDOWS\\system32\\inetsrv\\asp.dll,5,GET,HEAD,POST,TRACE"}});
    key(out, "IIsFilters", "/LM/W3SVC/Filters", {});
    key(out, "IIsWebInfo", "/LM/W3SVC/Info", {{"ServerConfigFlags", "1"}});
    key(out, "IIsApplicationPools", "/LM/W3SVC/AppPools", {{"AppPoolIdentityType", "2"}});
    key(out, "IIsApplicationPool", "/LM/W3SVC/AppPools/DefaultAppPool", {});
    for (int n = 1; n <= webSites; ++n) {
        const auto number = std::to_string(n);
        const auto site = "/LM/W3SVC/" + number;
        key(out, "IIsWebServer", site,
            {{"ServerAutoStart", "TRUE"},
             {"ServerBindings", address(n) + ":80:www.customer" + number + ".example" + kEol +
                                    "\t\t\t" + address(n) + ":80:customer" + number + ".example"},
             {"ServerComment", "Customer site " + number}});
        key(out, "IIsWebVirtualDir", site + "/ROOT",
            {{"AccessFlags", "AccessRead | AccessScript"},
             {"AppFriendlyName", "Default Application"},
             {"AppIsolated", "2"},
             {"AppPoolId", "DefaultAppPool"},
             {"AppRoot", site + "/ROOT"},
             {"Path", "D:\\Hosting\\customer" + number + "\\wwwroot"}});
    }
    out += std::string("</MBProperty>") + kEol + "</configuration>" + kEol;
    return out;
}

fs::path writeMetabaseMachine(const fs::path& root, const std::string& metabase) {
    writeFile(root / "registry.reg",
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\r\n"
              "\"CurrentVersion\"=\"5.2\"\r\n"
              "\"CurrentBuildNumber\"=\"3790\"\r\n"
              "\"SystemRoot\"=\"C:\\\\WINDOWS\"\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Tessaron]\r\n"
              "\"Install_Dir\"=\"C:\\\\Tessaron\"\r\n");
    fs::create_directories(root / "C" / "Tessaron" / "panel");
    const auto file = root / "C" / "WINDOWS" / "system32" / "inetsrv" / "MetaBase.xml";
    writeFile(file, metabase);
    return file;
}

}  // namespace tessaron::bench
