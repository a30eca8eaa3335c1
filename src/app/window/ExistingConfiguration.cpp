// Reads an existing config.inc back into the settings window: the key table
// of config.inc names each known key's field, the field table the control
// that shows it and how. The controls show the values; the window holds
// those that no control shows (the site numbers, the FTP link directory, the
// values of groups that keep theirs while switched off).
#include "app/window/FieldTable.h"
#include "app/window/MainFormControls.h"
#include "app/window/SettingsWindow.h"
#include "platform/Failure.h"
#include "platform/Text.h"
#include "settings/ConfigFileReader.h"
#include "settings/ConfigKeys.h"

namespace tessaron::app::window {

void SettingsWindow::ReadExistingConfiguration(const std::string& path) {
    const std::string text = platform_.Files().ReadTextFile(path);
    for (const auto& line : parseConfigLines(text)) {
        const ConfigKey* key = findReadKey(line.key);
        if (!key) continue;
        holdValue(key->field, line.value);
        if (const Field* row = findFieldReadFrom(key->field)) showReadValue(*row, line.value);
    }
}

void SettingsWindow::showReadValue(const Field& row, const std::string& value) {
    const bool isTrue = asciiLower(value) == "true";
    switch (row.readBack) {
        case ReadBack::NotRead:
            break;
        case ReadBack::Text:
            controls_.setText(row.control, value);
            break;
        case ReadBack::Select:
            SearchComboForValue(controls_, row.control, value);
            break;
        case ReadBack::Switch:
            controls_.setChecked(row.control, isTrue ? kChecked : kUnchecked);
            for (std::string_view name : row.readListed) controls_.setEnabled(name, isTrue);
            break;
        case ReadBack::TickOnly:
            if (isTrue) controls_.setChecked(row.control, kChecked);
            break;
        case ReadBack::InternalIP:
            controls_.setText(row.control, value);
            controls_.setChecked(row.readListed.front(),
                                 controls_.text(row.control) != controls_.text(frmMain::txtMainIP)
                                     ? kChecked
                                     : kUnchecked);
            break;
        case ReadBack::FtpServerType:
            SearchComboForValue(controls_, row.control, value);
            if (value == "Microsoft FTP" || value == "BulletProof FTP") {
                showFtpControls(value == "Microsoft FTP");
            }
            break;
        case ReadBack::SiteLookup:
            try {
                auto site = platform_.Iis().Open(std::string(row.readListed.front()) + "/" + value);
                SearchComboForValue(controls_, row.control,
                                    metabaseValueText(site->Get("ServerComment")));
            } catch (const PlatformError&) {
                // A number that names no site leaves the list as it was.
            }
            break;
    }
}

}  // namespace tessaron::app::window
