// The install button's copy of the window into the settings record: the
// field table's rows, each from its control or, while its group is switched
// off, with its fixed value; then the values derived from them.
#include <algorithm>
#include <vector>

#include "app/window/FieldTable.h"
#include "app/window/MainFormControls.h"
#include "app/window/SettingsWindow.h"
#include "app/wiring/ProgressRun.h"
#include "platform/WindowsPath.h"

namespace tessaron::app::window {
namespace {

// The record's fields that no control holds while the window is open.
const std::vector<std::string SettingsRecord::*>& heldFields() {
    using S = SettingsRecord;
    static const std::vector<std::string S::*> fields = [] {
        std::vector<std::string S::*> held = {
            // Found by the load step.
            &S::InstallDir,
            &S::ServerName,
            // The site numbers read from config.inc (the shared secure one
            // also as a run recorded it).
            &S::MainFTPSVC,
            &S::SharedSecureSVC,
            &S::PreviewSVC,
            // What the FTP group keeps while the FTP server type does not use it.
            &S::MainFTPSVCSelection,
            &S::FTPServerPath,
            &S::FTPLinkPath,
        };
        // What a group keeps while it is switched off.
        for (const auto& row : fieldTable()) {
            if (row.whileOff == kKeptWhileOff) held.push_back(row.field);
        }
        return held;
    }();
    return fields;
}

bool groupOn(const ControlModel& controls, std::string_view group) {
    if (group.empty()) return true;
    if (controls.checked(group) != kChecked) return false;
    const Field* box = findFieldOfControl(group);
    return !box || groupOn(controls, box->group);
}

std::string copiedValue(const ControlModel& controls, const Field& row) {
    switch (row.copied) {
        case CopiedAs::Text: {
            const std::string& text = controls.text(row.control);
            return text.empty() ? std::string(row.whenEmpty) : text;
        }
        case CopiedAs::Folder:
            return withTrailingBackslash(controls.text(row.control));
        case CopiedAs::Selection:
            return controls.selectedText(row.control);
        case CopiedAs::Switch:
            return switchText(controls.checked(row.control) == kChecked);
        case CopiedAs::ByFtpType:
            break;
    }
    return {};
}

// The statistics folders follow the installation folder and the type.
void completeStatistics(SettingsRecord& s) {
    if (!isTrue(s.EnableStatistics)) {
        s.StatsRoot.clear();
        s.StatsDataRoot.clear();
        s.StatsFileRoot.clear();
        return;
    }
    s.StatsRoot = s.InstallDir + "\\stats\\" + s.StatisticsType;
    s.StatsDataRoot = s.StatsRoot + "\\data";
    s.StatsFileRoot = s.StatsRoot + "\\output";
}

// Microsoft FTP uses an existing or new site, BulletProof FTP a folder and a
// link folder; the other types keep what the group held.
void completeFtp(SettingsRecord& s, const ControlModel& controls) {
    if (!isTrue(s.FTPServerEnabled)) {
        s.MainFTPSVCSelection.clear();
        s.FTPServerPath.clear();
        s.FTPLinkPath.clear();
    } else if (s.FTPServerType == "Microsoft FTP") {
        s.MainFTPSVCSelection = controls.selectedText(frmMain::cmbMainFTPSVC);
        s.FTPServerPath.clear();
        s.FTPLinkPath.clear();
    } else if (s.FTPServerType == "BulletProof FTP") {
        // A new string, not an assignment of the literal: GCC 12 reports a
        // false -Wrestrict overlap for the inlined literal copy here.
        s.MainFTPSVCSelection = std::string("0");
        s.FTPServerPath = controls.text(frmMain::txtFTPServerPath);
        if (s.FTPLinkPath.empty()) s.FTPLinkPath = s.InstallDir + "\\ftp";
    }
}

}  // namespace

void SettingsWindow::holdValue(std::string SettingsRecord::*field, const std::string& value) {
    const auto& held = heldFields();
    if (std::find(held.begin(), held.end(), field) != held.end()) held_.*field = value;
}

void SettingsWindow::keepRunResults(const wiring::RunOutcome& outcome) {
    if (outcome.SharedSecureSVC) held_.SharedSecureSVC = *outcome.SharedSecureSVC;
    // The install-options dialog is modal, so the controls are as the
    // install button found them: the record changes in that one field.
    fillSettingsRecord();
}

void SettingsWindow::fillSettingsRecord() {
    SettingsRecord s;
    for (const auto field : heldFields()) s.*field = held_.*field;
    for (const auto& row : fieldTable()) {
        if (row.copied == CopiedAs::ByFtpType) continue;
        if (groupOn(controls_, row.group)) {
            s.*row.field = copiedValue(controls_, row);
        } else if (row.whileOff) {
            s.*row.field = std::string(*row.whileOff);
        }
    }
    completeStatistics(s);
    completeFtp(s, controls_);

    // A group switched off at the next press keeps what it holds now.
    for (const auto field : heldFields()) held_.*field = s.*field;
    settings_ = std::move(s);
}

}  // namespace tessaron::app::window
