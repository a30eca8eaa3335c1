#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessaron {

// The lines of config.inc's text that assign one of the site settings the
// append step writes after the body (the keys of configKeys() written
// LineForm::AfterBody), exactly as they stand and in file order. Keys are
// matched as the reader matches them: text before the first "=", spaces
// trimmed, any case.
std::vector<std::string> siteSettingLines(std::string_view text);

}  // namespace tessaron
