#include "app/window/ControlCatalogue.h"

#include <utility>

namespace tessaron::app::window {
namespace {

ControlDesign make(std::string name, ControlKind kind, int tab, std::string caption, int left,
                   int top, int width, int height) {
    ControlDesign design;
    design.name = std::move(name);
    design.kind = kind;
    design.tab = tab;
    design.caption = std::move(caption);
    design.place = {left, top, width, height};
    return design;
}

// Short builders so the tables below read like the designed forms.
struct Builder {
    std::vector<ControlDesign>& controls;
    int tab;

    ControlDesign& add(ControlDesign design) {
        controls.push_back(std::move(design));
        return controls.back();
    }
    ControlDesign& label(std::string name, std::string caption, int l, int t, int w, int h) {
        return add(make(std::move(name), ControlKind::Label, tab, std::move(caption), l, t, w, h));
    }
    ControlDesign& text(std::string name, std::string initial, int l, int t, int w, int h) {
        return add(
            make(std::move(name), ControlKind::TextBox, tab, std::move(initial), l, t, w, h));
    }
    ControlDesign& check(std::string name, std::string caption, int l, int t, int w, int h,
                         int value) {
        auto& design =
            add(make(std::move(name), ControlKind::CheckBox, tab, std::move(caption), l, t, w, h));
        design.checked = value;
        return design;
    }
    ControlDesign& list(std::string name, int l, int t, int w, int h) {
        return add(make(std::move(name), ControlKind::DropDownList, tab, "", l, t, w, h));
    }
    ControlDesign& button(std::string name, std::string caption, int l, int t, int w, int h) {
        return add(make(std::move(name), ControlKind::Button, tab, std::move(caption), l, t, w, h));
    }
};

ControlDesign& disabled(ControlDesign& design) {
    design.enabled = false;
    return design;
}

void addGeneralTab(std::vector<ControlDesign>& controls) {
    Builder b{controls, 0};
    b.label("lblPanelRoot", "Label1", 240, 435, 480, 195);
    b.label("lblServerName", "Label1", 240, 675, 480, 195);
    b.label("Label16", "Customer Panel Port:", 4095, 720, 1485, 195);
    b.text("txtCustomerPort", "2100", 5670, 660, 1935, 285);
    b.label("Label1", "Control Panel Title:", 240, 1035, 1335, 195);
    b.text("txtControlPanelTitle", "", 1830, 990, 1935, 285);
    b.label("Label17", "Reseller Panel Port:", 4080, 1050, 1395, 195);
    b.text("txtResellerPort", "2101", 5670, 1005, 1935, 285);
    b.label("Label2", "Company Name:", 240, 1365, 1335, 195);
    b.text("txtMainCompanyName", "", 1830, 1320, 1935, 285);
    b.check("chkStatistics", "Enable Statistics: ", 4065, 1350, 1575, 300, kChecked);
    b.list("cmbStatisticsType", 5670, 1320, 1950, 315);
    b.label("Label3", "Contact E-Mail:", 240, 1695, 1335, 195);
    b.text("txtMainContactEmail", "", 1830, 1650, 1935, 285);
    b.label("Label18", "Default Panel Style:", 4080, 1740, 1395, 195);
    b.list("cmbDefaultPanelStyle", 5670, 1680, 1950, 315);
    b.label("Label5", "Accounts Directory:", 240, 2040, 1395, 135);
    b.text("txtServerRoot", "", 1830, 1995, 2415, 285);
    b.button("btnServerRoot", "...", 4320, 2040, 255, 240);
    b.check("chkOversellAllowed", "Allow Overselling Of Space", 4680, 2025, 2895, 255, kUnchecked);
    b.label("Label6", "IIS Log File Directory:", 240, 2370, 1515, 255);
    b.text("txtLogRoot", "", 1830, 2340, 2415, 285);
    b.button("btnLogRoot", "...", 4320, 2400, 255, 240);
    b.label("Label45", "Server Username:", 4680, 2370, 1275, 195);
    b.text("txtAdminUsername", "Administrator", 6000, 2325, 1575, 285);
    b.label("lblMainIP", "Main IP:", 225, 2745, 615, 195);
    b.text("txtMainIP", "", 855, 2715, 1320, 285).maxLength = 15;
    b.check("chkInternalIP", "Internal IP:", 2190, 2715, 1095, 300, kGreyed);
    disabled(b.text("txtInternalIP", "", 3330, 2715, 1320, 285)).maxLength = 15;
    b.label("Label44", "Server Password:", 4680, 2700, 1245, 195);
    b.text("txtAdminPassword", "", 6000, 2655, 1575, 285);
}

void addDatabaseTab(std::vector<ControlDesign>& controls) {
    Builder b{controls, 1};
    b.label("Label8", "Main Database Server Type:", 240, 525, 2040, 195);
    b.list("cmbMainSQLServerType", 2340, 480, 1455, 315).entries = {"SQL Server", "MySQL"};
    b.label("Label10", "Database Address:", 240, 930, 1350, 195);
    b.text("txtMainDatabaseIP", "", 1830, 885, 1935, 285);
    b.label("Label11", "Database Name:", 240, 1260, 1200, 195);
    b.text("txtMainDatabaseName", "", 1830, 1215, 1935, 285);
    b.label("Label12", "Database Username:", 240, 1590, 1500, 195);
    b.text("txtMainDatabaseUsername", "", 1830, 1545, 1935, 285);
    b.label("Label9", "Database Password:", 240, 1920, 1470, 195);
    b.text("txtMainDatabasePassword", "", 1830, 1875, 1935, 285);
    b.label("Label13", "NOTE: This database, username and password should already exist!", 240,
            2325, 4830, 195);
    b.label("Label14", "For MySQL to work, the MySQL ODBC driver must be installed.", 240, 2565,
            4440, 195);
}

void addMailTab(std::vector<ControlDesign>& controls) {
    Builder b{controls, 2};
    b.check("chkMailServerEnabled", "Enable Mail Server", 150, 420, 1890, 255, kChecked);
    b.label("lblMailServerType", "Mail Server Type:", 165, 810, 1335, 195);
    b.list("cmbMailServerType", 1755, 765, 1950, 315);
    b.label("lblMailServerIP", "Mail Server IP:", 165, 1140, 1335, 195);
    b.text("txtMailServerIP", "", 1755, 1080, 1935, 285);
    b.check("chkWebmail", "Webmail Available At: ", 150, 1455, 1890, 255, kChecked);
    b.text("txtWebmailURL", "http://mail.<$DOMAINNAME$>", 2055, 1425, 3375, 285);
    b.label("lblMailServerDir", "Mail Server Directory:", 165, 1800, 1515, 195);
    b.text("txtMailServerDir", "", 1755, 1755, 2895, 285);
    b.button("cmdChooseMailServerDir", "...", 4755, 1770, 255, 255);
    b.label("lblMaximumMailboxSize", "Max. Mailbox Size:", 165, 2130, 1320, 195);
    b.text("txtMaximumMailboxSize", "", 1755, 2100, 570, 285);
    b.label("Label33", "megabytes", 2400, 2145, 765, 195);
    b.label("lblWebmailURL",
            "In the webmail URL, <$DOMAINNAME$> will be replaced by the domain name accessing "
            "email.",
            165, 2445, 6780, 195);
}

void addDnsTab(std::vector<ControlDesign>& controls) {
    Builder b{controls, 3};
    b.check("chkDNSServerEnabled", "Enable DNS Server", 150, 420, 1890, 255, kChecked);
    b.label("lblDNSServer", "DNS Server Type:", 150, 840, 1335, 195);
    b.list("cmbDNSServer", 1740, 795, 1950, 315);
    b.label("lblAdminEmail", "DNS Admin E-Mail:", 150, 1170, 1350, 195);
    b.text("txtAdminEmail", "", 1740, 1125, 1935, 285);
    b.label("lblPrimaryDNS", "Primary DNS Server:", 150, 1500, 1455, 195);
    b.text("txtPrimaryDNS", "", 1950, 1455, 2355, 285);
    b.label("lblPrimaryDNSIP", "IP:", 4410, 1485, 1335, 195);
    b.text("txtPrimaryDNSIP", "", 4680, 1455, 2355, 285);
    b.label("lblDNSRoot", "Primary DNS Data Directory:", 150, 1815, 2010, 195);
    b.text("txtDNSRoot", "", 2550, 1770, 2895, 285);
    b.button("cmdDNSRoot", "...", 5535, 1755, 255, 255);
    b.label("lblSecondaryDNS", "Secondary DNS Server:", 150, 2130, 1710, 195);
    b.text("txtSecondaryDNS", "", 1935, 2085, 2355, 285);
    b.label("lblSecondaryDNSIP", "IP:", 4395, 2115, 1335, 195);
    b.text("txtSecondaryDNSIP", "", 4665, 2085, 2355, 285);
    b.label("lblDNSWMI",
            "NOTE: For Microsoft DNS to function properly in Windows 2000, the DNS WMI provider "
            "must be installed.",
            150, 2475, 7485, 195);
}

void addSqlServerTab(std::vector<ControlDesign>& controls) {
    Builder b{controls, 4};
    b.check("chkMSSQLActive", "Enable SQL Server Databases", 150, 435, 2655, 255, kUnchecked);
    b.check("chkMySQLActive", "Enable MySQL Databases", 3975, 435, 2655, 255, kUnchecked);
    disabled(b.label("lblSQLServer1", "Server Address:", 150, 840, 1125, 195));
    disabled(b.text("txtSQLServerIP", "", 1740, 810, 1935, 285));
    disabled(b.label("lblMySQL1", "Server Address:", 4110, 840, 1125, 195));
    disabled(b.text("txtMySQLIP", "", 5580, 810, 1935, 285));
    disabled(b.label("lblSQLServer2", "Server Username:", 150, 1170, 1275, 195));
    disabled(b.text("txtSQLServerAdminUsername", "", 1740, 1140, 1935, 285));
    disabled(b.label("lblMySQL2", "Server Username:", 4110, 1170, 1275, 195));
    disabled(b.text("txtMySQLAdminUsername", "", 5580, 1140, 1935, 285));
    disabled(b.label("lblSQLServer3", "Server Password:", 150, 1500, 1245, 195));
    disabled(b.text("txtSQLServerAdminPassword", "", 1740, 1470, 1935, 285));
    disabled(b.label("lblMySQL3", "Server Password:", 4110, 1500, 1245, 195));
    disabled(b.text("txtMySQLAdminPassword", "", 5580, 1470, 1935, 285));
    disabled(b.label("lblSQLServer4", "Server Data Path:", 150, 1830, 1275, 195));
    disabled(b.text("txtSQLServerDataPath", "", 1740, 1785, 1935, 285));
    b.button("btnSQLServerDataPath", "...", 3735, 1815, 255, 255);
    disabled(b.label("lblMySQL4", "Server Data Path:", 4110, 1830, 1275, 195));
    disabled(b.text("txtMySQLDataPath", "", 5580, 1770, 1935, 285));
    b.button("btnMySQLDataPath", "...", 7575, 1800, 255, 255);
    b.label("Label29", "NOTE: The username/password should have rights to all database functions.",
            150, 2235, 5460, 195);
    b.label("Label28",
            "The data paths should be local/network paths to the server's data directory.", 150,
            2475, 5355, 195);
    b.label("Label32", "For MySQL to work, the MySQL ODBC driver must be installed.", 150, 2715,
            4440, 195);
}

void addFtpWebTab(std::vector<ControlDesign>& controls) {
    Builder b{controls, 5};
    b.check("chkFTPServerEnabled", "FTP Server Type:", 165, 420, 1590, 315, kChecked);
    b.list("cmbFTPServerType", 1770, 420, 1950, 315);
    b.label("lblFTPUsage", "", 4935, 465, 3105, 2580).multiLine = true;
    b.label("lblFTPServerPath", "FTP Server Directory:", 180, 810, 1530, 195);
    b.label("lblMainFTPSVC", "Microsoft FTP Site:", 195, 810, 1350, 195);
    b.list("cmbMainFTPSVC", 1620, 765, 2565, 315);
    b.text("txtFTPServerPath", "", 1830, 765, 2355, 285);
    b.button("btnFTPServerPath", "...", 4230, 780, 255, 255);
    b.label("Label46", "Control Panel Site:", 180, 1170, 1305, 195);
    b.list("cmbControlPanelSite", 1575, 1125, 2850, 315);
    b.check("chkSharedSecure", "Shared Secure Site:", 180, 1515, 1785, 225, kChecked);
    b.list("cmbSharedSecureSVC", 2055, 1455, 2325, 315);
    b.label("lblSharedSecureURL", "Shared Secure Server URL:", 165, 1830, 1995, 195);
    b.text("txtSharedSecureServer", "", 2205, 1770, 2175, 285);
    b.check("chkWebsitePreview", "Website Preview Site:", 150, 2160, 1890, 195, kChecked);
    b.list("cmbPreviewSVC", 2040, 2085, 2520, 315);
    b.check("chkPHP", "PHP Executable:", 150, 2475, 1545, 225, kChecked);
    b.text("txtPHPLocation", "", 1680, 2430, 2415, 285);
    b.button("btnPHP", "...", 4185, 2460, 255, 255);
    b.check("chkPerl", "Perl Executable:", 150, 2820, 1455, 225, kChecked);
    b.text("txtPerlLocation", "", 1680, 2775, 2415, 285);
    b.button("btnPerl", "...", 4185, 2805, 255, 255);
}

struct HelpText {
    const char* text;
    std::vector<const char*> controls;
};

const std::vector<HelpText>& helpTexts() {
    static const std::vector<HelpText> table = {
        {"The port by which customers access Tessaron via the web at http://SERVERIP:PORT.",
         {"txtCustomerPort", "Label16"}},
        {"Displayed in the title of the control panel on the login page.",
         {"txtControlPanelTitle", "Label1"}},
        {"The port by which resellers access Tessaron via the web at http://SERVERIP:PORT.",
         {"Label17", "txtResellerPort"}},
        {"Displayed in e-mails sent from the site by administrators.",
         {"Label2", "txtMainCompanyName"}},
        {"Check here to enable statistics for Tessaron; if unchecked, it will be unavailable.",
         {"chkStatistics"}},
        {"Choose the type of statistics software to run.", {"cmbStatisticsType"}},
        {"Displayed as the reply-to e-mail for mails sent by administrators to resellers.",
         {"Label3", "txtMainContactEmail"}},
        {"The default style of pages for Tessaron.  This can be changed by each customer and "
         "reseller.",
         {"cmbDefaultPanelStyle", "Label18"}},
        {"The directory where accounts created by resellers are stored.",
         {"txtServerRoot", "Label5"}},
        {"Click here to browse your server for your accounts directory.", {"btnServerRoot"}},
        {"If unchecked, resellers cannot assign more than their alloted space to customer "
         "accounts.",
         {"chkOversellAllowed"}},
        {"The directory where IIS logfiles are stored; this must be the same as specified in IIS "
         "for statistics and rawlogs to work.",
         {"Label6", "txtLogRoot"}},
        {"The Windows user that Tessaron will run under; it is highly recommended to run as "
         "Administrator.",
         {"Label45", "txtAdminUsername"}},
        {"Click here to browse your server for your logfiles directory.", {"btnLogRoot"}},
        {"The password of the Windows user specified above.", {"txtAdminPassword", "Label44"}},
        {"Check here to enable internal IPs", {"chkInternalIP"}},
        {"The type of database that Tessaron's database will run under.",
         {"cmbMainSQLServerType", "Label8"}},
        {"The IP address of the database server used for Tessaron's database.",
         {"txtMainDatabaseIP", "Label10"}},
        {"The name of Tessaron's database.", {"Label11", "txtMainDatabaseName"}},
        {"The name of a database user with full access to Tessaron's database.",
         {"Label12", "txtMainDatabaseUsername"}},
        {"The database user's password.",
         {"txtMainDatabasePassword", "Label9", "txtSQLServerAdminPassword", "txtMySQLAdminPassword",
          "lblSQLServer3", "lblMySQL3"}},
        {"If checked, mail server functions will be available.", {"chkMailServerEnabled"}},
        {"The type of mail server available.", {"cmbMailServerType", "lblMailServerType"}},
        {"The IP address used for the mail server (also used in MX records)",
         {"txtMailServerIP", "lblMailServerIP"}},
        {"If checked, webmail is available at the following URL.", {"chkWebmail"}},
        {"The address of the webmail available; <$DOMAINNAME$> will be replaced by Tessaron with "
         "the account's domain name when displayed.",
         {"txtWebmailURL"}},
        {"The location of the mail server's main program directory on the server.",
         {"txtMailServerDir", "lblMailServerDir"}},
        {"Browse for the location of the mail server's main program directory.",
         {"cmdChooseMailServerDir"}},
        {"The maximum mailbox size, in megabytes, that can be created by a customer.",
         {"lblMaximumMailboxSize", "txtMaximumMailboxSize"}},
        {"If checked, DNS server functions will be available.", {"chkDNSServerEnabled"}},
        {"The type of DNS server used for Tessaron.", {"cmbDNSServer", "lblDNSServer"}},
        {"The DNS administrator e-mail, used in DNS records created by Tessaron.",
         {"lblAdminEmail", "txtAdminEmail"}},
        {"The address of the primary DNS server used by Tessaron.",
         {"txtPrimaryDNS", "lblPrimaryDNS"}},
        {"The IP address of the primary DNS server used by Tessaron.",
         {"lblPrimaryDNSIP", "txtPrimaryDNSIP"}},
        {"The address of the secondary DNS server used by Tessaron.",
         {"txtSecondaryDNS", "lblSecondaryDNS"}},
        {"The IP address of the secondary DNS server used by Tessaron.",
         {"txtSecondaryDNSIP", "lblSecondaryDNSIP"}},
        {"Checking this allows creation of SQL Server databases by customers.", {"chkMSSQLActive"}},
        {"The IP address of the SQL Server available for customers.",
         {"lblSQLServer1", "txtSQLServerIP"}},
        {"The IP address of the MySQL server available for customers.",
         {"lblMySQL1", "txtMySQLIP"}},
        {"A database user with full administrative rights (usually the sa user)",
         {"lblSQLServer2", "txtSQLServerAdminUsername"}},
        {"A database user with full administrative rights (usually the root user)",
         {"lblMySQL2", "txtMySQLAdminUsername"}},
        {"The location on the server where SQL Server databases are stored (network paths are "
         "allowed).",
         {"txtSQLServerDataPath", "lblSQLServer4"}},
        {"The location on the server where MySQL databases are stored (network paths are "
         "allowed).",
         {"txtMySQLDataPath", "lblMySQL4"}},
        {"Browse for your database server data folder.",
         {"btnSQLServerDataPath", "btnMySQLDataPath"}},
        {"The type of FTP server used.", {"cmbFTPServerType"}},
        {"The FTP to use for Tessaron.", {"cmbMainFTPSVC"}},
        {"The location of the FTP server's main program directory.", {"txtFTPServerPath"}},
        {"Browse for the FTP server's main program directory.", {"btnFTPServerPath"}},
        {"The IIS site to use for the Tessaron control panel.", {"Label46", "cmbControlPanelSite"}},
        {"The IIS site to use for the shared secure website, if enabled.", {"cmbSharedSecureSVC"}},
        {"If checked, a shared secure website is available for customers.", {"chkSharedSecure"}},
        {"The main address of the shared secure website, if available.",
         {"txtSharedSecureServer", "lblSharedSecureURL"}},
        {"The IIS site to use for the website preview site.", {"cmbPreviewSVC"}},
        {"If checked, a website preview site is available for customers.", {"chkWebsitePreview"}},
        {"If enabled, PHP is available for customers.", {"chkPHP"}},
        {"The location of the PHP interpreter.", {"txtPHPLocation"}},
        {"Browse for the PHP interpreter.", {"btnPHP"}},
        {"The location of the Perl interpreter.", {"txtPerlLocation"}},
        {"If enabled, Perl is available for CGI-BIN directories.", {"chkPerl"}},
        {"Browse for the Perl interpreter.", {"btnPerl"}},
    };
    return table;
}

FormDesign buildMainForm() {
    FormDesign form;
    form.name = "frmMain";
    form.caption = "Tessaron Configuration Utility";
    form.clientWidth = 8535;
    form.clientHeight = 3915;
    form.tabCaptions = {"General",    "Database",   "Mail Server",
                        "DNS Server", "SQL Server", "FTP/Web"};

    auto& controls = form.controls;
    controls.push_back(make("SSTab1", ControlKind::TabControl, -1, "", 135, 15, 8220, 3240));
    auto& install = controls.emplace_back(
        make("btnInstall", ControlKind::Button, -1, "Configure Tessaron", 5910, 3390, 2430, 375));
    install.helpText = "Click here to begin Tessaron configuration.";
    controls.push_back(make("Label7", ControlKind::Label, -1, "Tessaron Configuration Utility", 165,
                            3465, 2115, 195));
    auto& dialog =
        controls.emplace_back(make("CommonDialog1", ControlKind::FileDialog, -1, "", 0, 0, 0, 0));
    dialog.visible = false;

    addGeneralTab(controls);
    addDatabaseTab(controls);
    addMailTab(controls);
    addDnsTab(controls);
    addSqlServerTab(controls);
    addFtpWebTab(controls);

    for (const auto& help : helpTexts()) {
        for (const char* name : help.controls) {
            for (auto& design : controls) {
                if (design.name == name) design.helpText = help.text;
            }
        }
    }
    describeAccess(form);
    return form;
}

FormDesign buildInstallForm() {
    FormDesign form;
    form.name = "frmInstall";
    form.caption = "Install/Update Tessaron Configuration";
    form.clientWidth = 3870;
    form.clientHeight = 2040;
    Builder b{form.controls, -1};
    b.button("OKButton", "OK", 360, 1500, 1335, 375);
    b.button("CancelButton", "Cancel", 2160, 1500, 1215, 375);
    b.label("Label1", "Choose which installtion functions you wish to run:", 165, 120, 3540, 195);
    b.check("chkCreateTasks", "Create scheduled tasks for bandwidth and stats", 120, 390, 3675, 255,
            kUnchecked);
    b.check("chkInitDB", "Initialize Tessaron database", 120, 750, 3615, 255, kUnchecked);
    b.check("chkSetupIIS", "Set up Tessaron sites in IIS", 120, 1095, 3615, 255, kUnchecked);
    describeAccess(form);
    return form;
}

FormDesign buildProgressForm() {
    FormDesign form;
    form.name = "frmProgress";
    form.caption = "Configuring Tessaron...";
    form.clientWidth = 7455;
    form.clientHeight = 3675;
    Builder b{form.controls, -1};
    auto& log = b.text("txtProgress", "", 120, 120, 7215, 3015);
    log.multiLine = true;
    log.verticalScrollBar = true;
    describeAccess(form);
    return form;
}

}  // namespace

const FormDesign& mainFormDesign() {
    static const FormDesign form = buildMainForm();
    return form;
}

const FormDesign& installFormDesign() {
    static const FormDesign form = buildInstallForm();
    return form;
}

const FormDesign& progressFormDesign() {
    static const FormDesign form = buildProgressForm();
    return form;
}

const ControlDesign* findControlDesign(const FormDesign& form, std::string_view name) {
    for (const auto& design : form.controls) {
        if (design.name == name) return &design;
    }
    return nullptr;
}

}  // namespace tessaron::app::window
