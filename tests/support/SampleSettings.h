#pragma once

// The settings record the suites run with. Every suite starts from the one
// record of sampleSettings() and names what its cases change, as lists of
// field changes, so that a value stands for the same server in every suite.

#include <initializer_list>
#include <span>
#include <string>

#include "settings/SettingsRecord.h"

namespace tessaron::testing {

// One field of the record and the text it takes.
struct SettingsChange {
    std::string SettingsRecord::*field;
    const char* value;
};
using SettingsChanges = std::span<const SettingsChange>;

// The small server the run's tests lay out (TestMachine::smallServer):
// computer WEB01 at 192.0.2.10, the panel in C:\Tessaron, accounts in
// C:\Accounts, logs in C:\WINDOWS\system32\LogFiles, the administrator
// "Administrator"; statistics, DNS, FTP, the shared secure and the preview
// site off. The changes are applied in the order given.
SettingsRecord sampleSettings(std::initializer_list<SettingsChanges> changes = {});

inline const char* const kNewSiteChoice = "-- Create New Site --";

// The Windows Server 2003 sample (examples/machines/windows2003): computer
// WEBHOST01 at 10.0.0.5, the panel on ports 2100 and 2101.
inline constexpr SettingsChange kSample2003[] = {
    {&SettingsRecord::ServerName, "WEBHOST01"},
    {&SettingsRecord::ServerIP, "10.0.0.5"},
    {&SettingsRecord::CustomerPort, "2100"},
    {&SettingsRecord::ResellerPort, "2101"},
};

// Every site new: the control panel's, Microsoft FTP's, the shared secure
// site (secure.example.com) and the preview site, on internal address
// 10.0.0.5.
inline constexpr SettingsChange kAllSitesNew[] = {
    {&SettingsRecord::InternalIP, "10.0.0.5"},
    {&SettingsRecord::ControlPanelSiteSelection, kNewSiteChoice},
    {&SettingsRecord::FTPServerEnabled, "True"},
    {&SettingsRecord::FTPServerType, "Microsoft FTP"},
    {&SettingsRecord::MainFTPSVCSelection, kNewSiteChoice},
    {&SettingsRecord::EnableSharedSecure, "True"},
    {&SettingsRecord::SharedSecureServer, "secure.example.com"},
    {&SettingsRecord::SharedSecureSVCSelection, kNewSiteChoice},
    {&SettingsRecord::EnableWebsitePreview, "True"},
    {&SettingsRecord::PreviewSVCSelection, kNewSiteChoice},
};

// The rest of the window as an administrator fills it in: no internal
// address, panel details, accounts in C:\Hosting, the main database on the
// SQL Server at 10.0.0.20, Microsoft DNS on, mail, SQL hosting and scripting
// off.
inline constexpr SettingsChange kFilledInWindow[] = {
    {&SettingsRecord::InternalIP, ""},
    {&SettingsRecord::ControlPanelTitle, "Example Hosting Panel"},
    {&SettingsRecord::MainCompanyName, "Example Hosting Ltd"},
    {&SettingsRecord::MainContactEmail, "support@example.com"},
    {&SettingsRecord::OversellAllowed, "False"},
    {&SettingsRecord::DefaultPanelStyle, "Classic"},
    {&SettingsRecord::AdminPassword, "secret"},
    {&SettingsRecord::ServerRoot, "C:\\Hosting"},
    {&SettingsRecord::MainSQLServerType, "SQL Server"},
    {&SettingsRecord::MainDatabaseIP, "10.0.0.20"},
    {&SettingsRecord::MainDatabaseName, "tessaron"},
    {&SettingsRecord::MailServerEnabled, "False"},
    {&SettingsRecord::EnableWebmail, "False"},
    {&SettingsRecord::DNSServerEnabled, "True"},
    {&SettingsRecord::DNSServer, "Microsoft DNS"},
    {&SettingsRecord::MSSQLActive, "False"},
    {&SettingsRecord::MySQLActive, "False"},
    {&SettingsRecord::EnablePHP, "False"},
    {&SettingsRecord::EnablePerl, "False"},
};

// What the database's seed rows are written from: the administrator "admin"
// with "secret", internal address 10.0.0.10, the contacts owner@ and
// tickets@example.com, name servers ns1 and ns2.example.com at 192.0.2.53
// and 192.0.2.54. The database login is left to the test.
inline constexpr SettingsChange kSeedValues[] = {
    {&SettingsRecord::InternalIP, "10.0.0.10"},
    {&SettingsRecord::AdminUsername, "admin"},
    {&SettingsRecord::AdminPassword, "secret"},
    {&SettingsRecord::MainContactEmail, "owner@example.com"},
    {&SettingsRecord::AdminEmail, "tickets@example.com"},
    {&SettingsRecord::DefaultPrimaryDNS, "ns1.example.com"},
    {&SettingsRecord::DefaultPrimaryDNSIP, "192.0.2.53"},
    {&SettingsRecord::DefaultSecondaryDNS, "ns2.example.com"},
    {&SettingsRecord::DefaultSecondaryDNSIP, "192.0.2.54"},
};

}  // namespace tessaron::testing
