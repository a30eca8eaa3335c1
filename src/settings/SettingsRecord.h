#pragma once

#include <string>

namespace tessaron {

// Every configuration value of the program, as text. Switches hold exactly
// "True" or "False"; numbers stay as typed; paths are Windows paths. One
// instance lives for the whole program: the settings window's install button
// fills it and the installation run reads it (a copy of it: the run completes
// its own).
struct SettingsRecord {
    // Identity and panel
    std::string ServerName;
    std::string InstallDir;
    std::string ServerIP;
    std::string InternalIP;
    std::string ControlPanelTitle;
    std::string CustomerPort;
    std::string ResellerPort;
    std::string MainCompanyName;
    std::string MainContactEmail;
    std::string OversellAllowed;
    std::string DefaultPanelStyle;
    std::string AdminUsername;
    std::string AdminPassword;
    std::string ServerRoot;
    std::string LogRoot;
    std::string ControlPanelSiteSelection;

    // Main database
    std::string MainSQLServerType;
    std::string MainDatabaseIP;
    std::string MainDatabaseName;
    std::string MainDatabaseUsername;
    std::string MainDatabasePassword;

    // Statistics
    std::string EnableStatistics;
    std::string StatisticsType;
    std::string StatsRoot;
    std::string StatsDataRoot;
    std::string StatsFileRoot;

    // Mail server
    std::string MailServerEnabled;
    std::string MailServerType;
    std::string MailServerIP;
    std::string MailServerDir;
    std::string EnableWebmail;
    std::string WebmailURL;
    std::string MaximumMailboxSize;

    // DNS server
    std::string DNSServerEnabled;
    std::string DNSServer;
    std::string AdminEmail;
    std::string DefaultPrimaryDNS;
    std::string DefaultPrimaryDNSIP;
    std::string DefaultSecondaryDNS;
    std::string DefaultSecondaryDNSIP;
    std::string DNSRoot;

    // SQL Server hosting
    std::string MSSQLActive;
    std::string SQLServerAdminUsername;
    std::string SQLServerAdminPassword;
    std::string SQLServerIP;
    std::string SQLServerDataPath;

    // MySQL hosting
    std::string MySQLActive;
    std::string MySQLAdminUsername;
    std::string MySQLAdminPassword;
    std::string MySQLIP;
    std::string MySQLDataPath;

    // Scripting
    std::string EnablePHP;
    std::string PHPLocation;
    std::string EnablePerl;
    std::string PerlLocation;

    // Shared secure and preview sites
    std::string EnableSharedSecure;
    std::string SharedSecureServer;
    std::string SharedSecureSVCSelection;
    std::string EnableWebsitePreview;
    std::string PreviewSVCSelection;

    // FTP
    std::string FTPServerEnabled;
    std::string FTPServerType;
    std::string MainFTPSVCSelection;
    std::string FTPServerPath;
    std::string FTPLinkPath;

    // Site numbers read from an existing configuration file
    std::string MainFTPSVC;
    std::string SharedSecureSVC;
    std::string PreviewSVC;

    bool operator==(const SettingsRecord&) const = default;
};

// The three choices of the install-options dialog.
struct InstallOptions {
    bool SetUpSites = false;
    bool InitializeDatabase = false;
    bool CreateTasks = false;
};

// The switch text of a boolean.
inline const char* switchText(bool on) {
    return on ? "True" : "False";
}
inline bool isTrue(const std::string& switchValue) {
    return switchValue == "True";
}

}  // namespace tessaron
