#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsRecord.h"

namespace tessaron {

// The lines of config.inc's text that assign one of the site settings the
// append step writes after the body (the keys of configKeys() written
// LineForm::AfterBody), exactly as they stand and in file order. Keys are
// matched as the reader matches them: text before the first "=", spaces
// trimmed, any case.
std::vector<std::string> siteSettingLines(std::string_view text);

// A site line as the append step writes it, under the key configKeys() gives
// the field: Key = "value", the value without line breaks (they would end the
// statement early) and with its double quotes doubled, otherwise unconverted.
std::string siteLine(std::string SettingsRecord::*field, const std::string& value);
// A site switch line: Key = True, or Key = False.
std::string siteSwitchLine(std::string SettingsRecord::*field, bool on);

}  // namespace tessaron
