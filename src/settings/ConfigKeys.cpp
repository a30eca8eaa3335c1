#include "settings/ConfigKeys.h"

#include <map>

#include "platform/MetabasePaths.h"
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
using E = ReadEffect;
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
        {"ServerIP", Q, &S::ServerIP, E::Text, "txtMainIP", {}, nullptr, {"mainserverip"}},
        {"InternalIP",
         Q,
         &S::InternalIP,
         E::InternalIP,
         "txtInternalIP",
         {"chkInternalIP"},
         nullptr,
         {"maininternalip"}},
        {.name = "PanelRoot", .form = Q, .value = panelRoot},
        {"ControlPanelTitle", Q, &S::ControlPanelTitle, E::Text, "txtControlPanelTitle"},
        {"CustomerPort", B, &S::CustomerPort, E::Text, "txtCustomerPort"},
        {"ResellerPort", B, &S::ResellerPort, E::Text, "txtResellerPort"},
        {"MainCompanyName", Q, &S::MainCompanyName, E::Text, "txtMainCompanyName"},
        {"MainContactEmail", Q, &S::MainContactEmail, E::Text, "txtMainContactEmail"},
        {"OversellAllowed", Q, &S::OversellAllowed, E::TickOnly, "chkOversellAllowed"},
        {.name = "ShowAllServerTickets", .form = Q, .value = alwaysTrue},
        {.name = "ShowAllServerNotices", .form = Q, .value = alwaysTrue},
        {"DefaultPanelStyle", Q, &S::DefaultPanelStyle, E::Select, "cmbDefaultPanelStyle"},
        // The anonymous account's name, built by the panel from the ServerName line.
        {"AnonUser = ServerName & \"\\IUSR_\" & ServerName", L},
        {"AdminUsername", Q, &S::AdminUsername, E::Text, "txtAdminUsername"},
        {"AdminPassword", Q, &S::AdminPassword, E::Text, "txtAdminPassword"},
        {"ServerRoot",
         Q,
         &S::ServerRoot,
         E::Text,
         "txtServerRoot",
         {},
         withBackslash<&S::ServerRoot>},
        {"LogRoot", Q, &S::LogRoot, E::Text, "txtLogRoot", {}, withBackslash<&S::LogRoot>},
        {.name = "FrontPage2002Path", .form = Q, .value = frontPage2002Path},
        {.name = "TempFolder", .form = Q, .value = tempFolder},
        {"' TESSARON DATABASE CONFIGURATION", L},
        {"MainSQLServerType", Q, &S::MainSQLServerType, E::Select, "cmbMainSQLServerType"},
        {"MainDatabaseIP", Q, &S::MainDatabaseIP, E::Text, "txtMainDatabaseIP"},
        {"MainDatabaseName", Q, &S::MainDatabaseName, E::Text, "txtMainDatabaseName"},
        {"MainDatabaseUsername", Q, &S::MainDatabaseUsername, E::Text, "txtMainDatabaseUsername"},
        {"MainDatabasePassword", Q, &S::MainDatabasePassword, E::Text, "txtMainDatabasePassword"},
        {"' STATISTICS CONFIGURATION", L},
        {"EnableStatistics",
         B,
         &S::EnableStatistics,
         E::Switch,
         "chkStatistics",
         {"cmbStatisticsType"}},
        {"StatisticsType", Q, &S::StatisticsType, E::Select, "cmbStatisticsType"},
        {"StatsRoot", Q, &S::StatsRoot},
        {"StatsDataRoot", Q, &S::StatsDataRoot},
        {"StatsFileRoot", Q, &S::StatsFileRoot},
        {"' MAIL SERVER CONFIGURATION", L},
        {"MailServerEnabled", B, &S::MailServerEnabled, E::Switch, "chkMailServerEnabled"},
        {"MailServerType", Q, &S::MailServerType, E::Select, "cmbMailServerType"},
        {"MailServerIP", Q, &S::MailServerIP, E::Text, "txtMailServerIP"},
        {"MailServerDir", Q, &S::MailServerDir, E::Text, "txtMailServerDir"},
        {"EnableWebmail", B, &S::EnableWebmail, E::Switch, "chkWebmail", {"txtWebmailURL"}},
        {"WebmailURL", Q, &S::WebmailURL, E::Text, "txtWebmailURL"},
        {"MaximumMailboxSize", Q, &S::MaximumMailboxSize, E::Text, "txtMaximumMailboxSize"},
        {"' DNS SERVER CONFIGURATION", L},
        {"DNSServerEnabled", B, &S::DNSServerEnabled, E::Switch, "chkDNSServerEnabled"},
        {"DNSServer", Q, &S::DNSServer, E::Select, "cmbDNSServer"},
        {"AdminEmail", Q, &S::AdminEmail, E::Text, "txtAdminEmail"},
        {"DefaultPrimaryDNS", Q, &S::DefaultPrimaryDNS, E::Text, "txtPrimaryDNS"},
        {"DefaultPrimaryDNSIP", Q, &S::DefaultPrimaryDNSIP, E::Text, "txtPrimaryDNSIP"},
        {"DNSRoot", Q, &S::DNSRoot, E::Text, "txtDNSRoot"},
        {"DefaultSecondaryDNS", Q, &S::DefaultSecondaryDNS, E::Text, "txtSecondaryDNS"},
        {"DefaultSecondaryDNSIP", Q, &S::DefaultSecondaryDNSIP, E::Text, "txtSecondaryDNSIP"},
        {"' SQL SERVER CONFIGURATION", L},
        {"MSSQLActive", B, &S::MSSQLActive, E::TickOnly, "chkMSSQLActive"},
        {"SQLServerAdminUsername", Q, &S::SQLServerAdminUsername, E::Text,
         "txtSQLServerAdminUsername"},
        {"SQLServerAdminPassword", Q, &S::SQLServerAdminPassword, E::Text,
         "txtSQLServerAdminPassword"},
        {"SQLServerIP", Q, &S::SQLServerIP, E::Text, "txtSQLServerIP"},
        {"SQLServerDataPath", Q, &S::SQLServerDataPath, E::Text, "txtSQLServerDataPath"},
        // The MySQL lines stand under the SQL Server banner.
        {"MySQLActive", B, &S::MySQLActive, E::TickOnly, "chkMySQLActive"},
        {"MySQLAdminUsername", Q, &S::MySQLAdminUsername, E::Text, "txtMySQLAdminUsername"},
        {"MySQLAdminPassword", Q, &S::MySQLAdminPassword, E::Text, "txtMySQLAdminPassword"},
        {"MySQLIP", Q, &S::MySQLIP, E::Text, "txtMySQLIP"},
        {"MySQLDataPath", Q, &S::MySQLDataPath, E::Text, "txtMySQLDataPath"},
        {"' SCRIPTING CONFIGURATION", L},
        {"EnablePHP", B, &S::EnablePHP, E::Switch, "chkPHP", {"txtPHPLocation", "btnPHP"}},
        {"PHPLocation", Q, &S::PHPLocation, E::Text, "txtPHPLocation"},
        {"EnablePerl", B, &S::EnablePerl, E::Switch, "chkPerl", {"txtPerlLocation", "btnPerl"}},
        {"PerlLocation", Q, &S::PerlLocation, E::Text, "txtPerlLocation"},
        {"FTPServerEnabled", LineForm::RawBare, &S::FTPServerEnabled, E::Switch,
         "chkFTPServerEnabled"},

        // The site lines, in the order the append step writes them.
        {"MainFTPSVC",
         After,
         &S::MainFTPSVC,
         E::SiteLookup,
         "cmbMainFTPSVC",
         {iis_paths::kFtpService}},
        {"EnableSharedSecure",
         After,
         &S::EnableSharedSecure,
         E::Switch,
         "chkSharedSecure",
         {"cmbSharedSecureSVC", "lblSharedSecureURL", "txtSharedSecureServer"}},
        {"SharedSecureServer", After, &S::SharedSecureServer, E::Text, "txtSharedSecureServer"},
        {"SharedSecureSVC",
         After,
         &S::SharedSecureSVC,
         E::SiteLookup,
         "cmbSharedSecureSVC",
         {iis_paths::kWebService}},
        {"EnableWebsitePreview",
         After,
         &S::EnableWebsitePreview,
         E::Switch,
         "chkWebsitePreview",
         {"cmbPreviewSVC"}},
        {"PreviewSVC",
         After,
         &S::PreviewSVC,
         E::SiteLookup,
         "cmbPreviewSVC",
         {iis_paths::kWebService}},

        // The FTP server's type and folders, which this program keeps out of
        // the file.
        {"FTPServerType", Unwritten, &S::FTPServerType, E::FtpServerType, "cmbFTPServerType"},
        {"FTPServerPath", Unwritten, &S::FTPServerPath, E::Text, "txtFTPServerPath"},
        {"FTPLinkPath", Unwritten, &S::FTPLinkPath, E::FieldOnly},
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
            if (key.effect == ReadEffect::NotRead) continue;
            names.emplace(asciiLower(key.name), &key);
            for (const char* alias : key.readAliases) names.emplace(alias, &key);
        }
        return names;
    }();
    const auto found = byName.find(lowerKey);
    return found == byName.end() ? nullptr : found->second;
}

}  // namespace tessaron
