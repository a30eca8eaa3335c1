// The settings window's load step: discovers the machine and fills the window
// before it is first shown.
#include "app/window/MainFormControls.h"
#include "app/window/SettingsWindow.h"
#include "platform/Failure.h"
#include "platform/MetabasePaths.h"
#include "platform/WindowsPath.h"
#include "settings/SiteChoices.h"

namespace tessaron::app::window {

namespace messages {

Message installDirectoryNotFound() {
    return {1, "Installation Directory Not Found!",
            "Sorry, I cannot find your Tessaron installation directory.  Please reinstall "
            "Tessaron.",
            MessageIcon::Error, MessageButtons::Ok};
}

Message componentNotAccessible() {
    return {2, "Tessaron DLL Not Accessable!",
            "Sorry, I cannot access the Tessaron DLL.  Please reinstall Tessaron.",
            MessageIcon::Error, MessageButtons::Ok};
}

Message criticalError() {
    return {3, "Critical Error 1",
            "Sorry, I encountered problems getting the necessary information for configuration.  "
            "Please make sure IIS is installed properly, and that you are running this utility "
            "with Administrator privileges.",
            MessageIcon::Error, MessageButtons::Ok};
}

Message cannotReadPanelDirectory() {
    return {4, "Cannot Read Tessaron Directory",
            "Sorry, there was a problem reading from the Tessaron directory.  Please make sure "
            "your permissions are correct and that you are running this program as a member of "
            "the Administrators group.",
            MessageIcon::Error, MessageButtons::Ok};
}

Message microsoftFtpUnavailable() {
    return {5, std::string(kApplicationTitle),
            "Sorry, I could not retrieve the information for Microsoft FTP; it may not be "
            "installed, or you may not be running with the proper privileges.  Microsoft FTP will "
            "not be available for selection.",
            MessageIcon::None, MessageButtons::Ok};
}

Message cannotReadIisConfiguration() {
    return {6, "Cannot Read IIS Configuration",
            "Sorry, I could not read the information from this server's IIS configuration.  "
            "Please make sure IIS is properly installed and that you are running this utility as "
            "a member of the Administrators group.",
            MessageIcon::Error, MessageButtons::Ok};
}

Message alreadyConfigured() {
    return {7, "Tessaron Already Configured",
            "Tessaron has already been configured on this server.  It is highly recommended that "
            "you only use the Tessaron Configuration Utility on a fresh installation of Tessaron, "
            "as improper settings or changes to current settings can cause the installation to "
            "stop working.  Do you wish to continue with the configuration?",
            MessageIcon::None, MessageButtons::YesNo};
}

Message cannotReadConfiguration(const std::string& path, const std::string& reason) {
    return {8, "Cannot Read Configuration File",
            "Sorry, I could not read the existing configuration file " + path + " - " + reason +
                ".  The window shows the discovered defaults instead.",
            MessageIcon::Error, MessageButtons::Ok};
}

Message metabaseRejected(const std::string& reason) {
    return {9, "Cannot Read IIS Configuration",
            "Sorry, I could not read this server's IIS configuration - " + reason,
            MessageIcon::Error, MessageButtons::Ok};
}

}  // namespace messages

LoadResult SettingsWindow::end(const Message& message) {
    messages_.show(message);
    return LoadResult::Ended;
}

void SettingsWindow::noteMetabaseFailure(const PlatformError& error) {
    if (error.number() == error_number::kInvalidDataHresult)
        metabaseRejection_ = error.description();
}

LoadResult SettingsWindow::Load() {
    discoverAddresses();

    std::string installDir = trimSpaces(registryValueText(
        platform_.System().ReadRegistryValue("SOFTWARE\\Tessaron", "Install_Dir")));
    if (installDir.empty()) return end(messages::installDirectoryNotFound());
    if (endsWithBackslash(installDir)) installDir.pop_back();
    held_.InstallDir = installDir;

    try {
        panelComponent_ = platform_.CreatePanelComponent();
    } catch (const PlatformError&) {
        panelComponent_.reset();
    }
    if (!panelComponent_) return end(messages::componentNotAccessible());

    MachineFacts facts;
    if (!discoverMachineFacts(facts)) {
        return end(metabaseRejection_ ? messages::metabaseRejected(*metabaseRejection_)
                                      : messages::criticalError());
    }
    held_.ServerName = facts.serverName;

    controls_.setText(frmMain::lblPanelRoot, "Install Directory: " + installDir);
    controls_.setText(frmMain::lblServerName, "Server Name: " + facts.serverName);
    controls_.setText(frmMain::txtMainCompanyName, facts.companyName);
    controls_.setText(frmMain::txtServerRoot, installDir + "\\accounts");
    controls_.setText(frmMain::txtLogRoot, facts.logRoot);
    controls_.setSelectedIndex(frmMain::cmbMainSQLServerType, 0);

    if (!fillPanelStyles()) return end(messages::cannotReadPanelDirectory());
    fillFixedLists();
    probeMicrosoftFtp();

    for (const char* type : {"BulletProof FTP", "Serv-U", "Gene6 FTP Server"}) {
        controls_.addEntry(frmMain::cmbFTPServerType, type);
    }
    controls_.setSelectedIndex(frmMain::cmbFTPServerType, 0);
    ApplyFtpServerTypeRule();

    controls_.addEntry(frmMain::cmbMainFTPSVC, kCreateNewSite);
    controls_.addEntry(frmMain::cmbControlPanelSite, kCreateNewSite);
    controls_.addEntry(frmMain::cmbSharedSecureSVC, kCreateNewSite);
    controls_.addEntry(frmMain::cmbSharedSecureSVC, kNoSharedSecureSite);
    controls_.addEntry(frmMain::cmbPreviewSVC, kCreateNewSite);
    controls_.addEntry(frmMain::cmbPreviewSVC, kNoPreviewSite);

    const bool webSitesRead = fillSiteLists();

    for (std::string_view list : {frmMain::cmbMainFTPSVC, frmMain::cmbControlPanelSite,
                                  frmMain::cmbSharedSecureSVC, frmMain::cmbPreviewSVC}) {
        controls_.setSelectedIndex(list, 0);
    }

    // The note about the DNS provider concerns Windows 2000 only. A failed
    // version query leaves the note shown: it is advice, not a setting.
    std::optional<int> release;
    try {
        release = platform_.System().GetServerOSVersion();
    } catch (const PlatformError&) {
        release.reset();
    }
    if (release == 2003) controls_.setVisible(frmMain::lblDNSWMI, false);

    if (!webSitesRead) {
        return end(metabaseRejection_ ? messages::metabaseRejected(*metabaseRejection_)
                                      : messages::cannotReadIisConfiguration());
    }

    const std::string configFile = configFilePath(held_);
    if (!platform_.Files().FileExists(configFile)) return shown();
    if (messages_.show(messages::alreadyConfigured()) != MessageAnswer::Yes) {
        return LoadResult::Ended;
    }
    controls_.setText(frmMain::btnInstall, "Update Tessaron Configuration");
    try {
        ReadExistingConfiguration(configFile);
    } catch (const PlatformError& error) {
        messages_.show(messages::cannotReadConfiguration(configFile, error.description()));
    }
    return shown();
}

LoadResult SettingsWindow::shown() {
    discovered_ = currentValues(controls_);
    return LoadResult::Shown;
}

void SettingsWindow::discoverAddresses() {
    auto& system = platform_.System();
    controls_.setText(frmMain::txtMainIP, system.GetFirstIPAddress());
    controls_.setText(frmMain::txtInternalIP, system.GetFirstIPAddress());
    const std::string first = splitText(system.GetFirstIPAddress(), ".").front();
    const bool privateRange = first == "192" || first == "10";
    controls_.setChecked(frmMain::chkInternalIP, privateRange ? kChecked : kUnchecked);
    controls_.setEnabled(frmMain::txtInternalIP, privateRange);
}

bool SettingsWindow::discoverMachineFacts(MachineFacts& facts) {
    bool failed = false;
    try {
        for (const auto& os : platform_.Management().OperatingSystems()) {
            facts.companyName = trimSpaces(os.Organization);
            if (facts.companyName.empty()) facts.companyName = trimSpaces(os.RegisteredUser);
        }
    } catch (const PlatformError&) {
        failed = true;
    }
    try {
        facts.serverName = panelComponent_->ComputerName();
    } catch (const PlatformError&) {
        failed = true;
    }
    try {
        auto service = platform_.Iis().Open(iis_paths::kWebService);
        const std::string logDirectory = metabaseValueText(service->Get("LogFileDirectory"));
        facts.logRoot = replaceAll(logDirectory, "%WinDir%", platform_.System().GetWindowsDir());
    } catch (const PlatformError& error) {
        noteMetabaseFailure(error);
        failed = true;
    }
    return !failed;
}

bool SettingsWindow::fillPanelStyles() {
    const std::string styles = held_.InstallDir + "\\panel\\styles";
    std::vector<std::string> names;
    try {
        if (!platform_.Files().FolderExists(styles)) return false;
        names = platform_.Files().SubFolders(styles);
    } catch (const PlatformError&) {
        return false;
    }
    for (const auto& name : names) controls_.addEntry(frmMain::cmbDefaultPanelStyle, name);
    if (!names.empty()) controls_.setSelectedIndex(frmMain::cmbDefaultPanelStyle, 0);
    return true;
}

void SettingsWindow::fillFixedLists() {
    const std::vector<std::pair<std::string_view, std::vector<const char*>>> lists = {
        {frmMain::cmbStatisticsType, {"AWStats", "Webalizer"}},
        {frmMain::cmbMailServerType, {"Mail Enable", "IMail"}},
        {frmMain::cmbDNSServer, {"Microsoft DNS", "Simple DNS Plus"}},
    };
    for (const auto& [list, entries] : lists) {
        for (const char* entry : entries) controls_.addEntry(list, entry);
        controls_.setSelectedIndex(list, 0);
    }
}

void SettingsWindow::probeMicrosoftFtp() {
    try {
        platform_.Iis().Open(iis_paths::kFtpService);
        microsoftFtpAvailable_ = true;
    } catch (const PlatformError&) {
        microsoftFtpAvailable_ = false;
    }
    if (microsoftFtpAvailable_) {
        controls_.addEntry(frmMain::cmbFTPServerType, "Microsoft FTP");
    } else {
        messages_.show(messages::microsoftFtpUnavailable());
    }
}

bool SettingsWindow::fillSiteLists() {
    // The display names are gathered first and added to each list in one
    // change, so a window showing the lists rebuilds each of them once.
    std::vector<std::string> webSites;
    bool webSitesRead = true;
    try {
        auto service = platform_.Iis().Open(iis_paths::kWebService);
        // A site without a display name is listed with an empty one, as a
        // site whose name is empty; no look-up by name ever finds it.
        service->ListChildren("IIsWebServer", "ServerComment", [&](const MetabaseChildView& site) {
            webSites.emplace_back(site.value.value_or(std::string_view()));
            return true;
        });
    } catch (const PlatformError& error) {
        noteMetabaseFailure(error);
        webSitesRead = false;
    }
    // Entries read before a failure stay. The three lists hold the one
    // block of names, not three copies of it.
    const auto sites = std::make_shared<const std::vector<std::string>>(std::move(webSites));
    controls_.addEntries(frmMain::cmbControlPanelSite, sites);
    controls_.addEntries(frmMain::cmbSharedSecureSVC, sites);
    controls_.addEntries(frmMain::cmbPreviewSVC, sites);

    if (microsoftFtpAvailable_) {
        // A failure here only shortens the FTP site list. A site without a
        // display name is listed with an empty one, as on the web list.
        std::vector<std::string> ftpSites;
        try {
            auto service = platform_.Iis().Open(iis_paths::kFtpService);
            service->ListChildren(
                "IIsFtpServer", "ServerComment", [&](const MetabaseChildView& site) {
                    ftpSites.emplace_back(site.value.value_or(std::string_view()));
                    return true;
                });
        } catch (const PlatformError&) {
        }
        controls_.addEntries(frmMain::cmbMainFTPSVC, std::move(ftpSites));
    }
    return webSitesRead;
}

}  // namespace tessaron::app::window
