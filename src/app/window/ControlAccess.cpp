// How the forms' controls are reached by keyboard and announced by screen
// readers (a captioned control is announced by its caption; the names here
// are for the others): each captioned control's mnemonic (unique among what Alt can
// reach while its tab shows: the tab strip, the window's own controls and
// the tab's controls), the field each label names, the names of controls
// that have no caption of their own, the masked fields and the notes shown
// beside a field.
#include <cctype>

#include "app/window/ControlCatalogue.h"

namespace tessaron::app::window {
namespace {

// A label or captioned control, its letter and (labels) the field it names.
struct Mnemonic {
    const char* control;
    char letter;
    const char* buddy = nullptr;
};

const std::vector<Mnemonic>& mainMnemonics() {
    static const std::vector<Mnemonic> table = {
        {"btnInstall", 'C'},
        // General
        {"Label16", 'u', "txtCustomerPort"},
        {"Label1", 'l', "txtControlPanelTitle"},
        {"Label17", 'r', "txtResellerPort"},
        {"Label2", 'o', "txtMainCompanyName"},
        {"chkStatistics", 'b'},
        {"Label3", 'e', "txtMainContactEmail"},
        {"Label18", 'f', "cmbDefaultPanelStyle"},
        {"Label5", 'a', "txtServerRoot"},
        {"chkOversellAllowed", 'v'},
        {"Label6", 'y', "txtLogRoot"},
        {"Label45", 's', "txtAdminUsername"},
        {"lblMainIP", 'i', "txtMainIP"},
        {"chkInternalIP", 't'},
        {"Label44", 'p', "txtAdminPassword"},
        // Database
        {"Label8", 's', "cmbMainSQLServerType"},
        {"Label10", 'a', "txtMainDatabaseIP"},
        {"Label11", 't', "txtMainDatabaseName"},
        {"Label12", 'u', "txtMainDatabaseUsername"},
        {"Label9", 'p', "txtMainDatabasePassword"},
        // Mail Server
        {"chkMailServerEnabled", 'e'},
        {"lblMailServerType", 't', "cmbMailServerType"},
        {"lblMailServerIP", 's', "txtMailServerIP"},
        {"chkWebmail", 'a'},
        {"lblMailServerDir", 'i', "txtMailServerDir"},
        {"lblMaximumMailboxSize", 'x', "txtMaximumMailboxSize"},
        // DNS Server
        {"chkDNSServerEnabled", 'e'},
        {"lblDNSServer", 's', "cmbDNSServer"},
        {"lblAdminEmail", 'a', "txtAdminEmail"},
        {"lblPrimaryDNS", 'r', "txtPrimaryDNS"},
        {"lblPrimaryDNSIP", 'i', "txtPrimaryDNSIP"},
        {"lblDNSRoot", 'y', "txtDNSRoot"},
        {"lblSecondaryDNS", 'o', "txtSecondaryDNS"},
        {"lblSecondaryDNSIP", 'p', "txtSecondaryDNSIP"},
        // SQL Server
        {"chkMSSQLActive", 'b'},
        {"chkMySQLActive", 'l'},
        {"lblSQLServer1", 's', "txtSQLServerIP"},
        {"lblMySQL1", 'a', "txtMySQLIP"},
        {"lblSQLServer2", 'u', "txtSQLServerAdminUsername"},
        {"lblMySQL2", 'e', "txtMySQLAdminUsername"},
        {"lblSQLServer3", 'p', "txtSQLServerAdminPassword"},
        {"lblMySQL3", 'r', "txtMySQLAdminPassword"},
        {"lblSQLServer4", 'v', "txtSQLServerDataPath"},
        {"lblMySQL4", 't', "txtMySQLDataPath"},
        // FTP/Web
        {"chkFTPServerEnabled", 'f'},
        {"lblFTPServerPath", 't', "txtFTPServerPath"},
        {"lblMainFTPSVC", 's', "cmbMainFTPSVC"},
        {"Label46", 'o', "cmbControlPanelSite"},
        {"chkSharedSecure", 'h'},
        {"lblSharedSecureURL", 'u', "txtSharedSecureServer"},
        {"chkWebsitePreview", 'p'},
        {"chkPHP", 'e'},
        {"chkPerl", 'r'},
    };
    return table;
}

const std::vector<Mnemonic>& installMnemonics() {
    static const std::vector<Mnemonic> table = {
        {"chkCreateTasks", 't'},
        {"chkInitDB", 'i'},
        {"chkSetupIIS", 's'},
    };
    return table;
}

// Controls without a caption or label of their own: what they are called.
struct SpokenName {
    const char* control;
    const char* name;
};

const std::vector<SpokenName>& spokenNames() {
    static const std::vector<SpokenName> table = {
        {"SSTab1", "Settings"},
        {"cmbStatisticsType", "Statistics Software"},
        {"txtInternalIP", "Internal IP"},
        {"btnServerRoot", "Browse for the Accounts Directory"},
        {"btnLogRoot", "Browse for the IIS Log File Directory"},
        {"txtWebmailURL", "Webmail Address"},
        {"cmdChooseMailServerDir", "Browse for the Mail Server Directory"},
        {"cmdDNSRoot", "Browse for the Primary DNS Data Directory"},
        {"btnSQLServerDataPath", "Browse for the SQL Server Data Path"},
        {"btnMySQLDataPath", "Browse for the MySQL Data Path"},
        {"cmbFTPServerType", "FTP Server Type"},
        {"btnFTPServerPath", "Browse for the FTP Server Directory"},
        {"cmbSharedSecureSVC", "Shared Secure Site"},
        {"cmbPreviewSVC", "Website Preview Site"},
        {"txtPHPLocation", "PHP Executable"},
        {"btnPHP", "Browse for the PHP Executable"},
        {"txtPerlLocation", "Perl Executable"},
        {"btnPerl", "Browse for the Perl Executable"},
        {"txtProgress", "Progress Log"},
    };
    return table;
}

const char* const kSecretFields[] = {"txtAdminPassword", "txtMainDatabasePassword",
                                     "txtSQLServerAdminPassword", "txtMySQLAdminPassword"};

// Where a port other than the driver's default goes.
constexpr const char* kDatabaseAddressHint = "MySQL on another port: 10.0.0.5;Port=3307";

// "Customer Panel Port:" and "Enable Statistics: " are read without the
// colon and the blanks.
std::string spoken(std::string caption) {
    while (!caption.empty() && (caption.back() == ' ' || caption.back() == ':')) caption.pop_back();
    return caption;
}

ControlDesign* find(FormDesign& form, const char* name) {
    for (auto& design : form.controls) {
        if (design.name == name) return &design;
    }
    return nullptr;
}

void applyMnemonics(FormDesign& form, const std::vector<Mnemonic>& table) {
    for (const auto& entry : table) {
        ControlDesign* design = find(form, entry.control);
        if (!design) continue;
        design->mnemonic = entry.letter;
        if (!entry.buddy) continue;
        design->buddy = entry.buddy;
        if (ControlDesign* field = find(form, entry.buddy)) {
            field->accessibleName = spoken(design->caption);
        }
    }
}

}  // namespace

std::string mnemonicCaption(const std::string& caption, char mnemonic) {
    std::string out;
    bool marked = mnemonic == 0;
    const auto wanted = std::tolower(static_cast<unsigned char>(mnemonic));
    for (char c : caption) {
        if (c == '&') {
            out += "&&";
            continue;
        }
        if (!marked && std::tolower(static_cast<unsigned char>(c)) == wanted) {
            out += '&';
            marked = true;
        }
        out += c;
    }
    return out;
}

void describeAccess(FormDesign& form) {
    if (form.name == "frmMain") {
        form.tabMnemonics = "gdmnqw";
        applyMnemonics(form, mainMnemonics());
        for (const char* name : kSecretFields) find(form, name)->secret = true;
        find(form, "txtMainDatabaseIP")->hint = kDatabaseAddressHint;
    } else if (form.name == "frmInstall") {
        applyMnemonics(form, installMnemonics());
    }
    for (const auto& entry : spokenNames()) {
        if (ControlDesign* design = find(form, entry.control)) design->accessibleName = entry.name;
    }
}

}  // namespace tessaron::app::window
