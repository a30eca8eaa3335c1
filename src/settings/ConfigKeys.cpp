#include "settings/ConfigKeys.h"

#include <map>

#include "platform/Text.h"
#include "settings/ConfigFileBody.h"

namespace tessaron {

namespace {

using Value = std::optional<std::string>;

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
template <std::string SettingsRecord::*Field>
Value withBackslash(const ConfigFileSources& sources) {
    return sources.settings.*Field + "\\";
}
Value frontPage2002Path(const ConfigFileSources& sources) {
    return frontPage2002ToolPath(sources.programFilesDir);
}
Value tempFolder(const ConfigFileSources& sources) {
    return sources.tempFolder;
}
Value alwaysTrue(const ConfigFileSources&) {
    return std::string("True");
}

using S = SettingsRecord;
constexpr bool kRead = true;
constexpr auto Q = LineForm::Quoted;
constexpr auto B = LineForm::Bare;
constexpr auto L = LineForm::Literal;
constexpr auto H = LineForm::Heading;
constexpr auto After = LineForm::AfterBody;
constexpr auto Unwritten = LineForm::NotWritten;

}  // namespace

const std::vector<ConfigKey>& configKeys() {
    static const std::vector<ConfigKey> keys = {
        // The body.
        {.name = "' Tessaron Configuration File For: ", .form = H, .value = serverName},
        {.name = "' Creation Date: ", .form = H, .value = creationDate},
        {"'---", L},
        {"ServerName", Q, &S::ServerName},
        // Files of earlier configurations name the two addresses MainServerIP
        // and MainInternalIP.
        {"ServerIP", Q, &S::ServerIP, kRead, nullptr, {"mainserverip"}},
        {"InternalIP", Q, &S::InternalIP, kRead, nullptr, {"maininternalip"}},
        {.name = "PanelRoot", .form = Q, .value = panelRoot},
        {"ControlPanelTitle", Q, &S::ControlPanelTitle, kRead},
        {"CustomerPort", B, &S::CustomerPort, kRead},
        {"ResellerPort", B, &S::ResellerPort, kRead},
        {"MainCompanyName", Q, &S::MainCompanyName, kRead},
        {"MainContactEmail", Q, &S::MainContactEmail, kRead},
        {"OversellAllowed", Q, &S::OversellAllowed, kRead},
        {.name = "ShowAllServerTickets", .form = Q, .value = alwaysTrue},
        {.name = "ShowAllServerNotices", .form = Q, .value = alwaysTrue},
        {"DefaultPanelStyle", Q, &S::DefaultPanelStyle, kRead},
        // The anonymous account's name, built by the panel from the ServerName line.
        {"AnonUser = ServerName & \"\\IUSR_\" & ServerName", L},
        {"AdminUsername", Q, &S::AdminUsername, kRead},
        {"AdminPassword", Q, &S::AdminPassword, kRead},
        {"ServerRoot", Q, &S::ServerRoot, kRead, withBackslash<&S::ServerRoot>},
        {"LogRoot", Q, &S::LogRoot, kRead, withBackslash<&S::LogRoot>},
        {.name = "FrontPage2002Path", .form = Q, .value = frontPage2002Path},
        {.name = "TempFolder", .form = Q, .value = tempFolder},
        {"' TESSARON DATABASE CONFIGURATION", L},
        {"MainSQLServerType", Q, &S::MainSQLServerType, kRead},
        {"MainDatabaseIP", Q, &S::MainDatabaseIP, kRead},
        {"MainDatabaseName", Q, &S::MainDatabaseName, kRead},
        {"MainDatabaseUsername", Q, &S::MainDatabaseUsername, kRead},
        {"MainDatabasePassword", Q, &S::MainDatabasePassword, kRead},
        {"' STATISTICS CONFIGURATION", L},
        {"EnableStatistics", B, &S::EnableStatistics, kRead},
        {"StatisticsType", Q, &S::StatisticsType, kRead},
        {"StatsRoot", Q, &S::StatsRoot},
        {"StatsDataRoot", Q, &S::StatsDataRoot},
        {"StatsFileRoot", Q, &S::StatsFileRoot},
        {"' MAIL SERVER CONFIGURATION", L},
        {"MailServerEnabled", B, &S::MailServerEnabled, kRead},
        {"MailServerType", Q, &S::MailServerType, kRead},
        {"MailServerIP", Q, &S::MailServerIP, kRead},
        {"MailServerDir", Q, &S::MailServerDir, kRead},
        {"EnableWebmail", B, &S::EnableWebmail, kRead},
        {"WebmailURL", Q, &S::WebmailURL, kRead},
        {"MaximumMailboxSize", Q, &S::MaximumMailboxSize, kRead},
        {"' DNS SERVER CONFIGURATION", L},
        {"DNSServerEnabled", B, &S::DNSServerEnabled, kRead},
        {"DNSServer", Q, &S::DNSServer, kRead},
        {"AdminEmail", Q, &S::AdminEmail, kRead},
        {"DefaultPrimaryDNS", Q, &S::DefaultPrimaryDNS, kRead},
        {"DefaultPrimaryDNSIP", Q, &S::DefaultPrimaryDNSIP, kRead},
        {"DNSRoot", Q, &S::DNSRoot, kRead},
        {"DefaultSecondaryDNS", Q, &S::DefaultSecondaryDNS, kRead},
        {"DefaultSecondaryDNSIP", Q, &S::DefaultSecondaryDNSIP, kRead},
        {"' SQL SERVER CONFIGURATION", L},
        {"MSSQLActive", B, &S::MSSQLActive, kRead},
        {"SQLServerAdminUsername", Q, &S::SQLServerAdminUsername, kRead},
        {"SQLServerAdminPassword", Q, &S::SQLServerAdminPassword, kRead},
        {"SQLServerIP", Q, &S::SQLServerIP, kRead},
        {"SQLServerDataPath", Q, &S::SQLServerDataPath, kRead},
        // The MySQL lines stand under the SQL Server banner.
        {"MySQLActive", B, &S::MySQLActive, kRead},
        {"MySQLAdminUsername", Q, &S::MySQLAdminUsername, kRead},
        {"MySQLAdminPassword", Q, &S::MySQLAdminPassword, kRead},
        {"MySQLIP", Q, &S::MySQLIP, kRead},
        {"MySQLDataPath", Q, &S::MySQLDataPath, kRead},
        {"' SCRIPTING CONFIGURATION", L},
        {"EnablePHP", B, &S::EnablePHP, kRead},
        {"PHPLocation", Q, &S::PHPLocation, kRead},
        {"EnablePerl", B, &S::EnablePerl, kRead},
        {"PerlLocation", Q, &S::PerlLocation, kRead},
        {"FTPServerEnabled", LineForm::RawBare, &S::FTPServerEnabled, kRead},

        // The site lines, in the order the append step writes them.
        {"MainFTPSVC", After, &S::MainFTPSVC, kRead},
        {"EnableSharedSecure", After, &S::EnableSharedSecure, kRead},
        {"SharedSecureServer", After, &S::SharedSecureServer, kRead},
        {"SharedSecureSVC", After, &S::SharedSecureSVC, kRead},
        {"EnableWebsitePreview", After, &S::EnableWebsitePreview, kRead},
        {"PreviewSVC", After, &S::PreviewSVC, kRead},

        // The FTP server's type and folders, which this program keeps out of
        // the file.
        {"FTPServerType", Unwritten, &S::FTPServerType, kRead},
        {"FTPServerPath", Unwritten, &S::FTPServerPath, kRead},
        {"FTPLinkPath", Unwritten, &S::FTPLinkPath, kRead},
    };
    return keys;
}

bool isBodyLine(const ConfigKey& key) {
    return key.form != LineForm::AfterBody && key.form != LineForm::NotWritten;
}

const ConfigKey* findReadKey(std::string_view lowerKey) {
    static const auto byName = [] {
        std::map<std::string, const ConfigKey*, std::less<>> names;
        for (const auto& key : configKeys()) {
            if (!key.read) continue;
            names.emplace(asciiLower(key.name), &key);
            for (const char* alias : key.readAliases) names.emplace(alias, &key);
        }
        return names;
    }();
    const auto found = byName.find(lowerKey);
    return found == byName.end() ? nullptr : found->second;
}

}  // namespace tessaron
