// Reads an existing config.inc back into the settings window: the key table
// names each known key's field in the settings record and its effect on the
// window.
#include <vector>

#include "app/SettingsWindow.h"
#include "platform/Failure.h"
#include "platform/MetabasePaths.h"
#include "platform/WindowsPath.h"
#include "settings/ConfigFileReader.h"

namespace tessaron::app {
namespace {

enum class Effect {
    None,
    Text,           // the text of a text box
    Select,         // SearchComboForValue on a list
    Switch,         // tick or clear a box, then enable or disable the listed controls
    TickOnly,       // tick a box on "true", otherwise leave it
    InternalIP,     // text of txtInternalIP, then chkInternalIP by comparison with ServerIP
    FtpServerType,  // select, then show the matching FTP controls
    SiteLookup,     // the site's ServerComment selected in a list
};

struct KeyEntry {
    const char* key;
    std::string SettingsRecord::*field;
    Effect effect;
    const char* control = nullptr;
    std::vector<const char*> controls = {};  // Switch: listed controls; SiteLookup: service path
};

const std::vector<KeyEntry>& keyTable() {
    using S = SettingsRecord;
    static const std::vector<KeyEntry> table = {
        {"controlpaneltitle", &S::ControlPanelTitle, Effect::Text, "txtControlPanelTitle"},
        {"mainserverip", &S::ServerIP, Effect::Text, "txtMainIP"},
        // The file's own keys for the two addresses, so a file this program
        // wrote keeps its addresses when read back.
        {"serverip", &S::ServerIP, Effect::Text, "txtMainIP"},
        {"maininternalip", &S::InternalIP, Effect::InternalIP, "txtInternalIP"},
        {"internalip", &S::InternalIP, Effect::InternalIP, "txtInternalIP"},
        {"maincompanyname", &S::MainCompanyName, Effect::Text, "txtMainCompanyName"},
        {"maincontactemail", &S::MainContactEmail, Effect::Text, "txtMainContactEmail"},
        {"serverroot", &S::ServerRoot, Effect::Text, "txtServerRoot"},
        {"logroot", &S::LogRoot, Effect::Text, "txtLogRoot"},
        {"customerport", &S::CustomerPort, Effect::Text, "txtCustomerPort"},
        {"resellerport", &S::ResellerPort, Effect::Text, "txtResellerPort"},
        {"statisticstype", &S::StatisticsType, Effect::Select, "cmbStatisticsType"},
        {"ftpservertype", &S::FTPServerType, Effect::FtpServerType, "cmbFTPServerType"},
        {"ftpserverpath", &S::FTPServerPath, Effect::Text, "txtFTPServerPath"},
        {"ftplinkpath", &S::FTPLinkPath, Effect::None},
        {"defaultpanelstyle", &S::DefaultPanelStyle, Effect::Select, "cmbDefaultPanelStyle"},
        {"oversellallowed", &S::OversellAllowed, Effect::TickOnly, "chkOversellAllowed"},
        {"adminusername", &S::AdminUsername, Effect::Text, "txtAdminUsername"},
        {"adminpassword", &S::AdminPassword, Effect::Text, "txtAdminPassword"},
        {"mainsqlservertype", &S::MainSQLServerType, Effect::Select, "cmbMainSQLServerType"},
        {"maindatabaseip", &S::MainDatabaseIP, Effect::Text, "txtMainDatabaseIP"},
        {"maindatabasename", &S::MainDatabaseName, Effect::Text, "txtMainDatabaseName"},
        {"maindatabaseusername", &S::MainDatabaseUsername, Effect::Text, "txtMainDatabaseUsername"},
        {"maindatabasepassword", &S::MainDatabasePassword, Effect::Text, "txtMainDatabasePassword"},
        {"mailservertype", &S::MailServerType, Effect::Select, "cmbMailServerType"},
        {"mailserverip", &S::MailServerIP, Effect::Text, "txtMailServerIP"},
        {"webmailurl", &S::WebmailURL, Effect::Text, "txtWebmailURL"},
        {"mailserverdir", &S::MailServerDir, Effect::Text, "txtMailServerDir"},
        {"maximummailboxsize", &S::MaximumMailboxSize, Effect::Text, "txtMaximumMailboxSize"},
        {"dnsserver", &S::DNSServer, Effect::Select, "cmbDNSServer"},
        {"adminemail", &S::AdminEmail, Effect::Text, "txtAdminEmail"},
        {"defaultprimarydns", &S::DefaultPrimaryDNS, Effect::Text, "txtPrimaryDNS"},
        {"defaultprimarydnsip", &S::DefaultPrimaryDNSIP, Effect::Text, "txtPrimaryDNSIP"},
        {"defaultsecondarydns", &S::DefaultSecondaryDNS, Effect::Text, "txtSecondaryDNS"},
        {"defaultsecondarydnsip", &S::DefaultSecondaryDNSIP, Effect::Text, "txtSecondaryDNSIP"},
        {"dnsroot", &S::DNSRoot, Effect::Text, "txtDNSRoot"},
        {"mssqlactive", &S::MSSQLActive, Effect::TickOnly, "chkMSSQLActive"},
        {"sqlserverip", &S::SQLServerIP, Effect::Text, "txtSQLServerIP"},
        {"sqlserveradminusername", &S::SQLServerAdminUsername, Effect::Text,
         "txtSQLServerAdminUsername"},
        {"sqlserveradminpassword", &S::SQLServerAdminPassword, Effect::Text,
         "txtSQLServerAdminPassword"},
        {"sqlserverdatapath", &S::SQLServerDataPath, Effect::Text, "txtSQLServerDataPath"},
        {"mysqlactive", &S::MySQLActive, Effect::TickOnly, "chkMySQLActive"},
        {"mysqlip", &S::MySQLIP, Effect::Text, "txtMySQLIP"},
        {"mysqladminusername", &S::MySQLAdminUsername, Effect::Text, "txtMySQLAdminUsername"},
        {"mysqladminpassword", &S::MySQLAdminPassword, Effect::Text, "txtMySQLAdminPassword"},
        {"mysqldatapath", &S::MySQLDataPath, Effect::Text, "txtMySQLDataPath"},
        {"sharedsecureserver", &S::SharedSecureServer, Effect::Text, "txtSharedSecureServer"},
        {"phplocation", &S::PHPLocation, Effect::Text, "txtPHPLocation"},
        {"perllocation", &S::PerlLocation, Effect::Text, "txtPerlLocation"},
        {"mainftpsvc",
         &S::MainFTPSVC,
         Effect::SiteLookup,
         "cmbMainFTPSVC",
         {iis_paths::kFtpService}},
        {"sharedsecuresvc",
         &S::SharedSecureSVC,
         Effect::SiteLookup,
         "cmbSharedSecureSVC",
         {iis_paths::kWebService}},
        {"previewsvc",
         &S::PreviewSVC,
         Effect::SiteLookup,
         "cmbPreviewSVC",
         {iis_paths::kWebService}},
        {"enablestatistics",
         &S::EnableStatistics,
         Effect::Switch,
         "chkStatistics",
         {"cmbStatisticsType"}},
        {"enablesharedsecure",
         &S::EnableSharedSecure,
         Effect::Switch,
         "chkSharedSecure",
         {"cmbSharedSecureSVC", "lblSharedSecureURL", "txtSharedSecureServer"}},
        {"enablephp", &S::EnablePHP, Effect::Switch, "chkPHP", {"txtPHPLocation", "btnPHP"}},
        {"enableperl", &S::EnablePerl, Effect::Switch, "chkPerl", {"txtPerlLocation", "btnPerl"}},
        {"enablewebsitepreview",
         &S::EnableWebsitePreview,
         Effect::Switch,
         "chkWebsitePreview",
         {"cmbPreviewSVC"}},
        {"enablewebmail", &S::EnableWebmail, Effect::Switch, "chkWebmail", {"txtWebmailURL"}},
        {"mailserverenabled", &S::MailServerEnabled, Effect::Switch, "chkMailServerEnabled"},
        {"ftpserverenabled", &S::FTPServerEnabled, Effect::Switch, "chkFTPServerEnabled"},
        {"dnsserverenabled", &S::DNSServerEnabled, Effect::Switch, "chkDNSServerEnabled"},
    };
    return table;
}

const KeyEntry* findKey(const std::string& key) {
    for (const auto& entry : keyTable()) {
        if (key == entry.key) return &entry;
    }
    return nullptr;
}

}  // namespace

void SettingsWindow::ReadExistingConfiguration(const std::string& path) {
    const std::string text = platform_.Files().ReadTextFile(path);
    for (const auto& line : parseConfigLines(text)) {
        const KeyEntry* entry = findKey(line.key);
        if (!entry) continue;
        const std::string& value = line.value;
        settings_.*(entry->field) = value;
        const bool isTrue = asciiLower(value) == "true";

        switch (entry->effect) {
            case Effect::None:
                break;
            case Effect::Text:
                controls_.setText(entry->control, value);
                break;
            case Effect::Select:
                SearchComboForValue(controls_, entry->control, value);
                break;
            case Effect::Switch:
                controls_.setChecked(entry->control, isTrue ? kChecked : kUnchecked);
                for (const char* name : entry->controls) controls_.setEnabled(name, isTrue);
                break;
            case Effect::TickOnly:
                if (isTrue) controls_.setChecked(entry->control, kChecked);
                break;
            case Effect::InternalIP:
                controls_.setText(entry->control, value);
                controls_.setChecked("chkInternalIP", settings_.InternalIP != settings_.ServerIP
                                                          ? kChecked
                                                          : kUnchecked);
                break;
            case Effect::FtpServerType: {
                SearchComboForValue(controls_, entry->control, value);
                const bool microsoft = value == "Microsoft FTP";
                if (microsoft || value == "BulletProof FTP") {
                    controls_.setVisible("cmbMainFTPSVC", microsoft);
                    controls_.setVisible("lblMainFTPSVC", microsoft);
                    controls_.setVisible("txtFTPServerPath", !microsoft);
                    controls_.setVisible("btnFTPServerPath", !microsoft);
                    controls_.setVisible("lblFTPServerPath", !microsoft);
                }
                break;
            }
            case Effect::SiteLookup:
                try {
                    auto site =
                        platform_.Iis().Open(std::string(entry->controls.front()) + "/" + value);
                    SearchComboForValue(controls_, entry->control,
                                        metabaseValueText(site->Get("ServerComment")));
                } catch (const PlatformError&) {
                    // A number that names no site leaves the list as it was.
                }
                break;
        }
    }
}

}  // namespace tessaron::app
