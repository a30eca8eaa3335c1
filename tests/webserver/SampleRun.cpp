#include "SampleRun.h"

#include "platform/WindowsPath.h"

namespace tessaron::testing {

SettingsRecord wholeRunSettings() {
    SettingsRecord s = allNewSitesSettings();
    s.InternalIP = "";
    s.ControlPanelTitle = "Example Hosting Panel";
    s.MainCompanyName = "Example Hosting Ltd";
    s.MainContactEmail = "support@example.com";
    s.OversellAllowed = "False";
    s.DefaultPanelStyle = "Classic";
    s.AdminUsername = "Administrator";
    s.AdminPassword = "secret";
    s.ServerRoot = "C:\\Hosting";
    s.LogRoot = "C:\\WINDOWS\\system32\\LogFiles";
    s.MainSQLServerType = "SQL Server";
    s.MainDatabaseIP = "10.0.0.20";
    s.MainDatabaseName = "tessaron";
    s.EnableStatistics = "False";
    s.MailServerEnabled = "False";
    s.EnableWebmail = "False";
    s.DNSServerEnabled = "True";
    s.DNSServer = "Microsoft DNS";
    s.MSSQLActive = "False";
    s.MySQLActive = "False";
    s.EnablePHP = "False";
    s.EnablePerl = "False";
    return s;
}

const Lines kBeforeSites = {
    "Beginning Tessaron configuration...",
    "Checking installation integrity...",
    "DNS WMI provider OK.",
    "Accounts directory created.",
    "Temp directory created.",
    "Logfile directory OK.",
    "Writing configuration file...",
    "Configuration file written.",
};

Lines fileLines(const std::string& text) {
    Lines lines = splitText(text, "\r\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

Lines tailOf(const std::string& text) {
    const auto lines = fileLines(text);
    return lines.size() <= 69 ? Lines() : Lines(lines.begin() + 69, lines.end());
}

TempMachine preparedSample(const std::function<void(const TempMachine&)>& prepare) {
    auto machine = TempMachine::copyOf("windows2003");
    if (prepare) prepare(machine);
    return machine;
}

}  // namespace tessaron::testing
