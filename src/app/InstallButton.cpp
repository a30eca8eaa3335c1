// The install button's copy of the window into the settings record, group by
// group, with the derived values and the values of switched-off groups.
#include <algorithm>
#include <vector>

#include "app/ProgressRun.h"
#include "app/SettingsWindow.h"
#include "platform/WindowsPath.h"

namespace tessaron::app {
namespace {

// The record's fields that no control holds while the window is open.
const std::vector<std::string SettingsRecord::*>& heldFields() {
    using S = SettingsRecord;
    static const std::vector<std::string S::*> fields = {
        // Found by the load step.
        &S::InstallDir,
        &S::ServerName,
        // The site numbers read from config.inc (the shared secure one also
        // as a run recorded it).
        &S::MainFTPSVC,
        &S::SharedSecureSVC,
        &S::PreviewSVC,
        // What a group keeps while it is switched off, or while the FTP server
        // type does not use it: the value read from config.inc, chosen with a
        // folder button or copied by an earlier press of the install button.
        &S::MailServerType,
        &S::SQLServerAdminUsername,
        &S::SQLServerAdminPassword,
        &S::SQLServerIP,
        &S::SQLServerDataPath,
        &S::MySQLAdminUsername,
        &S::MySQLAdminPassword,
        &S::MySQLIP,
        &S::MySQLDataPath,
        &S::MainFTPSVCSelection,
        &S::FTPServerPath,
        &S::FTPLinkPath,
    };
    return fields;
}

}  // namespace

void SettingsWindow::holdValue(std::string SettingsRecord::*field, const std::string& value) {
    const auto& held = heldFields();
    if (std::find(held.begin(), held.end(), field) != held.end()) held_.*field = value;
}

void SettingsWindow::keepRunResults(const RunOutcome& outcome) {
    if (outcome.SharedSecureSVC) held_.SharedSecureSVC = *outcome.SharedSecureSVC;
    // The install-options dialog is modal, so the controls are as the
    // install button found them: the record changes in that one field.
    fillSettingsRecord();
}

void SettingsWindow::fillSettingsRecord() {
    SettingsRecord s;
    for (const auto field : heldFields()) s.*field = held_.*field;
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

    // A group switched off at the next press keeps what it holds now.
    for (const auto field : heldFields()) held_.*field = s.*field;
    settings_ = std::move(s);
}

}  // namespace tessaron::app
