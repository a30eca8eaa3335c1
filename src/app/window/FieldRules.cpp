// The settings window's event rules: section check boxes enable their fields,
// the FTP server type swaps the FTP controls and the usage text, the internal
// address follows the main address, the "..." buttons run the choosers. The
// rules change controls only; the install button takes the settings from them.
#include <vector>

#include "app/window/InputValidation.h"
#include "app/window/MainFormControls.h"
#include "app/window/SettingsWindow.h"
#include "platform/WindowsPath.h"

namespace tessaron::app::window {
namespace {

struct EnableRule {
    std::string_view checkBox;
    std::vector<std::string_view> controls;  // enabled or disabled, in this order
};

const std::vector<EnableRule>& enableRules() {
    static const std::vector<EnableRule> rules = {
        {frmMain::chkMSSQLActive,
         {frmMain::lblSQLServer1, frmMain::lblSQLServer2, frmMain::lblSQLServer3,
          frmMain::lblSQLServer4, frmMain::txtSQLServerIP, frmMain::txtSQLServerAdminUsername,
          frmMain::txtSQLServerAdminPassword, frmMain::txtSQLServerDataPath}},
        {frmMain::chkMySQLActive,
         {frmMain::lblMySQL1, frmMain::lblMySQL2, frmMain::lblMySQL3, frmMain::lblMySQL4,
          frmMain::txtMySQLIP, frmMain::txtMySQLAdminUsername, frmMain::txtMySQLAdminPassword,
          frmMain::txtMySQLDataPath}},
        {frmMain::chkMailServerEnabled,
         {frmMain::lblMailServerType, frmMain::lblMailServerIP, frmMain::lblMailServerDir,
          frmMain::lblMaximumMailboxSize, frmMain::lblWebmailURL, frmMain::cmbMailServerType,
          frmMain::txtMailServerIP, frmMain::chkWebmail, frmMain::txtWebmailURL,
          frmMain::txtMailServerDir, frmMain::cmdChooseMailServerDir,
          frmMain::txtMaximumMailboxSize}},
        {frmMain::chkDNSServerEnabled,
         {frmMain::lblDNSServer, frmMain::cmbDNSServer, frmMain::lblAdminEmail,
          frmMain::txtAdminEmail, frmMain::lblPrimaryDNS, frmMain::txtPrimaryDNS,
          frmMain::lblPrimaryDNSIP, frmMain::txtPrimaryDNSIP, frmMain::lblDNSRoot,
          frmMain::txtDNSRoot, frmMain::cmdDNSRoot, frmMain::lblSecondaryDNS,
          frmMain::txtSecondaryDNS, frmMain::lblSecondaryDNSIP, frmMain::txtSecondaryDNSIP,
          frmMain::lblDNSWMI}},
        {frmMain::chkFTPServerEnabled,
         {frmMain::cmbFTPServerType, frmMain::lblFTPServerPath, frmMain::lblMainFTPSVC,
          frmMain::txtFTPServerPath, frmMain::cmbMainFTPSVC, frmMain::btnFTPServerPath}},
        {frmMain::chkSharedSecure, {frmMain::cmbSharedSecureSVC, frmMain::txtSharedSecureServer}},
        {frmMain::chkStatistics, {frmMain::cmbStatisticsType}},
        {frmMain::chkWebmail, {frmMain::txtWebmailURL}},
        {frmMain::chkWebsitePreview, {frmMain::cmbPreviewSVC}},
    };
    return rules;
}

struct FtpLayout {
    const char* type;
    bool microsoftSiteVisible;  // cmbMainFTPSVC, lblMainFTPSVC; the path group is the reverse
    const char* title;
    const char* usage;
};

const std::vector<FtpLayout>& ftpLayouts() {
    static const std::vector<FtpLayout> layouts = {
        {"Microsoft FTP", true, "Microsoft FTP Usage:",
         "Tessaron can either create a new FTP site, or use an existing FTP site.  The site used "
         "must listen on all IP addresses in order to function properly."},
        {"BulletProof FTP", false, "BulletProof FTP Usage:",
         "Tessaron will create new users on the default BulletProof FTP domain.  It is "
         "recommended to have BulletProof FTP listening on all IP addresses in order to function "
         "properly."},
        {"Serv-U", false, "Serv-U Usage:",
         "Tessaron will create new users in the first domain that exists in Serv-U.  Please make "
         "sure that you have created the domain in Serv-U before configuring Tessaron.  It is "
         "recommended to have this domain listening on all IP addresses in order to function "
         "properly."},
        {"Gene6 FTP Server", false, "Gene6 FTP Server:",
         "Tessaron will create new users in the domain 'Tessaron'.  Please make sure that this "
         "domain exists in Gene6 FTP Server before configuring Tessaron.  It is recommended to "
         "have this domain listening on all IP addresses (or 0.0.0.0) in order to function "
         "properly.  Also, be sure that the Administrator user has access to the server's COM "
         "objects via dcomcnfg or by running the service as Administrator."},
    };
    return layouts;
}

struct FolderButton {
    std::string_view button;
    const char* title;
    std::string_view textBox;
    std::string SettingsRecord::*setting;
};

const std::vector<FolderButton>& folderButtons() {
    static const std::vector<FolderButton> buttons = {
        {frmMain::btnFTPServerPath, "Choose your FTP server's base directory",
         frmMain::txtFTPServerPath, &SettingsRecord::FTPServerPath},
        {frmMain::btnMySQLDataPath, "Choose your MySQL data path directory",
         frmMain::txtMySQLDataPath, &SettingsRecord::MySQLDataPath},
        {frmMain::btnServerRoot, "Choose your Tessaron accounts directory", frmMain::txtServerRoot,
         &SettingsRecord::ServerRoot},
        {frmMain::btnLogRoot, "Choose your IIS log files directory", frmMain::txtLogRoot,
         &SettingsRecord::LogRoot},
        {frmMain::btnSQLServerDataPath, "Choose your SQL Server data path directory",
         frmMain::txtSQLServerDataPath, &SettingsRecord::SQLServerDataPath},
        {frmMain::cmdChooseMailServerDir, "Choose your mail server's base directory",
         frmMain::txtMailServerDir, &SettingsRecord::MailServerDir},
        {frmMain::cmdDNSRoot, "Choose your primary DNS data directory", frmMain::txtDNSRoot,
         &SettingsRecord::DNSRoot},
    };
    return buttons;
}

const FolderButton* findFolderButton(std::string_view button) {
    for (const auto& entry : folderButtons()) {
        if (button == entry.button) return &entry;
    }
    return nullptr;
}

struct FileButton {
    std::string_view button;
    std::string_view textBox;
    const char* filter;
};

const std::vector<FileButton>& fileButtons() {
    static const std::vector<FileButton> buttons = {
        {frmMain::btnPerl, frmMain::txtPerlLocation, "Perl Executable (perl.exe)|perl.exe"},
        {frmMain::btnPHP, frmMain::txtPHPLocation,
         "PHP Executable (php.exe)|php.exe|PHP ISAPI (php4isapi.dll)|php4isapi.dll"},
    };
    return buttons;
}

}  // namespace

void SettingsWindow::attachRules() {
    for (const auto& rule : enableRules()) attachEnableRule(rule.checkBox);

    controls_.setRule(frmMain::chkInternalIP, [this] {
        if (controls_.checked(frmMain::chkInternalIP) == kChecked) {
            controls_.setEnabled(frmMain::txtInternalIP, true);
        } else {
            controls_.setEnabled(frmMain::txtInternalIP, false);
            controls_.setText(frmMain::txtInternalIP, controls_.text(frmMain::txtMainIP));
        }
    });
    controls_.setRule(frmMain::txtMainIP, [this] {
        // Only an unchecked box (0) mirrors the address; a greyed one does not.
        if (controls_.checked(frmMain::chkInternalIP) == kUnchecked) {
            controls_.setText(frmMain::txtInternalIP, controls_.text(frmMain::txtMainIP));
        }
    });
    controls_.setRule(frmMain::cmbFTPServerType, [this] { ApplyFtpServerTypeRule(); });

    for (const auto& entry : folderButtons()) {
        const std::string button(entry.button);
        controls_.setRule(button, [this, button] { chooseFolder(button); });
    }
    for (const auto& entry : fileButtons()) {
        const std::string button(entry.button);
        controls_.setRule(button, [this, button] { chooseFile(button); });
    }
    controls_.setRule(frmMain::btnInstall, [this] { pressInstall(); });
}

void SettingsWindow::attachEnableRule(std::string_view checkBox) {
    for (const auto& rule : enableRules()) {
        if (checkBox != rule.checkBox) continue;
        const EnableRule* found = &rule;
        controls_.setRule(checkBox, [this, found] {
            const bool on = controls_.checked(found->checkBox) == kChecked;
            for (std::string_view name : found->controls) controls_.setEnabled(name, on);
        });
    }
}

void SettingsWindow::ApplyFtpServerTypeRule() {
    const std::string type = controls_.selectedText(frmMain::cmbFTPServerType);
    for (const auto& layout : ftpLayouts()) {
        if (type != layout.type) continue;
        showFtpControls(layout.microsoftSiteVisible);
        controls_.setText(frmMain::lblFTPUsage, std::string(layout.title) + "\r\n" + layout.usage);
        return;
    }
}

void SettingsWindow::showFtpControls(bool microsoftSite) {
    controls_.setVisible(frmMain::cmbMainFTPSVC, microsoftSite);
    controls_.setVisible(frmMain::lblMainFTPSVC, microsoftSite);
    controls_.setVisible(frmMain::txtFTPServerPath, !microsoftSite);
    controls_.setVisible(frmMain::btnFTPServerPath, !microsoftSite);
    controls_.setVisible(frmMain::lblFTPServerPath, !microsoftSite);
}

void SettingsWindow::ApplyChosenFolder(std::string_view button, const std::string& chosen) {
    const FolderButton* entry = findFolderButton(button);
    if (!entry) return;
    const std::string folder = trimSpaces(chosen);
    if (folder.empty()) return;
    holdValue(entry->setting, folder);
    controls_.setText(entry->textBox, folder);
}

void SettingsWindow::chooseFolder(std::string_view button) {
    const FolderButton* entry = findFolderButton(button);
    if (!entry || !folderChooser_) return;
    ApplyChosenFolder(
        button, folderChooser_->BrowseForFolder(entry->title, controls_.text(entry->textBox)));
}

void SettingsWindow::chooseFile(std::string_view button) {
    if (!fileChooser_) return;
    for (const auto& entry : fileButtons()) {
        if (button != entry.button) continue;
        if (auto chosen = fileChooser_->ChooseFile(entry.filter, kFileMustExist)) {
            controls_.setText(entry.textBox, *chosen);
        }
    }
}

void SettingsWindow::pressInstall() {
    fillSettingsRecord();
    // A value that cannot be written safely stops here, before the options
    // dialog and the run, so nothing on the machine changes.
    // Every refused value is listed at once; the view then puts the focus
    // on the first of them.
    if (const auto problems = checkAllSettingsInput(settings_); !problems.empty()) {
        messages_.show(messages::valuesRefused(problems));
        if (focusRequest_) focusRequest_(problems.front().control);
        return;
    }
    if (installOptionsHandler_) installOptionsHandler_();
}

void SearchComboForValue(ControlModel& controls, std::string_view combo, const std::string& value) {
    const auto& entries = controls.entries(combo);
    for (std::size_t index = 0; index < entries.size(); ++index) {
        if (entries[index] == value) controls.setSelectedIndex(combo, static_cast<int>(index));
    }
}

}  // namespace tessaron::app::window
