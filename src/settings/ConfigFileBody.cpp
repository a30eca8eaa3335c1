#include "settings/ConfigFileBody.h"

#include <ctime>

#include "settings/ConvertASPText.h"

namespace tessaron {

namespace {

using Value = std::optional<std::string>;

template <std::string SettingsRecord::*Field>
Value field(const ConfigFileSources& sources) {
    return sources.settings.*Field;
}

Value serverName(const ConfigFileSources& sources) {
    return sources.settings.ServerName;
}
Value creationDate(const ConfigFileSources& sources) {
    return sources.creationDate;
}
Value panelRoot(const ConfigFileSources& sources) {
    return sources.settings.InstallDir + "\\panel\\";
}
// The conversion reduces a doubled backslash to one, so appending one here
// gives exactly one trailing backslash whether or not the field had it.
Value serverRoot(const ConfigFileSources& sources) {
    return sources.settings.ServerRoot + "\\";
}
Value logRoot(const ConfigFileSources& sources) {
    return sources.settings.LogRoot + "\\";
}
Value frontPage2002Path(const ConfigFileSources& sources) {
    return FrontPage2002ToolPath(sources.programFilesDir);
}
Value tempFolder(const ConfigFileSources& sources) {
    return sources.tempFolder;
}
Value alwaysTrue(const ConfigFileSources&) {
    return std::string("True");
}

using S = SettingsRecord;
constexpr auto Q = LineForm::Quoted;
constexpr auto B = LineForm::Bare;
constexpr auto L = LineForm::Literal;

}  // namespace

const std::vector<ConfigFileLine>& ConfigFileBodyTable() {
    static const std::vector<ConfigFileLine> table = {
        {"' Tessaron Configuration File For: ", LineForm::Heading, serverName},
        {"' Creation Date: ", LineForm::Heading, creationDate},
        {"'---", L, nullptr},
        {"ServerName", Q, field<&S::ServerName>},
        {"ServerIP", Q, field<&S::ServerIP>},
        {"InternalIP", Q, field<&S::InternalIP>},
        {"PanelRoot", Q, panelRoot},
        {"ControlPanelTitle", Q, field<&S::ControlPanelTitle>},
        {"CustomerPort", B, field<&S::CustomerPort>},
        {"ResellerPort", B, field<&S::ResellerPort>},
        {"MainCompanyName", Q, field<&S::MainCompanyName>},
        {"MainContactEmail", Q, field<&S::MainContactEmail>},
        {"OversellAllowed", Q, field<&S::OversellAllowed>},
        {"ShowAllServerTickets", Q, alwaysTrue},
        {"ShowAllServerNotices", Q, alwaysTrue},
        {"DefaultPanelStyle", Q, field<&S::DefaultPanelStyle>},
        // The anonymous account's name, built by the panel from line 4.
        {"AnonUser = ServerName & \"\\IUSR_\" & ServerName", L, nullptr},
        {"AdminUsername", Q, field<&S::AdminUsername>},
        {"AdminPassword", Q, field<&S::AdminPassword>},
        {"ServerRoot", Q, serverRoot},
        {"LogRoot", Q, logRoot},
        {"FrontPage2002Path", Q, frontPage2002Path},
        {"TempFolder", Q, tempFolder},
        {"' TESSARON DATABASE CONFIGURATION", L, nullptr},
        {"MainSQLServerType", Q, field<&S::MainSQLServerType>},
        {"MainDatabaseIP", Q, field<&S::MainDatabaseIP>},
        {"MainDatabaseName", Q, field<&S::MainDatabaseName>},
        {"MainDatabaseUsername", Q, field<&S::MainDatabaseUsername>},
        {"MainDatabasePassword", Q, field<&S::MainDatabasePassword>},
        {"' STATISTICS CONFIGURATION", L, nullptr},
        {"EnableStatistics", B, field<&S::EnableStatistics>},
        {"StatisticsType", Q, field<&S::StatisticsType>},
        {"StatsRoot", Q, field<&S::StatsRoot>},
        {"StatsDataRoot", Q, field<&S::StatsDataRoot>},
        {"StatsFileRoot", Q, field<&S::StatsFileRoot>},
        {"' MAIL SERVER CONFIGURATION", L, nullptr},
        {"MailServerEnabled", B, field<&S::MailServerEnabled>},
        {"MailServerType", Q, field<&S::MailServerType>},
        {"MailServerIP", Q, field<&S::MailServerIP>},
        {"MailServerDir", Q, field<&S::MailServerDir>},
        {"EnableWebmail", B, field<&S::EnableWebmail>},
        {"WebmailURL", Q, field<&S::WebmailURL>},
        {"MaximumMailboxSize", Q, field<&S::MaximumMailboxSize>},
        {"' DNS SERVER CONFIGURATION", L, nullptr},
        {"DNSServerEnabled", B, field<&S::DNSServerEnabled>},
        {"DNSServer", Q, field<&S::DNSServer>},
        {"AdminEmail", Q, field<&S::AdminEmail>},
        {"DefaultPrimaryDNS", Q, field<&S::DefaultPrimaryDNS>},
        {"DefaultPrimaryDNSIP", Q, field<&S::DefaultPrimaryDNSIP>},
        {"DNSRoot", Q, field<&S::DNSRoot>},
        {"DefaultSecondaryDNS", Q, field<&S::DefaultSecondaryDNS>},
        {"DefaultSecondaryDNSIP", Q, field<&S::DefaultSecondaryDNSIP>},
        {"' SQL SERVER CONFIGURATION", L, nullptr},
        {"MSSQLActive", B, field<&S::MSSQLActive>},
        {"SQLServerAdminUsername", Q, field<&S::SQLServerAdminUsername>},
        {"SQLServerAdminPassword", Q, field<&S::SQLServerAdminPassword>},
        {"SQLServerIP", Q, field<&S::SQLServerIP>},
        {"SQLServerDataPath", Q, field<&S::SQLServerDataPath>},
        // The MySQL lines stand under the SQL Server banner.
        {"MySQLActive", B, field<&S::MySQLActive>},
        {"MySQLAdminUsername", Q, field<&S::MySQLAdminUsername>},
        {"MySQLAdminPassword", Q, field<&S::MySQLAdminPassword>},
        {"MySQLIP", Q, field<&S::MySQLIP>},
        {"MySQLDataPath", Q, field<&S::MySQLDataPath>},
        {"' SCRIPTING CONFIGURATION", L, nullptr},
        {"EnablePHP", B, field<&S::EnablePHP>},
        {"PHPLocation", Q, field<&S::PHPLocation>},
        {"EnablePerl", B, field<&S::EnablePerl>},
        {"PerlLocation", Q, field<&S::PerlLocation>},
        {"FTPServerEnabled", LineForm::RawBare, field<&S::FTPServerEnabled>},
    };
    return table;
}

std::string withoutLineBreaks(std::string value) {
    std::erase_if(value, [](char c) { return c == '\r' || c == '\n'; });
    return value;
}

std::string vbscriptStringLiteral(std::string_view value) {
    std::string literal = "\"";
    for (const char c : value) {
        if (c == '"') literal += '"';
        literal += c;
    }
    literal += '"';
    return literal;
}

std::optional<std::string> ConfigFileLineText(const ConfigFileLine& line,
                                              const ConfigFileSources& sources) {
    if (line.form == LineForm::Literal) return std::string(line.key);
    const Value value = line.value(sources);
    if (!value) return std::nullopt;
    const std::string text = withoutLineBreaks(*value);
    const std::string key = line.key;
    switch (line.form) {
        case LineForm::Quoted:
            return key + " = \"" + ConvertASPText(text) + "\"";
        case LineForm::Bare:
            return key + " = " + ConvertASPText(text);
        case LineForm::RawBare:
            return key + " = " + text;
        case LineForm::Heading:
            return key + text;
        case LineForm::Literal:
            break;
    }
    return key;
}

std::vector<std::optional<std::string>> ConfigFileBodyLines(const ConfigFileSources& sources) {
    std::vector<std::optional<std::string>> lines;
    for (const auto& line : ConfigFileBodyTable())
        lines.push_back(ConfigFileLineText(line, sources));
    return lines;
}

std::string FrontPage2002ToolPath(const std::string& programFilesDir) {
    return programFilesDir +
           "\\Common Files\\Microsoft Shared\\Web Server Extensions\\50\\bin\\owsadm.exe";
}

std::string ShortDateText(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    return std::to_string(local.tm_mon + 1) + "/" + std::to_string(local.tm_mday) + "/" +
           std::to_string(local.tm_year + 1900);
}

}  // namespace tessaron
