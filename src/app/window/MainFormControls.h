#pragma once

// The names of the settings window's controls that the program's own code
// refers to, as compile-time constants: frmMain::txtMainIP is "txtMainIP",
// and a misspelt name fails to compile instead of failing at run time. The
// catalogue (ControlCatalogue.cpp) designs the controls; a test checks that
// each name here is one of its controls.

#include <array>
#include <string_view>

namespace tessaron::app::window {

// One X(name) per control, in alphabetical order.
#define TESSARON_MAIN_FORM_CONTROLS(X) \
    X(Label1)                          \
    X(Label10)                         \
    X(Label11)                         \
    X(Label12)                         \
    X(Label16)                         \
    X(Label17)                         \
    X(Label18)                         \
    X(Label2)                          \
    X(Label3)                          \
    X(Label44)                         \
    X(Label45)                         \
    X(Label5)                          \
    X(Label6)                          \
    X(Label9)                          \
    X(btnFTPServerPath)                \
    X(btnInstall)                      \
    X(btnLogRoot)                      \
    X(btnMySQLDataPath)                \
    X(btnPHP)                          \
    X(btnPerl)                         \
    X(btnSQLServerDataPath)            \
    X(btnServerRoot)                   \
    X(chkDNSServerEnabled)             \
    X(chkFTPServerEnabled)             \
    X(chkInternalIP)                   \
    X(chkMSSQLActive)                  \
    X(chkMailServerEnabled)            \
    X(chkMySQLActive)                  \
    X(chkOversellAllowed)              \
    X(chkPHP)                          \
    X(chkPerl)                         \
    X(chkSharedSecure)                 \
    X(chkStatistics)                   \
    X(chkWebmail)                      \
    X(chkWebsitePreview)               \
    X(cmbControlPanelSite)             \
    X(cmbDNSServer)                    \
    X(cmbDefaultPanelStyle)            \
    X(cmbFTPServerType)                \
    X(cmbMailServerType)               \
    X(cmbMainFTPSVC)                   \
    X(cmbMainSQLServerType)            \
    X(cmbPreviewSVC)                   \
    X(cmbSharedSecureSVC)              \
    X(cmbStatisticsType)               \
    X(cmdChooseMailServerDir)          \
    X(cmdDNSRoot)                      \
    X(lblAdminEmail)                   \
    X(lblDNSRoot)                      \
    X(lblDNSServer)                    \
    X(lblDNSWMI)                       \
    X(lblFTPServerPath)                \
    X(lblFTPUsage)                     \
    X(lblMailServerDir)                \
    X(lblMailServerIP)                 \
    X(lblMailServerType)               \
    X(lblMainFTPSVC)                   \
    X(lblMainIP)                       \
    X(lblMaximumMailboxSize)           \
    X(lblMySQL1)                       \
    X(lblMySQL2)                       \
    X(lblMySQL3)                       \
    X(lblMySQL4)                       \
    X(lblPanelRoot)                    \
    X(lblPrimaryDNS)                   \
    X(lblPrimaryDNSIP)                 \
    X(lblSQLServer1)                   \
    X(lblSQLServer2)                   \
    X(lblSQLServer3)                   \
    X(lblSQLServer4)                   \
    X(lblSecondaryDNS)                 \
    X(lblSecondaryDNSIP)               \
    X(lblServerName)                   \
    X(lblSharedSecureURL)              \
    X(lblWebmailURL)                   \
    X(txtAdminEmail)                   \
    X(txtAdminPassword)                \
    X(txtAdminUsername)                \
    X(txtControlPanelTitle)            \
    X(txtCustomerPort)                 \
    X(txtDNSRoot)                      \
    X(txtFTPServerPath)                \
    X(txtInternalIP)                   \
    X(txtLogRoot)                      \
    X(txtMailServerDir)                \
    X(txtMailServerIP)                 \
    X(txtMainCompanyName)              \
    X(txtMainContactEmail)             \
    X(txtMainDatabaseIP)               \
    X(txtMainDatabaseName)             \
    X(txtMainDatabasePassword)         \
    X(txtMainDatabaseUsername)         \
    X(txtMainIP)                       \
    X(txtMaximumMailboxSize)           \
    X(txtMySQLAdminPassword)           \
    X(txtMySQLAdminUsername)           \
    X(txtMySQLDataPath)                \
    X(txtMySQLIP)                      \
    X(txtPHPLocation)                  \
    X(txtPerlLocation)                 \
    X(txtPrimaryDNS)                   \
    X(txtPrimaryDNSIP)                 \
    X(txtResellerPort)                 \
    X(txtSQLServerAdminPassword)       \
    X(txtSQLServerAdminUsername)       \
    X(txtSQLServerDataPath)            \
    X(txtSQLServerIP)                  \
    X(txtSecondaryDNS)                 \
    X(txtSecondaryDNSIP)               \
    X(txtServerRoot)                   \
    X(txtSharedSecureServer)           \
    X(txtWebmailURL)

namespace frmMain {
#define TESSARON_CONTROL_NAME(name) inline constexpr std::string_view name = #name;
TESSARON_MAIN_FORM_CONTROLS(TESSARON_CONTROL_NAME)
#undef TESSARON_CONTROL_NAME

// Every name above, for the test that holds them to the catalogue.
#define TESSARON_CONTROL_ENTRY(name) name,
inline constexpr std::array kNamedControls = {TESSARON_MAIN_FORM_CONTROLS(TESSARON_CONTROL_ENTRY)};
#undef TESSARON_CONTROL_ENTRY
}  // namespace frmMain

}  // namespace tessaron::app::window
