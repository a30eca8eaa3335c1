// The install button's copy of the window into the settings record, group by
// group, with the derived values and the values of switched-off groups.
#include "app/SettingsWindow.h"
#include "platform/WindowsPath.h"

namespace tessaron::app {

void SettingsWindow::FillSettingsRecord() {
    auto& s = settings_;
    const auto& c = controls_;
    const auto on = [&c](const char* box) { return c.checked(box) == kChecked; };

    s.LogRoot = c.text("txtLogRoot");

    s.ControlPanelTitle = c.text("txtControlPanelTitle");
    s.MainCompanyName = c.text("txtMainCompanyName");
    s.MainContactEmail = c.text("txtMainContactEmail");
    s.CustomerPort = c.text("txtCustomerPort");
    s.ResellerPort = c.text("txtResellerPort");
    s.AdminUsername = c.text("txtAdminUsername");
    s.AdminPassword = c.text("txtAdminPassword");
    s.ServerIP = c.text("txtMainIP");
    s.InternalIP = c.text("txtInternalIP");

    s.EnablePHP = switchText(on("chkPHP"));
    s.PHPLocation = on("chkPHP") ? c.text("txtPHPLocation") : "";
    s.EnablePerl = switchText(on("chkPerl"));
    s.PerlLocation = on("chkPerl") ? c.text("txtPerlLocation") : "";

    s.ServerRoot = c.text("txtServerRoot");
    s.DefaultPanelStyle = c.selectedText("cmbDefaultPanelStyle");
    s.OversellAllowed = switchText(on("chkOversellAllowed"));

    s.EnableStatistics = switchText(on("chkStatistics"));
    if (on("chkStatistics")) {
        s.StatisticsType = c.selectedText("cmbStatisticsType");
        s.StatsRoot = s.InstallDir + "\\stats\\" + s.StatisticsType;
        s.StatsDataRoot = s.StatsRoot + "\\data";
        s.StatsFileRoot = s.StatsRoot + "\\output";
    } else {
        s.StatisticsType.clear();
        s.StatsRoot.clear();
        s.StatsDataRoot.clear();
        s.StatsFileRoot.clear();
    }

    s.MainSQLServerType = c.selectedText("cmbMainSQLServerType");
    s.MainDatabaseIP = c.text("txtMainDatabaseIP");
    s.MainDatabaseName = c.text("txtMainDatabaseName");
    s.MainDatabaseUsername = c.text("txtMainDatabaseUsername");
    s.MainDatabasePassword = c.text("txtMainDatabasePassword");

    s.ControlPanelSiteSelection = c.selectedText("cmbControlPanelSite");

    s.EnableSharedSecure = switchText(on("chkSharedSecure"));
    s.SharedSecureServer = on("chkSharedSecure") ? c.text("txtSharedSecureServer") : "";
    s.SharedSecureSVCSelection = on("chkSharedSecure") ? c.selectedText("cmbSharedSecureSVC") : "";

    s.EnableWebsitePreview = switchText(on("chkWebsitePreview"));
    s.PreviewSVCSelection = on("chkWebsitePreview") ? c.selectedText("cmbPreviewSVC") : "0";

    s.FTPServerEnabled = switchText(on("chkFTPServerEnabled"));
    if (on("chkFTPServerEnabled")) {
        s.FTPServerType = c.selectedText("cmbFTPServerType");
        if (s.FTPServerType == "Microsoft FTP") {
            s.MainFTPSVCSelection = c.selectedText("cmbMainFTPSVC");
            s.FTPServerPath.clear();
            s.FTPLinkPath.clear();
        } else if (s.FTPServerType == "BulletProof FTP") {
            s.MainFTPSVCSelection = "0";
            s.FTPServerPath = c.text("txtFTPServerPath");
            if (s.FTPLinkPath.empty()) s.FTPLinkPath = s.InstallDir + "\\ftp";
        }
    } else {
        s.FTPServerType.clear();
        s.MainFTPSVCSelection.clear();
        s.FTPServerPath.clear();
        s.FTPLinkPath.clear();
    }

    s.MailServerEnabled = switchText(on("chkMailServerEnabled"));
    if (on("chkMailServerEnabled")) {
        s.MailServerType = c.selectedText("cmbMailServerType");
        s.MailServerIP = c.text("txtMailServerIP");
        s.MailServerDir = withTrailingBackslash(c.text("txtMailServerDir"));
        s.EnableWebmail = switchText(on("chkWebmail"));
        s.WebmailURL = on("chkWebmail") ? c.text("txtWebmailURL") : "";
        s.MaximumMailboxSize = c.text("txtMaximumMailboxSize");
        if (s.MaximumMailboxSize.empty()) s.MaximumMailboxSize = "-1";
    } else {
        s.MailServerIP.clear();
        s.MailServerDir.clear();
        s.EnableWebmail = "False";
        s.WebmailURL.clear();
        s.MaximumMailboxSize = "0";
    }

    s.DNSServerEnabled = switchText(on("chkDNSServerEnabled"));
    const bool dns = on("chkDNSServerEnabled");
    s.DNSServer = dns ? c.selectedText("cmbDNSServer") : "";
    s.AdminEmail = dns ? c.text("txtAdminEmail") : "";
    s.DefaultPrimaryDNS = dns ? c.text("txtPrimaryDNS") : "";
    s.DefaultPrimaryDNSIP = dns ? c.text("txtPrimaryDNSIP") : "";
    s.DefaultSecondaryDNS = dns ? c.text("txtSecondaryDNS") : "";
    s.DefaultSecondaryDNSIP = dns ? c.text("txtSecondaryDNSIP") : "";
    s.DNSRoot = dns ? withTrailingBackslash(c.text("txtDNSRoot")) : "";

    s.MSSQLActive = switchText(on("chkMSSQLActive"));
    if (on("chkMSSQLActive")) {
        s.SQLServerAdminUsername = c.text("txtSQLServerAdminUsername");
        s.SQLServerAdminPassword = c.text("txtSQLServerAdminPassword");
        s.SQLServerIP = c.text("txtSQLServerIP");
        s.SQLServerDataPath = withTrailingBackslash(c.text("txtSQLServerDataPath"));
    }

    s.MySQLActive = switchText(on("chkMySQLActive"));
    if (on("chkMySQLActive")) {
        s.MySQLAdminUsername = c.text("txtMySQLAdminUsername");
        s.MySQLAdminPassword = c.text("txtMySQLAdminPassword");
        s.MySQLIP = c.text("txtMySQLIP");
        s.MySQLDataPath = withTrailingBackslash(c.text("txtMySQLDataPath"));
    }
}

}  // namespace tessaron::app
