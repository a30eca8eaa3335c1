#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/window/ControlModel.h"
#include "app/window/MessageService.h"
#include "platform/Failure.h"
#include "platform/Platform.h"
#include "settings/SettingsRecord.h"

namespace tessaron::app::wiring {
struct RunOutcome;
}  // namespace tessaron::app::wiring

namespace tessaron::app::window {

struct Field;

// What the window's load step left behind.
enum class LoadResult {
    Shown,  // the load step completed; the window is shown
    Ended,  // a message ended the program before the window was shown
};

// The settings window frmMain as a model: the controls of the catalogue with
// the window's rules attached, the load step that discovers the machine, the
// reader of an existing configuration file, the choosers and the install
// button. A view (Qt) or the unattended front end drives it; see
// ControlModel.h for how a view binds.
//
// While the administrator edits, the controls hold the settings; the values
// no control shows (the installation directory and machine name found at
// load, the site numbers read from config.inc, the values a switched-off
// group keeps) are held by the window. The settings record is written in one
// place only, by the install button's fillSettingsRecord(), from both.
class SettingsWindow {
public:
    SettingsWindow(Platform& platform, SettingsRecord& settings, MessageService& messages);
    ~SettingsWindow();
    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    ControlModel& controls() { return controls_; }
    const ControlModel& controls() const { return controls_; }
    // The record as the install button last filled it (empty before).
    const SettingsRecord& settings() const { return settings_; }
    Platform& platform() { return platform_; }
    // Found by the load step (empty before it).
    const std::string& installDir() const { return held_.InstallDir; }
    const std::string& serverName() const { return held_.ServerName; }

    // Form_Load: discovers the machine, fills the lists and defaults and,
    // when config.inc exists and the administrator agrees, reads it.
    LoadResult Load();

    // The view's choosers, used by the "..." buttons (none: the buttons do
    // nothing).
    void setFolderChooser(FolderChooser* chooser) { folderChooser_ = chooser; }
    void setFileChooser(FileChooser* chooser) { fileChooser_ = chooser; }
    // Called after btnInstall has filled the settings record: the view shows
    // the install-options dialog modally.
    void setInstallOptionsHandler(std::function<void()> handler) {
        installOptionsHandler_ = std::move(handler);
    }

    // Asked to put the keyboard focus on a control (the first refused value).
    void setFocusRequest(std::function<void(const std::string& control)> request) {
        focusRequest_ = std::move(request);
    }

    // The install button's copy of every control and every held value into
    // the settings record, with the derived values completed (pressing
    // btnInstall runs this, then the install-options handler).
    void fillSettingsRecord();

    // After a run: the shared secure site number it recorded in config.inc is
    // held for the next run, which the install-options dialog may start
    // again without the install button.
    void keepRunResults(const wiring::RunOutcome& outcome);

    // The FTP server type rule (cmbFTPServerType_Click).
    void ApplyFtpServerTypeRule();

    // Reads an existing configuration file into the window's controls and
    // held values. Throws PlatformError when the file cannot be read.
    void ReadExistingConfiguration(const std::string& path);

    // A folder chooser's answer as the button handles it: trimmed; empty
    // means cancelled; otherwise stored in the box (and held, for a setting
    // its group keeps while switched off).
    void ApplyChosenFolder(std::string_view button, const std::string& chosen);

    // The controls' values as the load step left them (empty before Load):
    // what a recorded answers file leaves out.
    const ControlValues& discoveredValues() const { return discovered_; }

    bool MicrosoftFTPAvailable() const { return microsoftFtpAvailable_; }

private:
    void attachRules();
    void attachEnableRule(std::string_view checkBox);
    // Shows the FTP controls of Microsoft FTP (an existing site to choose) or
    // of the other servers (a folder to choose).
    void showFtpControls(bool microsoftSite);
    // Shows a value read from config.inc in the row's control, as the row's
    // readBack says (ExistingConfiguration.cpp).
    void showReadValue(const Field& row, const std::string& value);
    // Stores the value when the field is one the window holds; fields that a
    // control shows take their value from the control instead.
    void holdValue(std::string SettingsRecord::*field, const std::string& value);
    void chooseFolder(std::string_view button);
    void chooseFile(std::string_view button);
    void pressInstall();

    // Load-step pieces (LoadStep.cpp).
    struct MachineFacts {
        std::string companyName;
        std::string serverName;
        std::string logRoot;
    };
    void discoverAddresses();
    bool discoverMachineFacts(MachineFacts& facts);
    bool fillPanelStyles();
    void fillFixedLists();
    void probeMicrosoftFtp();
    bool fillSiteLists();
    LoadResult end(const Message& message);
    LoadResult shown();
    // Remembers why the metabase's file was refused, when that was the failure.
    void noteMetabaseFailure(const PlatformError& error);

    Platform& platform_;
    SettingsRecord& settings_;
    // The record's fields that no control shows (see heldFields() in
    // InstallButton.cpp); its other fields stay empty.
    SettingsRecord held_;
    MessageService& messages_;
    ControlModel controls_;
    FolderChooser* folderChooser_ = nullptr;
    FileChooser* fileChooser_ = nullptr;
    std::function<void()> installOptionsHandler_;
    std::function<void(const std::string&)> focusRequest_;
    std::unique_ptr<PanelComponent> panelComponent_;
    bool microsoftFtpAvailable_ = false;
    ControlValues discovered_;
    std::optional<std::string> metabaseRejection_;
};

// Selects the last entry of the drop-down list whose text equals the value
// (exact, case-sensitive); with no equal entry the selection stays.
void SearchComboForValue(ControlModel& controls, std::string_view combo, const std::string& value);

// The message boxes of the load step, with their exact titles and texts.
namespace messages {
Message installDirectoryNotFound();                                                   // 1
Message componentNotAccessible();                                                     // 2
Message criticalError();                                                              // 3
Message cannotReadPanelDirectory();                                                   // 4
Message microsoftFtpUnavailable();                                                    // 5
Message cannotReadIisConfiguration();                                                 // 6
Message alreadyConfigured();                                                          // 7 (Yes/No)
Message cannotReadConfiguration(const std::string& path, const std::string& reason);  // 8
// The metabase's file is no metabase; the reason names the file and line.
Message metabaseRejected(const std::string& reason);  // 9
}  // namespace messages

}  // namespace tessaron::app::window
