// Reads an existing config.inc back into the settings window: the key table
// of config.inc names each known key's field and its effect on the window.
// The controls show the values; the window holds those that no control shows
// (the site numbers, the FTP link directory, the values of groups that keep
// theirs while switched off).
#include "app/SettingsWindow.h"
#include "platform/Failure.h"
#include "platform/Text.h"
#include "settings/ConfigFileReader.h"
#include "settings/ConfigKeys.h"

namespace tessaron::app {

void SettingsWindow::ReadExistingConfiguration(const std::string& path) {
    const std::string text = platform_.Files().ReadTextFile(path);
    for (const auto& line : parseConfigLines(text)) {
        const ConfigKey* key = findReadKey(line.key);
        if (!key) continue;
        const std::string& value = line.value;
        holdValue(key->field, value);
        const bool isTrue = asciiLower(value) == "true";

        switch (key->effect) {
            case ReadEffect::NotRead:
            case ReadEffect::FieldOnly:
                break;
            case ReadEffect::Text:
                controls_.setText(key->control, value);
                break;
            case ReadEffect::Select:
                SearchComboForValue(controls_, key->control, value);
                break;
            case ReadEffect::Switch:
                controls_.setChecked(key->control, isTrue ? kChecked : kUnchecked);
                for (const char* name : key->listed) controls_.setEnabled(name, isTrue);
                break;
            case ReadEffect::TickOnly:
                if (isTrue) controls_.setChecked(key->control, kChecked);
                break;
            case ReadEffect::InternalIP:
                controls_.setText(key->control, value);
                controls_.setChecked(key->listed.front(),
                                     controls_.text(key->control) != controls_.text("txtMainIP")
                                         ? kChecked
                                         : kUnchecked);
                break;
            case ReadEffect::FtpServerType:
                SearchComboForValue(controls_, key->control, value);
                if (value == "Microsoft FTP" || value == "BulletProof FTP") {
                    showFtpControls(value == "Microsoft FTP");
                }
                break;
            case ReadEffect::SiteLookup:
                try {
                    auto site =
                        platform_.Iis().Open(std::string(key->listed.front()) + "/" + value);
                    SearchComboForValue(controls_, key->control,
                                        metabaseValueText(site->Get("ServerComment")));
                } catch (const PlatformError&) {
                    // A number that names no site leaves the list as it was.
                }
                break;
        }
    }
}

}  // namespace tessaron::app
